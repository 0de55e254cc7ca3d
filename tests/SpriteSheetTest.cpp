#include "tools/SpriteSheet.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string bytesOf(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST(SpriteSheet, RegeneratesTheCommittedSheetByteForByte) {
    const std::string path = testing::TempDir() + "quorvel-objects.png";
    ASSERT_TRUE(G::SpriteSheet::render().saveToFile(path));
    const std::string regenerated = bytesOf(path);
    std::remove(path.c_str());

    const std::string committed = bytesOf("./assets/textures/objects.png");
    ASSERT_FALSE(committed.empty());
    EXPECT_TRUE(regenerated == committed) << "run quorvel-sprites assets/textures/objects.png and commit the result";
}

TEST(SpriteSheet, ThreeFramesOnATransparentBackgroundEachWithAnOpaqueDarkOutline) {
    const sf::Image sheet = G::SpriteSheet::render();
    ASSERT_EQ(sheet.getSize(), sf::Vector2u(60, 20));
    for (unsigned frame = 0; frame < 3; ++frame) {
        const unsigned left = frame * 20;
        EXPECT_EQ(sheet.getPixel(left, 19).a, 0) << frame;
        unsigned opaque = 0;
        unsigned dark = 0;
        for (unsigned y = 0; y < 20; ++y) {
            for (unsigned x = left; x < left + 20; ++x) {
                const sf::Color c = sheet.getPixel(x, y);
                opaque += c.a == 255 ? 1 : 0;
                dark += c.a >= 128 && c.r < 80 && c.g < 80 && c.b < 80 ? 1 : 0;
            }
        }
        EXPECT_GT(opaque, 120U) << "frame " << frame << " is mostly empty";
        EXPECT_GT(dark, 25U) << "frame " << frame << " lacks the outline that sets it off the grey field";
    }
}

} // namespace
