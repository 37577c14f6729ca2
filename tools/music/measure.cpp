// measure.cpp: music-measure, measures a music track and draws it.
//
//   music-measure TRACK.mp3 [PICTURE-FOLDER]
//
// Prints length, format and peak, then peak and RMS level of every part of
// the show's running order, so a change to the generator can be judged by
// numbers. With a folder it also writes one PNG per part: a spectrogram
// (log frequency 30 Hz to 20 kHz upwards, time rightwards, brighter =
// louder) above the level envelope, plus overview.png of the whole track
// with the part boundaries marked. A measuring aid only; the build does not
// run it.
// Needs: Mp3Decoder.h, libpng.
#include <png.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <string>
#include <vector>

#include "Mp3Decoder.h"

namespace {

// The show's parts in seconds (frame / 50) with the flashes inside them.
struct Part {
    const char* name;
    double from;
    double to;
};
constexpr Part PARTS[] = {
    {"logo", 0.0, 8.0},      {"intro-a", 8.0, 24.0}, {"intro-b", 24.0, 39.0}, {"wave", 39.0, 56.0},
    {"metaballs", 56.0, 72.0}, {"spin", 72.0, 88.0},  {"tunnels", 88.0, 104.0}, {"bodies", 104.0, 144.0},
    {"end", 144.0, 1e9},
};

constexpr int FFT_SIZE = 2048;
constexpr int SPECTRO_HEIGHT = 256;
constexpr int ENVELOPE_HEIGHT = 80;

double toDb(double x) { return x > 1e-10 ? 20.0 * std::log10(x) : -200.0; }

// In-place radix-2 FFT.
void fft(std::vector<std::complex<double>>& a) {
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const double angle = -2.0 * M_PI / static_cast<double>(len);
        const std::complex<double> step(std::cos(angle), std::sin(angle));
        for (size_t i = 0; i < n; i += len) {
            std::complex<double> w(1.0);
            for (size_t k = 0; k < len / 2; ++k) {
                const std::complex<double> u = a[i + k], v = a[i + k + len / 2] * w;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
                w *= step;
            }
        }
    }
}

// RGB picture written as PNG.
struct Picture {
    int width, height;
    std::vector<unsigned char> rgb;
    Picture(int w, int h) : width(w), height(h), rgb(static_cast<size_t>(w) * h * 3, 0) {}
    void set(int x, int y, unsigned char r, unsigned char g, unsigned char b) {
        if (x < 0 || y < 0 || x >= width || y >= height) return;
        unsigned char* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
        p[0] = r;
        p[1] = g;
        p[2] = b;
    }
    bool save(const std::string& path) const {
        FILE* file = std::fopen(path.c_str(), "wb");
        if (!file) return false;
        png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        if (setjmp(png_jmpbuf(png))) {
            png_destroy_write_struct(&png, &info);
            std::fclose(file);
            return false;
        }
        png_init_io(png, file);
        png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < height; ++y) png_write_row(png, &rgb[static_cast<size_t>(y) * width * 3]);
        png_write_end(png, nullptr);
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return true;
    }
};

// Heat colour for a level between 0 and 1.
void heat(double v, unsigned char& r, unsigned char& g, unsigned char& b) {
    v = std::clamp(v, 0.0, 1.0);
    r = static_cast<unsigned char>(255 * std::min(1.0, v * 2.0));
    g = static_cast<unsigned char>(255 * std::clamp(v * 2.0 - 0.6, 0.0, 1.0));
    b = static_cast<unsigned char>(255 * std::clamp(v * 3.0 - 2.0, 0.0, 1.0) + 80 * std::max(0.0, 0.4 - v));
}

// Mono mix of frame i.
float monoAt(const music::DecodedAudio& a, size_t i) {
    float sum = 0.0f;
    for (int c = 0; c < a.channels; ++c) sum += a.samples[i * a.channels + c];
    return sum / static_cast<float>(a.channels);
}

