// content_repeat_test.cpp: a second run of the generator writes the same
// bytes as the build's run (no clock, no unseeded randomness, no
// machine-dependent arithmetic).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "content_files.h"

using namespace content_test;

TEST(ContentRepeat, SecondRunWritesDifferentBytes) {
    const std::filesystem::path dir = "content-repeat";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string command = std::string("\"") + MAKE_CONTENT + "\" " + dir.string();
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const auto& list : {std::vector<const char*>(PICTURES.begin(), PICTURES.end()),
                             std::vector<const char*>(MODELS.begin(), MODELS.end())}) {
        for (const char* name : list) {
            const std::vector<uint8_t> built = readData(name);
            ASSERT_FALSE(built.empty()) << name;
            EXPECT_TRUE(built == readFile((dir / name).string())) << name;
        }
    }
    std::filesystem::remove_all(dir);
}
