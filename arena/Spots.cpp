#include "arena/Spots.hpp"

#include "arena/WideScan.hpp"
#include "engine/Sfml.hpp"

#include <SFML/Graphics/Rect.hpp>

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>

namespace G {

namespace {

constexpr float none = std::numeric_limits<float>::quiet_NaN();
constexpr std::size_t block = 32;

// Whether any of a block's values is at most the bound; branch-free, so that it is tested side by side.
bool anyUnder(const float* const values, const float bound) {
    int under = 0;
    for (std::size_t u = 0; u < block; ++u) {
        under += static_cast<int>(values[u] <= bound);
    }
    return under != 0;
}

// Every piece whose narrowed distance could tie with or beat the nearest piece's has a rough square under
// candidateBound(least rough square); an overflowed or empty pass admits everything.
// The rough squares are within a few parts in 2^24 of the exact ones: 2^-18 is that error with room to spare.
constexpr float roughRelativeError = 0x1p-18F;
// Squares too small for single precision underflow to zero or lose their relative precision; this covers them.
constexpr float roughAbsoluteError = 1e-30F;

float candidateBound(const float leastSquare) {
    return std::isfinite(leastSquare) ? leastSquare * (1.0F + roughRelativeError) + roughAbsoluteError
                                      : std::numeric_limits<float>::infinity();
}

} // namespace

void Spots::locate(const std::vector<Item>& items) {
    for (auto* column : {&x, &y, &left, &right, &top, &bottom, &frameWidth, &frameHeight}) {
        column->clear();
    }
    removed.clear();
    slotCount = 0;
    liveCount = 0;
    firstLive = 0;
    unusual = 0;
    largestSide = 0.0F;
    for (const Item& item : items) {
        append(item);
    }
}

void Spots::append(const sf::Sprite& piece) {
    // The columns grow a whole block at a time, padded with empty slots, so every scan works on whole
    // blocks and needs no separate loop for a remainder.
    if (slotCount == x.size()) {
        for (auto* column : {&x, &y, &left, &right, &top, &bottom, &frameWidth, &frameHeight}) {
            column->resize(slotCount + block, none);
        }
        removed.resize(slotCount + block, 1);
    }
    const std::size_t k = slotCount;
    removed[k] = 0;
    ++slotCount;
    ++liveCount;
    write(k, piece);
    unusual += std::isnan(frameWidth[k]) ? 1 : 0;
}

void Spots::relocate(const std::size_t i, const sf::Sprite& piece) {
    if (std::isnan(frameWidth[i])) {
        write(i, piece);
    } else {
        // Moving changes nothing but the position, so the frame read when the piece was located still holds.
        const sf::Vector2f position = piece.getPosition();
        x[i] = position.x;
        y[i] = position.y;
        cover(i, translatedBounds(position, {frameWidth[i], frameHeight[i]}));
    }
}

void Spots::write(const std::size_t i, const sf::Sprite& piece) {
    const sf::Vector2f position = piece.getPosition();
    x[i] = position.x;
    y[i] = position.y;
    if (isPlain(piece)) {
        const sf::Vector2f frame = frameSize(piece);
        frameWidth[i] = frame.x;
        frameHeight[i] = frame.y;
        cover(i, translatedBounds(position, frame));
    } else {
        frameWidth[i] = none;
        frameHeight[i] = none;
        cover(i, piece.getGlobalBounds());
    }
}

void Spots::cover(const std::size_t i, const sf::FloatRect& bounds) {
    // The same arithmetic as sf::FloatRect::intersects applies to the global bounds.
    const float nearX = sfml::left(bounds);
    const float nearY = sfml::top(bounds);
    const float farX = nearX + sfml::width(bounds);
    const float farY = nearY + sfml::height(bounds);
    const float minX = std::min(nearX, farX);
    const float maxX = std::max(nearX, farX);
    const float minY = std::min(nearY, farY);
    const float maxY = std::max(nearY, farY);
    const bool solid = minX < maxX && minY < maxY;
    left[i] = solid ? minX : none;
    right[i] = solid ? maxX : none;
    top[i] = solid ? minY : none;
    bottom[i] = solid ? maxY : none;
    if (solid) {
        largestSide = std::max({largestSide, maxX - minX, maxY - minY});
    }
}

bool Spots::isPlain(const sf::Sprite& piece) {
    return sfml::rotation(piece) == 0.0F && piece.getScale() == sf::Vector2f(1.0F, 1.0F) &&
           piece.getOrigin() == sf::Vector2f(0.0F, 0.0F);
}

sf::Vector2f Spots::frameSize(const sf::Sprite& piece) {
    const sf::IntRect frame = piece.getTextureRect();
    return {static_cast<float>(std::abs(sfml::width(frame))), static_cast<float>(std::abs(sfml::height(frame)))};
}

sf::FloatRect Spots::translatedBounds(const sf::Vector2f position, const sf::Vector2f frame) {
    // The library's own arithmetic for a transform that is a plain translation: the corners of the local
    // bounds, each offset by the position, then their extremes. It saves rebuilding the transform, sine
    // and cosine included, after every move.
    const float nearX = 0.0F + position.x;
    const float farX = frame.x + position.x;
    const float nearY = 0.0F + position.y;
    const float farY = frame.y + position.y;
    const float minX = std::min(nearX, farX);
    const float minY = std::min(nearY, farY);
    return sfml::rect(minX, minY, std::max(nearX, farX) - minX, std::max(nearY, farY) - minY);
}

sf::FloatRect Spots::globalBounds(const sf::Sprite& piece) {
    return isPlain(piece) ? translatedBounds(piece.getPosition(), frameSize(piece)) : piece.getGlobalBounds();
}

void Spots::remove(const std::size_t k) {
    for (auto* column : {&x, &y, &left, &right, &top, &bottom}) {
        (*column)[k] = none;
    }
    removed[k] = 1;
    --liveCount;
    while (firstLive < slotCount && removed[firstLive] != 0) {
        ++firstLive;
    }
}

void Spots::compact(std::vector<Item>& items) {
    if (liveCount == slotCount) {
        return;
    }
    std::size_t kept = 0;
    for (std::size_t k = 0; k < slotCount; ++k) {
        if (removed[k] != 0) {
            continue;
        }
        if (kept != k) {
            items[kept] = std::move(items[k]);
            for (auto* column : {&x, &y, &left, &right, &top, &bottom, &frameWidth, &frameHeight}) {
                (*column)[kept] = (*column)[k];
            }
            removed[kept] = 0;
        }
        ++kept;
    }
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(kept), items.end());
    slotCount = kept;
    const std::size_t padded = (slotCount + block - 1) / block * block;
    for (auto* column : {&x, &y, &left, &right, &top, &bottom, &frameWidth, &frameHeight}) {
        column->resize(padded);
        std::fill(column->begin() + static_cast<std::ptrdiff_t>(slotCount), column->end(), none);
    }
    removed.resize(padded);
    std::fill(removed.begin() + static_cast<std::ptrdiff_t>(slotCount), removed.end(), 1);
    firstLive = 0;
}

