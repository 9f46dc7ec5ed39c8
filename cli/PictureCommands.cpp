// convert and info: a PCX picture or one DEF frame as the BMP the window shows, and the figures
// of either.

#include <charconv>
#include <filesystem>
#include <iostream>

#include "base/Text.h"
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
    const Archive archive = Archive::open(path, chooseFormat(path, arguments.value("--kind")));
    if (const auto& error = archive.directoryError()) {
        throw *error;
    }
    const std::optional<std::size_t> index = findEntryByCaption(archive, wanted);
    if (!index) {
        std::cerr << "brasvel-res: " << path << " holds no entry " << wanted << '\n';
        return std::nullopt;
    }
    PictureEntry picture{archive.entries()[*index], {}};
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
    const std::optional<std::string> text = arguments.value("--frame");
    if (!text) {
        return 1;
    }
    std::uint32_t frame = 0;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), frame);
    if (error != std::errc{} || end != text->data() + text->size() || frame == 0) {
        throw UsageError("--frame takes a frame number from 1, not " + *text);
    }
    return frame;
}

// Extensions count in all-lower or all-upper case only, as in the window's preview.
void reportNotAPicture(const std::string& entry) {
    std::cerr << "brasvel-res: " << entry
              << " is not a picture, a sprite or a video (extension pcx, def, smk or bik, all in"
                 " lower or all in upper case)\n";
}

int reportEntryError(const ResourceError& error, const std::string& entry) {
    std::cerr << "brasvel-res: " << entry << ": " << error.describe() << '\n';
    return kExitEntryFailed;
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
    if (isVideoEntry(name)) {
        return videoConvertCommand(name, picture->content, frame, arguments.value("-o"));
    }
    if (!picture->isPcx() && !picture->isDef()) {
        reportNotAPicture(name);
        return kExitEntryFailed;
    }
    if (picture->isPcx() && arguments.value("--frame")) {
        throw UsageError("--frame applies to DEF sprites only");
    }
    try {
        // The default name comes from the archive, so it passes the same checks as extraction.
        const OutputChoice choice = chooseOutput(arguments, picture->isDef());
        const std::string out = arguments.value("-o").value_or(
            safeFileName(std::string(untilNul(picture->entry.name)) +
                         std::string(pictureFormatInfo(choice.format).suffix)));
        const Picture decoded =
            picture->isPcx()
                ? decodePcx(picture->content)
                : DefSprite::walk(picture->content, picture->defFileName()).decodeFrame(frame);
        const std::filesystem::path outPath(out);
        const TargetFolder folder(outPath.parent_path().string());
        folder.writeFile(outPath.filename().string(),
                         encodePicture(decoded, choice.format, choice.options));
        std::cout << out << ": " << decoded.width << " x " << decoded.height << '\n';
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
    if (isVideoEntry(name)) {
        return videoInfoCommand(name, picture->content, json);
    }
    try {
        if (picture->isPcx()) {
            const PcxInfo info = readPcxInfo(picture->content);
            if (json) {
                std::cout << "{\"bits\":" << info.bits << ",\"width\":" << info.width
                          << ",\"height\":" << info.height << "}\n";
            } else {
                std::cout << name << ": PCX picture, " << info.bits << "-bit, " << info.width
                          << " x " << info.height << ", pixel block of " << info.size << " bytes\n";
            }
        } else if (picture->isDef()) {
            const DefSprite sprite = DefSprite::walk(picture->content, picture->defFileName());
            if (json) {
                std::cout << "{\"type\":" << sprite.type() << ",\"width\":" << sprite.width()
                          << ",\"height\":" << sprite.height()
                          << ",\"frames\":" << sprite.frameTotal() << "}\n";
            } else {
                std::cout << name << ": DEF sprite, type " << defTypeText(sprite.type()) << ", "
                          << sprite.width() << " x " << sprite.height() << ", "
                          << sprite.frameTotal() << " frames\n";
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
