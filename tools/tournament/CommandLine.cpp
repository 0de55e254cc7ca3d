#include "tools/tournament/CommandLine.hpp"

#include "tools/tournament/VideoFile.hpp"

#include <array>
#include <getopt.h>
#include <optional>
#include <set>
#include <utility>

namespace G {

namespace {

enum Option : int {
    Games = 1000,
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

const std::array<option, 15> longOptions{{{"games", required_argument, nullptr, Games},
                                          {"seeds", required_argument, nullptr, Seeds},
                                          {"start", required_argument, nullptr, Start},
                                          {"frame-time", required_argument, nullptr, FrameTime},
                                          {"max-frames", required_argument, nullptr, MaxFrames},
                                          {"jobs", required_argument, nullptr, Jobs},
                                          {"csv", required_argument, nullptr, Csv},
                                          {"svg", required_argument, nullptr, Svg},
                                          {"chart-seed", required_argument, nullptr, ChartSeed},
                                          {"merge", no_argument, nullptr, Merge},
                                          {"watch", required_argument, nullptr, Watch},
                                          {"record", required_argument, nullptr, Record},
                                          {"help", no_argument, nullptr, Help},
                                          {"version", no_argument, nullptr, Version},
                                          {nullptr, 0, nullptr, 0}}};

std::string nameOf(const int code) {
    for (const option& known : longOptions) {
        if (known.val == code) {
            return std::string("--") + known.name;
        }
    }
    return "";
}

// What a merge or a watch may be combined with; an empty text when every given option is allowed.
std::string conflictWith(const int mode, const std::set<int>& given, const std::set<int>& allowed) {
    for (const int code : given) {
        if (code != mode && allowed.count(code) == 0) {
            return nameOf(code) + " cannot be combined with " + nameOf(mode);
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
std::string read(const int code, const std::string& value, CommandLine::Options& options) {
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
        if (!VideoFile::knowsExtensionOf(value)) {
            return "--record needs a file name ending in .mp4, .webm or .gif, not '" + value + "'";
        }
        options.record = value;
        return "";
    case Csv:
    case Svg:
        if (value.empty()) {
            return nameOf(code) + " needs a file name";
        }
        (code == Csv ? options.csvPath : options.svgPath) = value;
        return "";
    default: {
        const auto seed = GameRules::seedFrom(value);
        if (!seed) {
            return seeds(nameOf(code), value);
        }
        (code == Watch ? options.watch : options.chartSeed) = *seed;
        return "";
    }
    }
}

} // namespace

std::string CommandLine::usage() {
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
           "Exit status: 0 on success, 1 when a game run fails, 2 for a bad option or a CSV file that\n"
           "cannot be merged, 130 when interrupted.\n";
}

std::string CommandLine::version() {
    return std::string("quorvel-tournament ") + QUORVEL_VERSION + "\n";
}

CommandLine::Parsed CommandLine::parse(const std::vector<std::string>& arguments) {
    // getopt_long reorders the words it is handed, so it gets copies of its own.
    std::vector<std::string> words{"quorvel-tournament"};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    const int argc = static_cast<int>(words.size());

    Parsed parsed;
    Options options;
    std::set<int> given;
    const auto fail = [&parsed](std::string message) {
        parsed.error = std::move(message);
        return parsed;
    };
    // From the first word again, with getopt's own messages off: the tool words its own.
    optind = 0;
    opterr = 0;
    int code = 0;
    while ((code = getopt_long(argc, argv.data(), ":h", longOptions.data(), nullptr)) != -1) {
        const std::string word = argv[static_cast<std::size_t>(optind) - 1];
        if (code == 'h' || code == Help) {
            parsed.help = true;
            return parsed;
        }
        if (code == Version) {
            parsed.version = true;
            return parsed;
        }
        if (code == ':') {
            return fail("option '" + word + "' needs a value");
        }
        if (code == '?') {
            return fail("unknown option '" + word + "'");
        }
        given.insert(code);
        if (code != Merge) {
            const std::string problem = read(code, optarg, options);
            if (!problem.empty()) {
                return fail(problem);
            }
        }
    }
    // The words that are no option, which getopt_long has moved behind the options, are the files to merge;
    // there are none without --merge.
    const std::vector<std::string> rest(argv.begin() + optind, argv.begin() + argc);
    if (given.count(Merge) != 0) {
        if (rest.empty()) {
            return fail("--merge needs at least one CSV file");
        }
        options.merge = rest;
        const std::string conflict = conflictWith(Merge, given, {Csv, Svg, ChartSeed});
        if (!conflict.empty()) {
            return fail(conflict);
        }
    } else if (!rest.empty()) {
        return fail("unexpected argument '" + rest.front() + "'");
    } else if (given.count(Watch) != 0) {
        const std::string conflict = conflictWith(Watch, given, {Start, FrameTime, MaxFrames, Record});
        if (!conflict.empty()) {
            return fail(conflict);
        }
    } else if (given.count(Record) != 0) {
        return fail("--record needs --watch SEED: it writes that game into a video");
    }
    parsed.options = options;
    return parsed;
}

} // namespace G
