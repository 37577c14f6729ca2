// VideoFile.cpp: encoders, muxer, temporary file and its rename.
#include "VideoFile.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace fs = std::filesystem;

namespace {

// x264's speed and compression balance. At the quality a capture is made at,
// "medium" gained about half a dB over "veryfast" on the logo's fade, at a
// third more encoder time, enough to make the encoder the slower of the two
// threads on a two-core machine.
constexpr const char* X264_PRESET = "veryfast";
// A fixed number of encoder threads: x264's output depends on it, so a fixed
// count keeps the file from depending on the machine's number of cores.
constexpr int X264_THREADS = 3;
constexpr int64_t SOUND_BIT_RATE = 192000;

std::string errorText(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

}  // namespace

VideoFile::VideoFile() = default;

VideoFile::~VideoFile()
{
    discard();
}

bool VideoFile::fail(const std::string& what, int code)
{
    // The first failure is the one worth reporting; later ones follow from it.
    if (!failed) problem = code ? what + ": " + errorText(code) : what;
    failed = true;
    release();
    return false;
}

void VideoFile::release()
{
    if (format && format->pb) avio_closep(&format->pb);
    if (fileOpen) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        fileOpen = false;
    }
    avformat_free_context(format);
    format = nullptr;
    videoStream = soundStream = nullptr;
    avcodec_free_context(&video);
    avcodec_free_context(&sound);
    sws_freeContext(scaler);
    scaler = nullptr;
    av_frame_free(&picture);
    av_frame_free(&soundFrame);
    av_packet_free(&packet);
    if (soundQueue) av_audio_fifo_free(soundQueue);
    soundQueue = nullptr;
}

void VideoFile::discard()
{
    release();
}

bool VideoFile::open(const VideoSettings& settings)
{
    release();
    failed = false;
    problem.clear();
    pictures = samples = 0;
    width = settings.width;
    height = settings.height;
    sourceWidth = settings.sourceWidth;
    sourceHeight = settings.sourceHeight;
    boxX = settings.boxX;
    boxY = settings.boxY;
    boxWidth = settings.boxWidth > 0 ? settings.boxWidth : width;
    boxHeight = settings.boxWidth > 0 ? settings.boxHeight : height;
    target = settings.path;
    const std::string name = target.string();
    std::error_code error;
    if (fs::is_directory(target, error)) return fail("cannot write " + name + ": it is a folder");
    // Hidden and marked with the process number, beside the target so that
    // the final rename stays within one file system.
    temporary = target.parent_path() /
                ("." + target.filename().string() + "." + std::to_string(getpid()) + ".partial");

    int result = avformat_alloc_output_context2(&format, nullptr, muxerName(settings.container),
                                                temporary.c_str());
    if (result < 0 || !format) return fail("cannot make a " + std::string(muxerName(settings.container)) + " file",
                                           result);
    // No random identifiers, dates or version strings: the same show gives
    // the same bytes.
    format->flags |= AVFMT_FLAG_BITEXACT;
    av_dict_set(&format->metadata, "title", "Quorl-H", 0);
    packet = av_packet_alloc();
    if (!packet) return fail("out of memory");
    if (!openVideoEncoder(settings) || !openSoundEncoder()) return false;

    result = avio_open(&format->pb, temporary.c_str(), AVIO_FLAG_WRITE);
    if (result < 0) return fail("cannot write " + name, result);
    fileOpen = true;
    AVDictionary* options = nullptr;
    // MP4 and QuickTime: the index moves to the front when the file is done.
    if (settings.container != Container::Matroska) av_dict_set(&options, "movflags", "+faststart", 0);
    result = avformat_write_header(format, &options);
    av_dict_free(&options);
    if (result < 0) return fail("cannot write " + name, result);
    return true;
}