int Spots::overlapsIn(const std::size_t start, const Spots& with, const std::size_t i) const {
    // Branch-free over a whole block, so that the compiler tests the block's pieces side by side.
    const float* const l = left.data() + start;
    const float* const r = right.data() + start;
    const float* const t = top.data() + start;
    const float* const b = bottom.data() + start;
    const float li = with.left[i];
    const float ri = with.right[i];
    const float ti = with.top[i];
    const float bi = with.bottom[i];
    int hits = 0;
    // Bitwise, not logical, so that no comparison is skipped and the loop stays free of branches.
    // NOLINTBEGIN(readability-implicit-bool-conversion)
    for (std::size_t j = 0; j < block; ++j) {
        hits += static_cast<int>((li < r[j]) & (l[j] < ri) & (ti < b[j]) & (t[j] < bi));
    }
    // NOLINTEND(readability-implicit-bool-conversion)
    return hits;
}

QUORVEL_WIDE_SCAN std::size_t Spots::firstOverlapping(const Spots& with, const std::size_t i,
                                                      const std::size_t skip) const {
    for (std::size_t start = 0; start < slotCount; start += block) {
        // The skipped piece may be the very piece being tested, which overlaps itself; it is taken out of the
        // block's count rather than sending the block to the slow scan below.
        const bool skipHits = skip >= start && skip < start + block && with.overlaps(i, *this, skip);
        if (overlapsIn(start, with, i) == (skipHits ? 1 : 0)) {
            continue;
        }
        for (std::size_t k = start; k < start + block; ++k) {
            if (k != skip && with.overlaps(i, *this, k)) {
                return k;
            }
        }
    }
    return slotCount;
}

