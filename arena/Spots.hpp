#pragma once

#include "arena/Item.hpp"

#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/System/Vector2.hpp>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace G {

// Where the pieces of one list stand, slot for slot with the list, read from each piece once each time it
// moves instead of once per comparison, and laid out column by column so that the scans over a list run
// through plain arrays of floats.
//
// Overlap is decided exactly as sf::FloatRect::intersects decides it for the two pieces' global bounds, and
// distances are those of GameState::distance, so the scans give the same results bit for bit. A removed
// piece keeps its slot, so the indices of the others stay those of their pieces, until compact. A piece may
// stand anywhere, not-a-number coordinates included: only removal takes a piece out.
class Spots {
public:
    // The squared distance of every slot from the point of one nearest search, roughly: what that search
    // learns on its way, and what an overlap search around the same point reuses to pass over the pieces
    // that stood too far. Kept by the caller, so that repeated searches allocate nothing.
    struct RoughSquares {
        std::vector<float> squares;
    };

    // A search's answer: the slot of the piece found, slots() when there is none, and its distance.
    struct Nearest {
        std::size_t index;
        float distance;
    };

    // Reads every piece afresh.
    void locate(const std::vector<Item>& items);
    // The piece now stands at `position`.
    void relocate(std::size_t i, const sf::Sprite& piece, sf::Vector2f position);
    void append(const sf::Sprite& piece);
    // From now on the piece is neither near nor overlapping anything.
    void remove(std::size_t k);
    // Drops the removed pieces' slots and the pieces themselves, keeping the order of the rest.
    void compact(std::vector<Item>& items);

    // Every slot, those of removed pieces included: one past the highest index.
    std::size_t slots() const { return slotCount; }
    // The pieces not removed.
    std::size_t livePieces() const { return liveCount; }
    bool empty() const { return liveCount == 0; }
    // Whether every piece located here is only ever moved (not turned or scaled, origin at its corner), so
    // that its footprint stands within reach() of its position.
    bool allPlain() const { return unusual == 0; }
    sf::Vector2f position(const std::size_t k) const { return {x[k], y[k]}; }
    // Farther apart than this, two plain pieces located here cannot overlap.
    float reach() const { return reachPerSide * largestSide; }

    // Whether piece i here and piece k of the other list overlap with positive width and height.
    bool overlaps(const std::size_t i, const Spots& other, const std::size_t k) const {
        return left[i] < other.right[k] && other.left[k] < right[i] && top[i] < other.bottom[k] &&
               other.top[k] < bottom[i];
    }

    // The lowest index, other than skip (slots() skips nothing), whose piece here overlaps piece i of the
    // other list; slots() when there is none.
    std::size_t firstOverlapping(const Spots& with, std::size_t i, std::size_t skip) const;
    // The piece nearest to the point, the lowest index of equally near ones, with its distance; slots() and
    // an infinite distance when none is left. As with strict comparisons that start from the first piece, a
    // first piece whose distance is not a number is kept, and no later such piece is ever taken. Fills
    // `rough` for overlapping.
    Nearest nearest(sf::Vector2f from, RoughSquares& rough) const;
    // Every piece here that overlaps piece i of the other list, in index order, into `found`, testing only
    // the pieces whose rough square from the latest nearest search here, `rough`, is within `within`
    // squared: the caller vouches that no piece farther away can overlap. Pieces may have been removed here
    // since that search, but none relocated, appended or compacted. An infinite `within` tests every piece
    // whose distance is a number.
    void overlapping(const Spots& with, std::size_t i, const RoughSquares& rough, float within,
                     std::vector<std::size_t>& found) const;

    // The piece's global bounds, bit for bit as sf::Sprite::getGlobalBounds gives them.
    static sf::FloatRect globalBounds(const sf::Sprite& piece);

private:
    // Two footprints of sides at most L overlap only with their corners less than L apart along each axis,
    // so less than L * sqrt(2) apart; one and a half is that with room for rounding.
    static constexpr float reachPerSide = 1.5F;

    void write(std::size_t i, const sf::Sprite& piece);
    void cover(std::size_t i, const sf::FloatRect& bounds);
    // Whether the piece is only ever moved: not turned, not scaled, and with its origin at its corner.
    static bool isPlain(const sf::Sprite& piece);
    static sf::Vector2f frameSize(const sf::Sprite& piece);
    static sf::FloatRect translatedBounds(sf::Vector2f position, sf::Vector2f frame);
    // The pieces of the block starting there that overlap piece i of the other list, one bit a slot, the
    // block's first slot lowest.
    std::uint32_t overlapsIn(std::size_t start, const Spots& with, std::size_t i) const;
    // Empties the slots from `from` up to `to`.
    void vacate(std::size_t from, std::size_t to);

    std::vector<float> x;
    std::vector<float> y;
    // The extent of the piece's global bounds; NaN for a piece of no area and for a removed piece, so that
    // every comparison with it is false.
    std::vector<float> left;
    std::vector<float> right;
    std::vector<float> top;
    std::vector<float> bottom;
    // The size of a plain piece's frame, which fixes its footprint at any position; NaN for other pieces.
    std::vector<float> frameWidth;
    std::vector<float> frameHeight;
    // 1 for a removed piece and for padding: a piece's own coordinates, NaN or not, never mark it removed.
    std::vector<unsigned char> removed;
    // The columns hold whole blocks; the slots past slotCount are padding, empty like removed ones.
    std::size_t slotCount = 0;
    std::size_t liveCount = 0;
    // The lowest index of a piece not removed; slotCount when every piece is.
    std::size_t firstLive = 0;
    // How many of the located pieces are not plain.
    std::size_t unusual = 0;
    float largestSide = 0.0F;
};

} // namespace G
