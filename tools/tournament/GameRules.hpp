#pragma once

#include "tools/tournament/LibraryRand.hpp"
#include "tools/tournament/Start.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace G {

// The rules a tournament's games are played by: which seeds, from which start, at which frame time, up to
// which frame cap, and with which C library's rand(). The command line and the CSV reader both read them
// through the functions below, so the limits are checked in one place.
struct GameRules {
    static constexpr std::int64_t mostGames = 10000000;
    static constexpr std::int64_t mostFrames = 100000000;
    static constexpr float longestFrameTime = 10.0F;
    // srand(0) starts the C library's generator as srand(1) does: seed 0 would play seed 1's game again.
    static constexpr std::int64_t firstPossibleSeed = 1;
    static constexpr std::int64_t lastPossibleSeed = 4294967295;

    std::uint32_t firstSeed = 1;
    std::uint32_t lastSeed = 100;
    // 50 of each kind unless given: as the program starts.
    Start start;
    float frameTime = 1.0F / 60.0F;
    std::int64_t maxFrames = 20000;
    // The generator that deals the pieces (libraryRand): glibc's unless the tool finds another.
    std::int64_t generator = libraryRand::glibc;

    // The same frame time and frame cap, whatever the start and the seeds: games that belong in one tournament
    // if their starts are the same too, or else in one sweep.
    bool timedLike(const GameRules& other) const;

    // A whole number from low to high, written in decimal digits only, at most 18 of them; else nothing.
    static std::optional<std::int64_t> wholeNumber(const std::string& text, std::int64_t low, std::int64_t high);
    // A seed from firstPossibleSeed to lastPossibleSeed.
    static std::optional<std::uint32_t> seedFrom(const std::string& text);
    // "from 1 to 4294967295", as messages give the seeds.
    static std::string seedRange();
    // For a text that reads as seed 0, why it is none, to end a message with; else "".
    static std::string whyNotSeedZero(const std::string& text);
    // The words of a list, as the commas part them: "30,50,50" is three, "" one empty word.
    static std::vector<std::string> listOf(const std::string& text);
    // Seconds above 0 and at most longestFrameTime, written as a whole number or a decimal.
    static std::optional<float> frameTimeFrom(const std::string& text);
    // A frame cap from 1 to mostFrames.
    static std::optional<std::int64_t> maxFramesFrom(const std::string& text);
};

} // namespace G
