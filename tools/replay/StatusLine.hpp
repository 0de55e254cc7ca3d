#pragma once

#include "engine/DText.hpp"
#include "engine/Tool.hpp"

#include <SFML/Graphics/RenderTarget.hpp>

#include <memory>
#include <string>

namespace G {

// The watch's own line of text under the program's overlay, in the overlay's font, size and colour: which
// game the window shows, where in it, and how it plays. It is drawn over the arena's picture, which stays
// exactly as the program draws it; recorded videos have no such line.
class StatusLine {
public:
    // The overlay's four lines end 86 pixels down; the status line leaves a blank line's 17 pixels under them,
    // as the overlay does under its frame rate.
    static constexpr float top = 103.0F;

    // Uses the font stored under "font", as the overlay does, whenever it is loaded.
    explicit StatusLine(const std::shared_ptr<Tool>& tool);

    void draw(sf::RenderTarget& target, const std::string& text);

private:
    DText line;
};

} // namespace G
