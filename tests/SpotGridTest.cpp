#include "arena/SpotGrid.hpp"

#include "arena/GameState.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

using Spot = G::SpotGrid::Spot;

// A 20 x 20 footprint at the position, with the arithmetic of a moved sprite's bounds; none where it has no
// area.
Spot pieceAt(const float x, const float y) {
    const float right = 20.0F + x;
    const float bottom = 20.0F + y;
    if (!(x < right && y < bottom)) {
        const float none = std::numeric_limits<float>::quiet_NaN();
        return {x, y, none, none, none, none};
    }
    return {x, y, x, right, y, bottom};
}

bool overlap(const Spot& a, const Spot& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Positions that test the grid's arithmetic: inside the window, on and beside the cells' edges (multiples of
// 32), across and far beyond the grid's outer edge (640 beyond the window), and a few with no number.
class Positions {
public:
    explicit Positions(const unsigned seed) : random(seed) {}

    float coordinate() {
        switch (pick(8)) {
        case 0:
            return static_cast<float>(static_cast<int>(pick(80)) * 32 - 1000) + edgeOffset();
        case 1:
            return -640.0F + edgeOffset() * 3.0F;
        case 2:
            return (pick(2) == 0 ? -1.0F : 1.0F) * std::ldexp(1.0F, static_cast<int>(pick(110)));
        case 3:
            return pick(40) == 0 ? std::numeric_limits<float>::quiet_NaN() : 600.0F;
        default:
            return std::uniform_real_distribution<float>(-300.0F, 1500.0F)(random);
        }
    }
    std::size_t pick(const std::size_t range) {
        return std::uniform_int_distribution<std::size_t>(0, range - 1)(random);
    }

private:
    float edgeOffset() { return std::array<float, 5>{-1e-3F, -0.0F, 0.0F, 1e-3F, 19.999F}.at(pick(5)); }

    std::mt19937 random;
};

TEST(SpotGrid, FindsWhatAScanOfEverySpotFindsAfterMovesAdditionsRemovalsAndRenumbering) {
    Positions positions(7);
    std::vector<Spot> spots(1500);
    for (Spot& spot : spots) {
        spot = pieceAt(positions.coordinate(), positions.coordinate());
    }
    G::SpotGrid grid;
    grid.file(spots.size(), [&spots](const std::size_t k) { return spots[k]; });
    const float none = std::numeric_limits<float>::quiet_NaN();

    for (int round = 0; round < 6; ++round) {
        for (int query = 0; query < 400; ++query) {
            const Spot probe = pieceAt(positions.coordinate(), positions.coordinate());
            const std::size_t from = positions.pick(3) == 0 ? positions.pick(spots.size()) : 0;
            const std::size_t skip = positions.pick(spots.size());
            std::size_t first = G::SpotGrid::none;
            std::size_t nearest = G::SpotGrid::none;
            float nearestDistance = 0.0F;
            std::vector<std::size_t> all;
            for (std::size_t k = 0; k < spots.size(); ++k) {
                if (overlap(probe, spots[k])) {
                    all.push_back(k);
                    first = k >= from && k != skip && first == G::SpotGrid::none ? k : first;
                }
                const float d = G::GameState::distance({probe.x, probe.y}, {spots[k].x, spots[k].y});
                if (!std::isnan(d) && (nearest == G::SpotGrid::none || d < nearestDistance)) {
                    nearest = k;
                    nearestDistance = d;
                }
            }
            ASSERT_EQ(grid.firstOverlapping(probe, from, skip, 20.0F), first) << round << "/" << query;
            std::vector<std::size_t> found;
            grid.overlapping(probe, 20.0F, found);
            ASSERT_EQ(found, all) << round << "/" << query;
            float distance = 0.0F;
            ASSERT_EQ(grid.nearest({probe.x, probe.y}, distance, SIZE_MAX), nearest) << round << "/" << query;
        }
        // Moves of every size, a few new spots, and every tenth spot removed, then closed up in every other
        // round, as a list does after its captures.
        for (std::size_t k = 0; k < spots.size(); ++k) {
            const float step = std::ldexp(1.0F, static_cast<int>(positions.pick(round + 4)) - 3);
            spots[k] = pieceAt(spots[k].x + step, spots[k].y - step);
            grid.move(k, spots[k]);
        }
        for (int added = 0; added < 100; ++added) {
            spots.push_back(pieceAt(positions.coordinate(), positions.coordinate()));
            grid.add(spots.back());
        }
        std::vector<std::size_t> keptBefore{0};
        std::vector<Spot> kept;
        for (std::size_t k = 0; k < spots.size(); ++k) {
            const bool removed = k % 10 == static_cast<std::size_t>(round);
            if (removed) {
                grid.remove(k);
                spots[k] = {none, none, none, none, none, none};
            } else {
                kept.push_back(spots[k]);
            }
            keptBefore.push_back(kept.size());
        }
        if (round % 2 == 1) {
            grid.renumber(keptBefore);
            spots = kept;
        }
    }
}

} // namespace
