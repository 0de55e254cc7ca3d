#include "tools/SpriteSheet.hpp"

#include "engine/Sfml.hpp"

#include <SFML/System/Vector2.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace G {

namespace {

using Point = sf::Vector2f;

const sf::Color outline(34, 30, 38);

float distanceToSegment(const Point p, const Point a, const Point b) {
    const Point ab = b - a;
    const Point ap = p - a;
    const float lengthSquared = ab.x * ab.x + ab.y * ab.y;
    const float t = lengthSquared > 0.0F ? std::clamp((ap.x * ab.x + ap.y * ab.y) / lengthSquared, 0.0F, 1.0F) : 0.0F;
    const Point nearest(a.x + ab.x * t, a.y + ab.y * t);
    return std::hypot(p.x - nearest.x, p.y - nearest.y);
}

template <std::size_t N> bool insidePolygon(const Point p, const std::array<Point, N>& corners) {
    bool inside = false;
    for (std::size_t i = 0, j = N - 1; i < N; j = i++) {
        const Point a = corners[i];
        const Point b = corners[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) {
            inside = !inside;
        }
    }
    return inside;
}

template <std::size_t N> float distanceToOutline(const Point p, const std::array<Point, N>& corners) {
    float nearest = distanceToSegment(p, corners[N - 1], corners[0]);
    for (std::size_t i = 1; i < N; ++i) {
        nearest = std::min(nearest, distanceToSegment(p, corners[i - 1], corners[i]));
    }
    return nearest;
}

} // namespace

sf::Color SpriteSheet::sampleRock(const float x, const float y) {
    static const std::array<Point, 9> boulder{{{2.0F, 12.0F},
                                               {4.0F, 6.0F},
                                               {8.5F, 2.5F},
                                               {14.0F, 3.5F},
                                               {17.5F, 8.0F},
                                               {18.5F, 14.0F},
                                               {15.5F, 17.5F},
                                               {7.0F, 18.0F},
                                               {2.5F, 16.0F}}};
    static const std::array<Point, 4> facet{{{5.0F, 7.0F}, {9.0F, 4.0F}, {12.5F, 5.0F}, {7.5F, 9.5F}}};
    const Point p(x, y);
    if (!insidePolygon(p, boulder)) {
        return sf::Color::Transparent;
    }
    if (distanceToOutline(p, boulder) < 1.3F) {
        return outline;
    }
    if (distanceToSegment(p, {10.0F, 10.5F}, {13.0F, 13.0F}) < 0.5F ||
        distanceToSegment(p, {13.0F, 13.0F}, {12.5F, 16.0F}) < 0.5F) {
        return {64, 56, 50};
    }
    if (insidePolygon(p, facet)) {
        return {176, 164, 150};
    }
    return {122, 108, 96};
}

sf::Color SpriteSheet::samplePaper(const float x, const float y) {
    static const std::array<Point, 5> sheet{
        {{3.5F, 1.5F}, {12.5F, 1.5F}, {16.5F, 5.5F}, {16.5F, 18.5F}, {3.5F, 18.5F}}};
    static const std::array<Point, 3> fold{{{12.5F, 1.5F}, {16.5F, 5.5F}, {12.5F, 5.5F}}};
    const Point p(x, y);
    if (!insidePolygon(p, sheet)) {
        return sf::Color::Transparent;
    }
    if (distanceToOutline(p, sheet) < 1.1F || distanceToOutline(p, fold) < 0.45F) {
        return outline;
    }
    if (insidePolygon(p, fold)) {
        return {206, 210, 220};
    }
    for (const float line : {8.0F, 11.0F, 14.0F}) {
        if (std::abs(y - line) < 0.5F && x > 6.0F && x < 14.0F) {
            return {52, 96, 200};
        }
    }
    return {252, 252, 246};
}

