// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "video/VideoDecoding.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/pixdesc.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <mutex>
#include <new>
#include <optional>
#include <string_view>

#include "base/ResourceError.h"

namespace brasvel::video {
namespace {

constexpr int kIoBufferSize = 32 * 1024;
// Smacker interleaves up to seven sound tracks with its frames; this leaves room for all of them.
constexpr std::uint64_t kMaxPackets = 10 * std::uint64_t{kMaxFrameNumber};
constexpr int kMaxStreams = 16;
constexpr int kMaxChannels = 8;
constexpr int kMaxSampleRate = 384000;

std::string ffmpegText(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

ResourceError failure(ErrorKind kind, const std::string& detail, const std::string& entry) {
    ResourceError error(kind, detail);
    error.withEntry(entry);
    return error;
}

// A failed FFmpeg call: `what` says what was being done, the detail adds FFmpeg's reason.
ResourceError ffmpegFailure(ErrorKind kind, const std::string& what, int code,
                            const std::string& entry) {
    return failure(kind, what + ": " + ffmpegText(code), entry);
}

std::string joined(const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& name : names) {
        list += (list.empty() ? "" : ",") + name;
    }
    return list;
}

// FFmpeg's own log would print on stderr for every damaged input; our errors carry the reason.
void quietenFfmpeg() {
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

struct PacketDeleter {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct FrameDeleter {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct CodecDeleter {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct FormatDeleter {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct IoDeleter {
    void operator()(AVIOContext* io) const {
        av_freep(&io->buffer);
        avio_context_free(&io);
    }
};
struct ScalerDeleter {
    void operator()(SwsContext* scaler) const { sws_freeContext(scaler); }
};
struct ResamplerDeleter {
    void operator()(SwrContext* resampler) const { swr_free(&resampler); }
};
struct DictionaryDeleter {
    void operator()(AVDictionary* dictionary) const { av_dict_free(&dictionary); }
};

using PacketPtr = std::unique_ptr<AVPacket, PacketDeleter>;
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;

template <typename T>
T* allocated(T* pointer) {
    if (pointer == nullptr) {
        throw std::bad_alloc();
    }
    return pointer;
}

// The entry's bytes as FFmpeg reads them: a read and a seek callback over memory.
struct MemoryInput {
    Bytes data;
    std::int64_t position = 0;

    std::int64_t size() const { return static_cast<std::int64_t>(data.size()); }

    static int read(void* opaque, std::uint8_t* buffer, int wanted) {
        auto& input = *static_cast<MemoryInput*>(opaque);
        if (wanted <= 0 || input.position >= input.size()) {
            return AVERROR_EOF;
        }
        const std::int64_t count = std::min<std::int64_t>(wanted, input.size() - input.position);
        std::memcpy(buffer, input.data.data() + input.position, static_cast<std::size_t>(count));
        input.position += count;
        return static_cast<int>(count);
    }

    // Moving past the end is allowed, as with a file; the next read finds the end.
    static std::int64_t seek(void* opaque, std::int64_t offset, int whence) {
        auto& input = *static_cast<MemoryInput*>(opaque);
        whence &= ~AVSEEK_FORCE;
        if (whence == AVSEEK_SIZE) {
            return input.size();
        }
        std::int64_t base = 0;
        if (whence == SEEK_CUR) {
            base = input.position;
        } else if (whence == SEEK_END) {
            base = input.size();
        } else if (whence != SEEK_SET) {
            return AVERROR(EINVAL);
        }
        std::int64_t target = 0;
        if (__builtin_add_overflow(base, offset, &target) || target < 0) {
            return AVERROR(EINVAL);
        }
        input.position = target;
        return target;
    }
};

bool allowed(const std::vector<std::string>& names, const char* name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// The stream headers of an entry, read through the allowed demuxers only, and its packets.
class Demuxer {
public:
    Demuxer(Bytes data, const std::string& entry, const VideoOptions& options)
        : input_{data, 0}, entry_(entry) {
        auto* buffer = allocated(static_cast<unsigned char*>(av_malloc(kIoBufferSize)));
        io_.reset(avio_alloc_context(buffer, kIoBufferSize, 0, &input_, &MemoryInput::read, nullptr,
                                     &MemoryInput::seek));
        if (!io_) {
            av_free(buffer);
            throw std::bad_alloc();
        }
        AVFormatContext* format = allocated(avformat_alloc_context());
        format->pb = io_.get();
        format->flags |= AVFMT_FLAG_CUSTOM_IO;
        AVDictionary* settings = nullptr;
        av_dict_set(&settings, "format_whitelist", joined(options.formats).c_str(), 0);
        av_dict_set(&settings, "codec_whitelist", joined(options.codecs).c_str(), 0);
        av_dict_set_int(&settings, "probesize", kProbeBytes, 0);
        av_dict_set_int(&settings, "max_streams", kMaxStreams, 0);
        const std::unique_ptr<AVDictionary*, void (*)(AVDictionary**)> settingsFreed(
            &settings, [](AVDictionary** d) { av_dict_free(d); });
        // On failure avformat_open_input frees the format context; the I/O context stays ours.
        const int result = avformat_open_input(&format, nullptr, nullptr, &settings);
        if (result < 0) {
            throw ffmpegFailure(ErrorKind::NotAVideo,
                                "not in one of the formats " + joined(options.formats), result,
                                entry_);
        }
        format_.reset(format);
    }

    Demuxer(const Demuxer&) = delete;
    Demuxer& operator=(const Demuxer&) = delete;

    AVFormatContext* format() const { return format_.get(); }

    // Moves to the key frame of stream `stream` at or before `timestamp`, in the stream's time
    // base; false when the demuxer cannot. The packets' bound counts afresh from there.
    bool seek(int stream, std::int64_t timestamp) {
        packetsRead_ = 0;
        return av_seek_frame(format_.get(), stream, timestamp, AVSEEK_FLAG_BACKWARD) >= 0;
    }

    // The demuxer may skip every other stream's packets (Smacker's pictures, to reach a sound).
    void readOnly(int stream) {
        for (unsigned index = 0; index < format_->nb_streams; ++index) {
            format_->streams[index]->discard =
                static_cast<int>(index) == stream ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
        }
    }

    // The next packet of any stream into `packet`; false at the end of the entry.
    bool read(AVPacket* packet) {
        if (++packetsRead_ > kMaxPackets) {
            throw failure(ErrorKind::VideoTooLarge,
                          "more than " + std::to_string(kMaxPackets) + " packets", entry_);
        }
        const int result = av_read_frame(format_.get(), packet);
        if (result == AVERROR_EOF) {
            return false;
        }
        if (result < 0) {
            throw ffmpegFailure(ErrorKind::DamagedVideo,
                                "cannot read packet " + std::to_string(packetsRead_), result,
                                entry_);
        }
        return true;
    }

private:
    MemoryInput input_;
    std::string entry_;
    std::uint64_t packetsRead_ = 0;
    // Declared before the format context, so that the context is closed first.
    std::unique_ptr<AVIOContext, IoDeleter> io_;
    std::unique_ptr<AVFormatContext, FormatDeleter> format_;
};

// A decoder of one stream, fed with that stream's packets by `next`.
class Decoder {
public:
    Decoder(const AVStream& stream, const std::string& entry, const VideoOptions& options)
        : streamIndex_(stream.index), entry_(entry) {
        const AVCodec* codec = avcodec_find_decoder(stream.codecpar->codec_id);
        if (codec == nullptr || !allowed(options.codecs, codec->name)) {
            throw failure(ErrorKind::NotAVideo,
                          std::string("codec ") + avcodec_get_name(stream.codecpar->codec_id) +
                              " is not one of " + joined(options.codecs),
                          entry_);
        }
        context_.reset(allocated(avcodec_alloc_context3(codec)));
        int result = avcodec_parameters_to_context(context_.get(), stream.codecpar);
        if (result < 0) {
            throw ffmpegFailure(ErrorKind::DamagedVideo, "bad stream parameters", result, entry_);
        }
        context_->pkt_timebase = stream.time_base;
        AVDictionary* settings = nullptr;
        av_dict_set(&settings, "codec_whitelist", joined(options.codecs).c_str(), 0);
        av_dict_set_int(&settings, "max_pixels",
                        std::int64_t{kMaxVideoSide} * std::int64_t{kMaxVideoSide}, 0);
        av_dict_set_int(&settings, "threads", 1, 0);
        result = avcodec_open2(context_.get(), codec, &settings);
        av_dict_free(&settings);
        if (result < 0) {
            throw ffmpegFailure(ErrorKind::DamagedVideo,
                                std::string("cannot start decoder ") + codec->name, result, entry_);
        }
    }

    // The next decoded frame of the stream into `frame`; false when the stream has no more.
    bool next(Demuxer& demuxer, AVFrame* frame) {
        for (;;) {
            int result = avcodec_receive_frame(context_.get(), frame);
            if (result == 0) {
                return true;
            }
            if (result == AVERROR_EOF || (result == AVERROR(EAGAIN) && draining_)) {
                return false;
            }
            if (result != AVERROR(EAGAIN)) {
                throw ffmpegFailure(ErrorKind::DamagedVideo, "cannot decode", result, entry_);
            }
            if (!demuxer.read(packet_.get())) {
                draining_ = true;
                avcodec_send_packet(context_.get(), nullptr);
                continue;
            }
            const bool ours = packet_->stream_index == streamIndex_ &&
                              (packet_->pts == AV_NOPTS_VALUE || packet_->pts >= firstStamp_);
            result = ours ? avcodec_send_packet(context_.get(), packet_.get()) : 0;
            av_packet_unref(packet_.get());
            if (result < 0) {
                throw ffmpegFailure(ErrorKind::DamagedVideo, "cannot decode", result, entry_);
            }
        }
    }

    // The stream's packets stamped before `stamp` are passed over, not decoded.
    void startAt(std::int64_t stamp) { firstStamp_ = stamp; }

private:
    int streamIndex_;
    std::string entry_;
    std::int64_t firstStamp_ = std::numeric_limits<std::int64_t>::min();
    std::unique_ptr<AVCodecContext, CodecDeleter> context_;
    PacketPtr packet_{allocated(av_packet_alloc())};
    bool draining_ = false;
};

void checkSide(std::int64_t width, std::int64_t height, const std::string& entry) {
    if (width <= 0 || height <= 0) {
        throw failure(ErrorKind::DamagedVideo,
                      "picture of " + std::to_string(width) + " x " + std::to_string(height),
                      entry);
    }
    if (width > kMaxVideoSide || height > kMaxVideoSide) {
        throw failure(ErrorKind::VideoTooLarge,
                      std::to_string(width) + " x " + std::to_string(height) + ", above " +
                          std::to_string(kMaxVideoSide) + " x " + std::to_string(kMaxVideoSide),
                      entry);
    }
}

double rateOf(const AVStream& stream) {
    for (const AVRational rate : {stream.avg_frame_rate, stream.r_frame_rate}) {
        if (rate.num > 0 && rate.den > 0) {
            return av_q2d(rate);
        }
    }
    // The game's containers count time in frames: one tick of the time base per frame.
    if (stream.time_base.num > 0 && stream.time_base.den > 0) {
        return av_q2d(av_inv_q(stream.time_base));
    }
    return 0;
}

// The number of packets of a stream, read through a demuxer of its own.
std::int64_t countPackets(Bytes data, int streamIndex, const std::string& entry,
                          const VideoOptions& options) {
    Demuxer demuxer(data, entry, options);
    const PacketPtr packet(allocated(av_packet_alloc()));
    std::int64_t count = 0;
    while (demuxer.read(packet.get())) {
        count += packet->stream_index == streamIndex ? 1 : 0;
        av_packet_unref(packet.get());
    }
    return count;
}

std::int64_t stampOf(const AVFrame& frame) {
    return frame.pts != AV_NOPTS_VALUE ? frame.pts : frame.best_effort_timestamp;
}

AVChannelLayout layoutOf(const AVFrame& frame) {
    AVChannelLayout layout{};
    if (frame.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC ||
        av_channel_layout_copy(&layout, &frame.ch_layout) < 0) {
        av_channel_layout_default(&layout, frame.ch_layout.nb_channels);
    }
    return layout;
}

// Decoded sound frames as interleaved 16-bit samples appended to a vector, in the format of the
// first frame; the length of the whole sound is bounded.
class SoundConverter {
public:
    explicit SoundConverter(const std::string& entry) : entry_(entry) {}
    ~SoundConverter() { av_channel_layout_uninit(&layout_); }
    SoundConverter(const SoundConverter&) = delete;
    SoundConverter& operator=(const SoundConverter&) = delete;

    bool started() const { return resampler_ != nullptr; }
    std::int32_t rate() const { return rate_; }
    std::int32_t channels() const { return channels_; }
    std::int64_t sampleFrames() const { return sampleFrames_; }

    void add(const AVFrame& frame, std::vector<std::int16_t>& out) {
        if (!resampler_) {
            start(frame);
        } else if (frame.sample_rate != rate_ || frame.ch_layout.nb_channels != channels_ ||
                   frame.format != format_) {
            throw failure(ErrorKind::DamagedVideo, "the sound's format changes within the stream",
                          entry_);
        }
        // A sound decoder can make many samples of few bytes: the length is checked, not assumed.
        const std::int64_t limit =
            std::min<std::int64_t>(kMaxSoundSeconds * rate_, kMaxSoundSamples / channels_);
        if (frame.nb_samples < 0 || sampleFrames_ + frame.nb_samples > limit) {
            throw failure(ErrorKind::VideoTooLarge,
                          "sound longer than " + std::to_string(kMaxSoundSeconds) + " seconds or " +
                              std::to_string(kMaxSoundSamples) + " samples",
                          entry_);
        }
        convert(frame.extended_data, frame.nb_samples, out);
    }

    // What the converter still holds, at the end of the stream.
    void finish(std::vector<std::int16_t>& out) {
        if (resampler_) {
            convert(nullptr, 0, out);
        }
    }

private:
    void start(const AVFrame& frame) {
        const int channels = frame.ch_layout.nb_channels;
        if (channels < 1 || channels > kMaxChannels || frame.sample_rate < 1 ||
            frame.sample_rate > kMaxSampleRate) {
            throw failure(ErrorKind::DamagedVideo,
                          "sound of " + std::to_string(channels) + " channels at " +
                              std::to_string(frame.sample_rate) + " Hz",
                          entry_);
        }
        layout_ = layoutOf(frame);
        SwrContext* resampler = nullptr;
        int result = swr_alloc_set_opts2(&resampler, &layout_, AV_SAMPLE_FMT_S16, frame.sample_rate,
                                         &layout_, static_cast<AVSampleFormat>(frame.format),
                                         frame.sample_rate, 0, nullptr);
        resampler_.reset(resampler);
        if (result >= 0) {
            result = swr_init(resampler_.get());
        }
        if (result < 0) {
            resampler_.reset();
            throw ffmpegFailure(ErrorKind::DamagedVideo, "cannot convert the sound", result,
                                entry_);
        }
        rate_ = frame.sample_rate;
        channels_ = channels;
        format_ = frame.format;
    }

    void convert(std::uint8_t* const* input, int count, std::vector<std::int16_t>& out) {
        const int room = swr_get_out_samples(resampler_.get(), count);
        if (room < 0) {
            throw ffmpegFailure(ErrorKind::DamagedVideo, "cannot convert the sound", room, entry_);
        }
        const std::size_t used = out.size();
        out.resize(used + static_cast<std::size_t>(room) * channels_);
        auto* target = reinterpret_cast<std::uint8_t*>(out.data() + used);
        const int written = swr_convert(resampler_.get(), &target, room,
                                        const_cast<const std::uint8_t**>(input), count);
        if (written < 0) {
            out.resize(used);
            throw ffmpegFailure(ErrorKind::DamagedVideo, "cannot convert the sound", written,
                                entry_);
        }
        out.resize(used + static_cast<std::size_t>(written) * channels_);
        sampleFrames_ += written;
    }

    std::string entry_;
    std::unique_ptr<SwrContext, ResamplerDeleter> resampler_;
    AVChannelLayout layout_{};
    int format_ = -1;
    std::int32_t rate_ = 0;
    std::int32_t channels_ = 0;
    std::int64_t sampleFrames_ = 0;
};

// A sound stream's decoder over a demuxer of its own that reads that stream only.
struct SoundDecoding {
    SoundDecoding(Bytes content, int stream, const std::string& entry, const VideoOptions& options)
        : demuxer(content, entry, options),
          decoder(*demuxer.format()->streams[stream], entry, options),
          converter(entry) {
        demuxer.readOnly(stream);
    }

    // The samples of the stream's next frame appended to `out`; false at the end of the stream.
    bool next(std::vector<std::int16_t>& out) {
        if (!decoder.next(demuxer, frame.get())) {
            converter.finish(out);
            return false;
        }
        converter.add(*frame, out);
        return true;
    }

    Demuxer demuxer;
    Decoder decoder;
    SoundConverter converter;
    FramePtr frame{allocated(av_frame_alloc())};
};

// Where to start decoding a sound stream to reach time stamp `stamp` exactly without decoding
// all that lies before: the stamp of the packet two before the one holding `stamp`, so that a
// decoder that carries the end of one packet into the next (Bink's overlapping blocks) starts
// with the state it would have had; Smacker's and PCM packets decode alone. Read by a demuxer of
// its own, which only reads packets. Nothing when that packet is among the first three or the
// packets' stamps do not rise: decoding starts at the beginning then.
std::optional<std::int64_t> warmUpStamp(Bytes content, int stream, std::int64_t stamp,
                                        const std::string& entry, const VideoOptions& options) {
    constexpr std::size_t kWarmUpPackets = 2;
    Demuxer demuxer(content, entry, options);
    demuxer.readOnly(stream);
    const PacketPtr packet(allocated(av_packet_alloc()));
    std::array<std::int64_t, kWarmUpPackets + 1> last{};  // the stamps of the last packets read
    std::size_t count = 0;
    while (demuxer.read(packet.get())) {
        const bool ours = packet->stream_index == stream;
        const std::int64_t pts = packet->pts;
        av_packet_unref(packet.get());
        if (!ours) {
            continue;
        }
        if (pts == AV_NOPTS_VALUE || (count > 0 && pts < last.back())) {
            return std::nullopt;
        }
        if (pts > stamp) {
            break;
        }
        std::rotate(last.begin(), last.begin() + 1, last.end());
        last.back() = pts;
        ++count;
    }
    if (count <= kWarmUpPackets + 1) {
        return std::nullopt;
    }
    return last.front();
}

// The sound from `seconds` on, decoded a frame of the stream at a time as it is read. Decoding
// starts a few packets before the start, found by the packets' time stamps (else at the
// beginning), and drops the samples before it: they are exactly those of the whole sound.
class FfmpegSound final : public DecodedSound {
public:
    FfmpegSound(std::shared_ptr<const std::vector<std::byte>> content, int stream, double seconds,
                const std::string& entry, const VideoOptions& options)
        : content_(std::move(content)), entry_(entry) {
        seconds = std::clamp(seconds, 0.0, double(kMaxSoundSeconds));
        decoding_ = std::make_unique<SoundDecoding>(*content_, stream, entry, options);
        const AVRational timeBase = decoding_->demuxer.format()->streams[stream]->time_base;
        std::optional<std::int64_t> warmUp;
        if (seconds > 0 && timeBase.num > 0 && timeBase.den > 0) {
            warmUp = warmUpStamp(*content_, stream, std::llround(seconds / av_q2d(timeBase)), entry,
                                 options);
        }
        if (warmUp) {
            decoding_->decoder.startAt(*warmUp);
            if (skipTo(seconds, timeBase)) {
                return;
            }
            // A frame without a stamp says not where it lies: from the beginning, then.
            decoding_ = std::make_unique<SoundDecoding>(*content_, stream, entry, options);
            pending_.clear();
        }
        skipTo(seconds, std::nullopt);
    }

    std::int32_t rate() const override { return decoding_->converter.rate(); }
    std::int32_t channels() const override { return decoding_->converter.channels(); }
    std::int64_t decodedSampleFrames() const override {
        return decoding_->converter.sampleFrames();
    }
    bool atEnd() const override { return ended_ && pendingAt_ == pending_.size(); }

    std::size_t read(std::span<std::int16_t> samples) override {
        const auto frameSize = static_cast<std::size_t>(channels());
        const std::size_t wanted = samples.size() / frameSize * frameSize;
        std::size_t done = 0;
        while (done < wanted) {
            if (pendingAt_ == pending_.size()) {
                if (ended_) {
                    break;
                }
                pending_.clear();
                pendingAt_ = 0;
                ended_ = !decoding_->next(pending_);
                continue;
            }
            const std::size_t count = std::min(wanted - done, pending_.size() - pendingAt_);
            std::copy_n(pending_.begin() + static_cast<std::ptrdiff_t>(pendingAt_), count,
                        samples.begin() + static_cast<std::ptrdiff_t>(done));
            pendingAt_ += count;
            done += count;
        }
        return done;
    }

private:
    // Decodes up to the frame holding the sample frame at `seconds` and stands on that sample.
    // The first frame's place is its stamp in `timeBase` when decoding did not begin at the
    // start; false when that frame has none.
    bool skipTo(double seconds, std::optional<AVRational> timeBase) {
        std::int64_t position = 0;  // the sample frame pending_ begins with
        bool first = true;
        bool more = true;
        for (;;) {
            position += framesPending();
            pending_.clear();
            more = decoding_->next(pending_);
            if (!decoding_->converter.started()) {
                break;
            }
            if (first && timeBase) {
                const std::int64_t stamp = stampOf(*decoding_->frame);
                const double at = static_cast<double>(stamp) * av_q2d(*timeBase);
                if (stamp == AV_NOPTS_VALUE || stamp < 0 || at > 2.0 * kMaxSoundSeconds) {
                    return false;
                }
                position = std::llround(at * rate());
            }
            first = false;
            if (!more || position + framesPending() > startFrame(seconds)) {
                break;
            }
        }
        // Throws "Video has no sound" when no frame came: a sound of no channels cannot be played.
        if (!decoding_->converter.started()) {
            throw failure(ErrorKind::NoSound, "its sound stream holds no samples", entry_);
        }
        const std::int64_t inside =
            std::clamp<std::int64_t>(startFrame(seconds) - position, 0, framesPending());
        pendingAt_ = static_cast<std::size_t>(inside) * static_cast<std::size_t>(channels());
        ended_ = !more;
        return true;
    }

    std::int64_t startFrame(double seconds) const { return std::llround(seconds * rate()); }
    std::int64_t framesPending() const {
        return static_cast<std::int64_t>(pending_.size()) / std::max(1, channels());
    }

    std::shared_ptr<const std::vector<std::byte>> content_;
    std::string entry_;
    std::unique_ptr<SoundDecoding> decoding_;
    std::vector<std::int16_t> pending_;  // the samples of the frame decoded last
    std::size_t pendingAt_ = 0;          // the first of them not read yet
    bool ended_ = false;
};

// The frame counts (and Smacker's tree size) of the game's containers, checked against the
// entry's size before FFmpeg reads or allocates that much: a few bytes can claim millions of
// frames, which take seconds to read, or trees of hundreds of megabytes.
//
//   Smacker   0  "SMK2" or "SMK4"             Bink   0  "BIK" or "KB2", then a revision byte
//             4  width                                4  file size - 8
//             8  height                               8  frames
//            12  frames                              12  largest frame size
//            16  frame rate                          16  (frames again)
//            20  flags; bit 0: a ring frame          20  width
//                follows the last                    24  height
//            24  7 × sound track size                28  ... (rate, flags)
//            52  size of the trees                   40  sound tracks, then per track its
//            56  ... (tree and sound fields)             sizes and rate, then a 32-bit offset
//           104  frames × 32-bit size, then              per frame
//                frames × 8-bit type, then the
//                trees
void checkStatedFrames(Bytes content, const std::string& entry) {
    ByteReader reader(content);
    if (!reader.canRead(16)) {
        return;  // FFmpeg tells a short header apart itself
    }
    const Bytes signature = reader.bytes(4);
    const auto tag = std::string_view(reinterpret_cast<const char*>(signature.data()), 4);
    std::uint64_t frames = 0;
    std::uint64_t treeBytes = 0;
    std::uint64_t needed = 0;
    if (tag == "SMK2" || tag == "SMK4") {
        const std::uint32_t width = reader.u32();
        const std::uint32_t height = reader.u32();
        checkSide(width, height, entry);
        frames = reader.u32();
        reader.seek(20);
        if (reader.canRead(4) && (reader.u32() & 1) != 0) {
            ++frames;
        }
        reader.seek(52);
        treeBytes = reader.canRead(4) ? reader.u32() : 0;
        needed = 104 + 5 * frames + treeBytes;
    } else if (tag.substr(0, 3) == "BIK" || tag.substr(0, 3) == "KB2") {
        reader.seek(8);
        frames = reader.u32();
        reader.seek(20);
        if (reader.canRead(8)) {
            const std::uint32_t width = reader.u32();
            checkSide(width, reader.u32(), entry);
        }
        needed = 44 + 4 * frames;
    } else {
        return;
    }
    if (needed > content.size()) {
        throw failure(ErrorKind::DamagedVideo,
                      "it states " + std::to_string(frames) + " frames" +
                          (treeBytes > 0 ? " and trees of " + std::to_string(treeBytes) + " bytes"
                                         : std::string()) +
                          ", which need " + std::to_string(needed) + " bytes; the entry has " +
                          std::to_string(content.size()),
                      entry);
    }
}

// A forward jump of up to this many frames past the frame decoded last decodes on rather than
// seeking back to a key frame: a new decoder costs about as much as a few frames.
constexpr std::uint32_t kFramesDecodedRatherThanSeeking = 8;

// A clip opened from its own copy of the entry's bytes.
class FfmpegClip final : public DecodedClip {
public:
    FfmpegClip(Bytes content, const std::string& entryName, const VideoOptions& options);

    const VideoInfo& info() const override { return info_; }
    Picture frame(std::uint32_t number) override;
    Pcm sound() const override;
    std::unique_ptr<DecodedSound> soundFrom(double seconds) const override;
    std::uint64_t framesDecoded() const override { return framesDecoded_; }

private:
    void restart() {
        decoder_.reset();
        demuxer_.reset();
        delivered_ = 0;
        decodedPixels_ = 0;
        demuxer_ = std::make_unique<Demuxer>(*content_, entry_, options_);
        decoder_ = std::make_unique<Decoder>(videoStreamOf(*demuxer_), entry_, options_);
    }
    const AVStream& videoStreamOf(const Demuxer& demuxer) const {
        return *demuxer.format()->streams[videoStream_];
    }
    // Makes `delivered_` reach `number` the cheapest way the container allows.
    void approach(std::uint32_t number);
    std::optional<std::uint32_t> keyFrameAtOrBefore(std::uint32_t number) const;
    bool demuxerSeeks();
    bool seeksLandWhereAsked() const;
    bool startFrom(std::uint32_t keyFrame);
    bool decodeNext();
    Picture currentPicture();

    std::shared_ptr<const std::vector<std::byte>> content_;
    std::string entry_;
    VideoOptions options_;
    VideoInfo info_;
    int videoStream_ = -1;
    int soundStream_ = -1;
    // Starting from a key frame needs an index of key frames and time stamps that count frames:
    // frame N is stamped firstStamp_ + N - 1. An index whose key frame did not decode alone is
    // not trusted again.
    bool keyFramesIndexed_ = false;
    // Whether the demuxer's own seek lands where asked, tried once; else the demuxer reads on
    // from the start, passing the packets before the key frame over undecoded.
    std::optional<bool> demuxerSeeks_;
    std::int64_t firstStamp_ = 0;

    // The frame decoding under way: `delivered_` is the number of the frame that came out of
    // `decoder_` last, into `frame_`.
    std::unique_ptr<Demuxer> demuxer_;
    std::unique_ptr<Decoder> decoder_;
    std::uint32_t delivered_ = 0;
    std::uint64_t decodedPixels_ = 0;
    std::uint64_t framesDecoded_ = 0;
    FramePtr frame_{allocated(av_frame_alloc())};
    std::unique_ptr<SwsContext, ScalerDeleter> scaler_;
    std::vector<std::uint8_t> rgbRows_;
};

Picture FfmpegClip::currentPicture() {
    const AVFrame& decoded = *frame_;
    checkSide(decoded.width, decoded.height, entry_);
    const auto source = static_cast<AVPixelFormat>(decoded.format);
    scaler_.reset(sws_getCachedContext(scaler_.release(), decoded.width, decoded.height, source,
                                       decoded.width, decoded.height, AV_PIX_FMT_RGB24,
                                       SWS_BILINEAR, nullptr, nullptr, nullptr));
    if (!scaler_) {
        const char* name = av_get_pix_fmt_name(source);
        throw failure(ErrorKind::DamagedVideo,
                      std::string("cannot convert pixels of format ") + (name ? name : "unknown"),
                      entry_);
    }
    // The scaler may write a little past a row's end: it writes into padded rows, copied after.
    const auto width = static_cast<std::size_t>(decoded.width);
    const auto height = static_cast<std::size_t>(decoded.height);
    const std::size_t stride = (width * 3 + 63) / 64 * 64;
    rgbRows_.resize(stride * height + 64);
    std::uint8_t* rows[4] = {rgbRows_.data(), nullptr, nullptr, nullptr};
    const int strides[4] = {static_cast<int>(stride), 0, 0, 0};
    const int result =
        sws_scale(scaler_.get(), decoded.data, decoded.linesize, 0, decoded.height, rows, strides);
    if (result != decoded.height) {
        throw failure(ErrorKind::DamagedVideo, "cannot convert the frame's pixels", entry_);
    }
    Picture picture;
    picture.width = decoded.width;
    picture.height = decoded.height;
    picture.format = PixelFormat::Rgb24;
    picture.pixels.resize(width * height * 3);
    for (std::size_t y = 0; y < height; ++y) {
        std::memcpy(picture.pixels.data() + y * width * 3, rgbRows_.data() + y * stride, width * 3);
    }
    return picture;
}

// Whether a stream's time stamps count its frames, one tick of the time base a frame.
bool stampsCountFrames(const AVStream& stream) {
    AVRational rate = stream.avg_frame_rate;
    if (rate.num <= 0 || rate.den <= 0) {
        rate = stream.r_frame_rate;
    }
    return rate.num > 0 && rate.den > 0 && stream.time_base.num > 0 && stream.time_base.den > 0 &&
           av_cmp_q(av_mul_q(stream.time_base, rate), AVRational{1, 1}) == 0;
}

FfmpegClip::FfmpegClip(Bytes content, const std::string& entryName, const VideoOptions& options)
    : entry_(entryName), options_(options) {
    quietenFfmpeg();
    checkStatedFrames(content, entry_);
    content_ = std::make_shared<const std::vector<std::byte>>(content.begin(), content.end());
    demuxer_ = std::make_unique<Demuxer>(*content_, entry_, options_);
    AVFormatContext* format = demuxer_->format();
    videoStream_ = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (videoStream_ < 0) {
        throw failure(ErrorKind::NotAVideo, "it holds no picture stream", entry_);
    }
    const AVStream& video = *format->streams[videoStream_];
    checkSide(video.codecpar->width, video.codecpar->height, entry_);
    decoder_ = std::make_unique<Decoder>(video, entry_, options_);

    info_.codec = avcodec_get_name(video.codecpar->codec_id);
    info_.width = video.codecpar->width;
    info_.height = video.codecpar->height;
    info_.frameRate = rateOf(video);
    info_.frameCount = video.nb_frames > 0
                           ? video.nb_frames
                           : countPackets(*content_, videoStream_, entry_, options_);
    if (video.duration > 0 && video.time_base.num > 0 && video.time_base.den > 0) {
        info_.durationSeconds = static_cast<double>(video.duration) * av_q2d(video.time_base);
    } else if (format->duration > 0) {
        info_.durationSeconds = static_cast<double>(format->duration) / AV_TIME_BASE;
    } else if (info_.frameRate > 0) {
        info_.durationSeconds = static_cast<double>(info_.frameCount) / info_.frameRate;
    }
    soundStream_ = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (soundStream_ >= 0) {
        const AVCodecParameters& sound = *format->streams[soundStream_]->codecpar;
        info_.sound = SoundInfo{avcodec_get_name(sound.codec_id), sound.sample_rate,
                                sound.ch_layout.nb_channels};
    }
    firstStamp_ = video.start_time != AV_NOPTS_VALUE ? video.start_time : 0;
    keyFramesIndexed_ = stampsCountFrames(video) &&
                avformat_index_get_entries_count(format->streams[videoStream_]) > 0 &&
                firstStamp_ >= 0 && firstStamp_ <= std::int64_t{1} << 40;
}

Picture FfmpegClip::frame(std::uint32_t number) {
    if (number == 0 || number > kMaxFrameNumber) {
        throw failure(number == 0 ? ErrorKind::FrameNotFound : ErrorKind::VideoTooLarge,
                      "frame " + std::to_string(number) +
                          "; frames are numbered from 1 to at most " +
                          std::to_string(kMaxFrameNumber),
                      entry_);
    }
    try {
        approach(number);
        while (delivered_ < number) {
            // The frames decoded on the way are what a hostile clip could make expensive.
            if (decodedPixels_ > options_.maxDecodedPixels) {
                throw failure(ErrorKind::VideoTooLarge,
                              "frame " + std::to_string(number) + " lies beyond " +
                                  std::to_string(options_.maxDecodedPixels) + " decoded pixels",
                              entry_);
            }
            if (!decodeNext()) {
                throw failure(ErrorKind::FrameNotFound,
                              "frame " + std::to_string(number) + " of a stream that ends after " +
                                  std::to_string(delivered_) + " frames",
                              entry_);
            }
        }
        return currentPicture();
    } catch (...) {
        // A failed decoder is not trusted again: the next frame starts from the beginning.
        decoder_.reset();
        demuxer_.reset();
        delivered_ = 0;
        throw;
    }
}

void FfmpegClip::approach(std::uint32_t number) {
    if (!decoder_) {
        restart();
    }
    if (number == delivered_ ||
        (number > delivered_ && number <= delivered_ + kFramesDecodedRatherThanSeeking)) {
        return;
    }
    const std::optional<std::uint32_t> key = keyFrameAtOrBefore(number);
    const bool backward = number < delivered_;
    if (key && (backward || *key > delivered_ + kFramesDecodedRatherThanSeeking)) {
        if (!startFrom(*key)) {
            restart();
        }
    } else if (backward) {
        restart();
    }
}

// The key frame at or before frame `number` by the demuxer's index; nothing without one.
std::optional<std::uint32_t> FfmpegClip::keyFrameAtOrBefore(std::uint32_t number) const {
    if (!keyFramesIndexed_) {
        return std::nullopt;
    }
    const std::int64_t stamp = firstStamp_ + number - 1;
    const AVIndexEntry* entry = avformat_index_get_entry_from_timestamp(
        demuxer_->format()->streams[videoStream_], stamp, AVSEEK_FLAG_BACKWARD);
    if (entry == nullptr || (entry->flags & AVINDEX_KEYFRAME) == 0 ||
        entry->timestamp < firstStamp_ || entry->timestamp > stamp) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(entry->timestamp - firstStamp_ + 1);
}

bool FfmpegClip::demuxerSeeks() {
    if (!demuxerSeeks_) {
        demuxerSeeks_ = options_.demuxerSeek && seeksLandWhereAsked();
    }
    return *demuxerSeeks_;
}

// Whether the demuxer's seek reaches the last key frame of the index, tried once on a demuxer of
// its own before the clip's is moved: Smacker's and Bink's go back to the start whatever is asked.
bool FfmpegClip::seeksLandWhereAsked() const {
    try {
        Demuxer trial(*content_, entry_, options_);
        const AVIndexEntry* last = avformat_index_get_entry_from_timestamp(
            trial.format()->streams[videoStream_], std::numeric_limits<std::int64_t>::max(),
            AVSEEK_FLAG_BACKWARD);
        if (last == nullptr) {
            return false;
        }
        // Copied: reading packets may grow the index, which moves its entries.
        const std::int64_t lastKeyStamp = last->timestamp;
        if (!trial.seek(videoStream_, lastKeyStamp)) {
            return false;
        }
        const PacketPtr packet(allocated(av_packet_alloc()));
        while (trial.read(packet.get())) {
            const bool ours = packet->stream_index == videoStream_;
            const std::int64_t stamp = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
            av_packet_unref(packet.get());
            if (ours) {
                return stamp == lastKeyStamp;
            }
        }
    } catch (const ResourceError&) {
        // A clip whose headers read once and not twice is not sought in.
    }
    return false;
}

// Decodes `keyFrame` with a new decoder, so no state of the frames decoded before is left: the
// demuxer seeks there where it can, else reads on from the start without decoding what lies
// before (reading a packet costs a copy, decoding it a picture). False when the key frame does
// not come out as that frame: the caller starts again from the beginning.
bool FfmpegClip::startFrom(std::uint32_t keyFrame) {
    const std::int64_t stamp = firstStamp_ + keyFrame - 1;
    if (demuxerSeeks()) {
        decoder_.reset();
        delivered_ = 0;
        decodedPixels_ = 0;
        if (!demuxer_->seek(videoStream_, stamp)) {
            return false;
        }
    } else {
        restart();
        decoder_->startAt(stamp);
    }
    try {
        if (!decoder_) {
            decoder_ = std::make_unique<Decoder>(videoStreamOf(*demuxer_), entry_, options_);
        }
        delivered_ = keyFrame - 1;
        if (decodeNext() && stampOf(*frame_) == stamp) {
            return true;
        }
    } catch (const ResourceError&) {
        // A frame the index calls a key frame that does not decode alone.
    }
    keyFramesIndexed_ = false;
    return false;
}

// The next frame into `frame_`; false at the end of the stream.
bool FfmpegClip::decodeNext() {
    if (!decoder_->next(*demuxer_, frame_.get())) {
        return false;
    }
    ++delivered_;
    ++framesDecoded_;
    decodedPixels_ += static_cast<std::uint64_t>(std::max(frame_->width, 0)) *
                      static_cast<std::uint64_t>(std::max(frame_->height, 0));
    return true;
}

Pcm FfmpegClip::sound() const {
    if (soundStream_ < 0) {
        throw failure(ErrorKind::NoSound, "", entry_);
    }
    SoundDecoding decoding(*content_, soundStream_, entry_, options_);
    Pcm pcm;
    while (decoding.next(pcm.samples)) {
    }
    // A WAV of no channels could not be played.
    if (!decoding.converter.started()) {
        throw failure(ErrorKind::NoSound, "its sound stream holds no samples", entry_);
    }
    pcm.rate = decoding.converter.rate();
    pcm.channels = decoding.converter.channels();
    return pcm;
}

std::unique_ptr<DecodedSound> FfmpegClip::soundFrom(double seconds) const {
    if (soundStream_ < 0) {
        throw failure(ErrorKind::NoSound, "", entry_);
    }
    return std::make_unique<FfmpegSound>(content_, soundStream_, seconds, entry_, options_);
}

bool hasAll(const char* demuxer, std::initializer_list<AVCodecID> codecs) {
    if (av_find_input_format(demuxer) == nullptr) {
        return false;
    }
    return std::all_of(codecs.begin(), codecs.end(),
                       [](AVCodecID id) { return avcodec_find_decoder(id) != nullptr; });
}

class FfmpegDecoding final : public VideoDecoding {
public:
    std::unique_ptr<DecodedClip> open(Bytes content, const std::string& entryName,
                                      const VideoOptions& options) const override {
        return std::make_unique<FfmpegClip>(content, entryName, options);
    }
    bool canDecodeSmacker() const override {
        return hasAll("smk", {AV_CODEC_ID_SMACKVIDEO, AV_CODEC_ID_SMACKAUDIO});
    }
    bool canDecodeBink() const override {
        return hasAll(
            "bink", {AV_CODEC_ID_BINKVIDEO, AV_CODEC_ID_BINKAUDIO_RDFT, AV_CODEC_ID_BINKAUDIO_DCT});
    }
};

}  // namespace

}  // namespace brasvel::video

#ifdef _WIN32
extern "C" const brasvel::video::VideoDecoding*
#else
extern "C" __attribute__((visibility("default"))) const brasvel::video::VideoDecoding*
#endif
brasvel_video_decoding(int interface) {
    static const brasvel::video::FfmpegDecoding decoding;
    return interface == brasvel::video::kDecodingInterface ? &decoding : nullptr;
}
