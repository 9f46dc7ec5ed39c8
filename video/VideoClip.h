// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#pragma once

// A video entry (Smacker .smk, Bink .bik) opened from its bytes in memory and decoded with FFmpeg's
// libraries: its figures, any frame as an RGB picture, and its sound as 16-bit PCM. FFmpeg's part
// is the video module, loaded on the first open (VideoModule.h); without it every open fails with
// kVideoUnavailable.
//
// Input is hostile: only the demuxers and decoders named in VideoOptions are used (Smacker and
// Bink by default), the header probe reads a bounded amount, a picture side above kMaxVideoSide, a
// frame number above kMaxFrameNumber, a frame that needs more than kMaxDecodedPixels decoded to
// reach and a sound longer than kMaxSoundSeconds or kMaxSoundSamples are refused, and every failure
// of FFmpeg becomes a ResourceError naming the entry.
//
// Frames are numbered from 1, as the sprite frames of `convert --frame` are. Decoding frame N
// decodes every frame before it back to a key frame: forward from the last frame decoded when N
// lies a little ahead of it; otherwise from the key frame at or before N, which the container's
// index finds (AVI's; FFmpeg's Smacker and Bink demuxers can only go back to the start), or from
// the start. Stepping through a clip frame by frame costs one frame a step.
//
// The sound can be decoded whole (sound()) or as it is read, from any time on (soundFrom()): a
// reader of its own over the clip's bytes, which may be used on another thread than the clip.

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "base/ByteReader.h"
#include "imaging/Picture.h"

namespace brasvel::video {

inline constexpr std::int32_t kMaxVideoSide = 4096;
inline constexpr std::uint32_t kMaxFrameNumber = 100000;  // over 1.5 hours at 15 frames a second
// What decoding up to one frame may cost: 8 G pixels, 28000 frames of 640 × 480, 512 of the
// largest side. It bounds the time a hostile clip of huge, cheaply coded frames can take.
inline constexpr std::uint64_t kMaxDecodedPixels = std::uint64_t{1} << 33;
// A sound may last an hour, and hold 64 M samples (128 MB; 12 minutes of 44.1 kHz stereo).
inline constexpr std::int64_t kMaxSoundSeconds = 3600;
inline constexpr std::int64_t kMaxSoundSamples = std::int64_t{1} << 26;
inline constexpr std::int64_t kProbeBytes = 1 << 20;

// The error texts of this library; the detail says what FFmpeg or the check found. Not a video:
// no demuxer we allow reads it; damaged: a read or decode failed; too large: a limit above was
// passed; frame not found: the stream ends before frame N.
inline constexpr const char* kNotAVideo = errorKindText(ErrorKind::NotAVideo);
inline constexpr const char* kDamagedVideo = errorKindText(ErrorKind::DamagedVideo);
inline constexpr const char* kVideoTooLarge = errorKindText(ErrorKind::VideoTooLarge);
inline constexpr const char* kFrameNotFound = errorKindText(ErrorKind::FrameNotFound);
inline constexpr const char* kNoSound = errorKindText(ErrorKind::NoSound);
// The video module is missing or failed to load (VideoModule.h); the detail says why.
inline constexpr const char* kVideoUnavailable = errorKindText(ErrorKind::VideoUnavailable);

// Which of FFmpeg's demuxers and decoders may read an entry, and what reaching a frame may cost.
// The default allows only what the game's videos need; the tests add the container and codecs
// they encode with, and lower the cost to see it refused.
struct VideoOptions {
    std::vector<std::string> formats{"smk", "bink"};
    std::vector<std::string> codecs{"smackvid", "smackaud", "binkvideo", "binkaudio_rdft",
                                    "binkaudio_dct"};
    std::uint64_t maxDecodedPixels = kMaxDecodedPixels;
    // Whether a jump may use the container's own seek to a key frame; without it (or where that
    // seek only rewinds) the container is read on to the key frame, decoding from there.
    bool demuxerSeek = true;
};

struct SoundInfo {
    std::string codec;  // FFmpeg's codec name, e.g. "smackaudio"
    std::int32_t rate = 0;
    std::int32_t channels = 0;
    friend bool operator==(const SoundInfo&, const SoundInfo&) = default;
};

struct VideoInfo {
    std::string codec;  // FFmpeg's codec name, e.g. "smackvideo", "binkvideo"
    std::int32_t width = 0;
    std::int32_t height = 0;
    double frameRate = 0;         // frames a second; 0 when the stream does not say
    std::int64_t frameCount = 0;  // as the stream states it, else counted from its packets
    double durationSeconds = 0;
    std::optional<SoundInfo> sound;  // the first sound stream, if any
    friend bool operator==(const VideoInfo&, const VideoInfo&) = default;
};

std::ostream& operator<<(std::ostream& out, const VideoInfo& info);

// Decoded sound: interleaved signed 16-bit samples, `channels` per sample frame.
struct Pcm {
    std::int32_t rate = 0;
    std::int32_t channels = 0;
    std::vector<std::int16_t> samples;
    friend bool operator==(const Pcm&, const Pcm&) = default;
};

// A 16-bit PCM WAV file of `pcm`, as the sound player plays it.
std::vector<std::byte> wavFile(const Pcm& pcm);

class DecodedSound;

// A clip's first sound stream, decoded a frame of the stream at a time as it is read. It holds the
// clip's bytes and FFmpeg's state of its own: it outlives the clip, and one thread may read it
// while another decodes the clip's frames.
class ClipSound {
public:
    explicit ClipSound(std::unique_ptr<DecodedSound> sound);
    ClipSound(ClipSound&&) noexcept;
    ClipSound& operator=(ClipSound&&) noexcept;
    ~ClipSound();

