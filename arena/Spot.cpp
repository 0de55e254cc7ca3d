#include "arena/Spot.hpp"

#include <SFML/Graphics/Rect.hpp>

#include <algorithm>

namespace G {

Spot::Spot(const sf::Sprite& piece) : position(piece.getPosition()) {
    const sf::FloatRect bounds = piece.getGlobalBounds();
    const float farX = bounds.left + bounds.width;
    const float farY = bounds.top + bounds.height;
    left = std::min(bounds.left, farX);
    right = std::max(bounds.left, farX);
    top = std::min(bounds.top, farY);
    bottom = std::max(bounds.top, farY);
}

} // namespace G
