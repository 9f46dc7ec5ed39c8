// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// What the video module (libbrasvel-video.so, the one part of the programs linked with FFmpeg)
// offers them: one exported function returns the decoding, which opens clips. The programs load
// the module on the first video they decode (VideoModule.h), so a start that needs no video maps
// none of FFmpeg's libraries. Only the types of VideoClip.h cross, never an FFmpeg header.
//
// Module and programs are built together from the same sources; the interface number refuses a
// module left over from a build whose interface differed.

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "base/ByteReader.h"
#include "imaging/Picture.h"
#include "video/VideoClip.h"

namespace brasvel::video {

inline constexpr int kDecodingInterface = 2;

// A clip's sound decoded as it is read; ClipSound forwards to it.
class DecodedSound {
public:
    virtual ~DecodedSound() = default;
    virtual std::int32_t rate() const = 0;
    virtual std::int32_t channels() const = 0;
    virtual std::size_t read(std::span<std::int16_t> samples) = 0;
    virtual std::int64_t decodedSampleFrames() const = 0;
    virtual bool atEnd() const = 0;
};

// One clip opened by the module; VideoClip forwards to it. Errors are ResourceErrors naming the
// entry, as VideoClip.h describes.
class DecodedClip {
public:
    virtual ~DecodedClip() = default;
    virtual const VideoInfo& info() const = 0;
    virtual Picture frame(std::uint32_t number) = 0;
    virtual Pcm sound() const = 0;
    virtual std::unique_ptr<DecodedSound> soundFrom(double seconds) const = 0;
    virtual std::uint64_t framesDecoded() const = 0;
};

class VideoDecoding {
public:
    virtual std::unique_ptr<DecodedClip> open(Bytes content, const std::string& entryName,
                                              const VideoOptions& options) const = 0;
    virtual bool canDecodeSmacker() const = 0;
    virtual bool canDecodeBink() const = 0;

protected:
    ~VideoDecoding() = default;  // the module owns it for the life of the process
};

// The module's one exported function: its decoding when `interface` is the one it was built
// with, else null.
using DecodingEntryPoint = const VideoDecoding* (*)(int interface);
inline constexpr const char* kDecodingEntryPoint = "brasvel_video_decoding";
inline constexpr const char* kVideoModuleFile = "libbrasvel-video.so";

}  // namespace brasvel::video
