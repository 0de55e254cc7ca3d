#include "tools/tournament/GameCsv.hpp"

#include "tools/tournament/Failure.hpp"
#include "tools/tournament/Summary.hpp"
#include "tools/tournament/Sweep.hpp"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <map>
#include <memory>
#include <sstream>
#include <utility>

namespace G::gameCsv {

namespace {

const char* const header = "seed,winner,frames,start,frame_time,max_frames";
// What a spreadsheet saving "UTF-8 CSV" on Windows puts before the first line.
const std::string byteOrderMark = "\xEF\xBB\xBF";
// Rows of games dealt by a rand() other than glibc's say which (libraryRand) in a column of their own, so that
// the games of one seed under two generators never merge as one; glibc's rows are as they always were.
const char* const generatorColumn = ",generator";

// The frame time with enough digits to read back as the very same float.
std::string exactly(const float frameTime) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%.9g", static_cast<double>(frameTime));
    return text.data();
}

// A field as CSV writes it: in double quotes when it holds a comma (an uneven start does) or a quote, which
// is doubled.
std::string field(const std::string& text) {
    if (text.find_first_of(",\"") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c == '"' ? "\"\"" : std::string(1, c);
    }
    return quoted + "\"";
}

// The fields of a line, read as field() writes them; an empty line has none.
std::vector<std::string> fieldsOf(const std::string& line) {
    if (line.empty()) {
        return {};
    }
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"') {
            fields.back() += c;
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

// Where the first line begins: after the byte order mark, if the text has one.
std::size_t firstLineAt(const std::string& text) {
    return text.compare(0, byteOrderMark.size(), byteOrderMark) == 0 ? byteOrderMark.size() : 0;
}

// Whether the text read so far can still be the start of a CSV file of games.
bool beginsLikeGames(const std::string& text) {
    const std::size_t at = firstLineAt(text);
    const std::size_t compared = std::min(text.size() - at, std::char_traits<char>::length(header));
    return text.compare(at, compared, header, compared) == 0;
}

// The whole file, read through the C library, whose every failure (a folder, a file without read permission,
// one that has gone, a read error) leaves the reason in errno rather than in an exception. Reading stops as
// soon as the file cannot be one of games, so that a device or a large file of anything else (--merge
// /dev/zero) is refused for its first line instead of filling the memory.
std::string contentsOf(const std::string& path) {
    const auto refuse = [&path] { return Failure(2, path + ": cannot be read: " + std::strerror(errno)); };
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file) {
        throw refuse();
    }
    std::string text;
    std::array<char, 65536> buffer{};
    std::size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), file.get())) > 0) {
        text.append(buffer.data(), got);
        if (!beginsLikeGames(text)) {
            break;
        }
    }
    if (std::ferror(file.get()) != 0) {
        throw refuse();
    }
    return text;
}

