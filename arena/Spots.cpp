#include "arena/Spots.hpp"

#include "arena/WideScan.hpp"
#include "engine/Sfml.hpp"

#include <SFML/Graphics/Rect.hpp>

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <utility>

namespace G {

namespace {

constexpr float none = std::numeric_limits<float>::quiet_NaN();
constexpr std::size_t block = 32;
// One bit a slot of a block, the block's first slot lowest.
using Bits = std::uint32_t;
static_assert(sizeof(Bits) * 8 == block);

constexpr std::array<Bits, block> slotBits = [] {
    std::array<Bits, block> bits{};
    for (std::size_t u = 0; u < block; ++u) {
        bits.at(u) = Bits{1} << u;
    }
    return bits;
}();

// The slots of a block that pass the test, as bits; branch-free, so that the compiler tests the block's
// slots side by side. A product with each slot's bit, not a shift by the slot's number, which GCC leaves
// unvectorised without AVX2. The scans that take their first match, or every match, from these bits instead
// of testing the block slot by slot took quorvel-tournament --jobs 1 from 195 games a second to 263 at the
// 150 start, the two builds run one after the other.
template <typename Test> QUORVEL_SCAN_PART Bits bitsWhere(const Test& test) {
    Bits bits = 0;
    for (std::size_t u = 0; u < block; ++u) {
        bits |= static_cast<Bits>(test(u)) * slotBits[u];
    }
    return bits;
}

std::size_t lowest(const Bits bits) {
    return static_cast<std::size_t>(__builtin_ctz(bits));
}

// b where it is less than a: a NaN b is never taken.
QUORVEL_SCAN_PART float lesser(const float a, const float b) {
    return b < a ? b : a;
}

QUORVEL_SCAN_PART Bits under(const float* const values, const float bound) {
    return bitsWhere([values, bound](const std::size_t u) { return values[u] <= bound; });
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
    vacate(std::min(items.size(), slotCount), slotCount);
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
    // blocks and needs no separate loop for a remainder. They never shrink: a list that shrinks and grows
    // again each game reuses them.
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

void Spots::vacate(const std::size_t from, const std::size_t to) {
    for (auto* column : {&x, &y, &left, &right, &top, &bottom, &frameWidth, &frameHeight}) {
        std::fill(column->begin() + static_cast<std::ptrdiff_t>(from),
                  column->begin() + static_cast<std::ptrdiff_t>(to), none);
    }
    std::fill(removed.begin() + static_cast<std::ptrdiff_t>(from), removed.begin() + static_cast<std::ptrdiff_t>(to),
              1);
}

void Spots::relocate(const std::size_t i, const sf::Sprite& piece, const sf::Vector2f position) {
    if (std::isnan(frameWidth[i])) {
        write(i, piece);
    } else {
        // Moving changes nothing but the position, so the frame read when the piece was located still holds.
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

inline void Spots::cover(const std::size_t i, const sf::FloatRect& bounds) {
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

inline sf::FloatRect Spots::translatedBounds(const sf::Vector2f position, const sf::Vector2f frame) {
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
    vacate(kept, slotCount);
    slotCount = kept;
    firstLive = 0;
}

QUORVEL_SCAN_PART std::uint32_t Spots::overlapsIn(const std::size_t start, const Spots& with,
                                                  const std::size_t i) const {
    const float* const l = left.data() + start;
    const float* const r = right.data() + start;
    const float* const t = top.data() + start;
    const float* const b = bottom.data() + start;
    const float li = with.left[i];
    const float ri = with.right[i];
    const float ti = with.top[i];
    const float bi = with.bottom[i];
    // Bitwise, not logical, so that no comparison is skipped and the test stays free of branches.
    // NOLINTBEGIN(readability-implicit-bool-conversion)
    return bitsWhere([&](const std::size_t u) { return (li < r[u]) & (l[u] < ri) & (ti < b[u]) & (t[u] < bi); });
    // NOLINTEND(readability-implicit-bool-conversion)
}

QUORVEL_WIDE_SCAN std::size_t Spots::firstOverlapping(const Spots& with, const std::size_t i,
                                                      const std::size_t skip) const {
    for (std::size_t start = 0; start < slotCount; start += block) {
        Bits hits = overlapsIn(start, with, i);
        // The skipped piece may be the very piece being tested, which overlaps itself.
        if (skip - start < block) {
            hits &= ~(Bits{1} << (skip - start));
        }
        if (hits != 0) {
            return start + lowest(hits);
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
    for (std::size_t start = 0; start < slotCount; start += block) {
        // Most blocks hold no piece near enough, and the one compare of the rough squares passes over them.
        Bits hits = under(rough.squares.data() + start, bound);
        for (hits = hits != 0 ? hits & overlapsIn(start, with, i) : 0; hits != 0; hits &= hits - 1) {
            found.push_back(start + lowest(hits));
        }
    }
}

QUORVEL_WIDE_SCAN Spots::Nearest Spots::nearest(const sf::Vector2f from, RoughSquares& rough) const {
    // A first pass in single precision, which the compiler vectorises: every squared distance, roughly,
    // and the least of them. Removed and padding slots give NaN, which is never least. The block's many
    // lanes keep the minimum in several independent chains at once.
    const std::size_t padded = (slotCount + block - 1) / block * block;
    if (rough.squares.size() < padded) {
        rough.squares.resize(padded);
    }
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
            least[u] = lesser(least[u], squares[start + u]);
        }
    }
    // Halving, lane against lane, instead of one lane after another, and the last eight in registers: the
    // least of numbers that are never NaN is the same in any order, and the search waits on it.
    for (std::size_t width = block / 2; width >= 8; width /= 2) {
        for (std::size_t u = 0; u < width; ++u) {
            least[u] = lesser(least[u], least[u + width]);
        }
    }
    const float leastSquare = lesser(lesser(lesser(least[0], least[1]), lesser(least[2], least[3])),
                                     lesser(lesser(least[4], least[5]), lesser(least[6], least[7])));

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
        for (Bits candidates = under(squares + start, bound); candidates != 0; candidates &= candidates - 1) {
            const std::size_t k = start + lowest(candidates);
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
