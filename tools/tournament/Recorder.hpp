#pragma once

#include "tools/tournament/GameRules.hpp"

#include <csignal>
#include <cstdint>
#include <functional>
#include <string>

namespace G {

// One game of a tournament written to a video file (VideoFile), frame for frame: the same seed, spawn and
// fixed frame time as the tournament plays it, drawn by the arena's own drawing into a window that is never
// shown, so that every video frame is what the watch's window shows for that game frame. The video starts
// with the spawn, has one frame per update, and after the win keeps the banner on screen for two seconds;
// an undecided game ends at the frame cap.
class Recorder {
public:
    static constexpr float bannerSeconds = 2.0F;

    // Called with the number of frames written so far.
    using Progress = std::function<void(std::int64_t)>;

    // Records the game into path. Returns 0 when the video is complete, else the exit status for what
    // stopped it, with the reason in error: 1 when nothing could be drawn, 2 when the file cannot be
    // written in that format, 130 when `interrupted` became non-zero. No file is left but a complete one.
    static int record(std::uint32_t seed, const GameRules& rules, const std::string& path,
                      const volatile std::sig_atomic_t& interrupted, const Progress& progress, std::string& error);
};

} // namespace G
