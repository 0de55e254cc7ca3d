#include "tools/tournament/Tournament.hpp"

#include "arena/GameState.hpp"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <set>
#include <utility>

namespace G {

namespace {

// A whole number in [low, high], written in full, or nothing.
std::optional<std::int64_t> wholeNumber(const std::string& text, const std::int64_t low, const std::int64_t high) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 18) {
        return std::nullopt;
    }
    const std::int64_t value = std::stoll(text);
    if (value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

std::optional<float> frameTimeFrom(const std::string& text) {
    if (text.empty()) {
        return std::nullopt;
    }
    char* end = nullptr;
    errno = 0;
    const float value = std::strtof(text.c_str(), &end);
    if (errno != 0 || end != text.c_str() + text.size() || !std::isfinite(value) || value <= 0.0F || value > 10.0F) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::string Tournament::usage() {
    return "Usage: quorvel-tournament [OPTION]...\n"
           "  or:  quorvel-tournament --merge FILE.csv... [--csv PATH] [--svg PATH]\n"
           "  or:  quorvel-tournament --watch SEED [--start 150|300] [--frame-time S]\n"
           "Plays reproducible games of QUORVEL's rules and reports who wins and how long games last.\n"
           "\n"
           "  --games N            play seeds 1 to N (default 100)\n"
           "  --seeds FIRST-LAST   play that range of seeds instead\n"
           "  --start 150|300      50 of each kind, as the program starts, or 100 of each, as after R\n"
           "                       (default 150)\n"
           "  --frame-time S       seconds per frame, more than 0 and at most 10 (default 1/60)\n"
           "  --max-frames N       frames after which a game counts as undecided (default 20000)\n"
           "  --jobs N             worker processes, from 1 to 256 (default: one per core)\n"
           "  --csv PATH           write one row per game: seed, winner, frames and the settings played\n"
           "  --svg PATH           write the chart\n"
           "  --chart-seed S       the game whose counts the chart follows (default the first seed)\n"
           "  --merge FILE...      combine the CSV files of separate runs, on one machine or many, into\n"
           "                       the summary, CSV and chart of one run over all their seeds\n"
           "  --watch SEED         play that game in a window, as the tournament plays it, one frame per\n"
           "                       frame time; E or the close button quits\n"
           "  --help               show this help and exit\n"
           "  --version            show the version and exit\n"
           "\n"
           "Game k with seed s is the same on every run, with any number of jobs: same winner, same number\n"
           "of frames. Without --csv or --svg nothing is written: the summary goes to standard output.\n"
           "Without a display, the tool starts itself in a virtual X server (xvfb-run).\n"
           "Exit status: 0 on success, 1 when a game run fails, 2 for a bad option or a CSV file that\n"
           "cannot be merged, 130 when interrupted.\n";
}

std::string Tournament::version() {
    return std::string("quorvel-tournament ") + QUORVEL_VERSION + "\n";
}

Tournament::Parsed Tournament::parse(const std::vector<std::string>& arguments) {
    Parsed parsed;
    Settings settings;
    std::set<std::string> given;
    constexpr std::int64_t maxSeed = std::numeric_limits<std::uint32_t>::max();
    const auto fail = [&parsed](std::string message) {
        parsed.error = std::move(message);
        return parsed;
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::string value;
        const std::size_t equals = name.find('=');
        const bool inlineValue = name.rfind("--", 0) == 0 && equals != std::string::npos;
        if (inlineValue) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
        }
        if (name == "--help" || name == "-h") {
            parsed.help = true;
            return parsed;
        }
        if (name == "--version") {
            parsed.version = true;
            return parsed;
        }
        const bool known = name == "--games" || name == "--seeds" || name == "--start" || name == "--frame-time" ||
                           name == "--max-frames" || name == "--csv" || name == "--svg" || name == "--chart-seed" ||
                           name == "--jobs" || name == "--merge" || name == "--watch";
        if (!known) {
            return fail("unknown option '" + arguments[i] + "'");
        }
        given.insert(name);
        if (name == "--merge") {
            // Every argument up to the next option is a file.
            if (inlineValue) {
                settings.merge.push_back(value);
            }
            while (i + 1 < arguments.size() && arguments[i + 1].rfind("--", 0) != 0) {
                settings.merge.push_back(arguments[++i]);
            }
            if (settings.merge.empty()) {
                return fail("--merge needs at least one CSV file");
            }
            continue;
        }
        if (!inlineValue) {
            if (i + 1 >= arguments.size()) {
                return fail("option '" + name + "' needs a value");
            }
            value = arguments[++i];
        }
        if (name == "--games") {
            const auto games = wholeNumber(value, 1, 10000000);
            if (!games) {
                return fail("--games needs a whole number from 1 to 10000000, not '" + value + "'");
            }
            settings.firstSeed = 1;
            settings.lastSeed = static_cast<std::uint32_t>(*games);
        } else if (name == "--seeds") {
            const std::size_t dash = value.find('-');
            const auto first =
                dash == std::string::npos ? std::nullopt : wholeNumber(value.substr(0, dash), 0, maxSeed);
            const auto last =
                dash == std::string::npos ? std::nullopt : wholeNumber(value.substr(dash + 1), 0, maxSeed);
            if (!first || !last || *last < *first) {
                return fail("--seeds needs FIRST-LAST, two seeds from 0 to 4294967295 in order, not '" + value + "'");
            }
            settings.firstSeed = static_cast<std::uint32_t>(*first);
            settings.lastSeed = static_cast<std::uint32_t>(*last);
        } else if (name == "--start") {
            if (value != "150" && value != "300") {
                return fail("--start is 150 or 300, not '" + value + "'");
            }
            settings.startEach = value == "150" ? 50 : 100;
        } else if (name == "--frame-time") {
            const auto frameTime = frameTimeFrom(value);
            if (!frameTime) {
                return fail("--frame-time needs a number of seconds above 0 and at most 10, not '" + value + "'");
            }
            settings.frameTime = *frameTime;
        } else if (name == "--max-frames") {
            const auto frames = wholeNumber(value, 1, 100000000);
            if (!frames) {
                return fail("--max-frames needs a whole number from 1 to 100000000, not '" + value + "'");
            }
            settings.maxFrames = *frames;
        } else if (name == "--jobs") {
            const auto jobs = wholeNumber(value, 1, 256);
            if (!jobs) {
                return fail("--jobs needs a whole number from 1 to 256, not '" + value + "'");
            }
            settings.jobs = static_cast<unsigned>(*jobs);
        } else if (name == "--csv" || name == "--svg") {
            if (value.empty()) {
                return fail(name + " needs a file name");
            }
            (name == "--csv" ? settings.csvPath : settings.svgPath) = value;
        } else {
            const auto seed = wholeNumber(value, 0, maxSeed);
            if (!seed) {
                std::string message = name;
                message.append(" needs a seed from 0 to 4294967295, not '").append(value).append("'");
                return fail(message);
            }
            if (name == "--watch") {
                settings.watch = static_cast<std::uint32_t>(*seed);
            } else {
                settings.chartSeed = static_cast<std::uint32_t>(*seed);
                settings.chartSeedGiven = true;
            }
        }
    }
    // A merge takes its games and their settings from the files; a watch plays one game and writes nothing.
    const auto excluded = [&given](const std::string& mode, const std::set<std::string>& allowed) -> std::string {
        for (const std::string& option : given) {
            if (option != mode && allowed.count(option) == 0) {
                std::string message = option;
                return message.append(" cannot be combined with ").append(mode);
            }
        }
        return "";
    };
    if (given.count("--merge") != 0) {
        const std::string conflict = excluded("--merge", {"--csv", "--svg", "--chart-seed"});
        if (!conflict.empty()) {
            return fail(conflict);
        }
    } else if (given.count("--watch") != 0) {
        const std::string conflict = excluded("--watch", {"--start", "--frame-time", "--max-frames"});
        if (!conflict.empty()) {
            return fail(conflict);
        }
    }
    if (!settings.chartSeedGiven) {
        settings.chartSeed = settings.firstSeed;
    }
    parsed.settings = settings;
    return parsed;
}

Tournament::Tournament(std::shared_ptr<Tool> tool) : tool(std::move(tool)) {
    this->tool->assets.setFrames("quorvel", GameState::spriteFrames());
}

Tournament::Game Tournament::play(const std::uint32_t seed, const Settings& settings,
                                  std::vector<Counts>* timeline) const {
    GameState state(tool);
    std::srand(seed);
    state.spawn(settings.startEach, settings.startEach, settings.startEach);
    tool->frameTime = settings.frameTime;
    const auto record = [&state, timeline] {
        if (timeline != nullptr) {
            timeline->push_back({static_cast<std::uint32_t>(state.rocks.size()),
                                 static_cast<std::uint32_t>(state.papers.size()),
                                 static_cast<std::uint32_t>(state.scissors.size())});
        }
    };
    record();
    std::int64_t frames = 0;
    while (frames < settings.maxFrames && state.winnerName().empty()) {
        state.update();
        ++frames;
        record();
    }
    return {seed, state.winnerName(), frames};
}

} // namespace G
