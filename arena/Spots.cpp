#include "arena/Spots.hpp"

#include "arena/WideScan.hpp"
#include "engine/Sfml.hpp"

#include <SFML/Graphics/Rect.hpp>

#include <algorithm>
#include <array>
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

} // namespace

void Spots::locate(const std::vector<Item>& items, const std::size_t gridFrom) {
    for (auto* column : {&x, &y, &left, &right, &top, &bottom, &frameWidth, &frameHeight}) {
        column->clear();
    }
    removed.clear();
    count = 0;
    live = 0;
    unusual = 0;
    largestSide = 0.0F;
    firstLeft = 0;
    withGrid = false;
    for (const Item& item : items) {
        append(item);
    }
    withGrid = items.size() >= gridFrom;
    fileGrid();
}

void Spots::fileGrid() {
    if (withGrid) {
        grid.file(count, [this](const std::size_t k) { return spot(k); });
    }
}

void Spots::append(const sf::Sprite& piece) {
    // The columns grow a whole block at a time, padded with empty spots, so every scan works on whole
    // blocks and needs no separate loop for a remainder.
    if (count == x.size()) {
        for (auto* column : {&x, &y, &left, &right, &top, &bottom, &frameWidth, &frameHeight}) {
            column->resize(count + block, none);
        }
        removed.resize(count + block, 1);
    }
    removed[count] = 0;
    ++count;
    ++live;
    write(count - 1, piece);
    unusual += std::isnan(frameWidth[count - 1]) ? 1 : 0;
    if (withGrid) {
        grid.add(spot(count - 1));
        // Spots added since the filing are listed one by one; many of them would slow the searches.
        if (grid.added() > count / 4 + 16) {
            fileGrid();
        }
    }
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
    if (withGrid) {
        grid.move(i, spot(i));
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
    --live;
    while (firstLeft < count && removed[firstLeft] != 0) {
        ++firstLeft;
    }
    if (withGrid) {
        grid.remove(k);
    }
}

void Spots::compact(std::vector<Item>& items) {
    if (live == count) {
        return;
    }
    keptBefore.resize(count + 1);
    std::size_t kept = 0;
    for (std::size_t k = 0; k < count; ++k) {
        keptBefore[k] = kept;
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
    keptBefore[count] = kept;
    if (withGrid) {
        grid.renumber(keptBefore);
    }
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(kept), items.end());
    count = kept;
    const std::size_t padded = (count + block - 1) / block * block;
    for (auto* column : {&x, &y, &left, &right, &top, &bottom, &frameWidth, &frameHeight}) {
        column->resize(padded);
        std::fill(column->begin() + static_cast<std::ptrdiff_t>(count), column->end(), none);
    }
    removed.resize(padded);
    std::fill(removed.begin() + static_cast<std::ptrdiff_t>(count), removed.end(), 1);
    firstLeft = 0;
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

std::size_t Spots::firstOverlapping(const Spots& with, const std::size_t i, const std::size_t from,
                                    const std::size_t skip) const {
    return gridFindsOverlaps() ? firstOverlappingInGrid(with, i, from, skip)
                               : firstOverlappingInList(with, i, from, skip);
}

void Spots::overlapping(const Spots& with, const std::size_t i, const float within,
                        std::vector<std::size_t>& found) const {
    found.clear();
    if (gridFindsOverlaps()) {
        grid.overlapping(with.spot(i), largestSide, found);
        return;
    }
    for (std::size_t k = firstOverlappingAmongNear(with, i, 0, within); k < count;
         k = firstOverlappingAmongNear(with, i, k + 1, within)) {
        found.push_back(k);
    }
}

std::size_t Spots::firstOverlappingInGrid(const Spots& with, const std::size_t i, const std::size_t from,
                                          const std::size_t skip) const {
    const std::size_t first = grid.firstOverlapping(with.spot(i), from, skip, largestSide);
    return first == SpotGrid::none ? count : first;
}

QUORVEL_WIDE_SCAN std::size_t Spots::firstOverlappingInList(const Spots& with, const std::size_t i,
                                                            const std::size_t from, const std::size_t skip) const {
    for (std::size_t start = from / block * block; start < count; start += block) {
        // The skipped spot may be the very piece being tested, which overlaps itself; it is taken out of the
        // block's count rather than sending the block to the slow scan below. Spots before `from` in the
        // first block are only looked at again by the slow scan, which passes them over.
        const bool skipHits = skip >= start && skip < start + block && with.overlaps(i, *this, skip);
        if (overlapsIn(start, with, i) == (skipHits ? 1 : 0)) {
            continue;
        }
        for (std::size_t k = std::max(start, from); k < start + block; ++k) {
            if (k != skip && with.overlaps(i, *this, k)) {
                return k;
            }
        }
    }
    return count;
}

QUORVEL_WIDE_SCAN std::size_t Spots::firstOverlappingAmongNear(const Spots& with, const std::size_t i,
                                                               const std::size_t from, const float within) const {
    // The caller's promise about the pieces beyond `within` spares only tests, never changes the answer, so
    // a search that went through the grid, which leaves no rough squares, is followed by a whole scan.
    if (!roughSquaresOfLatest) {
        return firstOverlappingInList(with, i, from, count);
    }
    const float bound = within * within;
    for (std::size_t start = from / block * block; start < count; start += block) {
        if (!anyUnder(roughSquares.data() + start, bound)) {
            continue;
        }
        for (std::size_t k = std::max(start, from); k < start + block; ++k) {
            if (roughSquares[k] <= bound && with.overlaps(i, *this, k)) {
                return k;
            }
        }
    }
    return count;
}

std::size_t Spots::nearest(const sf::Vector2f from, float& distance) const {
    return withGrid ? nearestInGrid(from, distance) : nearestInList(from, distance);
}

std::size_t Spots::nearestInGrid(const sf::Vector2f from, float& distance) const {
    roughSquaresOfLatest = false;
    // The plain rules start from the first piece and replace it only with a strictly nearer one: a first
    // piece whose distance is not a number is never replaced, while a later one is never taken.
    if (firstLeft == count) {
        distance = std::numeric_limits<float>::infinity();
        return count;
    }
    // Its distance is not a number exactly where a difference of coordinates is not.
    if (std::isnan(x[firstLeft] - from.x) || std::isnan(y[firstLeft] - from.y)) {
        distance = std::numeric_limits<float>::quiet_NaN();
        return firstLeft;
    }
    // Where the pieces are too sparse for cells to pay, the scan of the whole list takes over.
    const std::size_t best = grid.nearest(from, distance, count / 4 + 25);
    return best == SpotGrid::none ? nearestInList(from, distance) : best;
}

QUORVEL_WIDE_SCAN std::size_t Spots::nearestInList(const sf::Vector2f from, float& distance) const {
    roughSquaresOfLatest = true;
    distance = std::numeric_limits<float>::infinity();
    // A first pass in single precision, which the compiler vectorises: every squared distance, roughly,
    // and the least of them. Removed and padding spots give NaN, which is never least. The block's many
    // lanes keep the minimum in several independent chains at once.
    const std::size_t padded = x.size();
    roughSquares.resize(padded);
    std::array<float, block> least;
    least.fill(std::numeric_limits<float>::infinity());
    for (std::size_t start = 0; start < padded; start += block) {
        const float* const xs = x.data() + start;
        const float* const ys = y.data() + start;
        float* const rough = roughSquares.data() + start;
        for (std::size_t u = 0; u < block; ++u) {
            const float dx = xs[u] - from.x;
            const float dy = ys[u] - from.y;
            rough[u] = dx * dx + dy * dy;
            least[u] = rough[u] < least[u] ? rough[u] : least[u];
        }
    }
    const float leastSquare = *std::min_element(least.begin(), least.end());

    // The plain rules start from the first piece and replace it only with a strictly nearer one: a first
    // piece whose distance is not a number is never replaced, while a later one is never taken.
    const std::size_t first = firstLeft;
    if (first < count && std::isnan(roughSquares[first])) {
        distance = std::numeric_limits<float>::quiet_NaN();
        return first;
    }

    // The rough squares are within a few parts in 2^24 of the exact ones, so every piece whose narrowed
    // distance can equal the least lies under this bound (the small absolute term covers underflow; an
    // overflowed or empty pass admits everything). Only those are ranked exactly: by the exact squared
    // distance first, and the narrowed float distance, on which ties are decided, only for a candidate
    // whose exact square beats the best so far. It must then beat the best's narrowed distance too, so one
    // that only equals it leaves the lower index chosen, exactly as comparing float distances would.
    const float bound =
        std::isfinite(leastSquare) ? leastSquare * (1.0F + 0x1p-18F) + 1e-30F : std::numeric_limits<float>::infinity();
    std::size_t best = count;
    double bestSquare = 0.0;
    for (std::size_t start = 0; start < padded; start += block) {
        if (!anyUnder(roughSquares.data() + start, bound)) {
            continue;
        }
        for (std::size_t k = start; k < start + block; ++k) {
            if (!(roughSquares[k] <= bound)) {
                continue;
            }
            const auto dx = static_cast<double>(x[k] - from.x);
            const auto dy = static_cast<double>(y[k] - from.y);
            const double square = dx * dx + dy * dy;
            if (best == count) {
                best = k;
                bestSquare = square;
                distance = static_cast<float>(std::sqrt(square));
            } else if (square < bestSquare) {
                const auto candidate = static_cast<float>(std::sqrt(square));
                if (candidate < distance) {
                    best = k;
                    bestSquare = square;
                    distance = candidate;
                }
            }
        }
    }
    return best;
}

} // namespace G
