// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Brasvel Resource Editor maintainers
#include "tools/writers/VideoWriters.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
}

#include <cstring>
#include <memory>
#include <stdexcept>

namespace brasvel::writers {
namespace {

void check(int result, const char* what) {
    if (result < 0) {
        char text[AV_ERROR_MAX_STRING_SIZE] = {};
        av_strerror(result, text, sizeof text);
        throw std::runtime_error(std::string("losslessClip: ") + what + ": " + text);
    }
}

template <typename T>
T* made(T* pointer, const char* what) {
    if (pointer == nullptr) {
        throw std::runtime_error(std::string("losslessClip: cannot make ") + what);
    }
    return pointer;
}

// The file being written, in memory, with the seeks the AVI muxer makes to finish its headers.
struct MemoryOutput {
    std::string bytes;
    std::int64_t position = 0;

    static int write(void* opaque, std::uint8_t* data, int size) {
        auto& out = *static_cast<MemoryOutput*>(opaque);
        const auto end = static_cast<std::size_t>(out.position) + static_cast<std::size_t>(size);
        if (out.bytes.size() < end) {
            out.bytes.resize(end);
        }
        std::memcpy(out.bytes.data() + out.position, data, static_cast<std::size_t>(size));
        out.position += size;
        return size;
    }

    static std::int64_t seek(void* opaque, std::int64_t offset, int whence) {
        auto& out = *static_cast<MemoryOutput*>(opaque);
        whence &= ~AVSEEK_FORCE;
        if (whence == AVSEEK_SIZE) {
            return static_cast<std::int64_t>(out.bytes.size());
        }
        const std::int64_t base = whence == SEEK_CUR   ? out.position
                                  : whence == SEEK_END ? static_cast<std::int64_t>(out.bytes.size())
                                                       : 0;
        if (base + offset < 0) {
            return AVERROR(EINVAL);
        }
        out.position = base + offset;
        return out.position;
    }
};

struct Encoder {
    AVCodecContext* context = nullptr;
    AVStream* stream = nullptr;
    ~Encoder() { avcodec_free_context(&context); }
};

// Sends `frame` (nullptr: the end) and writes every packet the encoder gives back.
void encode(AVFormatContext* muxer, Encoder& encoder, const AVFrame* frame) {
    check(avcodec_send_frame(encoder.context, frame), "send frame");
    AVPacket* packet = made(av_packet_alloc(), "packet");
    for (;;) {
        const int result = avcodec_receive_packet(encoder.context, packet);
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) {
            break;
        }
        check(result, "receive packet");
        av_packet_rescale_ts(packet, encoder.context->time_base, encoder.stream->time_base);
        packet->stream_index = encoder.stream->index;
        check(av_interleaved_write_frame(muxer, packet), "write packet");
    }
    av_packet_free(&packet);
}

void openEncoder(AVFormatContext* muxer, Encoder& encoder, const AVCodec* codec) {
    if (muxer->oformat->flags & AVFMT_GLOBALHEADER) {
        encoder.context->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    check(avcodec_open2(encoder.context, codec, nullptr), "open encoder");
    encoder.stream = made(avformat_new_stream(muxer, nullptr), "stream");
    check(avcodec_parameters_from_context(encoder.stream->codecpar, encoder.context), "parameters");
    encoder.stream->time_base = encoder.context->time_base;
}

}  // namespace

std::vector<std::uint8_t> clipFramePixels(const ClipShape& shape, int index) {
    std::vector<std::uint8_t> rgb;
    rgb.reserve(static_cast<std::size_t>(shape.width) * shape.height * 3);
    for (std::int32_t y = 0; y < shape.height; ++y) {
        for (std::int32_t x = 0; x < shape.width; ++x) {
            rgb.push_back(static_cast<std::uint8_t>(x * 7 + index * 40));
            rgb.push_back(static_cast<std::uint8_t>(y * 5 + index * 3));
            rgb.push_back(static_cast<std::uint8_t>((x ^ y) + index * 17));
        }
    }
    return rgb;
}

std::vector<std::int16_t> clipSound(const ClipShape& shape) {
    std::vector<std::int16_t> samples;
    const std::int64_t count = std::int64_t{shape.soundRate} * shape.frames / shape.frameRate;
    for (std::int64_t i = 0; i < count; ++i) {
        for (int channel = 0; channel < shape.channels; ++channel) {
            samples.push_back(
                static_cast<std::int16_t>((i * 389 + channel * 7000) % 40000 - 20000));
        }
    }
    return samples;
}

std::string losslessClip(const ClipShape& shape) {
    return losslessClip(
        shape, [&shape](int index) { return clipFramePixels(shape, index); }, clipSound(shape));
}

std::string losslessClip(const ClipShape& shape, const FramePainter& paint,
                         const std::vector<std::int16_t>& samples) {
    AVFormatContext* muxer = nullptr;
    check(avformat_alloc_output_context2(&muxer, nullptr, "avi", nullptr), "muxer");
    const std::unique_ptr<AVFormatContext, void (*)(AVFormatContext*)> muxerFreed(
        muxer, [](AVFormatContext* m) { avformat_free_context(m); });
    MemoryOutput output;
    constexpr int kBufferSize = 32 * 1024;
    auto* buffer = made(static_cast<unsigned char*>(av_malloc(kBufferSize)), "buffer");
    muxer->pb = made(avio_alloc_context(buffer, kBufferSize, 1, &output, nullptr,
                                        &MemoryOutput::write, &MemoryOutput::seek),
                     "output");
    const std::unique_ptr<AVIOContext, void (*)(AVIOContext*)> outputFreed(
        muxer->pb, [](AVIOContext* io) {
            av_freep(&io->buffer);
            avio_context_free(&io);
        });

    Encoder video;
    const AVCodec* ffv1 = made(avcodec_find_encoder(AV_CODEC_ID_FFV1), "FFV1 encoder");
    video.context = made(avcodec_alloc_context3(ffv1), "video encoder");
    video.context->width = shape.width;
    video.context->height = shape.height;
    video.context->pix_fmt = AV_PIX_FMT_0RGB32;
    video.context->time_base = AVRational{1, shape.frameRate};
    video.context->framerate = AVRational{shape.frameRate, 1};
    video.context->gop_size = shape.keyFrameInterval;
    openEncoder(muxer, video, ffv1);

    Encoder sound;
    if (shape.soundRate > 0) {
        const AVCodec* pcm = made(avcodec_find_encoder(AV_CODEC_ID_PCM_S16LE), "PCM encoder");
        sound.context = made(avcodec_alloc_context3(pcm), "sound encoder");
        sound.context->sample_fmt = AV_SAMPLE_FMT_S16;
        sound.context->sample_rate = shape.soundRate;
        av_channel_layout_default(&sound.context->ch_layout, shape.channels);
        sound.context->time_base = AVRational{1, shape.soundRate};
        openEncoder(muxer, sound, pcm);
    }
    check(avformat_write_header(muxer, nullptr), "header");

    AVFrame* frame = made(av_frame_alloc(), "frame");
    const std::unique_ptr<AVFrame*, void (*)(AVFrame**)> frameFreed(&frame, av_frame_free);
    const std::size_t samplesPerFrame =
        static_cast<std::size_t>(shape.soundRate / shape.frameRate) * shape.channels;
    std::size_t soundDone = 0;
    for (int index = 0; index < shape.frames; ++index) {
        frame->format = AV_PIX_FMT_0RGB32;
        frame->width = shape.width;
        frame->height = shape.height;
        check(av_frame_get_buffer(frame, 0), "frame buffer");
        const std::vector<std::uint8_t> rgb = paint(index);
        if (rgb.size() != static_cast<std::size_t>(shape.width) * shape.height * 3) {
            throw std::runtime_error("a clip frame of the wrong size");
        }
        for (std::int32_t y = 0; y < shape.height; ++y) {
            for (std::int32_t x = 0; x < shape.width; ++x) {
                const std::uint8_t* pixel =
                    &rgb[(static_cast<std::size_t>(y) * shape.width + x) * 3];
                // 0RGB32 is one 32-bit word per pixel: bytes B, G, R, 0 in memory here.
                std::uint8_t* packed = frame->data[0] + y * frame->linesize[0] + x * 4;
                packed[0] = pixel[2];
                packed[1] = pixel[1];
                packed[2] = pixel[0];
                packed[3] = 0;
            }
        }
        frame->pts = index;
        encode(muxer, video, frame);
        av_frame_unref(frame);

        if (sound.context != nullptr) {
            const std::size_t end = index + 1 == shape.frames
                                        ? samples.size()
                                        : std::min(samples.size(), soundDone + samplesPerFrame);
            frame->format = AV_SAMPLE_FMT_S16;
            frame->sample_rate = shape.soundRate;
            check(av_channel_layout_copy(&frame->ch_layout, &sound.context->ch_layout), "layout");
            frame->nb_samples = static_cast<int>((end - soundDone) / shape.channels);
            if (frame->nb_samples > 0) {
                check(av_frame_get_buffer(frame, 0), "sound buffer");
                std::memcpy(frame->data[0], samples.data() + soundDone, (end - soundDone) * 2);
                frame->pts = static_cast<std::int64_t>(soundDone / shape.channels);
                encode(muxer, sound, frame);
            }
            soundDone = end;
            av_frame_unref(frame);
        }
    }
    encode(muxer, video, nullptr);
    if (sound.context != nullptr) {
        encode(muxer, sound, nullptr);
    }
    check(av_write_trailer(muxer), "trailer");
    avio_flush(muxer->pb);
    return output.bytes;
}

}  // namespace brasvel::writers
