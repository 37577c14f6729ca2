// FileCheck.cpp: one file read as the show reads it, summed up in a report.
#include "FileCheck.h"

#include <mpg123.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string_view>

#include "image/Image.h"
#include "image/JPGImage.h"
#include "reader3ds/Reader3DS.h"

namespace check {

namespace {

// ---------------------------------------------------------------------------
// Catching the readers' messages
// ---------------------------------------------------------------------------

// Runs read() with standard output sent to a temporary file and returns what
// it printed. The readers report through standard output only, and the
// checker prints one line per file, so their lines are caught and the last
// one becomes the reason. Without a temporary file they print as usual.
template <class Read>
std::string caught(Read&& read)
{
    std::fflush(stdout);
    std::FILE* const sink = std::tmpfile();
    const int saved = sink ? dup(STDOUT_FILENO) : -1;
    if (saved < 0 || dup2(fileno(sink), STDOUT_FILENO) < 0) {
        if (saved >= 0) close(saved);
        if (sink) std::fclose(sink);
        read();
        return {};
    }
    read();
    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    std::string text;
    std::rewind(sink);
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, sink)) > 0;) {
        text.append(buffer, got);
    }
    std::fclose(sink);
    return text;
}

// The last non-empty line of text.
std::string lastLine(std::string_view text)
{
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    const std::size_t cut = text.rfind('\n');
    return std::string(cut == std::string_view::npos ? text : text.substr(cut + 1));
}

// A line of text that starts with prefix, or nothing.
std::optional<std::string> lineStarting(std::string_view text, std::string_view prefix)
{
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(at, end - at);
        if (line.substr(0, prefix.size()) == prefix) {
            return std::string(line);
        }
        at = end + 1;
    }
    return std::nullopt;
}

// ---------------------------------------------------------------------------
// Pictures
// ---------------------------------------------------------------------------

// "W x H, sides powers of two": plain textures are uploaded at the picture's
// own size, which older GL implementations accept only in powers of two.
std::string pictureDetails(std::int64_t width, std::int64_t height)
{
    const bool powers = isPowerOfTwo(width) && isPowerOfTwo(height);
    return std::to_string(width) + " x " + std::to_string(height) +
           (powers ? ", sides powers of two" : ", sides not powers of two");
}

// Both readers keep rgb bottom row first, rows packed; pictures are handed
// out top row first.
Picture topFirst(int width, int height, const std::vector<std::uint8_t>& bottomFirstRgb)
{
    Picture picture{width, height, {}};
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    picture.rgb.reserve(rowBytes * static_cast<std::size_t>(height));
    for (int row = height - 1; row >= 0; --row) {
        const auto begin = bottomFirstRgb.begin() + static_cast<std::ptrdiff_t>(row * rowBytes);
        picture.rgb.insert(picture.rgb.end(), begin, begin + static_cast<std::ptrdiff_t>(rowBytes));
    }
    return picture;
}

void checkBmp(const std::string& path, Report& report)
{
    Image image;
    bool loaded = false;
    const std::string printed = caught([&] { loaded = image.load(path); });
    if (!loaded) {
        report.reason = lastLine(printed);
        return;
    }
    report.status = Status::Ok;
    report.details = pictureDetails(image.width, image.height);
    report.picture = topFirst(image.width, image.height, image.rgb);
}

void checkJpeg(const std::string& path, Report& report)
{
    JPGImage image;
    bool loaded = false;
    const std::string printed = caught([&] { loaded = image.load(path); });
    if (!loaded) {
        report.reason = lastLine(printed);
        return;
    }
    report.details = pictureDetails(image.width, image.height);
    report.picture = topFirst(static_cast<int>(image.width), static_cast<int>(image.height), image.rgb);
    // The decoder carries on over damaged data with a warning; the picture
    // then holds what libjpeg could make of it.
    if (auto warning = lineStarting(printed, "Warning while decoding ")) {
        report.status = Status::Damaged;
        report.reason = *warning;
        return;
    }
    report.status = Status::Ok;
}

// ---------------------------------------------------------------------------
// Models
// ---------------------------------------------------------------------------

