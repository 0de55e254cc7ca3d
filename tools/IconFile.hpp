#pragma once

#include <SFML/Graphics/Image.hpp>

#include <string>
#include <vector>

namespace G {

// A Windows icon file (.ico) holding several sizes of one picture, each stored as a PNG image, as Windows
// has read them since Vista.
class IconFile {
public:
    // Writes the images, each at most 256 pixels a side, into one icon file; false if it cannot be written.
    static bool write(const std::string& path, const std::vector<sf::Image>& images);
};

} // namespace G
