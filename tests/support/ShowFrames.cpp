// ShowFrames.cpp: reading rendered frames and source pictures, cell means,
// and the one rendering of the show per test run.
#include "support/ShowFrames.h"

#include <gtest/gtest.h>
#include <png.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "image/Image.h"
#include "image/JPGImage.h"

namespace fs = std::filesystem;

namespace frames {

namespace {

std::string frameName(int number)
{
    char name[32];
    std::snprintf(name, sizeof name, "frame-%06d.png", number);
    return name;
}

// The readers keep rows bottom first; the tests look at pictures upright.
Picture upright(int width, int height, const std::vector<uint8_t>& bottomFirst)
{
    Picture picture;
    picture.width = width;
    picture.height = height;
    picture.rgb.resize(bottomFirst.size());
    const size_t row = static_cast<size_t>(width) * 3;
    for (int y = 0; y < height; ++y) {
        std::copy_n(&bottomFirst[static_cast<size_t>(height - 1 - y) * row], row, &picture.rgb[static_cast<size_t>(y) * row]);
    }
    return picture;
}

// Mean colour of each of columns x rows equal cells, row by row from the top left.
std::vector<Cell> gridMeans(const Picture& picture, int columns, int rows)
{
    std::vector<Cell> sums(static_cast<size_t>(columns) * rows, Cell{});
    std::vector<double> counts(sums.size(), 0.0);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const int q = (y * rows / picture.height) * columns + x * columns / picture.width;
            for (int c = 0; c < 3; ++c) sums[q][c] += picture.at(x, y)[c];
            counts[q] += 1;
        }
    }
    for (size_t q = 0; q < sums.size(); ++q) {
        for (int c = 0; c < 3; ++c) sums[q][c] /= std::max(counts[q], 1.0);
    }
    return sums;
}

bool holdsAll(const fs::path& folder, const std::vector<int>& numbers)
{
    std::error_code error;
    return std::all_of(numbers.begin(), numbers.end(),
                       [&](int n) { return fs::is_regular_file(folder / frameName(n), error); });
}

}  // namespace

Picture readPng(const fs::path& path)
{
    Picture picture;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return picture;
    image.format = PNG_FORMAT_RGB;
    picture.rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr)) {
        png_image_free(&image);
        picture.rgb.clear();
        return picture;
    }
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    return picture;
}

Picture readBmp(const std::string& path)
{
    Image image;
    if (!image.load(path)) return {};
    return upright(image.width, image.height, image.rgb);
}

Picture readJpeg(const std::string& path)
{
    JPGImage image;
    if (!image.load(path)) return {};
    return upright(static_cast<int>(image.width), static_cast<int>(image.height), image.rgb);
}

Cells cellMeans(const Picture& picture)
{
    const Blocks means = gridMeans(picture, GRID, GRID);
    Cells cells{};
    std::copy(means.begin(), means.end(), cells.begin());
    return cells;
}

double cellDistance(const Cell& a, const Cell& b)
{
    double most = 0;
    for (int c = 0; c < 3; ++c) most = std::max(most, std::fabs(a[c] - b[c]));
    return most;
}

double brightness(const Cell& cell) { return (cell[0] + cell[1] + cell[2]) / 3.0; }

Blocks blockMeans(const Picture& picture) { return gridMeans(picture, BLOCK_COLUMNS, BLOCK_ROWS); }

std::vector<std::pair<std::string, Blocks>> readBlocks(const fs::path& path)
{
    std::vector<std::pair<std::string, Blocks>> named;
    std::ifstream in(path);
    std::string word;
    while (in >> word) {
        if (word == "#") {
            std::getline(in, word);
            continue;
        }
        Blocks blocks(BLOCK_COLUMNS * BLOCK_ROWS, Cell{});
        for (Cell& cell : blocks) {
            for (double& channel : cell) in >> channel;
        }
        if (!in) return {};
        named.emplace_back(word, std::move(blocks));
    }
    return named;
}

