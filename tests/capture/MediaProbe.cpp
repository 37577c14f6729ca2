// MediaProbe.cpp: libavformat and libavcodec reading for the capture tests.
#include "MediaProbe.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <limits>

namespace {

// An opened file with one decoder, freed however the reading ends.
struct Reader {
    AVFormatContext* format = nullptr;
    AVCodecContext* decoder = nullptr;
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    int stream = -1;

    Reader(const std::string& path, AVMediaType type)
    {
        if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0) return;
        if (avformat_find_stream_info(format, nullptr) < 0) return;
        const AVCodec* codec = nullptr;
        stream = av_find_best_stream(format, type, -1, -1, &codec, 0);
        if (stream < 0 || !codec) return;
        decoder = avcodec_alloc_context3(codec);
        if (avcodec_parameters_to_context(decoder, format->streams[stream]->codecpar) < 0 ||
            avcodec_open2(decoder, codec, nullptr) < 0) {
            avcodec_free_context(&decoder);
        }
    }
    ~Reader()
    {
        avcodec_free_context(&decoder);
        avformat_close_input(&format);
        av_packet_free(&packet);
        av_frame_free(&frame);
    }

    // Calls `use` with every decoded frame until it returns false.
    template <typename Use>
    void decodeAll(Use use)
    {
        if (!decoder) return;
        bool more = true;
        while (more) {
            const bool input = av_read_frame(format, packet) >= 0;
            if (input && packet->stream_index != stream) {
                av_packet_unref(packet);
                continue;
            }
            avcodec_send_packet(decoder, input ? packet : nullptr);
            av_packet_unref(packet);
            while (more && avcodec_receive_frame(decoder, frame) >= 0) {
                more = use(frame, format->streams[stream]);
                av_frame_unref(frame);
            }
            if (!input) break;
        }
    }
};

double seconds(int64_t time, AVRational base)
{
    return time * av_q2d(base);
}

// The first picture's time in the file, the zero of the sound's time line.
double firstPictureSeconds(AVFormatContext* format)
{
    const int video = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (video < 0) return 0.0;
    const AVStream* stream = format->streams[video];
    return stream->start_time == AV_NOPTS_VALUE ? 0.0 : seconds(stream->start_time, stream->time_base);
}

}  // namespace

MediaFacts probeMedia(const std::string& path)
{
    MediaFacts facts;
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0) return facts;
    if (avformat_find_stream_info(format, nullptr) < 0) {
        avformat_close_input(&format);
        return facts;
    }
    facts.opened = true;
    facts.container = format->iformat->name;
    std::vector<double> first(format->nb_streams, std::numeric_limits<double>::max());
    std::vector<double> last(format->nb_streams, std::numeric_limits<double>::lowest());
    std::vector<int64_t> count(format->nb_streams, 0);
    AVPacket* packet = av_packet_alloc();
    while (av_read_frame(format, packet) >= 0) {
        const int index = packet->stream_index;
        const AVRational base = format->streams[index]->time_base;
        ++count[index];
        if (packet->pts != AV_NOPTS_VALUE) {
            first[index] = std::min(first[index], seconds(packet->pts, base));
            last[index] = std::max(last[index], seconds(packet->pts + packet->duration, base));
        }
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    const int firstVideo = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    const double zero = firstVideo >= 0 && count[firstVideo] > 0 ? first[firstVideo] : 0.0;
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        const AVStream* stream = format->streams[i];
        const AVCodecParameters* parameters = stream->codecpar;
        StreamFacts* into = parameters->codec_type == AVMEDIA_TYPE_VIDEO   ? &facts.video
                              : parameters->codec_type == AVMEDIA_TYPE_AUDIO ? &facts.sound
                                                                             : nullptr;
        if (!into || into->present) continue;
        into->present = true;
        into->codec = avcodec_get_name(parameters->codec_id);
        into->width = parameters->width;
        into->height = parameters->height;
        into->frameRate = stream->avg_frame_rate.den ? av_q2d(stream->avg_frame_rate) : 0.0;
        into->sampleRate = parameters->sample_rate;
        into->channels = parameters->ch_layout.nb_channels;
        into->packets = count[i];
        if (count[i] > 0) {
            into->startSeconds = first[i] - zero;
            into->endSeconds = last[i] - zero;
        }
    }
    avformat_close_input(&format);
    return facts;
}

std::vector<std::vector<uint8_t>> decodePictures(const std::string& path, int& width, int& height)
{
    std::vector<std::vector<uint8_t>> pictures;
    Reader reader(path, AVMEDIA_TYPE_VIDEO);
    SwsContext* scaler = nullptr;
    reader.decodeAll([&](const AVFrame* frame, const AVStream*) {
        width = frame->width;
        height = frame->height;
        if (!scaler) {
            scaler = sws_getContext(width, height, static_cast<AVPixelFormat>(frame->format), width, height,
                                    AV_PIX_FMT_RGB24, SWS_BILINEAR, nullptr, nullptr, nullptr);
            const int space = frame->colorspace == AVCOL_SPC_BT709 ? SWS_CS_ITU709 : SWS_CS_ITU601;
            const int* matrix = sws_getCoefficients(space);
            sws_setColorspaceDetails(scaler, matrix, frame->color_range == AVCOL_RANGE_JPEG, matrix, 1, 0, 1 << 16,
                                     1 << 16);
        }
        std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
        uint8_t* planes[1] = {rgb.data()};
        const int strides[1] = {width * 3};
        sws_scale(scaler, frame->data, frame->linesize, 0, height, planes, strides);
        pictures.push_back(std::move(rgb));
        return true;
    });
    sws_freeContext(scaler);
    return pictures;
}

MonoSound decodeSound(const std::string& path, double limit)
{
    MonoSound sound;
    Reader reader(path, AVMEDIA_TYPE_AUDIO);
    if (!reader.decoder) return sound;
    const double zero = firstPictureSeconds(reader.format);
    SwrContext* mixer = nullptr;
    AVChannelLayout mono = AV_CHANNEL_LAYOUT_MONO;
    reader.decodeAll([&](const AVFrame* frame, const AVStream* stream) {
        if (!mixer) {
            sound.sampleRate = frame->sample_rate;
            const int64_t time = frame->best_effort_timestamp;
            sound.startSeconds = (time == AV_NOPTS_VALUE ? 0.0 : seconds(time, stream->time_base)) - zero;
            AVChannelLayout layout{};
            av_channel_layout_copy(&layout, &frame->ch_layout);
            swr_alloc_set_opts2(&mixer, &mono, AV_SAMPLE_FMT_FLT, frame->sample_rate, &layout,
                                static_cast<AVSampleFormat>(frame->format), frame->sample_rate, 0, nullptr);
            av_channel_layout_uninit(&layout);
            if (swr_init(mixer) < 0) return false;
        }
        const size_t at = sound.samples.size();
        sound.samples.resize(at + frame->nb_samples);
        uint8_t* out[1] = {reinterpret_cast<uint8_t*>(sound.samples.data() + at)};
        const int made = swr_convert(mixer, out, frame->nb_samples, const_cast<const uint8_t**>(frame->extended_data),
                                     frame->nb_samples);
        sound.samples.resize(at + std::max(0, made));
        return sound.samples.size() < limit * sound.sampleRate;
    });
    swr_free(&mixer);
    return sound;
}