sf::Color SpriteSheet::sampleScissors(const float x, const float y) {
    const Point p(x, y);
    const Point pivot(10.0F, 10.0F);
    const std::array<Point, 2> handles{{{5.5F, 15.0F}, {14.5F, 15.0F}}};
    const std::array<Point, 2> tips{{{15.5F, 1.5F}, {4.5F, 1.5F}}};

    for (const Point centre : handles) {
        const float radius = std::hypot(p.x - centre.x, p.y - centre.y);
        if (std::abs(radius - 2.9F) < 1.0F) {
            return {214, 36, 42};
        }
        if (std::abs(radius - 2.9F) < 1.8F) {
            return outline;
        }
    }
    // Each blade runs from one handle through the pivot to the opposite tip; fills first, so that where
    // the blades cross, one blade's outline does not cut through the other.
    std::array<float, 2> reach{};
    std::array<float, 2> shank{};
    for (std::size_t blade = 0; blade < 2; ++blade) {
        reach[blade] = distanceToSegment(p, pivot, tips[blade]);
        shank[blade] = distanceToSegment(p, handles[blade] - Point(0.0F, 3.6F), pivot);
        if (reach[blade] < 0.9F) {
            return {226, 230, 238};
        }
        if (shank[blade] < 0.8F) {
            return {150, 156, 170};
        }
    }
    for (std::size_t blade = 0; blade < 2; ++blade) {
        if (reach[blade] < 1.8F || shank[blade] < 1.6F) {
            return outline;
        }
    }
    return sf::Color::Transparent;
}

sf::Image SpriteSheet::render() {
    const std::array<Sampler, frameCount> pieces{{&sampleRock, &samplePaper, &sampleScissors}};
    sf::Image sheet = sfml::image(frameSize * frameCount, frameSize, sf::Color::Transparent);
    for (unsigned frame = 0; frame < frameCount; ++frame) {
        drawPiece(sheet, pieces[frame], frame * frameSize, frameSize);
    }
    return sheet;
}

void SpriteSheet::drawPiece(sf::Image& image, const Sampler piece, const unsigned left, const unsigned side) {
    constexpr unsigned grid = 4;
    // Frame pixels per image pixel: 1 on the sheet, more on a small icon.
    const float scale = static_cast<float>(frameSize) / static_cast<float>(side);
    for (unsigned py = 0; py < side; ++py) {
        for (unsigned px = 0; px < side; ++px) {
            // Premultiplied sums, so transparent samples do not darken the edges.
            unsigned red = 0;
            unsigned green = 0;
            unsigned blue = 0;
            unsigned alpha = 0;
            for (unsigned sy = 0; sy < grid; ++sy) {
                for (unsigned sx = 0; sx < grid; ++sx) {
                    const float x = (static_cast<float>(px) + (static_cast<float>(sx) + 0.5F) / grid) * scale;
                    const float y = (static_cast<float>(py) + (static_cast<float>(sy) + 0.5F) / grid) * scale;
                    const sf::Color c = piece(x, y);
                    red += c.r * c.a;
                    green += c.g * c.a;
                    blue += c.b * c.a;
                    alpha += c.a;
                }
            }
            if (alpha == 0) {
                continue;
            }
            const auto channel = [alpha](const unsigned sum) {
                return static_cast<std::uint8_t>((sum + alpha / 2) / alpha);
            };
            sfml::setPixel(image, left + px, py,
                           sf::Color(channel(red), channel(green), channel(blue),
                                     static_cast<std::uint8_t>((alpha + grid * grid / 2) / (grid * grid))));
        }
    }
}

sf::Image SpriteSheet::renderIcon(const unsigned size) {
    if (size < 2 * frameSize) {
        // Three pieces shrunk into so few pixels turn to mush: a small icon is the scissors alone, drawn
        // afresh at the icon's size.
        sf::Image icon = sfml::image(size, size, sf::Color::Transparent);
        drawPiece(icon, &sampleScissors, 0, size);
        return icon;
    }
    const sf::Image sheet = render();
    constexpr unsigned side = 2 * frameSize;
    // Where each frame of the sheet goes on the icon's unscaled 40 x 40 square: rock, paper, scissors.
    const std::array<sf::Vector2u, frameCount> places{{{0, frameSize}, {frameSize / 2, 0}, {frameSize, frameSize}}};
    // size is at least side, so the enlarged square fits.
    const unsigned scale = size / side;
    const unsigned margin = (size - side * scale) / 2;

    sf::Image icon = sfml::image(size, size, sf::Color::Transparent);
    for (unsigned frame = 0; frame < frameCount; ++frame) {
        for (unsigned y = 0; y < frameSize; ++y) {
            for (unsigned x = 0; x < frameSize; ++x) {
                const sf::Color colour = sfml::pixel(sheet, frame * frameSize + x, y);
                if (colour.a == 0) {
                    continue;
                }
                for (unsigned dy = 0; dy < scale; ++dy) {
                    for (unsigned dx = 0; dx < scale; ++dx) {
                        sfml::setPixel(icon, margin + (places[frame].x + x) * scale + dx,
                                       margin + (places[frame].y + y) * scale + dy, colour);
                    }
                }
            }
        }
    }
    return icon;
}

} // namespace G
