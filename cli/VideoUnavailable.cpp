// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
// convert and info for video entries in a build without video decoding (the Windows build, which
// has no FFmpeg): the entry is still recognised as a video, so the user is told why nothing comes
// of it rather than that it is no picture. list, extract and verify treat videos as any entry.

#include <iostream>

#include "cli/Commands.h"
#include "cli/VideoCommands.h"

namespace brasvel::cli {
namespace {

ResourceError unavailableIn(const std::string& entryName) {
    ResourceError error(ErrorKind::VideoUnavailable, "not in this build");
    error.withEntry(entryName);
    return error;
}

int unavailable(const std::string& entryName, const VideoCommandContext& context) {
    *context.errors << "brasvel-res: " << entryName << ": " << unavailableIn(entryName).describe()
                    << '\n';
    return kExitUnusable;
}

}  // namespace

bool isVideoUnavailable(const ResourceError& error) {
    return error.kind() == ErrorKind::VideoUnavailable;
}

Picture videoFrame(const std::string& entryName, Bytes /*content*/, std::uint32_t /*frame*/,
                   const video::VideoOptions& /*options*/) {
    throw unavailableIn(entryName);
}

int videoInfoCommand(const std::string& entryName, Bytes /*content*/, bool /*json*/,
                     const VideoCommandContext& context) {
    return unavailable(entryName, context);
}

int videoConvertCommand(const std::string& entryName, Bytes /*content*/, std::uint32_t /*frame*/,
                        const std::optional<std::string>& /*outPath*/,
                        const VideoCommandContext& context) {
    return unavailable(entryName, context);
}

}  // namespace brasvel::cli