void Spots::overlapping(const Spots& with, const std::size_t i, const RoughSquares& rough, const float within,
                        std::vector<std::size_t>& found) const {
    // A nearest search here fills them first.
    assert(rough.squares.size() >= slotCount);
    found.clear();
    const float bound = within * within;
    for (std::size_t k = firstOverlappingWithin(with, i, 0, rough, bound); k < slotCount;
         k = firstOverlappingWithin(with, i, k + 1, rough, bound)) {
        found.push_back(k);
    }
}

std::size_t Spots::firstOverlappingWithin(const Spots& with, const std::size_t i, const std::size_t from,
                                          const RoughSquares& rough, const float bound) const {
    const float* const squares = rough.squares.data();
    // The first block may start before `from`; its slots before `from` are not tested.
    for (std::size_t start = from / block * block; start < slotCount; start += block) {
        if (!anyUnder(squares + start, bound)) {
            continue;
        }
        for (std::size_t k = std::max(start, from); k < start + block; ++k) {
            if (squares[k] <= bound && with.overlaps(i, *this, k)) {
                return k;
            }
        }
    }
    return slotCount;
}

QUORVEL_WIDE_SCAN Spots::Nearest Spots::nearest(const sf::Vector2f from, RoughSquares& rough) const {
    // A first pass in single precision, which the compiler vectorises: every squared distance, roughly,
    // and the least of them. Removed and padding slots give NaN, which is never least. The block's many
    // lanes keep the minimum in several independent chains at once.
    const std::size_t padded = x.size();
    rough.squares.resize(padded);
    float* const squares = rough.squares.data();
    std::array<float, block> least;
    least.fill(std::numeric_limits<float>::infinity());
    for (std::size_t start = 0; start < padded; start += block) {
        const float* const xs = x.data() + start;
        const float* const ys = y.data() + start;
        for (std::size_t u = 0; u < block; ++u) {
            const float dx = xs[u] - from.x;
            const float dy = ys[u] - from.y;
            squares[start + u] = dx * dx + dy * dy;
            least[u] = squares[start + u] < least[u] ? squares[start + u] : least[u];
        }
    }
    const float leastSquare = *std::min_element(least.begin(), least.end());

    // The plain rules start from the first piece and replace it only with a strictly nearer one: a first
    // piece whose distance is not a number is never replaced, while a later one is never taken.
    if (firstLive < slotCount && std::isnan(squares[firstLive])) {
        return {firstLive, std::numeric_limits<float>::quiet_NaN()};
    }

    // Only the pieces whose rough square may round to the least are ranked exactly: by the exact squared
    // distance first, and the narrowed float distance, on which ties are decided, only for a candidate
    // whose exact square beats the best so far. It must then beat the best's narrowed distance too, so one
    // that only equals it leaves the lower index chosen, exactly as comparing float distances would.
    const float bound = candidateBound(leastSquare);
    Nearest best{slotCount, std::numeric_limits<float>::infinity()};
    double bestSquare = 0.0;
    for (std::size_t start = 0; start < padded; start += block) {
        if (!anyUnder(squares + start, bound)) {
            continue;
        }
        for (std::size_t k = start; k < start + block; ++k) {
            if (!(squares[k] <= bound)) {
                continue;
            }
            const auto dx = static_cast<double>(x[k] - from.x);
            const auto dy = static_cast<double>(y[k] - from.y);
            const double square = dx * dx + dy * dy;
            if (best.index == slotCount) {
                best = {k, static_cast<float>(std::sqrt(square))};
                bestSquare = square;
            } else if (square < bestSquare) {
                const auto candidate = static_cast<float>(std::sqrt(square));
                if (candidate < best.distance) {
                    best = {k, candidate};
                    bestSquare = square;
                }
            }
        }
    }
    return best;
}

} // namespace G
