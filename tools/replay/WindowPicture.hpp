#pragma once

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/RenderTexture.hpp>

namespace G {

// An offscreen picture of the window's size, drawn into exactly as the window is and read back top row first,
// with no window at all: the frames the recorder writes, and the pictures the checks hold the watch's window
// against.
class WindowPicture {
public:
    // Throws a Failure (status 1) when there is nothing to draw into.
    WindowPicture();

    sf::RenderTarget& target() { return texture; }
    // What has been drawn, as the window would show it.
    sf::Image read();

private:
    sf::RenderTexture texture;
    // Whether the texture reads back bottom row first, and every picture must be turned.
    bool upsideDown = false;
};

} // namespace G
