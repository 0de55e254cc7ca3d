#include "tools/tournament/Sweep.hpp"

#include "tools/tournament/Failure.hpp"
#include "tools/tournament/GameRules.hpp"
#include "tools/tournament/Summary.hpp"

#include <algorithm>
#include <array>
#include <iomanip>
#include <numeric>
#include <set>
#include <sstream>

namespace G {

namespace {

// The table's heading and the rule under it, for columns of these widths.
std::string heading(const std::size_t startWidth, const std::size_t intervalWidth, const std::size_t medianWidth) {
    std::ostringstream out;
    out << "| " << std::left << std::setw(static_cast<int>(startWidth)) << "start"
        << " |";
    std::ostringstream rule;
    rule << "|" << std::string(startWidth + 2, '-') << "|";
    for (ItemKind kind = Kind::Rock; kind <= Kind::Scissors; ++kind) {
        const std::string wins = wordFor(kind) + " wins";
        out << " " << wins << " |  share | " << std::setw(static_cast<int>(intervalWidth)) << "95% interval"
            << " |";
        rule << std::string(wins.size() + 1, '-') << ":|-------:|" << std::string(intervalWidth + 2, '-') << "|";
    }
    out << " undecided | " << std::setw(static_cast<int>(medianWidth)) << "median length"
        << " |\n";
    rule << "----------:|" << std::string(medianWidth + 2, '-') << "|\n";
    return out.str() + rule.str();
}

// The step of the map whose every start these are, each once. Starts of one size with its three corners
// but without every start between them are part of a map with starts missing: the step of that map, negated.
// 0 for any other starts.
std::int32_t mapStepOf(const std::vector<Start>& starts) {
    const std::int32_t total = starts.front().total();
    std::int32_t step = total;
    std::set<std::string> distinct;
    for (const Start& start : starts) {
        if (start.total() != total) {
            return 0;
        }
        for (ItemKind kind = Kind::Rock; kind <= Kind::Scissors; ++kind) {
            step = std::gcd(step, start.count(kind));
        }
        distinct.insert(start.perKind());
    }
    // The step is the largest that all the counts share, so every start is one of its map's.
    const auto sides = static_cast<std::size_t>(total / step);
    if (distinct.size() == starts.size() && starts.size() == (sides + 1) * (sides + 2) / 2) {
        return step;
    }
    const std::string all = std::to_string(total);
    const bool corners =
        distinct.count(all + ",0,0") + distinct.count("0," + all + ",0") + distinct.count("0,0," + all) == 3;
    return corners ? -step : 0;
}

} // namespace

Sweep Sweep::parse(const std::string& text, const Start& base) {
    const auto refuse = [&text](const std::string& why) { return Failure(2, "'" + text + "': " + why); };
    const std::size_t equals = text.find('=');
    const std::string what = text.substr(0, equals);
    Sweep sweep;
    sweep.base = base;
    if (what != "size") {
        for (ItemKind kind = Kind::Rock; kind <= Kind::Scissors; ++kind) {
            if (what == wordFor(kind)) {
                sweep.kind = kind;
            }
        }
    }
    if (equals == std::string::npos || (!sweep.kind && what != "size")) {
        throw refuse("a sweep is WHAT=VALUES, WHAT one of rock, paper, scissors and size (rock=20-80/10)");
    }
    const auto count = [&refuse](const std::string& word) {
        const std::optional<std::int32_t> read = Start::countFrom(word);
        if (!read) {
            throw refuse(Start::whyNoCount(word));
        }
        return *read;
    };
    for (const std::string& word : GameRules::listOf(text.substr(equals + 1))) {
        // A single count, or FIRST-LAST/STEP.
        const std::size_t dash = word.find('-');
        if (dash == std::string::npos) {
            sweep.counts.push_back(count(word));
            continue;
        }
        const std::size_t slash = word.find('/', dash);
        if (slash == std::string::npos) {
            throw refuse("the range '" + word + "' has no step: FIRST-LAST/STEP");
        }
        const std::int32_t first = count(word.substr(0, dash));
        const std::int32_t last = count(word.substr(dash + 1, slash - dash - 1));
        const std::int32_t step = count(word.substr(slash + 1));
        if (step == 0 || last < first) {
            throw refuse("the range '" + word + "' does not run from a count up to a larger one in steps of 1 or more");
        }
        for (std::int64_t value = first; value <= last && sweep.counts.size() <= mostStarts; value += step) {
            sweep.counts.push_back(static_cast<std::int32_t>(value));
        }
    }
    if (sweep.counts.size() > mostStarts) {
        throw refuse("a sweep has at most " + std::to_string(mostStarts) + " starts");
    }
    for (const std::int32_t count : sweep.counts) {
        if (!sweep.kind && count % 3 != 0) {
            throw refuse("the size " + std::to_string(count) + " is no equal start: sizes are multiples of 3");
        }
        try {
            sweep.series.push_back(sweep.kind ? base.with(*sweep.kind, count)
                                              : Start::of({count / 3, count / 3, count / 3}));
        } catch (const Failure& failure) {
            throw refuse(std::string("the start ") + failure.what());
        }
        // A start played twice would count each of its games twice, in the table and in the CSV file, which
        // no merge takes back.
        if (std::find(sweep.series.begin(), sweep.series.end() - 1, sweep.series.back()) != sweep.series.end() - 1) {
            throw refuse("the start " + sweep.series.back().name() + " comes twice: a sweep plays each start once");
        }
    }
    return sweep;
}

std::vector<Start> Sweep::mapStarts(const std::int32_t total, const std::int32_t step) {
    std::vector<Start> starts;
    for (std::int32_t rocks = 0; rocks <= total; rocks += step) {
        for (std::int32_t papers = 0; rocks + papers <= total; papers += step) {
            starts.push_back(Start::of({rocks, papers, total - rocks - papers}));
        }
    }
    return starts;
}

Sweep Sweep::map(const std::string& text) {
    const auto refuse = [&text](const std::string& why) { return Failure(2, "'" + text + "': " + why); };
    const std::size_t slash = text.find('/');
    const std::string totalText = text.substr(0, slash);
    const std::string stepText = slash == std::string::npos ? "" : text.substr(slash + 1);
    if (slash == std::string::npos) {
        throw refuse("a map is TOTAL/STEP, the pieces at every start and the step of their counts (150/10)");
    }
    const std::optional<std::int32_t> total = Start::countFrom(totalText);
    const std::optional<std::int32_t> step = Start::countFrom(stepText);
    if (!total || !step) {
        throw refuse(Start::whyNoCount(total ? stepText : totalText));
    }
    if (*total == 0 || *total > Start::mostPieces) {
        throw refuse("a map's starts have from 1 to " + std::to_string(Start::mostPieces) + " pieces, not " +
                     std::to_string(*total));
    }
    if (*step == 0 || *total % *step != 0) {
        throw refuse("the step " + std::to_string(*step) + " does not divide the total " + std::to_string(*total) +
                     ": a map's starts have counts that are multiples of its step");
    }
    Sweep sweep;
    sweep.base = Start::of({*total, 0, 0});
    sweep.mapStep = *step;
    sweep.series = mapStarts(*total, *step);
    return sweep;
}

Sweep Sweep::of(const std::vector<Start>& starts) {
    Sweep sweep;
    sweep.base = starts.front();
    sweep.series = starts;
    if (!std::all_of(starts.begin(), starts.end(), [](const Start& start) { return start.isEqual(); })) {
        std::vector<ItemKind> varied;
        for (ItemKind kind = Kind::Rock; kind <= Kind::Scissors; ++kind) {
            if (std::any_of(starts.begin(), starts.end(),
                            [&](const Start& start) { return start.count(kind) != sweep.base.count(kind); })) {
                varied.push_back(kind);
            }
        }
        if (varied.size() == 1) {
            sweep.kind = varied.front();
        } else if (const std::int32_t step = mapStepOf(starts); step > 0) {
            sweep.base = Start::of({starts.front().total(), 0, 0});
            sweep.mapStep = step;
            return sweep;
        } else if (step < 0) {
            const std::int32_t total = starts.front().total();
            throw Failure(2, "the games from '" + starts.front().name() + "' to '" + starts.back().name() +
                                 "' are of " + std::to_string(starts.size()) + " of the " +
                                 std::to_string(mapStarts(total, -step).size()) + " starts of the map " +
                                 std::to_string(total) + "/" + std::to_string(-step) +
                                 ": a map plays every start of its size");
        } else {
            throw Failure(2, "the games from '" + starts.front().name() + "' to '" + starts.back().name() +
                                 "' differ in more than one count at the start: no sweep plays such starts");
        }
    }
    for (const Start& start : starts) {
        sweep.counts.push_back(sweep.kind ? start.count(*sweep.kind) : start.total());
    }
    return sweep;
}

std::string Sweep::against(const ItemKind varied) const {
    std::string others;
    for (ItemKind other = Kind::Rock; other <= Kind::Scissors; ++other) {
        if (other != varied) {
            others += (others.empty() ? "" : " and ") + std::to_string(base.count(other)) + " " + wordFor(other);
        }
    }
    return others;
}

std::string Sweep::axisName() const {
    return kind ? wordFor(*kind) + " count at the start, against " + against(*kind)
                : "pieces at the start, as many of each kind";
}

std::string Sweep::description() const {
    if (isMap()) {
        return "every start of " + Summary::counted(static_cast<std::uint64_t>(base.total()), "piece") +
               " in steps of " + std::to_string(mapStep);
    }
    const auto [low, high] = std::minmax_element(counts.begin(), counts.end());
    const std::string span = std::to_string(*low) + " to " + std::to_string(*high);
    return kind ? wordFor(*kind) + " from " + span + " against " + against(*kind)
                : "equal starts of " + span + " pieces";
}

std::string Sweep::whyNoChart() const {
    if (mapSteps() <= mostChartedSteps) {
        return "";
    }
    return "--svg draws a map of at most " + std::to_string(mostChartedSteps) + " steps a side, not " +
           std::to_string(base.total()) + "/" + std::to_string(mapStep) + ": its cells would be too small to see";
}

std::string Sweep::table(const std::vector<Summary>& summaries) const {
    // A start by its size where the size varies, else by its counts, the one that varies among them.
    const auto label = [this](const Start& start) { return variesSize() ? start.name() : start.perKind(); };
    std::size_t width = 5;
    for (const Start& start : series) {
        width = std::max(width, label(start).size());
    }
    // Where every game of a start ran to the cap, its games have no length to take the median of.
    const auto median = [](const Summary& summary) {
        return summary.anyDecided() ? summary.medianLength() : std::string("none decided");
    };
    std::size_t medianWidth = std::string("median length").size();
    // "0.0% to 100.0%" and narrower fit the intervals' column as it always was; "97.1% to 100.0%" widens it.
    std::size_t intervalWidth = 14;
    for (const Summary& summary : summaries) {
        medianWidth = std::max(medianWidth, median(summary).size());
        for (const Summary::Share& share : summary.shares()) {
            intervalWidth = std::max(intervalWidth, Summary::interval(share).size());
        }
    }
    const Summary& any = summaries.front();
    std::ostringstream out;
    out << std::fixed;
    out << (isMap() ? "QUORVEL map: " : "QUORVEL sweep: ") << description() << ", "
        << Summary::counted(any.games(), "game") << " from each of " << Summary::counted(series.size(), "start")
        << ", seeds " << any.seeds() << ", " << any.timing() << "\n"
        << any.generatorLine() << "\n";
    out << heading(width, intervalWidth, medianWidth);
    for (std::size_t row = 0; row < series.size(); ++row) {
        const Summary& summary = summaries.at(row);
        out << "| " << std::left << std::setw(static_cast<int>(width)) << label(series[row]) << std::right << " |";
        for (ItemKind kind = Kind::Rock; kind <= Kind::Scissors; ++kind) {
            const Summary::Share& share = summary.shares().at(static_cast<std::size_t>(kind));
            out << " " << std::setw(static_cast<int>(wordFor(kind).size()) + 5) << share.games << " | "
                << std::setprecision(1) << std::setw(5) << 100 * share.share << "% | " << std::left
                << std::setw(static_cast<int>(intervalWidth)) << Summary::interval(share) << std::right << " |";
        }
        out << " " << std::setw(9) << summary.shares().back().games << " | " << std::left
            << std::setw(static_cast<int>(medianWidth)) << median(summary) << std::right << " |\n";
    }
    return out.str();
}

} // namespace G
