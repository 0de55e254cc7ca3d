#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Image.hpp>

namespace G {

// Draws the piece sprite sheet: rock, paper and scissors, 20 x 20 pixels each, side by side in one row on
// a transparent background. Every pixel is the average of a 4 x 4 grid of point samples, so the edges are
// smooth, and the arithmetic is fixed, so the image is the same byte for byte on every run.
class SpriteSheet {
public:
    static constexpr unsigned frameSize = 20;
    static constexpr unsigned frameCount = 3;

    static sf::Image render();
    // The program's icon: paper above, rock and scissors below, each piece the very image of the sheet,
    // enlarged by a whole factor pixel for pixel so that it stays crisp, centred on a size x size square.
    // size is at least 40.
    static sf::Image renderIcon(unsigned size);

    // The colour of one piece at a point of its frame, in frame pixels; transparent outside the piece.
    static sf::Color sampleRock(float x, float y);
    static sf::Color samplePaper(float x, float y);
    static sf::Color sampleScissors(float x, float y);
};

} // namespace G
