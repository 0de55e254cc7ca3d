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

// A series of starts for playing the same seeds from each. A sweep varies one count: the rocks', the
// papers' or the scissors', the other two as a base start has them, or the size of an equal start. A map
// takes every start of one size whose counts are multiples of one step, so that each start is a point of
// the triangle whose corners are the starts of one kind alone.
class Sweep {
public:
    // A sweep's; a map is bounded by the games it plays alone.
    static constexpr std::size_t mostStarts = 100;
    // A map's steps along a side that its chart draws: a cell then still spans a few pixels.
    static constexpr std::int32_t mostChartedSteps = 100;

    // What varies and its values, as WHAT=VALUES: WHAT is rock, paper, scissors or size, VALUES a list of
    // counts and ranges FIRST-LAST/STEP ("rock=20-80/10", "size=30,90,300,900,3000"). Throws a Failure
    // (status 2) that names what is wrong: an unknown WHAT, a value that is no count, a range that runs
    // backwards or has no step, a start that is no start, a start named twice, more than mostStarts starts.
    static Sweep parse(const std::string& text, const Start& base);
    // The map of every start of TOTAL pieces whose counts are multiples of STEP, read from TOTAL/STEP
    // ("150/10"), corners and edges included: ordered by the rocks' count, then the papers'. Throws a Failure
    // (status 2) that names what is wrong: no TOTAL/STEP of counts, a step of 0 or one that does not divide
    // the total, a total of no piece or of more than a start has.
    static Sweep map(const std::string& text);

    // The sweep or the map that played these starts, in this order, as its games tell it: the one kind's
    // count that varies among them, the size of equal starts, or every start of one size in one step. Throws
    // a Failure (status 2) for other starts, which neither plays.
    static Sweep of(const std::vector<Start>& starts);

    // Whether the size of an equal start varies, rather than one kind's count.
    bool variesSize() const { return !kind && !isMap(); }
    bool isMap() const { return mapStep != 0; }
    // A map's step, and its steps along a side of its triangle, TOTAL/STEP; 0 for a sweep.
    std::int32_t step() const { return mapStep; }
    std::int32_t mapSteps() const { return isMap() ? base.total() / mapStep : 0; }
    // Why no chart is drawn of it, or nothing: a map of more than mostChartedSteps steps a side.
    std::string whyNoChart() const;
    const std::vector<Start>& starts() const { return series; }
    // A sweep's varied count of each start, in order; none for a map, whose every start varies two.
    const std::vector<std::int32_t>& values() const { return counts; }
    // What a sweep varies, as its chart's axis names it: "rock count at the start, against 50 paper and 50
    // scissors", or "pieces at the start, as many of each kind". A map's chart has three axes of its own.
    std::string axisName() const;
    // "rock from 20 to 80 against 50 paper and 50 scissors", "equal starts of 30 to 3000 pieces", or "every
    // start of 150 pieces in steps of 10".
    std::string description() const;

    // The table printed at the end of a sweep or a map, one row per start, each as its tournament's summary
    // counts it.
    std::string table(const std::vector<Summary>& summaries) const;

private:
    // "50 paper and 50 scissors": the counts of the kinds other than the varied one, as the base start has them.
    std::string against(ItemKind varied) const;

    // The map of every start of that many pieces in that step: the step's starts, in the map's order.
    static std::vector<Start> mapStarts(std::int32_t total, std::int32_t step);

    std::optional<ItemKind> kind;
    // A map's step; 0 for a sweep. A map's base is its corner of rocks alone.
    std::int32_t mapStep = 0;
    Start base;
    std::vector<std::int32_t> counts;
    std::vector<Start> series;
};

} // namespace G
