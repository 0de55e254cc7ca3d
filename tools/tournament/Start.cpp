#include "tools/tournament/Start.hpp"

#include "tools/tournament/Failure.hpp"
#include "tools/tournament/GameRules.hpp"
#include "tools/tournament/Winner.hpp"

#include <cstddef>
#include <numeric>
#include <vector>

namespace G {

namespace {

// Why those counts make no start; empty when they make one.
std::string faultOf(const std::array<std::int32_t, 3>& counts) {
    std::int64_t total = 0;
    for (const std::int32_t count : counts) {
        total += count;
    }
    if (total == 0) {
        return "a start has at least one piece";
    }
    if (total > Start::mostPieces) {
        return "a start has at most " + std::to_string(Start::mostPieces) + " pieces in all";
    }
    return "";
}

} // namespace

std::optional<std::int32_t> Start::countFrom(const std::string& text) {
    // Nine digits at most, so that three counts add up without overflow before their sum is checked.
    const std::optional<std::int64_t> count = GameRules::wholeNumber(text, 0, 999999999);
    return count ? std::optional<std::int32_t>(static_cast<std::int32_t>(*count)) : std::nullopt;
}

std::string Start::whyNoCount(const std::string& text) {
    const bool digits = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
    return "'" + text + "' " +
           (digits ? "is too large: a start has at most " + std::to_string(mostPieces) + " pieces in all"
                   : std::string("is not a count: counts are whole numbers from 0 up"));
}

Start Start::equal(const std::int32_t each) {
    Start start;
    start.counts = {each, each, each};
    return start;
}

Start Start::parse(const std::string& text) {
    const auto refuse = [&text](const std::string& why) { return Failure(2, "'" + text + "': " + why); };
    const std::vector<std::string> words = GameRules::listOf(text);
    if (words.size() != 1 && words.size() != 3) {
        throw refuse("a start is the size of an equal start (150) or one count per kind, rock, paper and scissors "
                     "(30,50,50), not " +
                     std::to_string(words.size()) + " counts");
    }
    std::array<std::int32_t, 3> read{};
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::optional<std::int32_t> count = countFrom(words[i]);
        if (!count) {
            throw refuse(whyNoCount(words[i]));
        }
        read.at(i) = *count;
    }
    if (words.size() == 1 && read[0] % 3 != 0) {
        throw refuse("an equal start is a multiple of 3, the same count of each kind");
    }
    Start start;
    start.counts = words.size() == 1 ? std::array<std::int32_t, 3>{read[0] / 3, read[0] / 3, read[0] / 3} : read;
    const std::string fault = faultOf(start.counts);
    if (!fault.empty()) {
        throw refuse(fault);
    }
    return start;
}

Start Start::of(const std::array<std::int32_t, 3>& counts) {
    Start start;
    start.counts = counts;
    const std::string fault = faultOf(counts);
    if (!fault.empty()) {
        throw Failure(2, "'" + start.name() + "': " + fault);
    }
    return start;
}

Start Start::with(const ItemKind kind, const std::int32_t count) const {
    std::array<std::int32_t, 3> changed = counts;
    changed.at(static_cast<std::size_t>(kind)) = count;
    return of(changed);
}

std::int32_t Start::count(const ItemKind kind) const {
    return counts.at(static_cast<std::size_t>(kind));
}

std::int32_t Start::total() const {
    return std::accumulate(counts.begin(), counts.end(), 0);
}

bool Start::isEqual() const {
    return counts[0] == counts[1] && counts[1] == counts[2];
}

std::string Start::name() const {
    return isEqual() ? std::to_string(total()) : perKind();
}

std::string Start::perKind() const {
    return std::to_string(counts[0]) + "," + std::to_string(counts[1]) + "," + std::to_string(counts[2]);
}

std::string Start::description() const {
    std::string size = std::to_string(total()) + "-piece start";
    if (isEqual()) {
        return size;
    }
    return size + " (" + std::to_string(counts[0]) + " " + wordFor(Kind::Rock) + ", " + std::to_string(counts[1]) +
           " " + wordFor(Kind::Paper) + ", " + std::to_string(counts[2]) + " " + wordFor(Kind::Scissors) + ")";
}

} // namespace G