// The next line, whether it ends in a newline or, as a file written on Windows, in a carriage return and one.
bool nextLine(std::istream& lines, std::string& line) {
    if (!std::getline(lines, line)) {
        return false;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return true;
}

// "NAME: line N: ", which begins the message of a fault in that line.
std::string placeOf(const std::string& name, const std::size_t line) {
    return name + ": line " + std::to_string(line) + ": ";
}

struct Row {
    SeededGame::Result game;
    GameRules rules;
};

// One data row of a file whose rows have `columns` fields; a Failure that names the place (`where`) and the
// fault for anything else.
Row parseRow(const std::string& line, const std::size_t columns, const std::string& where) {
    const auto refuse = [&where](const std::string& problem) { return Failure(2, where + problem); };
    const std::vector<std::string> fields = fieldsOf(line);
    if (fields.size() != columns) {
        throw refuse("a row has " + std::to_string(columns) + " fields, this one " + std::to_string(fields.size()));
    }
    const auto seed = GameRules::seedFrom(fields[0]);
    if (!seed) {
        throw refuse("the seed '" + fields[0] + "' is not a seed " + GameRules::seedRange() +
                     GameRules::whyNotSeedZero(fields[0]));
    }
    const auto winner = winnerNamed(fields[1]);
    if (!winner) {
        std::string names;
        for (const Winner known : everyWinner) {
            if (!names.empty()) {
                names += known == Winner::Undecided ? " or " : ", ";
            }
            names += nameOf(known);
        }
        throw refuse("the winner '" + fields[1] + "' is not " + names);
    }
    Start start;
    try {
        start = Start::parse(fields[3]);
    } catch (const Failure& failure) {
        throw refuse(std::string("the start ") + failure.what());
    }
    const auto frameTime = GameRules::frameTimeFrom(fields[4]);
    if (!frameTime) {
        throw refuse("the frame time '" + fields[4] + "' is not a number of seconds above 0 and at most 10");
    }
    const auto maxFrames = GameRules::maxFramesFrom(fields[5]);
    if (!maxFrames) {
        throw refuse("the frame cap '" + fields[5] + "' is not a whole number from 1 to " +
                     std::to_string(GameRules::mostFrames));
    }
    // A game ends when one kind is left or at the cap; an undecided one always ran to the cap.
    const auto frames = GameRules::wholeNumber(fields[2], 0, *maxFrames);
    if (!frames || (*winner == Winner::Undecided && *frames != *maxFrames)) {
        throw refuse("the frame count '" + fields[2] + "' cannot end such a game");
    }
    Row row{};
    if (columns > 6) {
        const auto generator = GameRules::wholeNumber(fields[6], 0, std::numeric_limits<int>::max());
        if (!generator) {
            throw refuse("the generator '" + fields[6] + "' is not a value of rand(), from 0 to " +
                         std::to_string(std::numeric_limits<int>::max()));
        }
        row.rules.generator = *generator;
    }
    row.game = {*seed, *winner, *frames};
    row.rules.start = start;
    row.rules.frameTime = *frameTime;
    row.rules.maxFrames = *maxFrames;
    return row;
}

// The games of one file, in one list per start, the starts in the order that the file first gives them.
struct FileGames {
    std::vector<GameRules> rules;
    std::vector<std::vector<SeededGame::Result>> games;
    // The line of the first row.
    std::size_t firstLine = 0;
};

std::vector<Start> startsOf(const std::vector<GameRules>& rules) {
    std::vector<Start> starts;
    starts.reserve(rules.size());
    for (const GameRules& one : rules) {
        starts.push_back(one.start);
    }
    return starts;
}

// "a sweep" or "a map", as the starts of a run of several tell it.
std::string seriesOf(const std::vector<GameRules>& rules) {
    try {
        return Sweep::of(startsOf(rules)).isMap() ? "a map" : "a sweep";
    } catch (const Failure&) {
        return "a sweep";
    }
}

// "a tournament from '150'", "a sweep from '20,50,50' to '80,50,50' (7 starts)", or "a map from …".
std::string runFrom(const std::vector<GameRules>& rules) {
    const std::string first = "'" + rules.front().start.name() + "'";
    return rules.size() == 1 ? "a tournament from " + first
                             : seriesOf(rules) + " from " + first + " to '" + rules.back().start.name() + "' (" +
                                   std::to_string(rules.size()) + " starts)";
}

// The refusal of a file whose starts are not those of the first file's games.
Failure otherRun(const std::string& name, const FileGames& file, const std::string& firstName,
                 const std::vector<GameRules>& first) {
    // Between two tournaments' files, the first row is where the settings part, as with a frame time.
    if (file.rules.size() == 1 && first.size() == 1) {
        return {2, placeOf(name, file.firstLine) + "played with other settings (start, frame time or frame cap) than " +
                       firstName};
    }
    return {2, name + ": the games of " + runFrom(file.rules) + ", " + firstName + " those of " + runFrom(first) +
                   ": they are not shards of one run"};
}

// A file's games, each row checked against the first row read (`earlier`, of the file `earlierName`, or this
// file's own first row where there is none yet).
FileGames gamesOf(const std::string& name, const std::string& text, const GameRules* earlier,
                  const std::string& earlierName) {
    if (text.size() == firstLineAt(text)) {
        throw Failure(2, name + ": is empty");
    }
    std::istringstream lines(text.substr(firstLineAt(text)));
    std::string line;
    if (!nextLine(lines, line) || (line != header && line != header + std::string(generatorColumn))) {
        throw Failure(2, name + ": line 1 is not the header '" + header + "'");
    }
    const std::size_t columns = fieldsOf(line).size();
    FileGames file;
    // Each start's place in the file's lists: a map's file holds hundreds of starts.
    std::map<std::string, std::size_t> places;
    GameRules reference;
    std::size_t number = 1;
    // Empty lines at the end of a file are no rows (an editor may add one); the first of those read since the
    // last row, if any.
    std::size_t emptySince = 0;
    while (nextLine(lines, line)) {
        ++number;
        if (line.empty()) {
            emptySince = emptySince == 0 ? number : emptySince;
            continue;
        }
        if (emptySince != 0) {
            // A row follows: the empty line is a row with no fields, which this refuses.
            parseRow("", columns, placeOf(name, emptySince));
        }
        const std::string where = placeOf(name, number);
        const Row row = parseRow(line, columns, where);
        if (file.firstLine == 0) {
            file.firstLine = number;
            reference = earlier != nullptr ? *earlier : row.rules;
        }
        if (row.rules.generator != reference.generator) {
            std::string message = where;
            message.append("played with ").append(libraryRand::described(row.rules.generator));
            message.append(", ").append(earlierName).append(" with ");
            message.append(libraryRand::described(reference.generator));
            throw Failure(2, message.append(": the same seed is another game under each"));
        }
        if (!row.rules.timedLike(reference)) {
            std::string message = where;
            message.append("played with other settings (start, frame time or frame cap) than ").append(earlierName);
            throw Failure(2, message);
        }
        const auto [known, isNew] = places.try_emplace(row.rules.start.perKind(), file.rules.size());
        if (isNew) {
            file.rules.push_back(row.rules);
            file.games.emplace_back();
        }
        file.games[known->second].push_back(row.game);
    }
    if (file.firstLine == 0) {
        throw Failure(2, name + ": holds no game");
    }
    return file;
}

// Puts the games of one start in the order of their seeds; a Failure for a seed among them twice, which the
// message gives with `from`, the start where there are several.
void orderBySeed(std::vector<SeededGame::Result>& games, const std::string& from) {
    std::stable_sort(games.begin(), games.end(),
                     [](const SeededGame::Result& a, const SeededGame::Result& b) { return a.seed < b.seed; });
    const auto twice =
        std::adjacent_find(games.begin(), games.end(),
                           [](const SeededGame::Result& a, const SeededGame::Result& b) { return a.seed == b.seed; });
    if (twice != games.end()) {
        throw Failure(2, "seed " + std::to_string(twice->seed) + " was played more than once" + from +
                             ": the files overlap");
    }
}

} // namespace

