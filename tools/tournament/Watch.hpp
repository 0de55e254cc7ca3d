#pragma once

#include "tools/tournament/Tournament.hpp"

#include <cstdint>

namespace G {

// One game of a tournament in a real window, so that a person can see the game behind any row of the CSV:
// the same seed, spawn and fixed frame time as the tournament plays it, drawn by the arena's own drawing,
// paced at one game frame per frame time of wall-clock time. The window is titled "QUORVEL" and the seed;
// E and the close button end it. The finished game stays on screen, banner and all, until then.
class Watch {
public:
    // Plays the game until the window is closed; false when no window could be opened. The assets are read
    // from ./assets, as the program reads them.
    static bool run(std::uint32_t seed, const GameRules& rules);
};

} // namespace G
