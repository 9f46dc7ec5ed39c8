// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// brasvel-res: the command line over the archive core.

#include <cerrno>
#include <cstdio>
#include <iostream>
#include <new>
#include <string>
#include <system_error>
#include <vector>

#include "base/Platform.h"
#include "base/ResourceError.h"
#include "base/Text.h"
#include "cli/ArchiveArguments.h"
#include "cli/Arguments.h"
#include "cli/Commands.h"
#include "cli/ImageCommands.h"
#include "cli/Interruption.h"

namespace {

constexpr const char* kUsage = R"(usage: brasvel-res COMMAND ARGUMENT... [options]

commands:
  list ARCHIVE [--kind lod|snd|vid] [--type ITEM] [--json]
      List every entry of the archive (or those of --type): caption, size, stored size and
      offset per row. --json adds the raw name field (hex) and, for LOD, the type word.
      ITEM is a type of the window's type box (*.*, *.Smk, *.Bik, *.Pcx, *.H3c, *.Txt,
      *.Def, *.Pal, *.Wav, *.Msk, *.Xmi, *.Fnt, *.Msg) or its bare extension.

  extract ARCHIVE [-o DIR] [--kind lod|snd|vid] [--type ITEM] [--raw] [--png]
          [--threads N] [ENTRY...]
      Write the entries of the list (all, or those of --type) into DIR (default: the current
      directory, which must exist), in list order, as the window's extract-all does: compressed
      entries inflated, PCX pictures as Name.bmp (--raw keeps them as stored; --png writes
      Name.png, 8-bit ones indexed with their palette, 24-bit ones RGB), sounds as Name.wav.
      ENTRY picks entries by caption or file name, exactly or as a shell pattern ('*.def'); an
      ENTRY that names no entry is an error and nothing is written. Each file appears whole or
      not at all; a failing entry is reported and the others go on.

  convert ARCHIVE ENTRY [--kind lod|snd|vid] [--frame N] [-o OUT] [--format bmp|png]
          [--selection] [--keep-palette]
      Write a PCX entry as the BMP that extraction makes, frame N (default 1) of a DEF
      entry as the BMP that the preview shows, or frame N of a video (SMK or BIK) as a 24-bit
      BMP; as PNG when OUT ends in .png or --format png says so; OUT defaults to Name.bmp
      (Name.png) here. A sprite frame's PNG is transparent where the game draws no colour and
      its shadows translucent; --selection draws the selection outline, --keep-palette writes
      indices and palette as stored (sprites only). Videos need the video module: without it
      convert and info of a video say "Video decoding is not available" and exit 2.

  info ARCHIVE ENTRY [--kind lod|snd|vid] [--json]
      Show a PCX entry's kind and size, a DEF entry's type, size and frame count, or a
      video's codec, size, frame rate, frames, duration and audio (codec, rate, channels).

  verify ARCHIVE [--kind lod|snd|vid]
      Read every entry as extraction would, writing nothing: its data must lie inside the
      file and a compressed entry must inflate to exactly its size. Lists the damaged ones.

  sprite export ARCHIVE SPRITE.def -o DIR [--kind lod|snd|vid] [--selection]
                [--keep-palette] [--force]
      Write every frame of a DEF entry as BLOCK-FRAME.png (both counted from 0), a sheet with
      one row per block (sheet.png), an animated PNG per block (block-B.png) and the listing
      sprite.txt. Existing files are kept unless --force is given; then nothing is written.

  sprite import DIR -o NAME.def [--type 0|1|2|3] [--force]
      Build a DEF from an export's folder: the listing and the frames, pictures of the
      sprite's size, indexed in its palette or in colours (RGB, RGBA) that are all its own. --type stores every frame with that
      compression; by default each frame keeps the compression of the exported sprite.

  picture import IN.png|IN.bmp -o NAME.pcx [--bits 8|24] [--force]
      Build a PCX picture. An indexed source keeps its palette; an RGB source of at most 256
      colours becomes 8-bit exactly; more colours need --bits 24 (never quantised).

  create ARCHIVE [--kind lod|snd|vid] [--store] [--level N] [--threads N] [--force] PATH...
      Make a new archive of the files given; a folder gives the files directly inside it. An
      entry is named as its file (a SND entry NAME comes from NAME.wav). LOD entries are stored
      as zlib streams at level N (1-12, default 5) unless --store or where that is no smaller.
      An existing ARCHIVE is replaced only with --force.

  add ARCHIVE [--kind lod|snd|vid] [--store] [--level N] [--threads N] [--force]
          [--damaged keep|drop] PATH...
      Add files; a file named as an entry, in any case, replaces that entry's content. An
      archive with damaged entries is refused unless --damaged keeps them as stored or drops
      them.

  remove ARCHIVE [--kind lod|snd|vid] [--force] [--damaged keep|drop] ENTRY...
      Remove the entries named, exactly or by shell pattern. An exact name wins; a name that
      matches several entries only in case is refused as ambiguous.

  rename ARCHIVE [--kind lod|snd|vid] [--force] [--damaged keep|drop] OLD NEW
      Rename an entry (a sound by NAME or NAME.wav); OLD is found as remove finds it.

  find PATTERN PATH... [--json]
      List the entries whose file name matches PATTERN (a shell pattern; ASCII and Polish
      letters in any case) in each archive PATH, or in each archive directly inside a folder
      PATH (its kind from its name, else from its content): ARCHIVE: ENTRY per line; --json
      gives [{"archive", "entry", "size"}]. Exit 0 when some entry matched, 1 when none did.

  grep TEXT PATH... [--json]
      List the entries whose content (inflated) holds TEXT. Texts (.txt) are read as
      Windows-1250 and matched line by line in any case: ARCHIVE: ENTRY:LINE: the line; other
      entries by TEXT's Windows-1250 bytes: ARCHIVE: ENTRY: binary entry matches. --json gives
      [{"archive", "entry", "line" (0 for a binary entry), "text"}]. Exit codes as find.

  diff A B [--json] [--export PATCH]
      Compare two archives of one kind by entry name (in any case) and content (inflated;
      content stored differently is the same): only in A: X, only in B: Y, changed: Z.
      --json gives {"only_in_a", "only_in_b", "changed", "same"}. --export writes PATCH, a new
      archive of B's new and changed entries as stored, and lists the removals it cannot
      carry. Exit 0 when they hold the same, 1 when they differ.

  merge INTO FROM... [--prefer into|from] [--dry-run]
      Add FROM's entries to INTO in one edit, their stored bytes kept. A name both hold with
      other content is a conflict: every one is listed and nothing is written (exit 1), unless
      --prefer from takes FROM's copy or --prefer into keeps INTO's. --dry-run says what would
      happen and writes nothing.