bool VideoFile::openVideoEncoder(const VideoSettings& settings)
{
    const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
    if (!codec) return fail("no H.264 encoder: this FFmpeg was built without libx264");
    video = avcodec_alloc_context3(codec);
    if (!video) return fail("out of memory");
    video->width = width;
    video->height = height;
    video->pix_fmt = AV_PIX_FMT_YUV420P;
    video->time_base = AVRational{1, FRAME_RATE};
    video->framerate = AVRational{FRAME_RATE, 1};
    video->sample_aspect_ratio = AVRational{1, 1};
    // Rec. 601 studio range, said in the stream as well, so players that read
    // the tags and players that guess from the picture size agree.
    video->colorspace = AVCOL_SPC_SMPTE170M;
    video->color_primaries = AVCOL_PRI_SMPTE170M;
    video->color_trc = AVCOL_TRC_SMPTE170M;
    video->color_range = AVCOL_RANGE_MPEG;
    video->thread_count = X264_THREADS;
    if (format->oformat->flags & AVFMT_GLOBALHEADER) video->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    av_opt_set(video->priv_data, "preset", X264_PRESET, 0);
    av_opt_set_double(video->priv_data, "crf", settings.crf, 0);
    int result = avcodec_open2(video, codec, nullptr);
    if (result < 0) return fail("cannot start the H.264 encoder", result);

    videoStream = avformat_new_stream(format, nullptr);
    if (!videoStream) return fail("out of memory");
    result = avcodec_parameters_from_context(videoStream->codecpar, video);
    if (result < 0) return fail("cannot set up the video stream", result);
    videoStream->time_base = video->time_base;
    videoStream->avg_frame_rate = video->framerate;
    videoStream->r_frame_rate = video->framerate;

    // GL's pixels are full-range RGB; the video is studio range. A picture
    // drawn larger than its box is averaged down (no sample is dropped, so
    // no line flickers); one smaller is enlarged with a Lanczos filter.
    int filter = SWS_BILINEAR;
    if (sourceWidth != boxWidth || sourceHeight != boxHeight) {
        filter = sourceWidth > boxWidth ? SWS_AREA : SWS_LANCZOS;
    }
    scaler = sws_getContext(sourceWidth, sourceHeight, AV_PIX_FMT_BGRA, boxWidth, boxHeight, AV_PIX_FMT_YUV420P,
                            filter, nullptr, nullptr, nullptr);
    if (!scaler) return fail("cannot convert pictures to yuv420p");
    const int* bt601 = sws_getCoefficients(SWS_CS_ITU601);
    sws_setColorspaceDetails(scaler, bt601, 1, bt601, 0, 0, 1 << 16, 1 << 16);
    picture = av_frame_alloc();
    if (!picture) return fail("out of memory");
    picture->format = AV_PIX_FMT_YUV420P;
    picture->width = width;
    picture->height = height;
    result = av_frame_get_buffer(picture, 0);
    if (result < 0) return fail("out of memory", result);
    return true;
}

bool VideoFile::openSoundEncoder()
{
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_AAC);
    if (!codec) return fail("no AAC encoder in this FFmpeg");
    sound = avcodec_alloc_context3(codec);
    if (!sound) return fail("out of memory");
    sound->sample_fmt = AV_SAMPLE_FMT_FLTP;
    sound->sample_rate = SAMPLE_RATE;
    const AVChannelLayout stereo = AV_CHANNEL_LAYOUT_STEREO;
    av_channel_layout_copy(&sound->ch_layout, &stereo);
    sound->bit_rate = SOUND_BIT_RATE;
    sound->time_base = AVRational{1, SAMPLE_RATE};
    sound->flags |= AV_CODEC_FLAG_BITEXACT;
    if (format->oformat->flags & AVFMT_GLOBALHEADER) sound->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    int result = avcodec_open2(sound, codec, nullptr);
    if (result < 0) return fail("cannot start the AAC encoder", result);

    soundStream = avformat_new_stream(format, nullptr);
    if (!soundStream) return fail("out of memory");
    result = avcodec_parameters_from_context(soundStream->codecpar, sound);
    if (result < 0) return fail("cannot set up the sound stream", result);
    soundStream->time_base = sound->time_base;

    soundFrame = av_frame_alloc();
    soundQueue = av_audio_fifo_alloc(AV_SAMPLE_FMT_FLTP, 2, sound->frame_size * 4);
    if (!soundFrame || !soundQueue) return fail("out of memory");
    soundFrame->format = AV_SAMPLE_FMT_FLTP;
    soundFrame->sample_rate = SAMPLE_RATE;
    soundFrame->nb_samples = sound->frame_size;
    av_channel_layout_copy(&soundFrame->ch_layout, &stereo);
    result = av_frame_get_buffer(soundFrame, 0);
    if (result < 0) return fail("out of memory", result);
    return true;
}

