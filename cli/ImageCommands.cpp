// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// PNG out and pictures back in: the output choice of convert, sprite export and import, picture
// import. Every command checks everything first and writes nothing when it refuses; each file is
// written whole or not at all, and files that exist are kept unless --force is given.

#include "cli/ImageCommands.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <iostream>

#include "base/ReadOnlyFile.h"
#include "base/Text.h"
#include "base/Utf8Path.h"
#include "cli/ArchiveArguments.h"
#include "cli/Commands.h"
#include "cli/PictureEntry.h"
#include "extract/AtomicFile.h"
#include "imaging/DefEncoder.h"
#include "imaging/PcxImage.h"
#include "imaging/SpriteFiles.h"
#include "imaging/SpriteListing.h"

namespace brasvel::cli {
namespace {

namespace fs = std::filesystem;

std::optional<int> choiceOption(const Arguments& arguments, const std::string& option,
                                std::initializer_list<int> allowed) {
    const std::optional<std::string> text = arguments.value(option);
    if (!text) {
        return std::nullopt;
    }
    std::string choices;
    for (const int a : allowed) {
        choices += (choices.empty() ? "" : ", ") + std::to_string(a);
    }
    // Read as every number is (no sign, no blanks), then kept only when it is one of `allowed`.
    unsigned value = 0;
    try {
        value = strictNumber(option, *text, 0, static_cast<unsigned>(std::max(allowed)));
    } catch (const UsageError&) {
        throw UsageError(option + " takes one of " + choices + ", not '" + *text + "'");
    }
    if (std::find(allowed.begin(), allowed.end(), static_cast<int>(value)) == allowed.end()) {
        throw UsageError(option + " takes one of " + choices + ", not '" + *text + "'");
    }
    return static_cast<int>(value);
}

std::string outputOption(const Arguments& arguments, const std::string& command) {
    const std::optional<std::string> out = arguments.value("-o");
    if (!out || out->empty()) {
        throw UsageError(command + " needs -o");
    }
    return *out;
}

// Refuses, before anything is written, to replace files that exist unless `force`.
void checkNothingReplaced(const fs::path& folder, const std::vector<std::string>& names,
                          bool force) {
    if (force) {
        return;
    }
    std::vector<std::string> taken;
    for (const std::string& name : names) {
        std::error_code error;
        if (fs::exists(fs::symlink_status(folder / platform::fileSystemPath(name), error))) {
            taken.push_back(platform::utf8Path(folder / platform::fileSystemPath(name)));
        }
    }
    if (!taken.empty()) {
        std::string list;
        for (std::size_t i = 0; i < taken.size() && i < 5; ++i) {
            list += (i == 0 ? "" : ", ") + taken[i];
        }
        if (taken.size() > 5) {
            list += " and " + std::to_string(taken.size() - 5) + " other files";
        }
        throw ResourceError(ErrorKind::FilesExist, list + "; give --force to replace them");
    }
}

void writeOne(const std::string& path, const std::vector<std::byte>& content, bool force) {
    const fs::path target = platform::fileSystemPath(path);
    checkNothingReplaced(target.parent_path(), {platform::utf8Path(target.filename())}, force);
    const TargetFolder folder(platform::utf8Path(target.parent_path()));
    folder.writeFile(platform::utf8Path(target.filename()), content);
}

std::vector<std::byte> readWhole(const std::string& path) {
    const ReadOnlyFile file(path);
    std::vector<std::byte> bytes(static_cast<std::size_t>(file.size()));
    file.read(0, bytes);
    return bytes;
}

int report(const ResourceError& error, const std::string& what) {
    const std::string described = error.describe();
    std::cerr << "brasvel-res: " << escapedControls(what) << ": " << escapedControls(described);
    if (!error.entry().empty() && described.find(error.entry()) == std::string::npos) {
        std::cerr << " (" << escapedControls(error.entry()) << ")";
    }
    std::cerr << '\n';
    return kExitEntryFailed;
}

int spriteExport(const std::vector<std::string>& args) {
    const Arguments arguments(args, {"--kind", "-o"}, {"--selection", "--keep-palette", "--force"});
    const std::string folder = outputOption(arguments, "sprite export");
    std::optional<PictureEntry> sprite;
    try {
        sprite = loadEntry(arguments, "sprite export");
    } catch (const ResourceError& error) {
        if (error.entry().empty()) {
            throw;
        }
        return report(error, error.entry());
    }
    if (!sprite) {
        return kExitUnusable;
    }
    const std::string& name = arguments.positional()[1];
    if (!sprite->isDef()) {
        std::cerr << "brasvel-res: " << escapedControls(name)
                  << " is not a sprite (extension def or DEF)\n";
        return kExitEntryFailed;
    }
    try {
        const DefSprite def = DefSprite::walk(sprite->content, sprite->defFileName());
        SpriteExportOptions options;
        options.selection = arguments.has("--selection");
        options.keepPalette = arguments.has("--keep-palette");
        options.source = name;
        const std::vector<NamedFile> files = exportSprite(def, options);
        std::vector<std::string> names;
        for (const NamedFile& file : files) {
            names.push_back(file.name);
        }
        std::error_code error;
        fs::create_directories(platform::fileSystemPath(folder), error);
        checkNothingReplaced(platform::fileSystemPath(folder), names, arguments.has("--force"));
        TargetFolder target(folder);
        target.keepIntact(sprite->archiveDevice, sprite->archiveInode);
        for (const NamedFile& file : files) {
            target.writeFile(file.name, file.content);
        }
        std::cout << escapedControls(folder) << ": " << def.frameTotal() << " frames in "
                  << def.blocks().size() << " blocks, " << files.size() << " files\n";
    } catch (const ResourceError& error) {
        return report(error, name);
    }
    return kExitDone;
}

int spriteImport(const std::vector<std::string>& args) {
    const Arguments arguments(args, {"-o", "--type"}, {"--force"});
    if (arguments.positional().size() != 1) {
        throw UsageError("sprite import takes the folder of an export");
    }
    const std::string out = outputOption(arguments, "sprite import");
    const std::optional<int> compression = choiceOption(arguments, "--type", {0, 1, 2, 3});
    const fs::path folder = platform::fileSystemPath(arguments.positional()[0]);
    try {
        const SpriteListing listing = readFolderListing(platform::utf8Path(folder));
        const DefSource source =
            importSpriteFolder(platform::utf8Path(folder), listing, compression,
                               platform::utf8Path(platform::fileSystemPath(out).filename()));
        const std::vector<std::byte> def = encodeDef(source);
        writeOne(out, def, arguments.has("--force"));
        std::size_t frames = 0;
        for (const ListedBlock& block : listing.blocks) {
            frames += block.frames.size();
        }
        std::cout << escapedControls(out) << ": " << frames << " frames in "
                  << listing.blocks.size() << " blocks, " << listing.width << " x "
                  << listing.height << '\n';
    } catch (const ResourceError& error) {
        return report(error, platform::utf8Path(folder));
    }
    return kExitDone;
}

}  // namespace

OutputChoice chooseOutput(const Arguments& arguments, bool sprite) {
    OutputChoice choice;
    choice.options.role = sprite ? PictureRole::SpriteFrame : PictureRole::GamePicture;
    choice.options.selection = arguments.has("--selection");
    choice.options.keepPalette = arguments.has("--keep-palette");
    if (!sprite && (choice.options.selection || choice.options.keepPalette)) {
        throw UsageError("--selection and --keep-palette apply to DEF sprites only");
    }
    std::optional<PictureFormat> named;
    if (const std::optional<std::string> format = arguments.value("--format")) {
        named = pictureFormatNamed(*format);
        if (!named) {
            std::string known;
            for (const PictureFormatInfo& info : pictureFormats()) {
                known += (known.empty() ? "" : ", ") + std::string(info.name);
            }
            throw UsageError("--format takes one of " + known + ", not " + *format);
        }
    }
    const std::optional<std::string> out = arguments.value("-o");
    const std::optional<PictureFormat> bySuffix = out ? formatOfPath(*out) : std::nullopt;
    if (bySuffix && named && *bySuffix != *named) {
        throw UsageError("--format " + std::string(pictureFormatInfo(*named).name) +
                         " contradicts the file name " + *out);
    }
    choice.format = bySuffix.value_or(named.value_or(PictureFormat::Bmp));
    return choice;
}

int spriteCommand(const std::vector<std::string>& args) {
    if (args.empty()) {
        throw UsageError("sprite takes export or import");
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "export") {
        return spriteExport(rest);
    }
    if (args[0] == "import") {
        return spriteImport(rest);
    }
    throw UsageError("sprite takes export or import, not " + args[0]);
}

int pictureCommand(const std::vector<std::string>& args) {
    if (args.empty() || args[0] != "import") {
        throw UsageError("picture takes import");
    }
    const Arguments arguments(std::vector<std::string>(args.begin() + 1, args.end()),
                              {"-o", "--bits"}, {"--force"});
    if (arguments.positional().size() != 1) {
        throw UsageError("picture import takes one PNG or BMP file");
    }
    const std::string in = arguments.positional()[0];
    const std::string out = outputOption(arguments, "picture import");
    const std::optional<int> bits = choiceOption(arguments, "--bits", {8, 24});
    const std::optional<PictureFormat> format = formatOfPath(in);
    if (!format) {
        throw UsageError(in + " is neither .png nor .bmp");
    }
    try {
        const Picture picture = pcxPixels(decodePicture(readWhole(in), *format), bits);
        writeOne(out, encodePcx(picture), arguments.has("--force"));
        std::cout << escapedControls(out) << ": "
                  << (picture.format == PixelFormat::Indexed8 ? 8 : 24) << "-bit, " << picture.width
                  << " x " << picture.height << '\n';
    } catch (const ResourceError& error) {
        return report(error, in);
    }
    return kExitDone;
}

}  // namespace brasvel::cli
