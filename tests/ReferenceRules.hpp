#pragma once

#include "arena/GameState.hpp"
#include "arena/Item.hpp"

#include <vector>

namespace test {

// The arena's rules for one frame written the plain way, straight from their statement, with no attention
// to speed: every distance is computed where it is compared, and every overlap test builds both pieces'
// global bounds afresh. The shipped GameState must give bit-identical results.
class ReferenceRules {
public:
    static void update(G::GameState& state);
    static void hunt(G::GameState& state, std::vector<G::Item>& hunters, std::vector<G::Item>& prey);
};

} // namespace test