std::string counted(unsigned count, const char* one, const char* many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

void checkModel(const std::string& path, Report& report)
{
    Reader3DS reader;
    bool loaded = false;
    caught([&] { loaded = reader.LoadFile(path); });
    if (!loaded) {
        report.reason = reader.GetLastError().empty() ? "not read" : reader.GetLastError();
        return;
    }
    unsigned vertices = 0;
    unsigned triangles = 0;
    for (unsigned i = 0; i < reader.GetMeshCount(); ++i) {
        vertices += reader.GetMesh(i).GetVertexCount();
        triangles += reader.GetMesh(i).GetTriangleCount();
    }
    report.details = counted(reader.GetMeshCount(), "mesh", "meshes") + ", " +
                     counted(vertices, "vertex", "vertices") + ", " +
                     counted(triangles, "triangle", "triangles") + ", " +
                     counted(reader.GetMaterialCount(), "material", "materials");
    if (reader.GetDamage() == 0) {
        report.status = Status::Ok;
        return;
    }
    // The reader's damage lines without their common start, one after another.
    report.status = Status::Damaged;
    const std::string common = "Reader3DS::LoadFile - damaged file: ";
    for (const Reader3DS::Damage kind : Reader3DS::ALL_DAMAGE) {
        if (reader.HasDamage(kind)) {
            std::string message = Reader3DS::DamageMessage(kind);
            if (message.rfind(common, 0) == 0) message.erase(0, common.size());
            report.reason += (report.reason.empty() ? "" : "; ") + message;
        }
    }
}

// ---------------------------------------------------------------------------
// Music
// ---------------------------------------------------------------------------

struct Mpg123Closer {
    void operator()(mpg123_handle* handle) const
    {
        mpg123_close(handle);
        mpg123_delete(handle);
    }
};

// Far more reads of 64 KiB than any track has; a decoder that never ends
// is stopped.
constexpr long MAX_READS = 1L << 20;

// Decodes the whole track (16-bit samples, counted, not kept) for its exact
// duration; a stream that breaks off after some sound is damaged.
void checkMusic(const std::string& path, Report& report)
{
    int status = MPG123_OK;
    const std::unique_ptr<mpg123_handle, Mpg123Closer> handle(mpg123_new(nullptr, &status));
    if (!handle) {
        report.reason = "the MP3 decoder could not be created";
        return;
    }
    mpg123_handle* const mh = handle.get();
    mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
    // 16-bit output at whatever rate the file has, so that the byte count
    // converts to samples.
    mpg123_format_none(mh);
    const long* rates = nullptr;
    std::size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (std::size_t i = 0; i < rateCount; ++i) {
        mpg123_format(mh, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    }
    if (mpg123_open(mh, path.c_str()) != MPG123_OK) {
        report.reason = std::string("cannot open: ") + mpg123_strerror(mh);
        return;
    }
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(mh, &rate, &channels, &encoding) != MPG123_OK || rate <= 0 || channels <= 0) {
        report.reason = "no MPEG audio found";
        return;
    }
    std::vector<unsigned char> buffer(1 << 16);
    std::uint64_t bytes = 0;
    std::string failure;
    for (long reads = 0; reads < MAX_READS; ++reads) {
        std::size_t done = 0;
        status = mpg123_read(mh, buffer.data(), buffer.size(), &done);
        bytes += done;
        if (status == MPG123_DONE) break;
        if (status != MPG123_OK && status != MPG123_NEW_FORMAT) {
            failure = std::string("decoding stopped: ") + mpg123_strerror(mh);
            break;
        }
    }
    const std::uint64_t frames = bytes / (2 * static_cast<std::uint64_t>(channels));
    if (frames == 0) {
        report.reason = failure.empty() ? "no sound in the file" : failure;
        return;
    }
    char details[96];
    std::snprintf(details, sizeof details, "%.2f s, %ld Hz, %d %s", static_cast<double>(frames) / rate, rate,
                  channels, channels == 1 ? "channel" : "channels");
    report.details = details;
    report.status = failure.empty() ? Status::Ok : Status::Damaged;
    report.reason = failure;
    if (frames < static_cast<std::uint64_t>(SHOW_MUSIC_SECONDS) * static_cast<std::uint64_t>(rate)) {
        report.status = Status::Damaged;
        const std::string shortText = "shorter than the " + std::to_string(SHOW_MUSIC_SECONDS) + " s the show plays";
        report.reason = failure.empty() ? shortText : failure + "; " + shortText;
    }
}

const char* kindName(Kind kind)
{
    switch (kind) {
    case Kind::Bmp: return "BMP";
    case Kind::Jpeg: return "JPEG";
    case Kind::Model: return "3DS";
    case Kind::Music: return "MP3";
    case Kind::Unknown: break;
    }
    return "unknown";
}

const char* statusName(Status status)
{
    switch (status) {
    case Status::Ok: return "OK";
    case Status::Damaged: return "DAMAGED";
    case Status::Refused: break;
    }
    return "REFUSED";
}

}  // namespace

std::string Report::line(const std::string& path) const
{
    std::string text = path + ": " + kindName(kind);
    if (!details.empty()) {
        text += " " + details;
    }
    text += std::string(", ") + statusName(status);
    if (!reason.empty()) {
        text += ": " + reason;
    }
    return text;
}

Kind kindOf(const std::string& path)
{
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".bmp") return Kind::Bmp;
    if (extension == ".jpg" || extension == ".jpeg") return Kind::Jpeg;
    if (extension == ".3ds") return Kind::Model;
    if (extension == ".mp3") return Kind::Music;

    unsigned char head[3] = {};
    std::FILE* const file = std::fopen(path.c_str(), "rb");
    if (!file) return Kind::Unknown;
    const std::size_t got = std::fread(head, 1, sizeof head, file);
    std::fclose(file);
    if (got >= 2 && head[0] == 'B' && head[1] == 'M') return Kind::Bmp;
    if (got >= 2 && head[0] == 0xFF && head[1] == 0xD8) return Kind::Jpeg;
    if (got >= 2 && head[0] == 0x4D && head[1] == 0x4D) return Kind::Model;
    if ((got >= 3 && head[0] == 'I' && head[1] == 'D' && head[2] == '3') ||
        (got >= 2 && head[0] == 0xFF && (head[1] & 0xE0) == 0xE0)) {
        return Kind::Music;
    }
    return Kind::Unknown;
}

Report checkFile(const std::string& path, Kind kind)
{
    Report report;
    report.kind = kind;
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        report.reason = "missing";
        return report;
    }
    if (std::filesystem::is_directory(path, error)) {
        report.reason = "a folder, not a file";
        return report;
    }
    switch (kind) {
    case Kind::Bmp: checkBmp(path, report); break;
    case Kind::Jpeg: checkJpeg(path, report); break;
    case Kind::Model: checkModel(path, report); break;
    case Kind::Music: checkMusic(path, report); break;
    case Kind::Unknown: report.reason = "not a picture, model or music file the show reads"; break;
    }
    return report;
}

}  // namespace check
