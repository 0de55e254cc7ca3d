#include "tools/tournament/GameCsv.hpp"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>

namespace G {

namespace {

const char* const header = "seed,winner,frames,start,frame_time,max_frames";

// The frame time with enough digits to read back as the very same float.
std::string exactly(const float frameTime) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%.9g", static_cast<double>(frameTime));
    return text.data();
}

bool wholeNumber(const std::string& text, const std::uint64_t high, std::uint64_t& value) {
    if (text.empty() || text.size() > 18 || text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    value = std::stoull(text);
    return value <= high;
}

std::vector<std::string> fieldsOf(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream stream(line);
    std::string field;
    while (std::getline(stream, field, ',')) {
        fields.push_back(field);
    }
    if (!line.empty() && line.back() == ',') {
        fields.emplace_back();
    }
    return fields;
}

struct Row {
    Tournament::Game game;
    std::int32_t startEach;
    float frameTime;
    std::int64_t maxFrames;
};

// One data row, or the reason it is not one.
std::string parseRow(const std::string& line, Row& row) {
    const std::vector<std::string> fields = fieldsOf(line);
    if (fields.size() != 6) {
        return "a row has 6 fields, this one " + std::to_string(fields.size());
    }
    std::uint64_t seed = 0;
    std::uint64_t frames = 0;
    std::uint64_t maxFrames = 0;
    if (!wholeNumber(fields[0], 4294967295U, seed)) {
        return "the seed '" + fields[0] + "' is not a seed from 0 to 4294967295";
    }
    const std::string& winner = fields[1];
    if (winner != "ROCK" && winner != "PAPER" && winner != "SCISSORS" && winner != "undecided") {
        return "the winner '" + winner + "' is not ROCK, PAPER, SCISSORS or undecided";
    }
    if (fields[3] != "150" && fields[3] != "300") {
        return "the start '" + fields[3] + "' is not 150 or 300";
    }
    char* end = nullptr;
    errno = 0;
    const float frameTime = std::strtof(fields[4].c_str(), &end);
    if (fields[4].empty() || errno != 0 || end != fields[4].c_str() + fields[4].size() || !std::isfinite(frameTime) ||
        frameTime <= 0.0F || frameTime > 10.0F) {
        return "the frame time '" + fields[4] + "' is not a number of seconds above 0 and at most 10";
    }
    if (!wholeNumber(fields[5], 100000000, maxFrames) || maxFrames == 0) {
        return "the frame cap '" + fields[5] + "' is not a whole number from 1 to 100000000";
    }
    // A game ends when one kind is left or at the cap; an undecided one always ran to the cap.
    if (!wholeNumber(fields[2], maxFrames, frames) || (winner == "undecided" && frames != maxFrames)) {
        return "the frame count '" + fields[2] + "' cannot end such a game";
    }
    row.game = {static_cast<std::uint32_t>(seed), winner == "undecided" ? "" : winner,
                static_cast<std::int64_t>(frames)};
    row.startEach = fields[3] == "150" ? 50 : 100;
    row.frameTime = frameTime;
    row.maxFrames = static_cast<std::int64_t>(maxFrames);
    return "";
}

} // namespace

std::string GameCsv::write(const std::vector<Tournament::Game>& games, const Tournament::Settings& settings) {
    const std::string played = "," + std::to_string(3 * settings.startEach) + "," + exactly(settings.frameTime) + "," +
                               std::to_string(settings.maxFrames) + "\n";
    std::string csv = std::string(header) + "\n";
    for (const Tournament::Game& game : games) {
        csv += std::to_string(game.seed) + "," + (game.winner.empty() ? "undecided" : game.winner) + "," +
               std::to_string(game.frames) + played;
    }
    return csv;
}

GameCsv::Merged GameCsv::merge(const std::vector<std::string>& paths) {
    std::vector<std::pair<std::string, std::string>> texts;
    for (const std::string& path : paths) {
        std::ifstream file(path, std::ios::binary);
        if (!file) {
            Merged failed;
            failed.error = path + ": cannot be read";
            return failed;
        }
        texts.emplace_back(path, std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()));
    }
    return merge(texts);
}

GameCsv::Merged GameCsv::merge(const std::vector<std::pair<std::string, std::string>>& namedTexts) {
    Merged merged;
    const auto fail = [&merged](std::string message) {
        merged.games.clear();
        merged.error = std::move(message);
        return merged;
    };
    bool first = true;
    std::string firstName;
    for (const auto& [name, text] : namedTexts) {
        std::istringstream lines(text);
        std::string line;
        if (!std::getline(lines, line) || line != header) {
            return fail(name + ": line 1 is not the header '" + header + "'");
        }
        std::size_t number = 1;
        while (std::getline(lines, line)) {
            ++number;
            const std::string where = name + ": line " + std::to_string(number) + ": ";
            Row row{};
            const std::string problem = parseRow(line, row);
            if (!problem.empty()) {
                return fail(where + problem);
            }
            if (first) {
                merged.settings.startEach = row.startEach;
                merged.settings.frameTime = row.frameTime;
                merged.settings.maxFrames = row.maxFrames;
                firstName = name;
                first = false;
            } else if (row.startEach != merged.settings.startEach || row.frameTime != merged.settings.frameTime ||
                       row.maxFrames != merged.settings.maxFrames) {
                std::string message = where;
                message.append("played with other settings (start, frame time or frame cap) than ").append(firstName);
                return fail(message);
            }
            merged.games.push_back(row.game);
        }
        if (number == 1) {
            return fail(name + ": holds no game");
        }
    }
    std::stable_sort(merged.games.begin(), merged.games.end(),
                     [](const Tournament::Game& a, const Tournament::Game& b) { return a.seed < b.seed; });
    const auto twice =
        std::adjacent_find(merged.games.begin(), merged.games.end(),
                           [](const Tournament::Game& a, const Tournament::Game& b) { return a.seed == b.seed; });
    if (twice != merged.games.end()) {
        return fail("seed " + std::to_string(twice->seed) + " was played more than once: the files overlap");
    }
    if (merged.games.empty()) {
        return fail("no game to merge");
    }
    merged.settings.firstSeed = merged.games.front().seed;
    merged.settings.lastSeed = merged.games.back().seed;
    return merged;
}

} // namespace G
