#include "tools/tournament/GameCsv.hpp"

#include "tools/tournament/Failure.hpp"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
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
            names += (names.empty() ? "" : known == Winner::Undecided ? " or " : ", ") + nameOf(known);
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
    bool first = true;
    std::string firstName;
    for (const auto& [name, text] : namedTexts) {
        std::istringstream lines(text.substr(firstLineAt(text)));
        std::string line;
        if (!nextLine(lines, line) || (line != header && line != header + std::string(generatorColumn))) {
            throw Failure(2, name + ": line 1 is not the header '" + header + "'");
        }
        const std::size_t columns = fieldsOf(line).size();
        std::size_t number = 1;
        std::size_t rows = 0;
        // Empty lines at the end of a file are no rows (an editor may add one); the first of those read since
        // the last row, if any.
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
            ++rows;
            if (first) {
                merged.rules = row.rules;
                firstName = name;
                first = false;
            } else if (row.rules.generator != merged.rules.generator) {
                std::string message = where;
                message.append("played with ").append(libraryRand::described(row.rules.generator));
                message.append(", ").append(firstName).append(" with ");
                message.append(libraryRand::described(merged.rules.generator));
                throw Failure(2, message.append(": the same seed is another game under each"));
            } else if (!row.rules.playsLike(merged.rules)) {
                std::string message = where;
                message.append("played with other settings (start, frame time or frame cap) than ").append(firstName);
                throw Failure(2, message);
            }
            merged.games.push_back(row.game);
        }
        if (rows == 0) {
            throw Failure(2, name + ": holds no game");
        }
    }
    std::stable_sort(merged.games.begin(), merged.games.end(),
                     [](const SeededGame::Result& a, const SeededGame::Result& b) { return a.seed < b.seed; });
    const auto twice =
        std::adjacent_find(merged.games.begin(), merged.games.end(),
                           [](const SeededGame::Result& a, const SeededGame::Result& b) { return a.seed == b.seed; });
    if (twice != merged.games.end()) {
        throw Failure(2, "seed " + std::to_string(twice->seed) + " was played more than once: the files overlap");
    }
    if (merged.games.empty()) {
        throw Failure(2, "no game to merge");
    }
    merged.rules.firstSeed = merged.games.front().seed;
    merged.rules.lastSeed = merged.games.back().seed;
    return merged;
}

} // namespace G::gameCsv