bool VideoFile::encode(AVCodecContext* encoder, AVStream* stream, const AVFrame* frame)
{
    int result = avcodec_send_frame(encoder, frame);
    if (result < 0) return fail("encoding failed", result);
    for (;;) {
        result = avcodec_receive_packet(encoder, packet);
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF) return true;
        if (result < 0) return fail("encoding failed", result);
        av_packet_rescale_ts(packet, encoder->time_base, stream->time_base);
        packet->stream_index = stream->index;
        result = av_interleaved_write_frame(format, packet);
        if (result < 0) return fail("cannot write " + target.string(), result);
    }
}

bool VideoFile::writePicture(const uint8_t* bgraBottomFirst)
{
    if (failed || !format) return false;
    // The encoder may still hold the last picture; then this makes a new one.
    int result = av_frame_make_writable(picture);
    if (result < 0) return fail("out of memory", result);
    if (boxWidth != width || boxHeight != height) {
        // Black bars: studio-range black is luma 16 and neutral chroma 128.
        std::memset(picture->data[0], 16, static_cast<size_t>(picture->linesize[0]) * height);
        std::memset(picture->data[1], 128, static_cast<size_t>(picture->linesize[1]) * (height / 2));
        std::memset(picture->data[2], 128, static_cast<size_t>(picture->linesize[2]) * (height / 2));
    }
    // The box's corner in each plane; the colour planes are half size, and
    // the box's offsets are even.
    uint8_t* const box[3] = {
        picture->data[0] + static_cast<ptrdiff_t>(boxY) * picture->linesize[0] + boxX,
        picture->data[1] + static_cast<ptrdiff_t>(boxY / 2) * picture->linesize[1] + boxX / 2,
        picture->data[2] + static_cast<ptrdiff_t>(boxY / 2) * picture->linesize[2] + boxX / 2,
    };
    // Start at the last row and step backwards: the video comes out upright.
    const int stride = sourceWidth * 4;
    const uint8_t* const source[1] = {bgraBottomFirst + static_cast<ptrdiff_t>(sourceHeight - 1) * stride};
    const int sourceStride[1] = {-stride};
    sws_scale(scaler, source, sourceStride, 0, sourceHeight, box, picture->linesize);
    picture->pts = pictures++;
    return encode(video, videoStream, picture);
}

bool VideoFile::writeSound(const float* left, const float* right, int count)
{
    if (failed || !format) return false;
    void* planes[2] = {const_cast<float*>(left), const_cast<float*>(right)};
    if (av_audio_fifo_write(soundQueue, planes, count) < count) return fail("out of memory");
    return drainSound(false);
}

bool VideoFile::drainSound(bool all)
{
    // Each pass takes at least one sample out of the queue.
    while (av_audio_fifo_size(soundQueue) >= sound->frame_size || (all && av_audio_fifo_size(soundQueue) > 0)) {
        const int count = std::min(sound->frame_size, av_audio_fifo_size(soundQueue));
        // A copy made by make_writable has the frame's size: ask for a whole one.
        soundFrame->nb_samples = sound->frame_size;
        int result = av_frame_make_writable(soundFrame);
        if (result < 0) return fail("out of memory", result);
        soundFrame->nb_samples = count;
        av_audio_fifo_read(soundQueue, reinterpret_cast<void**>(soundFrame->data), count);
        soundFrame->pts = samples;
        samples += count;
        if (!encode(sound, soundStream, soundFrame)) return false;
    }
    return true;
}

bool VideoFile::finish()
{
    if (failed || !format) return false;
    if (!drainSound(true) || !encode(video, videoStream, nullptr) || !encode(sound, soundStream, nullptr)) {
        return false;
    }
    const std::string name = target.string();
    int result = av_write_trailer(format);
    if (result < 0) return fail("cannot write " + name, result);
    if (format->pb->error < 0) return fail("cannot write " + name, format->pb->error);
    result = avio_closep(&format->pb);
    if (result < 0) return fail("cannot write " + name, result);
    std::error_code error;
    fs::rename(temporary, target, error);
    if (error) return fail("cannot name the file " + name + ": " + error.message());
    fileOpen = false;
    release();
    return true;
}
