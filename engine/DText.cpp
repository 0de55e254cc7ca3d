#include "engine/DText.hpp"

#include "engine/Sfml.hpp"

#include <SFML/Graphics/RenderStates.hpp>
#include <SFML/System/String.hpp>

#include <locale>
#include <utility>

namespace G {

DText::DText(std::shared_ptr<Tool> tool) : sf::Text(sfml::blankText(tool->assets, "font")), tool(std::move(tool)) {}

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

// By value, as the header promises: the line keeps its own copy of the text.
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
    drawAndClear(tool->window);
}

void DText::drawAndClear(sf::RenderTarget& target) {
    target.draw(*this, sf::RenderStates::Default);
    buffer.str("");
}

void DText::refresh() {
    // A font that never loaded shows nothing, as it would in any case, rather than stopping the program.
    setString(sfml::canShape(*this) ? sf::String(buffer.str(), std::locale()) : sf::String());
    const sf::FloatRect bounds = getLocalBounds();
    setOrigin(sf::Vector2f(sfml::left(bounds), sfml::top(bounds)));
}

} // namespace G
