#pragma once

#include "engine/Tool.hpp"
#include "tools/replay/WindowPicture.hpp"
#include "tools/tournament/GameRules.hpp"
#include "tools/tournament/SeededGame.hpp"

#include <SFML/Graphics/Image.hpp>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace G {

// One game of a tournament written to a video file (VideoFile), frame for frame: the seeded game as the
// tournament plays it, drawn by the arena's own drawing into an offscreen picture of the window's size and
// read back from there before anything is presented, so that every video frame is what the watch's window
// shows for that game frame, on any graphics driver, with no window at all. The video starts with the
// spawn, has one frame per update, and after the win keeps the banner on screen for two seconds; an
// undecided game ends at the frame cap.
class Recorder {
public:
    static constexpr float bannerSeconds = 2.0F;

    // Called with the number of frames written so far.
    using Progress = std::function<void(std::int64_t)>;
    // Called with each picture of the game, in turn.
    using Frame = std::function<void(const sf::Image&)>;

    // How the pictures of a game ended: its winner, if it was played to the end, and its last picture.
    struct Ending {
        Winner winner;
        sf::Image last;
    };

    // Throws a Failure (status 1) when there is nothing to draw into.
    Recorder(std::uint32_t seed, const GameRules& rules);

    // Records the game into path; no file is left but a complete one. Throws a Failure: status 2 when the file
    // cannot be written in that format, 1 when writing fails on the way, 130 when a stop signal came while a
    // StopSignals lives.
    void record(const std::string& path, const Progress& progress);

    // Plays the game and hands `frame` the picture of the spawn and of every update, each drawn and read back
    // as it comes; a stop signal ends it early, undecided.
    Ending play(const Frame& frame);

private:
    // The game drawn as it stands, read back.
    sf::Image picture(SeededGame& game);
    // The colours of the game's first and last pictures, which a GIF's palette is made from. The game is
    // played to its end in an arena of its own first, so that the recorded game draws the same random
    // numbers.
    std::vector<std::uint32_t> coloursOfTheGame();

    std::uint32_t seed;
    GameRules rules;
    std::shared_ptr<Tool> tool;
    // Made after the tool, with the stop signals blocked, as the tool is.
    WindowPicture offscreen;
};

} // namespace G
