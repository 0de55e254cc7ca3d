#pragma once

#include "engine/Tool.hpp"
#include "tools/tournament/GameRules.hpp"

#include <cstdint>
#include <memory>

namespace G {

// One game of a tournament in a real window, so that a person can see the game behind any row of the CSV:
// the seeded game as the tournament plays it, drawn by the arena's own drawing, paced at one game frame per
// frame time of wall-clock time. The window is titled "QUORVEL" and the seed; E and the close button end
// it. The finished game stays on screen, banner and all, until then. Between frames the window sleeps: it
// draws when a frame is due, when it is told something (it may have been uncovered), and a few times a second
// in any case, for a window that was covered meanwhile.
class Watch {
public:
    // How often a picture that has not changed is drawn again.
    static constexpr float redrawSeconds = 0.1F;
    // The longest the window goes without looking at its events, so that E and the close button act at once.
    static constexpr float pollSeconds = 0.01F;

    // Opens the window; throws a Failure (status 1) when none can be opened. The assets are read from
    // ./assets, as the program reads them.
    Watch(std::uint32_t seed, const GameRules& rules);

    // Plays the game until the window is closed.
    void run();

private:
    std::uint32_t seed;
    GameRules rules;
    std::shared_ptr<Tool> tool = std::make_shared<Tool>();
};

} // namespace G
