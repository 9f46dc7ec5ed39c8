// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// convert and info for video entries (Smacker .smk, Bink .bik): the figures of a clip, and one of
// its frames as a picture file. Each takes the entry's name as the list shows it and its content;
// the archive is the caller's business. They return the exit code: 0 done, 1 the entry failed, 2
// no video can be decoded here (no video module).

#include <iostream>
#include <optional>
#include <string>

#include "base/ByteReader.h"
#include "base/ResourceError.h"
#include "imaging/Picture.h"
#include "video/VideoClip.h"

namespace brasvel::cli {

// Where the commands write, and which demuxers and decoders they allow (the game's by default).
struct VideoCommandContext {
    std::ostream* out = &std::cout;
    std::ostream* errors = &std::cerr;
    video::VideoOptions options;
};

// Frame `frame` (from 1) of the clip, for convert to encode as it encodes pictures. Throws
// ResourceError naming the entry; video::kVideoUnavailable where no video can be decoded.
Picture videoFrame(const std::string& entryName, Bytes content, std::uint32_t frame,
                   const video::VideoOptions& options = {});

// Whether `error` says that no video can be decoded here at all (exit 2 rather than 1).
bool isVideoUnavailable(const ResourceError& error);

// Codec, size, frame rate, frames, duration and sound of the clip, as text or one JSON object.
int videoInfoCommand(const std::string& entryName, Bytes content, bool json,
                     const VideoCommandContext& context = {});

// Frame `frame` (from 1) into `outPath`, by default the entry's name with ".bmp" in the current
// folder: PNG when `outPath` ends in .png, else BMP, as convert chooses for pictures.
int videoConvertCommand(const std::string& entryName, Bytes content, std::uint32_t frame,
                        const std::optional<std::string>& outPath,
                        const VideoCommandContext& context = {});

}  // namespace brasvel::cli
