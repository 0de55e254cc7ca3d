#include "tools/cli/CommandLine.hpp"

#include "tools/replay/VideoFormat.hpp"
#include "tools/tournament/Failure.hpp"
#include "tools/tournament/Start.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <utility>

namespace G::commandLine {

namespace {

enum class Option : std::uint8_t {
    Games,
    Seeds,
    Start,
    Sweep,
    Map,
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

const std::array<Known, 16> longOptions{{{"games", Option::Games, true},
                                         {"seeds", Option::Seeds, true},
                                         {"start", Option::Start, true},
                                         {"sweep", Option::Sweep, true},
                                         {"map", Option::Map, true},
                                         {"frame-time", Option::FrameTime, true},
                                         {"max-frames", Option::MaxFrames, true},
                                         {"jobs", Option::Jobs, true},
                                         {"csv", Option::Csv, true},
                                         {"svg", Option::Svg, true},
                                         {"chart-seed", Option::ChartSeed, true},
                                         {"merge", Option::Merge, false},
                                         {"watch", Option::Watch, true},
                                         {"record", Option::Record, true},
                                         {"help", Option::Help, false},
                                         {"version", Option::Version, false}}};

std::string spelling(const Option code) {
    for (const Known& known : longOptions) {
        if (known.code == code) {
            return std::string("--") + known.name;
        }
    }
    return "";
}

// The option of that name, or else of the one name that begins with it; nothing for none, or for a beginning
// that more than one name shares.
const Known* named(const std::string& name) {
    const auto* const exact = std::find_if(longOptions.begin(), longOptions.end(),
                                           [&name](const Known& known) { return name == known.name; });
    if (exact != longOptions.end()) {
        return &*exact;
    }
    const Known* found = nullptr;
    for (const Known& known : longOptions) {
        if (!name.empty() && std::string(known.name).compare(0, name.size(), name) == 0) {
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
    return what + " needs a seed " + GameRules::seedRange() + ", not '" + value + "'" +
           GameRules::whyNotSeedZero(value);
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
    case Option::Games: {
        const auto games = GameRules::wholeNumber(value, 1, GameRules::mostGames);
        if (!games) {
            return "--games needs a whole number from 1 to " + std::to_string(GameRules::mostGames) + ", not '" +
                   value + "'";
        }
        rules.firstSeed = 1;
        rules.lastSeed = static_cast<std::uint32_t>(*games);
        return "";
    }
    case Option::Seeds: {
        const std::size_t dash = value.find('-');
        const std::string firstText = value.substr(0, dash);
        const std::string lastText = dash == std::string::npos ? "" : value.substr(dash + 1);
        const auto first = dash == std::string::npos ? std::nullopt : GameRules::seedFrom(firstText);
        const auto last = dash == std::string::npos ? std::nullopt : GameRules::seedFrom(lastText);
        if (!first || !last || *last < *first) {
            return "--seeds needs FIRST-LAST, two seeds " + GameRules::seedRange() + " in order, not '" + value + "'" +
                   GameRules::whyNotSeedZero(first ? lastText : firstText);
        }
        const std::int64_t games = std::int64_t{*last} - *first + 1;
        if (games > GameRules::mostGames) {
            return "--seeds plays at most " + std::to_string(GameRules::mostGames) + " games, as --games does, not " +
                   std::to_string(games) + " ('" + value + "')";
        }
        rules.firstSeed = *first;
        rules.lastSeed = *last;
        return "";
    }
    case Option::Start:
        try {
            rules.start = G::Start::parse(value);
        } catch (const Failure& failure) {
            return std::string("--start ") + failure.what();
        }
        return "";
    case Option::Sweep:
    case Option::Map:
        // Read once every option is: a sweep takes the other counts from --start, and a map refuses it.
        options.seriesText = value;
        return "";
    case Option::FrameTime:
        return store(rules.frameTime, GameRules::frameTimeFrom(value),
                     "--frame-time needs a number of seconds above 0 and at most 10, not '" + value + "'");
    case Option::MaxFrames:
        return store(rules.maxFrames, GameRules::maxFramesFrom(value),
                     "--max-frames needs a whole number from 1 to " + std::to_string(GameRules::mostFrames) +
                         ", not '" + value + "'");
    case Option::Jobs: {
        const auto jobs = GameRules::wholeNumber(value, 1, 256);
        if (!jobs) {
            return "--jobs needs a whole number from 1 to 256, not '" + value + "'";
        }
        options.jobs = static_cast<unsigned>(*jobs);
        return "";
    }
    case Option::Record:
        if (videoFormatOf(value) == nullptr) {
            return "--record needs a file name ending in .mp4, .webm or .gif, not '" + value + "'";
        }
        options.record = value;
        return "";
    case Option::Csv:
    case Option::Svg:
        if (value.empty()) {
            return spelling(code) + " needs a file name";
        }
        (code == Option::Csv ? options.csvPath : options.svgPath) = value;
        return "";
    default: {
        const auto seed = GameRules::seedFrom(value);
        if (!seed) {
            return seeds(spelling(code), value);
        }
        (code == Option::Watch ? options.watch : options.chartSeed) = seed;
        return "";
    }
    }
}

// Reads the sweep or the map into the options; the message for one that cannot be played, with the options
// given alongside it, or nothing.
std::string readSeries(const std::set<Option>& given, Options& options) {
    const Option mode = given.count(Option::Sweep) != 0 ? Option::Sweep : Option::Map;
    std::set<Option> allowed{Option::Games, Option::Seeds, Option::FrameTime, Option::MaxFrames,
                             Option::Jobs,  Option::Csv,   Option::Svg};
    // A map takes every start of its size.
    if (mode == Option::Sweep) {
        allowed.insert(Option::Start);
    }
    std::string conflict = conflictWith(mode, given, allowed);
    if (!conflict.empty()) {
        return conflict;
    }
    try {
        options.sweep = mode == Option::Sweep ? G::Sweep::parse(options.seriesText, options.rules.start)
                                              : G::Sweep::map(options.seriesText);
    } catch (const Failure& failure) {
        return spelling(mode) + " " + failure.what();
    }
    const Sweep& sweep = *options.sweep;
    if (sweep.variesSize() && given.count(Option::Start) != 0) {
        return "--start cannot be combined with --sweep size=…: every start of that sweep is equal";
    }
    const std::uint64_t starts = sweep.starts().size();
    const std::uint64_t games = starts * (std::uint64_t{options.rules.lastSeed} - options.rules.firstSeed + 1);
    if (games > GameRules::mostGames) {
        return spelling(mode) + " plays at most " + std::to_string(GameRules::mostGames) + " games in all, not " +
               std::to_string(games) + " (" + std::to_string(starts) + " starts of " + std::to_string(games / starts) +
               " games)";
    }
    return options.svgPath.empty() ? "" : sweep.whyNoChart();
}

} // namespace

std::string usage() {
    return "Usage: quorvel-tournament [OPTION]...\n"
           "  or:  quorvel-tournament --sweep WHAT=VALUES [OPTION]...\n"
           "  or:  quorvel-tournament --map TOTAL/STEP [OPTION]...\n"
           "  or:  quorvel-tournament --merge FILE.csv... [--csv PATH] [--svg PATH]\n"
           "  or:  quorvel-tournament --watch SEED [--start START] [--frame-time S] [--record FILE]\n"
           "Plays reproducible games of QUORVEL's rules and reports who wins and how long games last.\n"
           "\n"
           "  --games N            play seeds 1 to N (default 100)\n"
           "  --seeds FIRST-LAST   play that range of seeds instead\n"
           "  --start START        the pieces a game starts with: 150 (50 of each kind, as the program\n"
           "                       starts, the default), 300 (100 of each, as after R), any equal start by\n"
           "                       its size, a multiple of 3, or one count per kind, rock, paper and\n"
           "                       scissors, as 30,50,50 (a kind may have none, not every kind); at most\n"
           "                       " +
           std::to_string(G::Start::mostPieces) +
           " pieces in all, which keeps a game within about a minute\n"
           "  --sweep WHAT=VALUES  play the seeds from a series of starts and report each start: WHAT is\n"
           "                       rock, paper or scissors (that count varies, the other two as --start\n"
           "                       has them) or size (equal starts of that many pieces); VALUES lists\n"
           "                       counts and ranges FIRST-LAST/STEP, as rock=20-80/10 or\n"
           "                       size=30,90,300; at most " +
           std::to_string(G::Sweep::mostStarts) +
           " starts; --csv writes every game with its\n"
           "                       start, --svg each kind's win share against the varied count\n"
           "  --map TOTAL/STEP     play the seeds from every start of TOTAL pieces whose three counts are\n"
           "                       multiples of STEP, a kind absent or alone too, as 150/10 (136 starts),\n"
           "                       and report each start; --csv writes every game with its start, --svg\n"
           "                       the triangle of starts, each coloured by the kind that wins most\n"
           "  --frame-time S       seconds per frame, more than 0 and at most 10 (default 1/60)\n"
           "  --max-frames N       frames after which a game counts as undecided (default 20000)\n"
           "  --jobs N             worker processes, from 1 to 256 (default: one per core)\n"
           "  --csv PATH           write one row per game: seed, winner, frames and the settings played\n"
           "  --svg PATH           write the chart; for either, a PATH of - is standard output, and\n"
           "                       the summary then goes to standard error; a link is followed to the\n"
           "                       file it names, which is replaced; a FIFO or a device (/dev/stdout,\n"
           "                       /dev/null) is written where it stands\n"
           "  --chart-seed S       the game whose counts the chart follows (default the first seed)\n"
           "  --merge FILE...      combine the CSV files of separate runs, on one machine or many, into\n"
           "                       the summary, CSV and chart of one run over all their seeds: the shards\n"
           "                       of one tournament, or of one sweep split by seeds\n"
           "  --watch SEED         play that game in a window, as the tournament plays it, one frame per\n"
           "                       frame time, with a line under the counts that gives the seed, the\n"
           "                       frame, the game's time and how it plays. Keys in the window: Space\n"
           "                       pauses and resumes; the right arrow or . plays one frame while\n"
           "                       paused; + and - double and halve the speed, from 1/8 to 64 frames per\n"
           "                       frame time, and 0 goes back to 1; Backspace or Home starts the game\n"
           "                       again; E or the close button quits\n"
           "  --record FILE        with --watch: write that game, frame for frame, into a video instead of\n"
           "                       showing it, without a window: FILE.mp4 (H.264), FILE.webm (VP9) or\n"
           "                       FILE.gif; after the win the banner stays 2 s, then the video ends\n"
           "  --help               show this help and exit\n"
           "  --version            show the version and exit\n"
           "\n"
           "Game k with seed s is the same on every run, with any number of jobs: same winner, same number\n"
           "of frames, wherever the C library's rand() is the same (glibc's; CSV rows dealt by another say\n"
           "which). Seeds run " +
           GameRules::seedRange() +
           " (seed 0 would play the same game as seed 1), and a run\n"
           "plays at most " +
           std::to_string(GameRules::mostGames) +
           " of them, whether --games or --seeds names them.\n"
           "Without --csv or --svg nothing is written: the summary goes to standard output.\n"
           "Without a display, the tool starts a virtual X server of its own (Xvfb, from the xvfb package)\n"
           "and ends it when it ends.\n"
           "Exit status: 0 on success; 1 when a run fails, or finds no display or window to draw in; 2 for a\n"
           "bad option, a CSV file that cannot be merged, or a watch or a recording that cannot start (no\n"
           "assets beside the tool, a video that cannot be written, no video recording in this build), and\n"
           "for a --csv or --svg file that cannot be written, found before the first game; 130 when\n"
           "interrupted by Ctrl-C or SIGTERM.\n";
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
        if (option->code == Option::Help || option->code == Option::Version) {
            (option->code == Option::Help ? request.help : request.version) = true;
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
        if (option->code != Option::Merge) {
            const std::string problem = read(option->code, value, options);
            if (!problem.empty()) {
                throw refuse(problem);
            }
        }
    }
    std::string conflict;
    if (given.count(Option::Merge) != 0) {
        if (rest.empty()) {
            throw refuse("--merge needs at least one CSV file");
        }
        options.merge = rest;
        conflict = conflictWith(Option::Merge, given, {Option::Csv, Option::Svg, Option::ChartSeed});
    } else if (!rest.empty()) {
        conflict = "unexpected argument '" + rest.front() + "'";
    } else if (given.count(Option::Watch) != 0) {
        conflict =
            conflictWith(Option::Watch, given, {Option::Start, Option::FrameTime, Option::MaxFrames, Option::Record});
    } else if (given.count(Option::Record) != 0) {
        conflict = "--record needs --watch SEED: it writes that game into a video";
    } else if (given.count(Option::Sweep) != 0 || given.count(Option::Map) != 0) {
        conflict = readSeries(given, options);
    }
    // The second file would take the first one's place at the end of the run.
    if (conflict.empty() && !options.csvPath.empty() &&
        std::filesystem::path(options.csvPath).lexically_normal() ==
            std::filesystem::path(options.svgPath).lexically_normal()) {
        conflict = "--csv and --svg cannot name the same file ('" + options.csvPath + "')";
    }
    // Both name the seeds to play: the one given last would silently win.
    if (conflict.empty() && given.count(Option::Games) != 0 && given.count(Option::Seeds) != 0) {
        conflict = spelling(Option::Seeds) + " cannot be combined with " + spelling(Option::Games);
    }
    if (!conflict.empty()) {
        throw refuse(conflict);
    }
    return request;
}

} // namespace G::commandLine
