#include "tools/tournament/GameRules.hpp"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace G {

bool GameRules::timedLike(const GameRules& other) const {
    return frameTime == other.frameTime && maxFrames == other.maxFrames;
}

std::optional<std::int64_t> GameRules::wholeNumber(const std::string& text, const std::int64_t low,
                                                   const std::int64_t high) {
    // 18 digits always fit in 64 bits, so no value can wrap on its way in.
    if (text.empty() || text.size() > 18 || text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    const std::int64_t value = std::stoll(text);
    if (value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

std::vector<std::string> GameRules::listOf(const std::string& text) {
    std::vector<std::string> words;
    std::size_t from = 0;
    for (std::size_t comma = text.find(','); comma != std::string::npos; comma = text.find(',', from)) {
        words.push_back(text.substr(from, comma - from));
        from = comma + 1;
    }
    words.push_back(text.substr(from));
    return words;
}

std::optional<std::uint32_t> GameRules::seedFrom(const std::string& text) {
    const auto seed = wholeNumber(text, firstPossibleSeed, lastPossibleSeed);
    return seed ? std::optional<std::uint32_t>(static_cast<std::uint32_t>(*seed)) : std::nullopt;
}

std::string GameRules::seedRange() {
    return "from " + std::to_string(firstPossibleSeed) + " to " + std::to_string(lastPossibleSeed);
}

std::string GameRules::whyNotSeedZero(const std::string& text) {
    return wholeNumber(text, 0, 0) ? ": seed 0 plays the same game as seed 1" : "";
}

std::optional<float> GameRules::frameTimeFrom(const std::string& text) {
    if (text.empty()) {
        return std::nullopt;
    }
    char* end = nullptr;
    errno = 0;
    const float value = std::strtof(text.c_str(), &end);
    if (errno != 0 || end != text.c_str() + text.size() || !std::isfinite(value) || value <= 0.0F ||
        value > longestFrameTime) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::int64_t> GameRules::maxFramesFrom(const std::string& text) {
    return wholeNumber(text, 1, mostFrames);
}

} // namespace G
