#include "tools/replay/StatusLine.hpp"

#include <SFML/Graphics/Color.hpp>

namespace G {

StatusLine::StatusLine(const std::shared_ptr<Tool>& tool) : line(tool) {
    line.setFont(tool->assets.getFont("font"));
    line.setCharacterSize(20);
    line.setFillColor(sf::Color::Black);
    line.setPosition(sf::Vector2f(0.0F, top));
}

void StatusLine::draw(sf::RenderTarget& target, const std::string& text) {
    line << text;
    line.drawAndClear(target);
}

} // namespace G
