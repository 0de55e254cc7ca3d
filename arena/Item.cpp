#include "arena/Item.hpp"

#include "engine/Sfml.hpp"

#include <SFML/Graphics/RenderStates.hpp>
#include <SFML/Graphics/RenderTarget.hpp>

#include <cstddef>
#include <cstdlib>
#include <utility>

namespace G {

namespace {

// A whole-number coordinate in [0, room), or 0 when there is no room to choose from.
float randomCoordinate(const int random, const float room) {
    const auto span = static_cast<int>(room);
    return span > 0 ? static_cast<float>(random % span) : 0.0F;
}

} // namespace

Item::Item(std::shared_ptr<Tool> tool, const ItemKind kind)
    : sf::Sprite(tool->assets.getTexture("quorvel")), tool(std::move(tool)), kind(kind) {
    if (kind >= Kind::Rock && kind <= Kind::Scissors) {
        const auto& frames = this->tool->assets.getFrames("quorvel");
        // A list short of this kind's frame would be read past its end; the piece then shows no frame.
        if (static_cast<std::size_t>(kind) < frames.size()) {
            setTextureRect(frames[static_cast<std::size_t>(kind)]);
        }
    }

    const int verticalDraw = std::rand();
    const float y = randomCoordinate(verticalDraw, static_cast<float>(windowHeight) - sfml::height(getGlobalBounds()));
    const int horizontalDraw = std::rand();
    const float x = randomCoordinate(horizontalDraw, static_cast<float>(windowWidth) - sfml::width(getGlobalBounds()));
    setPosition(sf::Vector2f(x, y));
}

sf::Vector2f Item::move() {
    // sf::Transformable::move's own sums, done here so that the new position comes back without a second
    // call into the library to read it.
    const sf::Vector2f from = getPosition();
    const sf::Vector2f to(from.x + velocity.x * tool->frameTime * speed, from.y + velocity.y * tool->frameTime * speed);
    setPosition(to);
    return to;
}

void Item::draw() {
    draw(tool->window);
}

void Item::draw(sf::RenderTarget& target) const {
    target.draw(*this, sf::RenderStates::Default);
}

} // namespace G
