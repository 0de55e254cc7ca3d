#pragma once

#include "arena/Item.hpp"
#include "tools/tournament/Start.hpp"
#include "tools/tournament/Summary.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace G {

// A series of starts that differ in one count, for playing the same seeds from each: the rocks', the
// papers' or the scissors' count, the other two as a base start has them, or the size of an equal start.
class Sweep {
public:
    static constexpr std::size_t mostStarts = 100;

    // What varies and its values, as WHAT=VALUES: WHAT is rock, paper, scissors or size, VALUES a list of
    // counts and ranges FIRST-LAST/STEP ("rock=20-80/10", "size=30,90,300,900,3000"). Throws a Failure
    // (status 2) that names what is wrong: an unknown WHAT, a value that is no count, a range that runs
    // backwards or has no step, a start that is no start, a start named twice, more than mostStarts starts.
    static Sweep parse(const std::string& text, const Start& base);

    // The sweep that played these starts, in this order, as its games tell it: the one kind's count that
    // varies among them, or the size of equal starts. Throws a Failure (status 2) for starts that differ in
    // more than one count and are not all equal, which no sweep plays.
    static Sweep of(const std::vector<Start>& starts);

    // Whether the size of an equal start varies, rather than one kind's count.
    bool variesSize() const { return !kind; }
    const std::vector<Start>& starts() const { return series; }
    // The varied count of each start, in order.
    const std::vector<std::int32_t>& values() const { return counts; }
    // What varies, as a chart's axis names it: "rock count at the start, against 50 paper and 50 scissors", or
    // "pieces at the start, as many of each kind".
    std::string axisName() const;
    // "rock from 20 to 80 against 50 paper and 50 scissors", or "equal starts of 30 to 3000 pieces".
    std::string description() const;

    // The table printed at the end of a sweep, one row per start, each as its tournament's summary counts it.
    std::string table(const std::vector<Summary>& summaries) const;

private:
    // "50 paper and 50 scissors": the counts of the kinds other than the varied one, as the base start has them.
    std::string against(ItemKind varied) const;

    std::optional<ItemKind> kind;
    Start base;
    std::vector<std::int32_t> counts;
    std::vector<Start> series;
};

} // namespace G