bool writeBlocks(const fs::path& path, const std::vector<std::pair<std::string, Blocks>>& named)
{
    std::ofstream out(path);
    out << "# Block means (" << BLOCK_COLUMNS << " x " << BLOCK_ROWS
        << " blocks, r g b) of checked pictures; rewritten with " << UPDATE_BLOCKS_VARIABLE << "=1.\n";
    char number[16];
    for (const auto& [name, blocks] : named) {
        out << name << "\n";
        for (size_t q = 0; q < blocks.size(); ++q) {
            for (int c = 0; c < 3; ++c) {
                std::snprintf(number, sizeof number, "%.1f", blocks[q][c]);
                out << number << (c < 2 ? " " : (q + 1) % BLOCK_COLUMNS == 0 ? "\n" : "  ");
            }
        }
    }
    return static_cast<bool>(out);
}

std::string blockDifferences(const Blocks& shown, const Blocks& stored, double tolerance, int most)
{
    if (shown.size() != stored.size()) return "block counts differ\n";
    std::string lines;
    int count = 0;
    for (size_t q = 0; q < shown.size(); ++q) {
        if (cellDistance(shown[q], stored[q]) <= tolerance) continue;
        if (++count > most) continue;
        char line[160];
        std::snprintf(line, sizeof line, "block (%zu, %zu): shown %.1f %.1f %.1f, stored %.1f %.1f %.1f\n",
                      q % BLOCK_COLUMNS, q / BLOCK_COLUMNS, shown[q][0], shown[q][1], shown[q][2], stored[q][0],
                      stored[q][1], stored[q][2]);
        lines += line;
    }
    return count == 0 ? "" : std::to_string(count) + " blocks differ\n" + lines;
}

std::string frameList(const std::vector<int>& numbers)
{
    std::string list;
    for (const int n : numbers) list += (list.empty() ? "" : ",") + std::to_string(n);
    return list;
}

fs::path showFrames(const std::vector<int>& numbers)
{
    if (const char* shared = std::getenv("QUORL_SHOW_FRAMES"); shared && holdsAll(shared, numbers)) return shared;
    // Started by hand: render what this program needs, privately.
    std::string pattern = (fs::temp_directory_path() / "quorl-frames-XXXXXX").string();
    if (!mkdtemp(pattern.data())) return {};
    const fs::path folder = pattern;
    const int last = numbers.empty() ? 0 : *std::max_element(numbers.begin(), numbers.end());
    const std::string command = "./quorl-h-render --from 0 --to " + std::to_string(last + 1) + " --save " +
                                frameList(numbers) + " --out " + folder.string() + " >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0 || !holdsAll(folder, numbers)) return {};
    return folder;
}

Picture showFrame(const fs::path& folder, int number)
{
    Picture picture = readPng(folder / frameName(number));
    EXPECT_EQ(picture.width, WIDTH) << frameName(number);
    EXPECT_EQ(picture.height, HEIGHT) << frameName(number);
    if (picture.width != WIDTH || picture.height != HEIGHT) return {};
    return picture;
}

Picture boxFilter(const Picture& picture, int boxX, int boxY, int boxWidth, int boxHeight)
{
    Picture small{WIDTH, HEIGHT, std::vector<uint8_t>(static_cast<size_t>(WIDTH) * HEIGHT * 3)};
    for (int y = 0; y < HEIGHT; ++y) {
        const int y0 = y * boxHeight / HEIGHT;
        const int y1 = std::max(y0 + 1, (y + 1) * boxHeight / HEIGHT);
        for (int x = 0; x < WIDTH; ++x) {
            const int x0 = x * boxWidth / WIDTH;
            const int x1 = std::max(x0 + 1, (x + 1) * boxWidth / WIDTH);
            const int area = (y1 - y0) * (x1 - x0);
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int sy = y0; sy < y1; ++sy) {
                    for (int sx = x0; sx < x1; ++sx) sum += picture.at(boxX + sx, boxY + sy)[c];
                }
                small.rgb[(static_cast<size_t>(y) * WIDTH + x) * 3 + c] = static_cast<uint8_t>((sum + area / 2) / area);
            }
        }
    }
    return small;
}

}  // namespace frames
