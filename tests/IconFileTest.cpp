#include "tools/IconFile.hpp"

#include "engine/Sfml.hpp"
#include "tests/TempPath.hpp"
#include "tools/SpriteSheet.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::uint32_t littleEndian(const std::string& bytes, const std::size_t at, const int count) {
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) {
        value = value << 8U | static_cast<unsigned char>(bytes.at(at + static_cast<std::size_t>(i)));
    }
    return value;
}

TEST(IconFile, HoldsEveryImageAsAPngOfItsSizeBehindItsDirectoryEntry) {
    const std::vector<unsigned> sides{48, 256};
    std::vector<sf::Image> images;
    images.reserve(sides.size());
    for (const unsigned side : sides) {
        images.push_back(G::SpriteSheet::renderIcon(side));
    }
    const std::string path = test::tempPath("quorvel.ico");
    ASSERT_TRUE(G::IconFile::write(path, images));
    std::ifstream file(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    file.close();
    std::remove(path.c_str());

    ASSERT_GE(bytes.size(), 6U + 16U * sides.size());
    EXPECT_EQ(littleEndian(bytes, 0, 2), 0U);
    EXPECT_EQ(littleEndian(bytes, 2, 2), 1U) << "an icon, not a cursor";
    ASSERT_EQ(littleEndian(bytes, 4, 2), sides.size());
    for (std::size_t n = 0; n < sides.size(); ++n) {
        const std::size_t entry = 6 + 16 * n;
        EXPECT_EQ(littleEndian(bytes, entry, 1), sides[n] % 256) << "a side of 256 is written as 0";
        const std::uint32_t size = littleEndian(bytes, entry + 8, 4);
        const std::uint32_t offset = littleEndian(bytes, entry + 12, 4);
        ASSERT_LE(std::size_t{offset} + size, bytes.size());
        sf::Image decoded;
        ASSERT_TRUE(decoded.loadFromMemory(bytes.data() + offset, size)) << "image " << n << " is no PNG";
        EXPECT_EQ(decoded.getSize(), sf::Vector2u(sides[n], sides[n]));
        EXPECT_EQ(G::sfml::pixel(decoded, sides[n] / 2, sides[n] / 4),
                  G::sfml::pixel(images[n], sides[n] / 2, sides[n] / 4));
    }
}

} // namespace
