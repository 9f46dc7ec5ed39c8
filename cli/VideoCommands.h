#pragma once

// convert and info for video entries (Smacker .smk, Bink .bik): the figures of a clip, and one of
// its frames as a picture file. Each takes the entry's name as the list shows it and its content;
// the archive is the caller's business. They return the exit code: 0 done, 1 the entry failed.

#include <iostream>
#include <optional>
#include <string>

#include "base/ByteReader.h"
#include "video/VideoClip.h"

namespace brasvel::cli {

// Where the commands write, and which demuxers and decoders they allow (the game's by default).
struct VideoCommandContext {
    std::ostream* out = &std::cout;
    std::ostream* errors = &std::cerr;
    video::VideoOptions options;
};

// Whether `entryName` ends in .smk or .bik, all in lower or all in upper case.
bool isVideoEntry(const std::string& entryName);

// Codec, size, frame rate, frames, duration and sound of the clip, as text or one JSON object.
int videoInfoCommand(const std::string& entryName, Bytes content, bool json,
                     const VideoCommandContext& context = {});

// Frame `frame` (from 1) into `outPath`, by default the entry's name with the picture extension in
// the current folder. The extension of `outPath` chooses the picture format.
int videoConvertCommand(const std::string& entryName, Bytes content, std::uint32_t frame,
                        const std::optional<std::string>& outPath,
                        const VideoCommandContext& context = {});

}  // namespace brasvel::cli
