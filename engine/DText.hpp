#pragma once

#include "engine/Tool.hpp"

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Text.hpp>

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

namespace G {

// A text line filled like an output stream and drawn straight into the shared window. Every append
// rebuilds the displayed string from everything appended since the last draw and puts the origin on the
// top-left corner of the glyphs, so the line's position is where its visible text begins. Drawing empties
// the line, so one object can serve for every line of an overlay in turn.
class DText : public sf::Text {
public:
    explicit DText(std::shared_ptr<Tool> tool);
    DText(const DText&) = delete;
    DText& operator=(const DText&) = delete;
    DText(DText&&) = delete;
    DText& operator=(DText&&) = delete;
    ~DText() override = default;

    DText& operator<<(float value);
    DText& operator<<(const char* value);
    // The line keeps its own copy of the text, as the stream-style interface promises its callers.
    DText& operator<<(std::string value); // NOLINT(performance-unnecessary-value-param)
    DText& operator<<(std::uint64_t value);

    // Draws the line as it stands into the shared window, or into any target, then empties it; the
    // displayed string stays until the next append.
    void drawAndClear();
    void drawAndClear(sf::RenderTarget& target);

private:
    void refresh();

    std::stringstream buffer;
    std::shared_ptr<Tool> tool;
};

} // namespace G
