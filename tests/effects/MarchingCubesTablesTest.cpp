// MarchingCubesTablesTest.cpp: the compiled marching-cubes tables against
// their source text, and against what the corner and edge numbering implies.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "effects/MarchingCubesTables.h"

namespace {

struct TextTables {
    std::vector<int> edge;
    std::vector<std::vector<int>> tri;
};

// Reads the 'edge' and 'tri' sections of the tables' text.
TextTables readText(const std::string& path)
{
    TextTables tables;
    std::ifstream in(path);
    std::string line;
    std::string section;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        if (line == "edge" || line == "tri") {
            section = line;
        } else if (section == "edge") {
            tables.edge.push_back(std::stoi(line, nullptr, 16));
        } else if (section == "tri") {
            std::istringstream numbers(line);
            std::vector<int> row;
            int value = 0;
            while (numbers >> value) row.push_back(value);
            tables.tri.push_back(row);
        }
    }
    return tables;
}

}  // namespace

TEST(MarchingCubesTables, CompiledTablesMatchTheirText)
{
    const TextTables text = readText(MC_TABLES_TEXT);
    ASSERT_EQ(text.edge.size(), 256u) << MC_TABLES_TEXT;
    ASSERT_EQ(text.tri.size(), 256u);
    for (int n = 0; n < 256; ++n) {
        EXPECT_EQ(EDGE_TABLE[n], text.edge[n]) << "edge entry " << n;
        ASSERT_EQ(text.tri[n].size(), 16u) << "tri row " << n;
        for (int i = 0; i < 16; ++i) EXPECT_EQ(TRI_TABLE[n][i], text.tri[n][i]) << "tri row " << n << " entry " << i;
    }
}

TEST(MarchingCubesTables, EdgeMasksMarkExactlyTheEdgesWhoseCornersDiffer)
{
    for (int n = 0; n < 256; ++n) {
        int expected = 0;
        for (int e = 0; e < 12; ++e) {
            const bool a = n & (1 << EDGE_CORNERS[e][0]);
            const bool b = n & (1 << EDGE_CORNERS[e][1]);
            if (a != b) expected |= 1 << e;
        }
        EXPECT_EQ(EDGE_TABLE[n], expected) << "index " << n;
    }
    EXPECT_EQ(EDGE_TABLE[1], 0x109);
}

TEST(MarchingCubesTables, TriangleRowsUseOnlyCrossedEdgesAndEndWithMinusOne)
{
    for (int n = 0; n < 256; ++n) {
        const auto& row = TRI_TABLE[n];
        int used = 0;
        int count = 0;
        while (count < 16 && row[count] != -1) {
            ASSERT_GE(row[count], 0) << "index " << n;
            ASSERT_LT(row[count], 12) << "index " << n;
            used |= 1 << row[count];
            ++count;
        }
        EXPECT_EQ(count % 3, 0) << "whole triangles only, index " << n;
        EXPECT_LE(count, 15) << "at most five triangles, index " << n;
        for (int i = count; i < 16; ++i) EXPECT_EQ(row[i], -1) << "padding, index " << n;
        EXPECT_EQ(used, EDGE_TABLE[n]) << "every crossed edge and only those, index " << n;
    }
}
