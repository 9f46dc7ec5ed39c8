// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// convert and info for video entries, over the video library (and its module, loaded on the
// first video decoded).

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
#include "imaging/PictureFormats.h"

namespace brasvel::cli {
namespace {

// The entry's name without its extension, plus ".bmp"; checked by the rules of extracted file
// names (those look only at ASCII bytes, so they hold for this UTF-8 name too).
std::string defaultOutName(const std::string& entryName) {
    const std::string name = entryName.substr(0, entryName.rfind('.')) + ".bmp";
    (void)safeFileName(name);
    return name;
}

int reportFailure(const VideoCommandContext& context, const ResourceError& error,
                  const std::string& entryName) {
    *context.errors << "brasvel-res: " << escapedControls(entryName) << ": "
                    << escapedControls(error.describe()) << '\n';
    return isVideoUnavailable(error) ? kExitUnusable : kExitEntryFailed;
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

bool isVideoUnavailable(const ResourceError& error) {
    return error.kind() == ErrorKind::VideoUnavailable;
}

Picture videoFrame(const std::string& entryName, Bytes content, std::uint32_t frame,
                   const video::VideoOptions& options) {
    Picture picture = video::VideoClip::open(content, entryName, options).frame(frame);
    checkPictureSize(picture.width, picture.height, ErrorKind::DamagedPicture);
    return picture;
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
        const Picture picture = videoFrame(entryName, content, frame, context.options);
        const PictureFormat format =
            formatOfPath(platform::utf8Path(out.filename())).value_or(PictureFormat::Bmp);
        const std::vector<std::byte> file = encodePicture(picture, format);
        const TargetFolder folder(platform::utf8Path(out.parent_path()));
        folder.writeFile(platform::utf8Path(out.filename()), file);
        *context.out << platform::utf8Path(out) << ": " << picture.width << " x " << picture.height << '\n';
    } catch (const ResourceError& error) {
        return reportFailure(context, error, entryName);
    }
    return kExitDone;
}

}  // namespace brasvel::cli
