#pragma once

#include "engine/Sfml.hpp"
#include "engine/Tool.hpp"
#include "tools/replay/StatusLine.hpp"
#include "tools/tournament/GameRules.hpp"
#include "tools/tournament/SeededGame.hpp"

#include <SFML/System/Clock.hpp>
#include <SFML/System/Time.hpp>

#include <cstdint>
#include <memory>
#include <string>

namespace G {

// One game of a tournament in a real window, so that a person can see the game behind any row of the CSV:
// the seeded game as the tournament plays it, every frame in order, drawn by the arena's own drawing, at one
// game frame per frame time of wall-clock time to begin with. The window is titled "QUORVEL" and the seed,
// and a status line under the overlay says where in the game it is and how it plays. The keys, in the
// window only: Space pauses and resumes; while paused, the right arrow or "." plays one frame; "+" and "-"
// double and halve the speed, from 1/8 to 64 game frames per frame time, and "0" goes back to 1; Backspace
// or Home starts the same game again from its spawn; E and the close button end it. Keys held down repeat as
// the system repeats them; every other key is ignored. At speeds above 1 the window shows at most one
// picture per frame time, and where the machine cannot keep up the game plays as fast as it can. The
// finished game stays on screen, banner and all. Between frames the window sleeps: it draws when a picture is
// due, when it is told something (it may have been uncovered), and a few times a second in any case, for a
// window that was covered meanwhile.
class Watch {
public:
    // How often a picture that has not changed is drawn again.
    static constexpr float redrawSeconds = 0.1F;
    // The longest the window goes without looking at its events and the stop signals, so that E, the close
    // button and Ctrl-C act at once.
    static constexpr float pollSeconds = 0.01F;
    // The speeds, as powers of two of game frames per frame time of wall-clock time.
    static constexpr int slowest = -3;
    static constexpr int fastest = 6;

    // Opens the window; throws a Failure (status 1) when none can be opened. The assets are read from
    // ./assets, as the program reads them.
    Watch(std::uint32_t seed, const GameRules& rules);

    // Plays the game until the window is closed. Throws a Failure (status 130) when a stop signal comes while
    // a StopSignals lives.
    void run();

private:
    enum class Command : std::uint8_t { None, Quit, PauseOrResume, Step, Faster, Slower, NormalSpeed, Restart };

    // What a key press, a typed character or the close button asks for. "+", "-", "." and "0" are read as
    // typed, so that they work on any keyboard layout and from the numeric keypad.
    static Command commandOf(const sfml::Event& event);
    void obey(Command command, sf::Time now);
    // Plays the frames that are due, for at most pollSeconds; whether any was played.
    bool playDue(const sf::Clock& clock);
    void show();
    // The wall-clock time between two game frames at the present speed.
    sf::Time interval() const;
    std::string status() const;

    std::uint32_t seed;
    GameRules rules;
    std::shared_ptr<Tool> tool;
    // The game on screen, from the constructor on. A restart ends it before it makes the next, so that two
    // arenas never hold their assets at once.
    std::unique_ptr<SeededGame> game;
    StatusLine statusLine;
    bool paused = false;
    int speed = 0;
    // When the next game frame is due, on the run's clock.
    sf::Time due;
};

} // namespace G
