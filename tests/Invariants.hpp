#pragma once

#include "arena/GameState.hpp"

#include <array>
#include <cmath>
#include <cstddef>
#include <sstream>
#include <string>
#include <vector>

namespace test {

// What must hold after every update: the number of pieces is kept, every piece sits in the list of its
// own kind, and no position or velocity has become non-finite. Returns the first thing that does not hold,
// or an empty string.
inline std::string firstViolation(const G::GameState& state, const std::size_t total) {
    std::ostringstream problem;
    const std::size_t now = state.rocks.size() + state.papers.size() + state.scissors.size();
    if (now != total) {
        problem << "total " << now << " instead of " << total;
        return problem.str();
    }
    const std::array<const std::vector<G::Item>*, 3> lists{&state.rocks, &state.papers, &state.scissors};
    for (std::size_t kind = 0; kind < lists.size(); ++kind) {
        for (const G::Item& item : *lists.at(kind)) {
            const sf::Vector2f p = item.getPosition();
            if (item.kind != static_cast<G::ItemKind>(kind)) {
                problem << "a piece of kind " << item.kind << " in list " << kind;
            } else if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(item.velocity.x) ||
                       !std::isfinite(item.velocity.y)) {
                problem << "a non-finite piece of kind " << kind << " at (" << p.x << ", " << p.y << ")";
            }
            if (!problem.str().empty()) {
                return problem.str();
            }
        }
    }
    return {};
}

} // namespace test
