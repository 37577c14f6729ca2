// MusicTrack.cpp: decode, convert, queue, hand out in order.
#include "MusicTrack.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <cstring>

namespace {

std::string errorText(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

}  // namespace

MusicTrack::MusicTrack() = default;

MusicTrack::~MusicTrack()
{
    close();
}

void MusicTrack::close()
{
    avcodec_free_context(&decoder);
    avformat_close_input(&format);
    swr_free(&converter);
    if (queue) av_audio_fifo_free(queue);
    queue = nullptr;
    av_packet_free(&packet);
    av_frame_free(&decoded);
    ended = true;
}

bool MusicTrack::open(const std::string& path, std::string& error)
{
    close();
    problem.clear();
    length = 0;
    auto fail = [&](const std::string& what) {
        error = path + ": " + what;
        close();
        return false;
    };
    int result = avformat_open_input(&format, path.c_str(), nullptr, nullptr);
    if (result < 0) return fail(errorText(result));
    result = avformat_find_stream_info(format, nullptr);
    if (result < 0) return fail(errorText(result));
    const AVCodec* codec = nullptr;
    stream = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
    if (stream < 0 || !codec) return fail("no audio in the file");
    const AVStream* audio = format->streams[stream];
    decoder = avcodec_alloc_context3(codec);
    if (!decoder) return fail("out of memory");
    result = avcodec_parameters_to_context(decoder, audio->codecpar);
    if (result >= 0) result = avcodec_open2(decoder, codec, nullptr);
    if (result < 0) return fail("cannot decode: " + errorText(result));
    if (decoder->sample_rate <= 0 || decoder->ch_layout.nb_channels <= 0) return fail("no sample rate or channels");

    // Whatever the file holds becomes stereo float planes at 44,100 a second.
    AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;  // not const: FFmpeg 5.1 takes it so
    result = swr_alloc_set_opts2(&converter, &stereo, AV_SAMPLE_FMT_FLTP, SAMPLE_RATE, &decoder->ch_layout,
                                 decoder->sample_fmt, decoder->sample_rate, 0, nullptr);
    if (result >= 0) result = swr_init(converter);
    if (result < 0) return fail("cannot convert its samples: " + errorText(result));
    queue = av_audio_fifo_alloc(AV_SAMPLE_FMT_FLTP, 2, SAMPLE_RATE);
    packet = av_packet_alloc();
    decoded = av_frame_alloc();
    if (!queue || !packet || !decoded) return fail("out of memory");

    if (audio->duration > 0 && audio->duration != AV_NOPTS_VALUE) {
        length = av_rescale_q(audio->duration, audio->time_base, AVRational{1, SAMPLE_RATE});
    } else if (format->duration > 0) {
        length = av_rescale(format->duration, SAMPLE_RATE, AV_TIME_BASE);
    }
    ended = false;
    return true;
}

void MusicTrack::convert(const AVFrame* frame)
{
    const int inCount = frame ? frame->nb_samples : 0;
    const int room = swr_get_out_samples(converter, inCount);
    if (room <= 0) return;
    uint8_t** planes = nullptr;
    if (av_samples_alloc_array_and_samples(&planes, nullptr, 2, room, AV_SAMPLE_FMT_FLTP, 0) < 0) {
        problem = "out of memory while decoding the music";
        ended = true;
        return;
    }
    const int made = swr_convert(converter, planes, room, frame ? const_cast<const uint8_t**>(frame->extended_data)
                                                                : nullptr,
                                 inCount);
    if (made > 0) av_audio_fifo_write(queue, reinterpret_cast<void**>(planes), made);
    av_freep(&planes[0]);
    av_freep(&planes);
}

void MusicTrack::fill(int count)
{
    // Each pass reads one packet; a track of n packets ends after n + 1.
    while (!ended && av_audio_fifo_size(queue) < count) {
        const int result = av_read_frame(format, packet);
        if (result < 0 && result != AVERROR_EOF) problem = "music read error: " + errorText(result);
        if (result < 0) {
            // End of file: the decoder's last frames, then the converter's.
            avcodec_send_packet(decoder, nullptr);
        } else if (packet->stream_index != stream) {
            av_packet_unref(packet);
            continue;
        } else {
            // A damaged packet is skipped; the decoder carries on with the next.
            avcodec_send_packet(decoder, packet);
            av_packet_unref(packet);
        }
        while (avcodec_receive_frame(decoder, decoded) >= 0) {
            convert(decoded);
            av_frame_unref(decoded);
        }
        if (result < 0) {
            convert(nullptr);
            ended = true;
        }
    }
}

void MusicTrack::skip(int64_t count)
{
    // In slices of a second, so the queue never holds more than that.
    while (count > 0 && queue) {
        const int step = static_cast<int>(std::min<int64_t>(count, SAMPLE_RATE));
        fill(step);
        const int have = std::min(step, av_audio_fifo_size(queue));
        av_audio_fifo_drain(queue, have);
        count -= have;
        if (have < step) return;  // the track has ended: nothing left to pass over
    }
}

void MusicTrack::read(float* left, float* right, int count)
{
    int have = 0;
    if (queue) {
        fill(count);
        void* planes[2] = {left, right};
        have = std::max(0, av_audio_fifo_read(queue, planes, count));
    }
    std::fill(left + have, left + count, 0.0f);
    std::fill(right + have, right + count, 0.0f);
}
