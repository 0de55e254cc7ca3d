#include "tools/tournament/CommandLine.hpp"

#include "tools/replay/VideoFormat.hpp"
#include "tools/tournament/Failure.hpp"

#include <algorithm>
#include <array>
#include <optional>
#include <set>
#include <utility>

namespace G::commandLine {

namespace {

enum Option : int {
    Games,
    Seeds,
    Start,
    FrameTime,
    MaxFrames,
    Jobs,
    Csv,
    Svg,
    ChartSeed,
    Merge,
    Watch,
    Record,
    Help,
    Version
};

struct Known {
    const char* name;
    Option code;
    bool takesValue;
};

const std::array<Known, 14> longOptions{{{"games", Games, true},
                                         {"seeds", Seeds, true},
                                         {"start", Start, true},
                                         {"frame-time", FrameTime, true},
                                         {"max-frames", MaxFrames, true},
                                         {"jobs", Jobs, true},
                                         {"csv", Csv, true},
                                         {"svg", Svg, true},
                                         {"chart-seed", ChartSeed, true},
                                         {"merge", Merge, false},
                                         {"watch", Watch, true},
                                         {"record", Record, true},
                                         {"help", Help, false},
                                         {"version", Version, false}}};

std::string spelling(const Option code) {
    for (const Known& known : longOptions) {
        if (known.code == code) {
            return std::string("--") + known.name;
        }
    }
    return "";
}

// The option of that name, or of the one name that begins with it; nothing for none, or for a beginning that
// more than one name shares.
const Known* named(const std::string& name) {
    const Known* found = nullptr;
    for (const Known& known : longOptions) {
        const std::string full = known.name;
        if (full == name) {
            return &known;
        }
        if (!name.empty() && full.compare(0, name.size(), name) == 0) {
            if (found != nullptr) {
                return nullptr;
            }
            found = &known;
        }
    }
    return found;
}

// What a merge or a watch may be combined with; an empty text when every given option is allowed.
std::string conflictWith(const Option mode, const std::set<Option>& given, const std::set<Option>& allowed) {
    for (const Option code : given) {
        if (code != mode && allowed.count(code) == 0) {
            return spelling(code) + " cannot be combined with " + spelling(mode);
        }
    }
    return "";
}

std::string seeds(const std::string& what, const std::string& value) {
    return what + " needs a seed from 0 to " + std::to_string(GameRules::lastPossibleSeed) + ", not '" + value + "'";
}

// Stores a value that parsed into its field; otherwise the refusal, and the field stays as it was.
template <typename T> std::string store(T& field, const std::optional<T>& parsed, std::string refusal) {
    if (!parsed) {
        return refusal;
    }
    field = *parsed;
    return "";
}

// Reads one option's value into the options; the message to show for a bad one.
std::string read(const Option code, const std::string& value, Options& options) {
    GameRules& rules = options.rules;
    switch (code) {
    case Games: {
        const auto games = GameRules::wholeNumber(value, 1, GameRules::mostGames);
        if (!games) {
            return "--games needs a whole number from 1 to " + std::to_string(GameRules::mostGames) + ", not '" +
                   value + "'";
        }
        rules.firstSeed = 1;
        rules.lastSeed = static_cast<std::uint32_t>(*games);
        return "";
    }
    case Seeds: {
        const std::size_t dash = value.find('-');
        const auto first = dash == std::string::npos ? std::nullopt : GameRules::seedFrom(value.substr(0, dash));
        const auto last = dash == std::string::npos ? std::nullopt : GameRules::seedFrom(value.substr(dash + 1));
        if (!first || !last || *last < *first) {
            return "--seeds needs FIRST-LAST, two seeds from 0 to " + std::to_string(GameRules::lastPossibleSeed) +
                   " in order, not '" + value + "'";
        }
        rules.firstSeed = *first;
        rules.lastSeed = *last;
        return "";
    }
    case Start:
        return store(rules.startEach, GameRules::startEachFrom(value), "--start is 150 or 300, not '" + value + "'");
    case FrameTime:
        return store(rules.frameTime, GameRules::frameTimeFrom(value),
                     "--frame-time needs a number of seconds above 0 and at most 10, not '" + value + "'");
    case MaxFrames:
        return store(rules.maxFrames, GameRules::maxFramesFrom(value),
                     "--max-frames needs a whole number from 1 to " + std::to_string(GameRules::mostFrames) +
                         ", not '" + value + "'");
    case Jobs: {
        const auto jobs = GameRules::wholeNumber(value, 1, 256);
        if (!jobs) {
            return "--jobs needs a whole number from 1 to 256, not '" + value + "'";
        }
        options.jobs = static_cast<unsigned>(*jobs);
        return "";
    }
    case Record:
        if (videoFormatOf(value) == nullptr) {
            return "--record needs a file name ending in .mp4, .webm or .gif, not '" + value + "'";
        }
        options.record = value;
        return "";
    case Csv:
    case Svg:
        if (value.empty()) {
            return spelling(code) + " needs a file name";
        }
        (code == Csv ? options.csvPath : options.svgPath) = value;
        return "";
    default: {
        const auto seed = GameRules::seedFrom(value);
        if (!seed) {
            return seeds(spelling(code), value);
        }
        (code == Watch ? options.watch : options.chartSeed) = *seed;
        return "";
    }
    }
}

} // namespace

std::string usage() {
    return "Usage: quorvel-tournament [OPTION]...\n"
           "  or:  quorvel-tournament --merge FILE.csv... [--csv PATH] [--svg PATH]\n"
           "  or:  quorvel-tournament --watch SEED [--start 150|300] [--frame-time S] [--record FILE]\n"
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
           "  --record FILE        with --watch: write that game, frame for frame, into a video instead of\n"
           "                       showing it, without a window: FILE.mp4 (H.264), FILE.webm (VP9) or\n"
           "                       FILE.gif; after the win the banner stays 2 s, then the video ends\n"
           "  --help               show this help and exit\n"
           "  --version            show the version and exit\n"
           "\n"
           "Game k with seed s is the same on every run, with any number of jobs: same winner, same number\n"
           "of frames. Without --csv or --svg nothing is written: the summary goes to standard output.\n"
           "Without a display, the tool starts itself in a virtual X server (xvfb-run).\n"
           "Exit status: 0 on success, 1 when a game run fails, 2 for a bad option, a CSV file that cannot\n"
           "be merged, or a watch or a recording that cannot start, 130 when interrupted.\n";
}

std::string version() {
    return std::string("quorvel-tournament ") + QUORVEL_VERSION + "\n";
}

Request parse(const std::vector<std::string>& arguments) {
    const auto refuse = [](const std::string& message) {
        return Failure(2, message + "\nTry 'quorvel-tournament --help'.");
    };
    Request request;
    Options& options = request.options;
    std::set<Option> given;
    // The words that are no option are the files to merge; there are none without --merge.
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (word == "--") {
            rest.insert(rest.end(), arguments.begin() + static_cast<std::ptrdiff_t>(i) + 1, arguments.end());
            break;
        }
        if (word.size() < 2 || word[0] != '-') {
            rest.push_back(word);
            continue;
        }
        // -h is the one short option, and may lead a cluster of letters, as in -hv.
        if (word[1] != '-') {
            if (word[1] != 'h') {
                throw refuse("unknown option '" + word + "'");
            }
            request.help = true;
            return request;
        }
        const std::size_t equals = word.find('=');
        const Known* const option = named(word.substr(2, equals == std::string::npos ? std::string::npos : equals - 2));
        if (option == nullptr || (!option->takesValue && equals != std::string::npos)) {
            throw refuse("unknown option '" + word + "'");
        }
        if (option->code == Help || option->code == Version) {
            (option->code == Help ? request.help : request.version) = true;
            return request;
        }
        std::string value;
        if (equals != std::string::npos) {
            value = word.substr(equals + 1);
        } else if (option->takesValue) {
            if (i + 1 == arguments.size()) {
                throw refuse("option '" + word + "' needs a value");
            }
            value = arguments[++i];
        }
        given.insert(option->code);
        if (option->code != Merge) {
            const std::string problem = read(option->code, value, options);
            if (!problem.empty()) {
                throw refuse(problem);
            }
        }
    }
    std::string conflict;
    if (given.count(Merge) != 0) {
        if (rest.empty()) {
            throw refuse("--merge needs at least one CSV file");
        }
        options.merge = rest;
        conflict = conflictWith(Merge, given, {Csv, Svg, ChartSeed});
    } else if (!rest.empty()) {
        conflict = "unexpected argument '" + rest.front() + "'";
    } else if (given.count(Watch) != 0) {
        conflict = conflictWith(Watch, given, {Start, FrameTime, MaxFrames, Record});
    } else if (given.count(Record) != 0) {
        conflict = "--record needs --watch SEED: it writes that game into a video";
    }
    if (!conflict.empty()) {
        throw refuse(conflict);
    }
    return request;
}

} // namespace G::commandLine
