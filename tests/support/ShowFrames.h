// ShowFrames.h: the show's frames rendered headless, and the coarse picture
// arithmetic the rendered-frame tests compare them with.
//
// Rendering the show up to its last frames takes most of a minute on a
// software renderer, so a test run renders every frame the tests look at
// once: ctest's `render_show_frames` fixture runs quorl-h-render and names
// its folder in QUORL_SHOW_FRAMES. A test program started by hand, without
// that folder, renders the frames it needs into a private folder itself.
// Pictures are RGB, 8 bits a channel, top row first.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace frames {

constexpr int WIDTH = 800;
constexpr int HEIGHT = 600;
constexpr int GRID = 8;  // cells per side of the coarse comparison grid

using Cell = std::array<double, 3>;
using Cells = std::array<Cell, GRID * GRID>;  // row by row from the top left

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;

    bool empty() const { return rgb.empty(); }
    const uint8_t* at(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
};

// An 8-bit RGB PNG as the renderer writes it; empty when it cannot be read.
Picture readPng(const std::filesystem::path& path);
// A BMP or JPEG picture through the show's own readers, turned upright.
Picture readBmp(const std::string& path);
Picture readJpeg(const std::string& path);

// Mean colour of each cell of the grid.
Cells cellMeans(const Picture& picture);
// Largest difference of the three channels' means.
double cellDistance(const Cell& a, const Cell& b);
double brightness(const Cell& cell);

// Stored block means of pictures, to see what a viewer sees: any change
// that moves a picture's look by more than a rounding moves some block.
// A picture is cut into BLOCK_COLUMNS x BLOCK_ROWS blocks of 50 x 50
// pixels; the references keep each block's mean colour to a tenth.
constexpr int BLOCK_COLUMNS = 16;
constexpr int BLOCK_ROWS = 12;
using Blocks = std::vector<Cell>;  // row by row from the top left
Blocks blockMeans(const Picture& picture);
// Named block means from a file of "name" lines each followed by the
// blocks' "r g b" triples; empty when the file cannot be read.
std::vector<std::pair<std::string, Blocks>> readBlocks(const std::filesystem::path& path);
bool writeBlocks(const std::filesystem::path& path, const std::vector<std::pair<std::string, Blocks>>& named);
// Blocks whose channel means differ from the stored ones by more than
// `tolerance`, as "block (column, row): shown ... stored ..." lines, at
// most `most` of them, after the count of all.
std::string blockDifferences(const Blocks& shown, const Blocks& stored, double tolerance, int most = 6);
// Mean levels a block may move: a one-level difference in every pixel
// moves a mean by at most 1; a pixel's worth of an edge moved, a little more.
constexpr double BLOCK_TOLERANCE = 3.0;
// Set (to anything) to rewrite the stored references from what is shown,
// after checking the new look by eye.
constexpr const char* UPDATE_BLOCKS_VARIABLE = "QUORL_UPDATE_BLOCKS";

// The frames the tests look at, as support/frames.txt lists them (CMake
// defines the lists): every one (the shared folder's), those the GL 1.x
// layer and the page are compared on, and those drawn at render scale 2, 3.
inline const std::vector<int> LISTED_FRAMES{QUORL_FRAMES_ALL};
inline const std::vector<int> COMPARED_FRAMES{QUORL_FRAMES_COMPARED};
inline const std::vector<int> SCALE2_FRAMES{QUORL_FRAMES_SCALE2}, SCALE3_FRAMES{QUORL_FRAMES_SCALE3};
// Frame numbers as the renderer's and the page's lists take them: "0,399,...".
std::string frameList(const std::vector<int>& numbers);

// The folder holding frame-NNNNNN.png for every number given, rendered
// from frame 0 in the working directory's data; empty when rendering failed.
std::filesystem::path showFrames(const std::vector<int>& numbers);
// Frame `number` from that folder, checked to be 800 x 600 (a failed check
// is reported and gives an empty picture).
Picture showFrame(const std::filesystem::path& folder, int number);
// The box (x, y, width, height) of a picture averaged down to 800 x 600:
// each pixel the rounded mean of the pixels its share of the box covers
// (its K x K square when the box is K times 800 x 600).
Picture boxFilter(const Picture& picture, int boxX, int boxY, int boxWidth, int boxHeight);

}  // namespace frames
