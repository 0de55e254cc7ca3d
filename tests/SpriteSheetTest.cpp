#include "tools/SpriteSheet.hpp"

#include "engine/Sfml.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>

namespace {

TEST(SpriteSheet, RegeneratesTheCommittedSheetPixelForPixel) {
    sf::Image committed;
    ASSERT_TRUE(committed.loadFromFile("./assets/textures/objects.png"));
    const sf::Image regenerated = G::SpriteSheet::render();
    ASSERT_EQ(committed.getSize(), regenerated.getSize());
    const std::size_t bytes = static_cast<std::size_t>(regenerated.getSize().x) * regenerated.getSize().y * 4;
    EXPECT_TRUE(std::equal(regenerated.getPixelsPtr(), regenerated.getPixelsPtr() + bytes, committed.getPixelsPtr()))
        << "run quorvel-sprites assets/textures/objects.png and commit the result";
}

TEST(SpriteSheet, ThreeFramesOnATransparentBackgroundEachWithAnOpaqueDarkOutline) {
    const sf::Image sheet = G::SpriteSheet::render();
    ASSERT_EQ(sheet.getSize(), sf::Vector2u(60, 20));
    for (unsigned frame = 0; frame < 3; ++frame) {
        const unsigned left = frame * 20;
        EXPECT_EQ(G::sfml::pixel(sheet, left, 19).a, 0) << frame;
        unsigned opaque = 0;
        unsigned dark = 0;
        for (unsigned y = 0; y < 20; ++y) {
            for (unsigned x = left; x < left + 20; ++x) {
                const sf::Color c = G::sfml::pixel(sheet, x, y);
                opaque += c.a == 255 ? 1 : 0;
                dark += c.a >= 128 && c.r < 80 && c.g < 80 && c.b < 80 ? 1 : 0;
            }
        }
        EXPECT_GT(opaque, 120U) << "frame " << frame << " is mostly empty";
        EXPECT_GT(dark, 25U) << "frame " << frame << " lacks the outline that sets it off the grey field";
    }
}

TEST(SpriteSheet, IconsBelowFortyPixelsShowTheScissorsAloneFillingTheSquare) {
    for (const unsigned side : {16U, 24U, 32U}) {
        const sf::Image icon = G::SpriteSheet::renderIcon(side);
        ASSERT_EQ(icon.getSize(), sf::Vector2u(side, side));
        unsigned covered = 0;
        unsigned redBelow = 0;
        for (unsigned y = 0; y < side; ++y) {
            for (unsigned x = 0; x < side; ++x) {
                const sf::Color c = G::sfml::pixel(icon, x, y);
                covered += c.a >= 128 ? 1 : 0;
                redBelow += y >= side / 2 && c.a >= 128 && c.r > 150 && c.g < 80 ? 1 : 0;
            }
        }
        // Three pieces shrunk to fit would cover a small part of the square, and their handles would be a
        // few red pixels at best.
        EXPECT_GT(covered, side * side * 2 / 5) << side;
        EXPECT_GT(redBelow, side * side / 10) << side << ": no handles";
    }
}

} // namespace
