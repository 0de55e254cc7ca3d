#include "tools/IconFile.hpp"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace G {

namespace {

void littleEndian(std::string& out, const std::uint32_t value, const int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFFU));
    }
}

// The image encoded as PNG: SFML 2.5 encodes only into files, so through one beside the icon.
bool pngOf(const sf::Image& image, const std::string& scratch, std::string& png) {
    if (!image.saveToFile(scratch)) {
        return false;
    }
    std::ifstream file(scratch, std::ios::binary);
    png.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    file.close();
    std::remove(scratch.c_str());
    return !png.empty();
}

} // namespace

bool IconFile::write(const std::string& path, const std::vector<sf::Image>& images) {
    // The header, then one 16-byte entry per image, then the images themselves.
    std::string header;
    littleEndian(header, 0, 2);
    littleEndian(header, 1, 2);
    littleEndian(header, static_cast<std::uint32_t>(images.size()), 2);
    std::string data;
    auto offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (const sf::Image& image : images) {
        const sf::Vector2u size = image.getSize();
        std::string png;
        if (size.x == 0 || size.x > 256 || size.y == 0 || size.y > 256 || !pngOf(image, path + ".part.png", png)) {
            return false;
        }
        // A side of 256 is written as 0.
        header.push_back(static_cast<char>(size.x & 0xFFU));
        header.push_back(static_cast<char>(size.y & 0xFFU));
        littleEndian(header, 0, 2);  // no palette, reserved
        littleEndian(header, 1, 2);  // colour planes
        littleEndian(header, 32, 2); // bits per pixel
        littleEndian(header, static_cast<std::uint32_t>(png.size()), 4);
        littleEndian(header, offset, 4);
        offset += static_cast<std::uint32_t>(png.size());
        data += png;
    }
    std::ofstream file(path, std::ios::binary);
    file << header << data;
    return static_cast<bool>(file.flush());
}

} // namespace G
