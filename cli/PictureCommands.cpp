// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// convert and info: a PCX picture, one DEF frame or one video frame as the BMP or PNG the window
// shows, and the figures of each.

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "archive/EntryNames.h"
#include "base/Platform.h"
#include "base/Text.h"
#include "base/Utf8Path.h"
#include "cli/ArchiveArguments.h"
#include "cli/Commands.h"
#include "cli/ImageCommands.h"
#include "cli/Json.h"
#include "cli/PictureEntry.h"
#include "cli/VideoCommands.h"
#include "extract/AtomicFile.h"
#include "extract/EntryContent.h"
#include "extract/SafeName.h"
#include "imaging/DefSprite.h"
#include "imaging/PcxImage.h"
#include "imaging/PictureFormats.h"

namespace brasvel::cli {

// The entry named on the command line, read into memory, or
// nullopt after reporting an entry that is not in the archive. Throws the archive's ResourceError
// (with no entry) when it cannot be opened or its directory read whole.
std::optional<PictureEntry> loadEntry(const Arguments& arguments, const std::string& command) {
    if (arguments.positional().size() != 2) {
        throw UsageError(command + " takes an archive and an entry name");
    }
    const std::string& path = arguments.positional()[0];
    const std::string& wanted = arguments.positional()[1];
    const Archive archive = openArchive(path, chooseFormat(path, arguments.value("--kind")));
    if (const auto& error = archive.directoryError()) {
        throw *error;
    }
    const std::optional<std::size_t> index = findEntryByCaption(archive.entries(), wanted);
    if (!index) {
        std::cerr << "brasvel-res: " << escapedControls(path) << " holds no entry "
                  << escapedControls(wanted) << '\n';
        return std::nullopt;
    }
    PictureEntry picture{archive.entries()[*index], {}, archive.file()->device(),
                         archive.file()->inode()};
    try {
        picture.content = entryContent(archive, picture.entry);
    } catch (ResourceError& error) {
        error.withEntry(wanted);
        throw;
    }
    return picture;
}

namespace {

std::uint32_t frameNumber(const Arguments& arguments) {
    return numberOption(arguments, "--frame", 1, UINT32_MAX).value_or(1);
}

// Extensions count in all-lower or all-upper case only, as in the window's preview.
void reportNotAPicture(const std::string& entry) {
    std::cerr << "brasvel-res: " << escapedControls(entry)
              << " is not a picture, a sprite or a video (extension pcx, def, smk or bik, all in"
                 " lower or all in upper case)\n";
}

// Why `path` may not be written by convert, or empty when it may: an existing file is replaced
// only when it is a regular file and not the archive itself.
std::string refusedOutput(const std::string& path, const PictureEntry& picture) {
    using platform::FileStatus;
    FileStatus status;
    if (platform::statusOfPath(path, status) != 0) {
        return {};
    }
    if (status.kind == FileStatus::Kind::Link) {
        return "is a symbolic link, which would be replaced by a file";
    }
    if (status.kind == FileStatus::Kind::Folder) {
        return "is a folder";
    }
    if (status.kind != FileStatus::Kind::Regular) {
        return "is not a regular file; use -o - to write to standard output";
    }
    if (status.device == picture.archiveDevice && status.index == picture.archiveInode) {
        return "is the archive being read";
    }
    return {};
}

bool isStandardOutput(const std::string& path) { return path == "-" || path == "/dev/stdout"; }

// Writes the picture to standard output, unless that is the archive itself.
int writeToStandardOutput(Bytes bmp, const PictureEntry& picture) {
    platform::FileStatus status;
    if (platform::statusOf(fileno(stdout), status) == 0 &&
        status.kind == platform::FileStatus::Kind::Regular &&
        status.device == picture.archiveDevice && status.index == picture.archiveInode) {
        std::cerr << "brasvel-res: standard output is the archive being read; nothing was written\n";
        return kExitUnusable;
    }
    std::cout.flush();
    std::fwrite(bmp.data(), 1, bmp.size(), stdout);
    return kExitDone;  // main checks that it arrived
}

int reportEntryError(const ResourceError& error, const std::string& entry) {
    std::cerr << "brasvel-res: " << escapedControls(entry) << ": "
              << escapedControls(error.describe()) << '\n';
    return kExitEntryFailed;
}

// Without the video module no video can be read: the run itself cannot do what was asked.
int reportVideoOrEntryError(const ResourceError& error, const std::string& entry) {
    const int code = reportEntryError(error, entry);
    return isVideoUnavailable(error) ? kExitUnusable : code;
}

}  // namespace

int convertCommand(const std::vector<std::string>& args) {
    const Arguments arguments(args, {"--kind", "--frame", "-o", "--format"},
                              {"--selection", "--keep-palette"});
    const std::uint32_t frame = frameNumber(arguments);
    std::optional<PictureEntry> picture;
    try {
        picture = loadEntry(arguments, "convert");
    } catch (const ResourceError& error) {
        if (error.entry().empty()) {
            throw;  // the archive itself
        }
        return reportEntryError(error, error.entry());
    }
    if (!picture) {
        return kExitUnusable;
    }
    const std::string& name = arguments.positional()[1];
    const bool video = namesVideo(name);
    if (!video && !picture->isPcx() && !picture->isDef()) {
        reportNotAPicture(name);
        return kExitEntryFailed;
    }
    if (picture->isPcx() && arguments.value("--frame")) {
        throw UsageError("--frame applies to DEF sprites and videos only");
    }
    const std::optional<std::string> given = arguments.value("-o");
    if (given && given->empty()) {
        throw UsageError("-o '' names no file; give a file name, or - for standard output");
    }
    const OutputChoice choice = chooseOutput(arguments, picture->isDef());
    std::string out;
    try {
        // The default name comes from the archive, so it passes the same checks as extraction.
        out = given.value_or(
            safeFileName(std::string(untilNul(picture->entry.name)) +
                         std::string(pictureFormatInfo(choice.format).suffix)));
    } catch (const ResourceError& error) {
        return reportEntryError(error, name);
    }
    // Refused before decoding: a video's frame can take long to reach.
    if (!isStandardOutput(out)) {
        if (const std::string refusal = refusedOutput(out, *picture); !refusal.empty()) {
            std::cerr << "brasvel-res: " << escapedControls(out) << " " << escapedControls(refusal)
                      << "; nothing was written\n";
            return kExitUnusable;
        }
    }
    std::vector<std::byte> encoded;
    std::int32_t width = 0;
    std::int32_t height = 0;
    try {
        const Picture decoded =
            video ? videoFrame(name, picture->content, frame)
            : picture->isPcx()
                ? decodePcx(picture->content)
                : DefSprite::walk(picture->content, picture->defFileName()).decodeFrame(frame);
        encoded = encodePicture(decoded, choice.format, choice.options);
        width = decoded.width;
        height = decoded.height;
    } catch (const ResourceError& error) {
        return reportVideoOrEntryError(error, name);
    }
    if (isStandardOutput(out)) {
        return writeToStandardOutput(encoded, *picture);
    }
    const std::filesystem::path outPath = platform::fileSystemPath(out);
    std::optional<TargetFolder> folder;
    try {
        folder.emplace(platform::utf8Path(outPath.parent_path()));
        folder->keepIntact(picture->archiveDevice, picture->archiveInode);
    } catch (const ResourceError& error) {
        // As in extract: a folder that cannot be written into is the run's failure.
        std::cerr << "brasvel-res: target folder: " << escapedControls(error.describe()) << '\n';
        return kExitUnusable;
    }
    try {
        folder->writeFile(platform::utf8Path(outPath.filename()), encoded);
        std::cout << escapedControls(out) << ": " << width << " x " << height << '\n';
    } catch (const ResourceError& error) {
        return reportEntryError(error, name);
    }
    return kExitDone;
}

int infoCommand(const std::vector<std::string>& args) {
    const Arguments arguments(args, {"--kind"}, {"--json"});
    std::optional<PictureEntry> picture;
    try {
        picture = loadEntry(arguments, "info");
    } catch (const ResourceError& error) {
        if (error.entry().empty()) {
            throw;
        }
        return reportEntryError(error, error.entry());
    }
    if (!picture) {
        return kExitUnusable;
    }
    const std::string& name = arguments.positional()[1];
    const bool json = arguments.has("--json");
    if (namesVideo(name)) {
        return videoInfoCommand(name, picture->content, json);
    }
    try {
        if (picture->isPcx()) {
            const PcxInfo info = readPcxInfo(picture->content);
            if (json) {
                std::cout << "{\"bits\":" << info.bits << ",\"width\":" << info.width
                          << ",\"height\":" << info.height << "}\n";
            } else {
                std::cout << escapedControls(name) << ": PCX picture, " << info.bits << "-bit, "
                          << info.width << " x " << info.height << ", pixel block of " << info.size
                          << " bytes\n";
            }
        } else if (picture->isDef()) {
            const DefSprite sprite = DefSprite::walk(picture->content, picture->defFileName());
            if (json) {
                std::cout << "{\"type\":" << sprite.type() << ",\"width\":" << sprite.width()
                          << ",\"height\":" << sprite.height()
                          << ",\"frames\":" << sprite.frameTotal() << "}\n";
            } else {
                std::cout << escapedControls(name) << ": DEF sprite, type "
                          << defTypeText(sprite.type()) << ", " << sprite.width() << " x "
                          << sprite.height() << ", " << sprite.frameTotal() << " frames\n";
            }
        } else {
            reportNotAPicture(name);
            return kExitEntryFailed;
        }
    } catch (const ResourceError& error) {
        return reportEntryError(error, name);
    }
    return kExitDone;
}

}  // namespace brasvel::cli