    std::int32_t rate() const;
    std::int32_t channels() const;
    // The next interleaved 16-bit samples into `samples`, whole sample frames only (`samples` holds
    // at least one); the count of samples written, 0 at the end. Throws ResourceError naming the
    // entry when the sound is damaged or too long.
    std::size_t read(std::span<std::int16_t> samples);
    // Whether every sample has been read (from the start: the sound ends before its start).
    bool atEnd() const;
    // Sample frames decoded since the sound was opened, those dropped to reach its start included.
    std::int64_t decodedSampleFrames() const;

private:
    std::unique_ptr<DecodedSound> sound_;
};

class VideoClip {
public:
    // Reads the stream headers of `content` (copied: the clip keeps its own bytes). `entryName`
    // names the entry in every error. Throws ResourceError; kVideoUnavailable when the video
    // module cannot be loaded.
    static VideoClip open(Bytes content, std::string entryName, const VideoOptions& options = {});

    VideoClip(VideoClip&&) noexcept;
    VideoClip& operator=(VideoClip&&) noexcept;
    ~VideoClip();

    const VideoInfo& info() const;
    const std::string& entryName() const;

    // Frame `number` (from 1) as an Rgb24 picture. Throws ResourceError: "Frame not found" when
    // the stream ends first, "Video too large" for a number above kMaxFrameNumber.
    Picture frame(std::uint32_t number);

    // The first sound stream decoded whole. Throws ResourceError "Video has no sound" without one
    // or when it decodes to no samples.
    Pcm sound() const;
    // The first sound stream from `seconds` into it, read as it is decoded: decoding starts a few
    // packets before that time, found by their time stamps (at the beginning when they do not
    // tell), and drops what lies before it; the samples are those sound() gives from there.
    // Throws as sound().
    ClipSound soundFrom(double seconds) const;

    // The frames decoded since the clip was opened: what reaching frames has cost.
    std::uint64_t framesDecoded() const;

private:
    struct State;
    explicit VideoClip(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;
};

// Whether the video module loads and its FFmpeg holds the demuxer and decoders that each of the
// game's video kinds needs.
bool canDecodeSmacker();
bool canDecodeBink();

}  // namespace brasvel::video
