// convert and info for video entries, over the video library.

#include "cli/VideoCommands.h"

#include <filesystem>

#include "base/ResourceError.h"
#include "base/Text.h"
#include "base/Utf8Path.h"
#include "cli/Commands.h"
#include "cli/Json.h"
#include "extract/AtomicFile.h"
#include "extract/SafeName.h"
#include "imaging/Bmp.h"

namespace brasvel::cli {
namespace {

enum class FrameFormat { Bmp };

// The one place that picks the file format of a frame: by the output's extension. Only BMP is
// written so far, whatever the extension, as convert does for pictures.
FrameFormat frameFormatFor(const std::filesystem::path& /*outPath*/) {
    return FrameFormat::Bmp;
}

const char* extensionOf(FrameFormat format) {
    switch (format) {
        case FrameFormat::Bmp:
            break;
    }
    return ".bmp";
}

// An Rgb24 picture as a 24-bit BMP, as converted pictures are written.
std::vector<std::byte> rgbBmp(const Picture& picture) {
    checkPictureSize(picture.width, picture.height, "picture");
    std::vector<std::byte> bmp = startBmp(kPictureBmp24, picture.width, picture.height, {});
    const auto width = static_cast<std::size_t>(picture.width);
    for (std::int32_t y = 0; y < picture.height; ++y) {
        const std::span<std::byte> row =
            bmpRow(bmp, kPictureBmp24, picture.width, picture.height, picture.height - 1 - y);
        const std::uint8_t* rgb = picture.pixels.data() + static_cast<std::size_t>(y) * width * 3;
        for (std::size_t x = 0; x < width; ++x) {
            row[x * 3] = static_cast<std::byte>(rgb[x * 3 + 2]);
            row[x * 3 + 1] = static_cast<std::byte>(rgb[x * 3 + 1]);
            row[x * 3 + 2] = static_cast<std::byte>(rgb[x * 3]);
        }
    }
    return bmp;
}

std::vector<std::byte> encodeFrame(const Picture& picture, FrameFormat format) {
    switch (format) {
        case FrameFormat::Bmp:
            break;
    }
    return rgbBmp(picture);
}

bool endsWithExtension(const std::string& name, std::string_view lower, std::string_view upper) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos) {
        return false;
    }
    const std::string_view extension = std::string_view(name).substr(dot + 1);
    return extension == lower || extension == upper;
}

// The entry's name without its extension, plus the frame format's; checked by the rules of
// extracted file names (those look only at ASCII bytes, so they hold for this UTF-8 name too).
std::string defaultOutName(const std::string& entryName) {
    const std::string name = entryName.substr(0, entryName.rfind('.')) +
                             extensionOf(frameFormatFor(std::filesystem::path(entryName)));
    (void)safeFileName(name);
    return name;
}

int reportFailure(const VideoCommandContext& context, const ResourceError& error,
                  const std::string& entryName) {
    *context.errors << "brasvel-res: " << escapedControls(entryName) << ": "
                    << escapedControls(error.describe()) << '\n';
    return kExitEntryFailed;
}

void printInfo(std::ostream& out, const std::string& entryName, const video::VideoInfo& info,
               bool json) {
    if (json) {
        out << "{\"codec\":" << jsonString(info.codec) << ",\"width\":" << info.width
            << ",\"height\":" << info.height << ",\"frameRate\":" << info.frameRate
            << ",\"frames\":" << info.frameCount << ",\"duration\":" << info.durationSeconds
            << ",\"audio\":";
        if (info.sound) {
            out << "{\"codec\":" << jsonString(info.sound->codec)
                << ",\"rate\":" << info.sound->rate << ",\"channels\":" << info.sound->channels
                << "}";
        } else {
            out << "null";
        }
        out << "}\n";
        return;
    }
    out << escapedControls(entryName) << ": video " << info.codec << ", " << info.width << " x "
        << info.height << ", " << info.frameRate << " frames/s, " << info.frameCount << " frames, "
        << info.durationSeconds << " s; ";
    if (info.sound) {
        out << "audio " << info.sound->codec << ", " << info.sound->rate << " Hz, "
            << info.sound->channels << (info.sound->channels == 1 ? " channel\n" : " channels\n");
    } else {
        out << "no audio\n";
    }
}

}  // namespace

bool isVideoEntry(const std::string& entryName) {
    return endsWithExtension(entryName, "smk", "SMK") || endsWithExtension(entryName, "bik", "BIK");
}

int videoInfoCommand(const std::string& entryName, Bytes content, bool json,
                     const VideoCommandContext& context) {
    try {
        const video::VideoClip clip = video::VideoClip::open(content, entryName, context.options);
        printInfo(*context.out, entryName, clip.info(), json);
    } catch (const ResourceError& error) {
        return reportFailure(context, error, entryName);
    }
    return kExitDone;
}

int videoConvertCommand(const std::string& entryName, Bytes content, std::uint32_t frame,
                        const std::optional<std::string>& outPath,
                        const VideoCommandContext& context) {
    try {
        const std::filesystem::path out =
            platform::fileSystemPath(outPath ? *outPath : defaultOutName(entryName));
        video::VideoClip clip = video::VideoClip::open(content, entryName, context.options);
        const Picture picture = clip.frame(frame);
        const std::vector<std::byte> file = encodeFrame(picture, frameFormatFor(out));
        const TargetFolder folder(platform::utf8Path(out.parent_path()));
        folder.writeFile(platform::utf8Path(out.filename()), file);
        *context.out << platform::utf8Path(out) << ": " << picture.width << " x " << picture.height << '\n';
    } catch (const ResourceError& error) {
        return reportFailure(context, error, entryName);
    }
    return kExitDone;
}

}  // namespace brasvel::cli
