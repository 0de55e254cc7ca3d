#include "engine/DText.hpp"

#include <SFML/Graphics/RenderStates.hpp>
#include <SFML/System/String.hpp>

#include <locale>
#include <utility>

namespace G {

DText::DText(std::shared_ptr<Tool> tool) : tool(std::move(tool)) {}

DText& DText::operator<<(const float value) {
    buffer << value;
    refresh();
    return *this;
}

DText& DText::operator<<(const char* value) {
    buffer << value;
    refresh();
    return *this;
}

DText& DText::operator<<(std::string value) { // NOLINT(performance-unnecessary-value-param)
    buffer << value;
    refresh();
    return *this;
}

DText& DText::operator<<(const std::uint64_t value) {
    buffer << value;
    refresh();
    return *this;
}

void DText::drawAndClear() {
    tool->window.draw(*this, sf::RenderStates::Default);
    buffer.str("");
}

void DText::refresh() {
    setString(sf::String(buffer.str(), std::locale()));
    const sf::FloatRect bounds = getLocalBounds();
    setOrigin(bounds.left, bounds.top);
}

} // namespace G
