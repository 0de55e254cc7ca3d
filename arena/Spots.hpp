#pragma once

#include "arena/Item.hpp"
#include "arena/SpotGrid.hpp"

#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/System/Vector2.hpp>

#include <cstddef>
#include <vector>

namespace G {

// Where the pieces of one list stand, index for index with the list, read from each piece once each time
// it moves instead of once per comparison, and laid out column by column so that the linear scans over a
// list run through plain arrays of floats. A list long enough keeps a grid of its spots as well, through
// which the searches look only at the pieces around a point.
//
// Overlap is decided exactly as sf::FloatRect::intersects decides it for the two pieces' global bounds, and
// distances are those of GameState::distance, so the scans give the same results bit for bit, with the grid
// or without. A removed spot keeps its place, so the indices of the others stay those of their pieces, until
// compact. A piece may stand anywhere, not-a-number coordinates included: only removal takes a spot out.
class Spots {
public:
    // Reads every piece afresh; a list of at least gridFrom pieces keeps a grid too.
    void locate(const std::vector<Item>& items, std::size_t gridFrom);
    void relocate(std::size_t i, const sf::Sprite& piece);
    void append(const sf::Sprite& piece);
    // From now on the spot is neither near nor overlapping anything.
    void remove(std::size_t k);
    // Drops the removed spots and their pieces, keeping the order of the rest.
    void compact(std::vector<Item>& items);

    std::size_t size() const { return count; }
    bool empty() const { return live == 0; }
    // How many spots have not been removed.
    std::size_t remaining() const { return live; }
    // Whether the searches here may go through a grid.
    bool gridded() const { return withGrid; }
    // Whether every piece located here is only ever moved (not turned or scaled, origin at its corner), so
    // that its footprint stands within reach() of its position.
    bool allPlain() const { return unusual == 0; }
    sf::Vector2f position(const std::size_t k) const { return {x[k], y[k]}; }
    // Farther apart than this, two pieces located here cannot overlap.
    float reach() const { return 1.5F * largestSide; }

    // Whether piece i here and piece k of the other list overlap with positive width and height.
    bool overlaps(const std::size_t i, const Spots& other, const std::size_t k) const {
        return left[i] < other.right[k] && other.left[k] < right[i] && top[i] < other.bottom[k] &&
               other.top[k] < bottom[i];
    }
    // Below this many pieces a grid does not pay: scanning a list whole costs less than searching cells.
    static constexpr std::size_t fewestForGrid = 640;

    // The lowest index from `from` on, other than skip, whose piece here overlaps piece i of the other
    // table; size() when there is none.
    std::size_t firstOverlapping(const Spots& with, std::size_t i, std::size_t from, std::size_t skip) const;
    // Like firstOverlapping, but only among the pieces that stood closer than `within` to the point of the
    // latest nearest search, which saves testing the others; the caller vouches that no piece farther away
    // can overlap. An infinite `within` tests every piece whose distance is a number.
    std::size_t firstOverlappingAmongNear(const Spots& with, std::size_t i, std::size_t from, float within) const;
    // Every piece here that overlaps piece i of the other table, in index order, into `found`; the caller
    // vouches for `within` as for firstOverlappingAmongNear.
    void overlapping(const Spots& with, std::size_t i, float within, std::vector<std::size_t>& found) const;
    // The index of the piece nearest to the point, the lowest of equally near ones, with its distance; size()
    // when nothing is left. As with strict comparisons that start from the first piece, a first piece whose
    // distance is not a number is kept, and no later such piece is ever taken.
    std::size_t nearest(sf::Vector2f from, float& distance) const;

    // The piece's global bounds, bit for bit as sf::Sprite::getGlobalBounds gives them.
    static sf::FloatRect globalBounds(const sf::Sprite& piece);

private:
    void write(std::size_t i, const sf::Sprite& piece);
    void fileGrid();
    void cover(std::size_t i, const sf::FloatRect& bounds);
    // Whether the piece is only ever moved: not turned, not scaled, and with its origin at its corner.
    static bool isPlain(const sf::Sprite& piece);
    static sf::Vector2f frameSize(const sf::Sprite& piece);
    static sf::FloatRect translatedBounds(sf::Vector2f position, sf::Vector2f frame);
    // How many pieces of the block starting there overlap piece i of the other table.
    int overlapsIn(std::size_t start, const Spots& with, std::size_t i) const;
    // Whether the grid, which files pieces by position, finds every piece here that overlaps a footprint:
    // it does where every piece's footprint stands at its position.
    bool gridFindsOverlaps() const { return withGrid && allPlain(); }
    SpotGrid::Spot spot(std::size_t k) const { return {x[k], y[k], left[k], right[k], top[k], bottom[k]}; }
    std::size_t firstOverlappingInGrid(const Spots& with, std::size_t i, std::size_t from, std::size_t skip) const;
    std::size_t firstOverlappingInList(const Spots& with, std::size_t i, std::size_t from, std::size_t skip) const;
    std::size_t nearestInGrid(sf::Vector2f from, float& distance) const;
    std::size_t nearestInList(sf::Vector2f from, float& distance) const;

    std::vector<float> x;
    std::vector<float> y;
    // The extent of the piece's global bounds; NaN for a piece of no area and for a removed spot, so that
    // every comparison with it is false.
    std::vector<float> left;
    std::vector<float> right;
    std::vector<float> top;
    std::vector<float> bottom;
    // The size of a plain piece's frame, which fixes its footprint at any position; NaN for other pieces.
    std::vector<float> frameWidth;
    std::vector<float> frameHeight;
    // 1 for a removed spot and for padding: a piece's own coordinates, NaN or not, never mark it removed.
    std::vector<unsigned char> removed;
    // The columns hold whole blocks; the spots past count are padding, empty like removed ones.
    std::size_t count = 0;
    std::size_t live = 0;
    // How many of the located pieces are not plain.
    std::size_t unusual = 0;
    float largestSide = 0.0F;
    // The lowest index not removed; count when every spot is.
    std::size_t firstLeft = 0;
    bool withGrid = false;
    SpotGrid grid;
    // Scratch for compact: how many spots are kept before each.
    std::vector<std::size_t> keptBefore;
    // Rough squared distances of the latest nearest search through the list, kept for
    // firstOverlappingAmongNear and so that searches allocate nothing; stale once a search went through the
    // grid instead.
    mutable std::vector<float> roughSquares;
    mutable bool roughSquaresOfLatest = false;
};

} // namespace G