// Spectrogram and envelope of [from, to) seconds, one column per hop.
void drawPart(const music::DecodedAudio& a, double from, double to, const std::string& path) {
    const size_t first = static_cast<size_t>(from * a.rate);
    const size_t last = std::min(a.frames(), static_cast<size_t>(to * a.rate));
    if (last <= first + FFT_SIZE) return;
    const size_t hop = std::max<size_t>(256, (last - first) / 1200);
    const int columns = static_cast<int>((last - first - FFT_SIZE) / hop);
    Picture pic(columns, SPECTRO_HEIGHT + ENVELOPE_HEIGHT);
    std::vector<std::complex<double>> buf(FFT_SIZE);
    for (int x = 0; x < columns; ++x) {
        const size_t at = first + static_cast<size_t>(x) * hop;
        double sumSq = 0.0;
        for (int i = 0; i < FFT_SIZE; ++i) {
            const double window = 0.5 - 0.5 * std::cos(2.0 * M_PI * i / FFT_SIZE);
            const double s = monoAt(a, at + i);
            buf[i] = s * window;
            sumSq += s * s;
        }
        fft(buf);
        for (int y = 0; y < SPECTRO_HEIGHT; ++y) {
            // Row y covers one step of a log scale from 30 Hz to 20 kHz.
            const double hz = 30.0 * std::pow(20000.0 / 30.0, static_cast<double>(SPECTRO_HEIGHT - 1 - y) / SPECTRO_HEIGHT);
            const size_t bin = std::min<size_t>(FFT_SIZE / 2 - 1, static_cast<size_t>(hz * FFT_SIZE / a.rate));
            const double db = toDb(std::abs(buf[bin]) / (FFT_SIZE / 4));
            unsigned char r, g, b;
            heat((db + 80.0) / 80.0, r, g, b);
            pic.set(x, y, r, g, b);
        }
        // Envelope: RMS in dB from -60 (bottom) to 0 (top).
        const double rmsDb = toDb(std::sqrt(sumSq / FFT_SIZE));
        const int barHeight = static_cast<int>(std::clamp((rmsDb + 60.0) / 60.0, 0.0, 1.0) * (ENVELOPE_HEIGHT - 1));
        for (int y = 0; y < barHeight; ++y) pic.set(x, SPECTRO_HEIGHT + ENVELOPE_HEIGHT - 1 - y, 90, 200, 255);
        // A tick every second along the bottom of the spectrogram.
        if ((at / a.rate) != ((at + hop) / a.rate)) pic.set(x, SPECTRO_HEIGHT - 1, 255, 255, 255);
    }
    if (!pic.save(path)) std::printf("cannot write %s\n", path.c_str());
}

// Whole track: level of low, mid and high bands per quarter second, with
// the part boundaries as grey lines.
void drawOverview(const music::DecodedAudio& a, const std::string& path) {
    const size_t hop = static_cast<size_t>(a.rate / 4);
    const int columns = static_cast<int>(a.frames() / hop);
    constexpr int HEIGHT = 300;
    Picture pic(columns * 2, HEIGHT);
    for (const Part& part : PARTS) {
        const int x = static_cast<int>(part.from * 8.0);
        for (int y = 0; y < HEIGHT; ++y) pic.set(x, y, 90, 90, 90);
    }
    for (int c = 0; c < columns; ++c) {
        double bands[3] = {0, 0, 0};
        double lowState = 0.0, highState = 0.0;
        for (size_t i = c * hop; i < (c + 1) * hop; ++i) {
            const double s = monoAt(a, i);
            lowState += 0.02 * (s - lowState);     // ~140 Hz low-pass
            highState += 0.5 * (s - highState);    // ~5 kHz split
            bands[0] += lowState * lowState;
            bands[1] += (highState - lowState) * (highState - lowState);
            bands[2] += (s - highState) * (s - highState);
        }
        const unsigned char colours[3][3] = {{255, 80, 80}, {80, 255, 80}, {120, 160, 255}};
        for (int k = 0; k < 3; ++k) {
            const double db = toDb(std::sqrt(bands[k] / hop));
            const int y = HEIGHT - 1 - static_cast<int>(std::clamp((db + 60.0) / 60.0, 0.0, 1.0) * (HEIGHT - 1));
            pic.set(2 * c, y, colours[k][0], colours[k][1], colours[k][2]);
            pic.set(2 * c + 1, y, colours[k][0], colours[k][1], colours[k][2]);
        }
    }
    if (!pic.save(path)) std::printf("cannot write %s\n", path.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: music-measure TRACK.mp3 [PICTURE-FOLDER]\n");
        return 1;
    }
    music::DecodedAudio audio;
    std::string error;
    if (!music::decodeMp3(argv[1], audio, error)) {
        std::fprintf(stderr, "music-measure: %s\n", error.c_str());
        return 1;
    }
    float peak = 0.0f;
    for (const float s : audio.samples) peak = std::max(peak, std::fabs(s));
    std::printf("%s: %.2f s, %ld Hz, %d channels, peak %.2f dBFS\n", argv[1], audio.seconds(), audio.rate,
                audio.channels, toDb(peak));
    std::printf("%-10s %7s %7s %9s %9s\n", "part", "from", "to", "peak dB", "RMS dB");
    for (const Part& part : PARTS) {
        const size_t first = static_cast<size_t>(part.from * audio.rate) * audio.channels;
        const size_t last = std::min(audio.samples.size(), static_cast<size_t>(std::min(part.to, 1e6) * audio.rate) * audio.channels);
        if (last <= first) continue;
        double sumSq = 0.0;
        float partPeak = 0.0f;
        for (size_t i = first; i < last; ++i) {
            sumSq += static_cast<double>(audio.samples[i]) * audio.samples[i];
            partPeak = std::max(partPeak, std::fabs(audio.samples[i]));
        }
        std::printf("%-10s %7.1f %7.1f %9.2f %9.2f\n", part.name, part.from, std::min(part.to, audio.seconds()),
                    toDb(partPeak), toDb(std::sqrt(sumSq / static_cast<double>(last - first))));
        if (argc > 2) drawPart(audio, part.from, std::min(part.to, audio.seconds()), std::string(argv[2]) + "/" + part.name + ".png");
    }
    if (argc > 2) drawOverview(audio, std::string(argv[2]) + "/overview.png");
    return 0;
}
