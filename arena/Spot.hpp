#pragma once

#include <SFML/Graphics/Sprite.hpp>
#include <SFML/System/Vector2.hpp>

#include <algorithm>

namespace G {

// Where a piece stands, read once each time it moves rather than once per comparison: its position, for
// distances, and the extent of its global bounds, for overlap tests. Overlap is decided exactly as
// sf::FloatRect::intersects decides it for the two pieces' global bounds, with the same arithmetic, so
// the result is the same bit for bit.
struct Spot {
    explicit Spot(const sf::Sprite& piece);

    // Overlap of positive width and height; rectangles that only share an edge or a corner do not overlap.
    bool overlaps(const Spot& other) const {
        return std::max(left, other.left) < std::min(right, other.right) &&
               std::max(top, other.top) < std::min(bottom, other.bottom);
    }

    sf::Vector2f position;
    float left;
    float right;
    float top;
    float bottom;
};

} // namespace G
