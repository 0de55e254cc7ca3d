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
    // The program's icon, size x size. From 40 pixels up: paper above, rock and scissors below, each piece
    // the very image of the sheet, enlarged by a whole factor pixel for pixel so that it stays crisp, and
    // centred. Below 40 (down to 16, as panels and title bars show it): the scissors alone, filling it.
    static sf::Image renderIcon(unsigned size);

    // The colour of one piece at a point of its frame, in frame pixels; transparent outside the piece.
    static sf::Color sampleRock(float x, float y);
    static sf::Color samplePaper(float x, float y);
    static sf::Color sampleScissors(float x, float y);

private:
    using Sampler = sf::Color (*)(float, float);
    // One piece on a side x side square of image whose left edge is at left: every pixel the average of a
    // 4 x 4 grid of samples.
    static void drawPiece(sf::Image& image, Sampler piece, unsigned left, unsigned side);
};

} // namespace G