std::string write(const std::vector<SeededGame::Result>& games, const GameRules& rules) {
    return write(std::vector<std::vector<SeededGame::Result>>{games}, {rules});
}

std::string write(const std::vector<std::vector<SeededGame::Result>>& tournaments,
                  const std::vector<GameRules>& rules) {
    const bool glibcs = std::all_of(rules.begin(), rules.end(),
                                    [](const GameRules& one) { return one.generator == libraryRand::glibc; });
    std::string csv = std::string(header) + (glibcs ? "" : generatorColumn) + "\n";
    for (std::size_t t = 0; t < tournaments.size(); ++t) {
        const std::string played = "," + field(rules[t].start.name()) + "," + exactly(rules[t].frameTime) + "," +
                                   std::to_string(rules[t].maxFrames) +
                                   (glibcs ? "" : "," + std::to_string(rules[t].generator)) + "\n";
        for (const SeededGame::Result& game : tournaments[t]) {
            csv += std::to_string(game.seed) + "," + nameOf(game.winner) + "," + std::to_string(game.frames) + played;
        }
    }
    return csv;
}

Merged merge(const std::vector<std::string>& paths) {
    std::vector<std::pair<std::string, std::string>> texts;
    texts.reserve(paths.size());
    for (const std::string& path : paths) {
        texts.emplace_back(path, contentsOf(path));
    }
    return merge(texts);
}

Merged merge(const std::vector<std::pair<std::string, std::string>>& namedTexts) {
    Merged merged;
    std::string firstName;
    for (const auto& [name, text] : namedTexts) {
        const bool first = merged.rules.empty();
        const FileGames file = gamesOf(name, text, first ? nullptr : &merged.rules.front(), first ? name : firstName);
        if (first) {
            firstName = name;
            merged.rules = file.rules;
            merged.games.resize(file.games.size());
        } else if (startsOf(file.rules) != startsOf(merged.rules)) {
            throw otherRun(name, file, firstName, merged.rules);
        }
        for (std::size_t start = 0; start < file.games.size(); ++start) {
            std::vector<SeededGame::Result>& games = merged.games[start];
            games.insert(games.end(), file.games[start].begin(), file.games[start].end());
        }
    }
    if (merged.games.empty()) {
        throw Failure(2, "no game to merge");
    }
    for (std::size_t start = 0; start < merged.games.size(); ++start) {
        std::vector<SeededGame::Result>& games = merged.games[start];
        orderBySeed(games, merged.games.size() > 1 ? " from '" + merged.rules[start].start.name() + "'" : "");
        merged.rules[start].firstSeed = games.front().seed;
        merged.rules[start].lastSeed = games.back().seed;
        const std::string seeds = Summary::rangesOf(games);
        const std::string firstSeeds = Summary::rangesOf(merged.games.front());
        if (seeds != firstSeeds) {
            std::string message = "the games from '" + merged.rules[start].start.name() + "' have the seeds ";
            message.append(seeds).append(", those from '").append(merged.rules.front().start.name()).append("' ");
            message.append(firstSeeds).append(": ").append(seriesOf(merged.rules));
            throw Failure(2, message.append(" plays the same seeds from every start"));
        }
    }
    return merged;
}

} // namespace G::gameCsv