Edits are all or nothing: a refused name, an unreadable input, a damaged entry, a full disk or
an interrupt leaves the archive byte for byte as it was (exit 1 for a refused edit, 2 for an
archive, input or disk that failed). An edit locks the archive against other editors (waiting
up to 2 seconds for one to finish), and is refused when the archive changed meanwhile, is its
own input, or has other names (hard links) or is write-protected; --force replaces those two.

ENTRY of convert and info is an entry's file name, Name.Ext, as the list shows it.
The kind of archive comes from --kind, else from the path's last three characters, else from
its content; a file that is not plausibly of that kind is refused, saying what it looks like.
Numbers are decimal digits within their range.
Exit codes: 0 done, 1 some entry failed, 2 usage error or unreadable archive; find, grep, diff
and merge: 0 found or the same, 1 nothing found, a difference or a conflict, 2 trouble (said on
stderr; the others go on).
)";

}  // namespace

namespace {

int runCommand(const std::string& command, const std::vector<std::string>& args) {
    using namespace brasvel::cli;
    try {
        if (command == "list") {
            return listCommand(args);
        }
        if (command == "extract") {
            return extractCommand(args);
        }
        if (command == "verify") {
            return verifyCommand(args);
        }
        if (command == "convert") {
            return convertCommand(args);
        }
        if (command == "info") {
            return infoCommand(args);
        }
        if (command == "create") {
            return createCommand(args);
        }
        if (command == "add") {
            return addCommand(args);
        }
        if (command == "remove") {
            return removeCommand(args);
        }
        if (command == "rename") {
            return renameCommand(args);
        }
        if (command == "find") {
            return findCommand(args);
        }
        if (command == "grep") {
            return grepCommand(args);
        }
        if (command == "diff") {
            return diffCommand(args);
        }
        if (command == "merge") {
            return mergeCommand(args);
        }
        if (command == "sprite") {
            return spriteCommand(args);
        }
        if (command == "picture") {
            return pictureCommand(args);
        }
        throw UsageError("unknown command " + command);
    } catch (const UsageError& error) {
        std::cerr << "brasvel-res: " << brasvel::escapedControls(error.what()) << "\n\n" << kUsage;
        return kExitUnusable;
    } catch (const ArchiveUnusable& unusable) {
        std::cerr << "brasvel-res: " << brasvel::escapedControls(unusable.path) << ": "
                  << brasvel::escapedControls(unusable.error.describe()) << '\n';
        return kExitUnusable;
    } catch (const brasvel::ResourceError& error) {
        std::cerr << "brasvel-res: " << brasvel::escapedControls(error.describe()) << '\n';
        return kExitUnusable;
    } catch (const std::bad_alloc&) {
        std::cerr << "brasvel-res: not enough memory\n";
        return kExitUnusable;
    }
}

// The commands that stop cleanly at an interrupt (extract, and the edits, which never leave an
// archive half-written); the others end at once, as any program does.
bool watchesInterrupts(const std::string& command) {
    for (const char* watching : {"extract", "create", "add", "remove", "rename"}) {
        if (command == watching) {
            return true;
        }
    }
    return false;
}

// What was printed must have arrived: a full disk or a closed pipe behind standard output is an
// error, not a success.
int checkedOutput(int code) {
    errno = 0;
    std::cout.flush();
    if (std::cout.good() && std::fflush(stdout) == 0 && std::ferror(stdout) == 0) {
        return code;
    }
    const int error = errno;
    std::cerr << "brasvel-res: standard output: "
              << (error != 0 ? std::generic_category().message(error) : "write failed");
    if (brasvel::cli::editCommitted) {
        // The archive is saved: the edit is done, only its summary was lost.
        std::cerr << "; the archive was saved\n";
        return code;
    }
    std::cerr << '\n';
    return code == brasvel::cli::kExitDone ? brasvel::cli::kExitUnusable : code;
}

// As GNU programs say it, so that a script or a packager finds the terms where it looks.
constexpr const char* kLicenceNotice =
    "Copyright 2026 Brasvel Resource Editor maintainers\n"
    "License GPL-3.0-or-later: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
    "This is free software: you are free to change and redistribute it.\n"
    "There is NO WARRANTY, to the extent permitted by law.\n";

}  // namespace

int main(int argc, char** argv) {
    using namespace brasvel::cli;
    InterruptWatch::noteFromStart();
    brasvel::platform::prepareStandardStreams();
    // UTF-8 from here on, whatever the system hands over.
    std::vector<std::string> args = brasvel::platform::programArguments(argc, argv);
    if (!args.empty()) {
        args.erase(args.begin());
    }
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::cout << kUsage;
        return checkedOutput(args.empty() ? kExitUnusable : kExitDone);
    }
    if (args[0] == "--version") {
        std::cout << "brasvel-res " << BRASVEL_VERSION << '\n' << kLicenceNotice;
        return checkedOutput(kExitDone);
    }
    const std::string command = args[0];
    args.erase(args.begin());
    if (!watchesInterrupts(command)) {
        if (const int code = InterruptWatch::handBack(); code != 0) {
            return code;
        }
    }
    return checkedOutput(runCommand(command, args));
}
