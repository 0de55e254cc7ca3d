#include "arena/SpotGrid.hpp"

#include "arena/WideScan.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>

namespace G {

namespace {

constexpr float notANumber = std::numeric_limits<float>::quiet_NaN();
constexpr float infinite = std::numeric_limits<float>::infinity();
constexpr double endless = std::numeric_limits<double>::infinity();
constexpr std::int32_t noSpot = std::numeric_limits<std::int32_t>::max();

QUORVEL_IN_SCAN float roughSquare(const float x, const float y, const sf::Vector2f from) {
    const float dx = x - from.x;
    const float dy = y - from.y;
    return dx * dx + dy * dy;
}

// The bits of a float that is not negative, which order as the floats do, NaN above infinity: the scans
// below take least values as integers, which the compiler tests side by side where it would not floats. A
// least that starts at infinity thus never becomes NaN.
QUORVEL_IN_SCAN std::int32_t bitsOf(const float value) {
    std::int32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

QUORVEL_IN_SCAN float floatOf(const std::int32_t bits) {
    float value = 0.0F;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

const std::int32_t infiniteBits = bitsOf(infinite);

} // namespace

void SpotGrid::fileStaged() {
    const auto cells = static_cast<std::size_t>(columns) * rows;
    if (cellStart.empty()) {
        cellStart.assign(cells + 1, 0);
        lateFirst.assign(cells, nowhere);
        lateInRow.assign(rows, 0);
    }
    // Only the cells with added spots need their lists emptied.
    for (std::size_t s = firstAdded; s < number.size(); ++s) {
        const std::int32_t cell = filedIn[s];
        if (cell != nowhere) {
            lateFirst[static_cast<std::size_t>(cell)] = nowhere;
            lateInRow[static_cast<std::size_t>(cell / columns)] = 0;
        }
    }
    // A counting sort by cell: counts, then where each cell's spots end, then each spot placed from the last
    // one back, which leaves every cell's start behind and keeps its spots in the order of their numbers.
    const std::size_t count = staged.size();
    stagedCell.resize(count);
    std::fill(cellStart.begin(), cellStart.end(), 0);
    for (std::size_t k = 0; k < count; ++k) {
        const std::int32_t cell = cellOf(staged[k].x, staged[k].y);
        stagedCell[k] = cell;
        if (cell != nowhere) {
            ++cellStart[static_cast<std::size_t>(cell)];
        }
    }
    for (std::size_t cell = 1; cell < cells; ++cell) {
        cellStart[cell] += cellStart[cell - 1];
    }
    cellStart[cells] = cellStart[cells - 1];
    // The spots in no cell take the slots after the others, where no search looks. The loop below writes
    // every slot, so the columns only need their size.
    firstAdded = count;
    for (auto* column : {&x, &y, &left, &right, &top, &bottom}) {
        column->resize(firstAdded);
    }
    number.resize(firstAdded);
    filedIn.resize(firstAdded);
    lateNext.assign(firstAdded, nowhere);
    slotOf.resize(count);
    auto unfiled = static_cast<std::size_t>(cellStart[cells]);
    for (std::size_t k = count; k-- > 0;) {
        const std::int32_t cell = stagedCell[k];
        const std::size_t s =
            cell == nowhere ? unfiled++ : static_cast<std::size_t>(--cellStart[static_cast<std::size_t>(cell)]);
        write(s, staged[k]);
        number[s] = static_cast<std::int32_t>(k);
        filedIn[s] = cell;
        slotOf[k] = static_cast<std::int32_t>(s);
    }
    drift = 0.0;
}

void SpotGrid::add(const Spot& spot) {
    const std::size_t s = number.size();
    for (auto* column : {&x, &y, &left, &right, &top, &bottom}) {
        column->push_back(notANumber);
    }
    write(s, spot);
    number.push_back(static_cast<std::int32_t>(slotOf.size()));
    filedIn.push_back(cellOf(spot.x, spot.y));
    lateNext.push_back(nowhere);
    slotOf.push_back(static_cast<std::int32_t>(s));
    fileLate(s);
}

void SpotGrid::fileLate(const std::size_t s) {
    const std::int32_t cell = filedIn[s];
    if (cell == nowhere) {
        return;
    }
    const auto at = static_cast<std::size_t>(cell);
    lateNext[s] = lateFirst[at];
    lateFirst[at] = static_cast<std::int32_t>(s);
    ++lateInRow[static_cast<std::size_t>(cell / columns)];
}

void SpotGrid::move(const std::size_t k, const Spot& spot) {
    const auto s = static_cast<std::size_t>(slotOf[k]);
    write(s, spot);
    // A spot in no cell stays there, since a move from a position that is not a number gives another such
    // position; a coordinate that is not a number leaves the drift as it is.
    const std::int32_t cell = filedIn[s];
    if (cell != nowhere) {
        drift = std::max({drift, gap(spot.x, cell % columns, columns), gap(spot.y, cell / columns, rows)});
    }
}

void SpotGrid::remove(const std::size_t k) {
    write(static_cast<std::size_t>(slotOf[k]),
          {notANumber, notANumber, notANumber, notANumber, notANumber, notANumber});
}

void SpotGrid::write(const std::size_t s, const Spot& spot) {
    x[s] = spot.x;
    y[s] = spot.y;
    left[s] = spot.left;
    right[s] = spot.right;
    top[s] = spot.top;
    bottom[s] = spot.bottom;
}

void SpotGrid::renumber(const std::vector<std::size_t>& keptBefore) {
    // A removed spot's slot stays, matching nothing, until the next filing; its number changes as well, which
    // keeps every number within the list.
    for (std::int32_t& spot : number) {
        spot = static_cast<std::int32_t>(keptBefore[static_cast<std::size_t>(spot)]);
    }
    for (std::size_t k = 0; k < slotOf.size(); ++k) {
        if (keptBefore[k + 1] != keptBefore[k]) {
            slotOf[keptBefore[k]] = slotOf[k];
        }
    }
    slotOf.resize(keptBefore.back());
}

QUORVEL_IN_SCAN int SpotGrid::slot(const double coordinate, const int count) {
    // Exact for every float, since cellSide is a power of two: no position is filed in a cell that does not
    // hold it, which the bounds of the searches rely on. Rounding a wider coordinate keeps the order.
    const double cells = coordinate * (1.0 / static_cast<double>(cellSide));
    if (!(cells >= static_cast<double>(-margin))) {
        return 0;
    }
    if (cells >= static_cast<double>(count - margin)) {
        return count - 1;
    }
    auto whole = static_cast<int>(cells);
    // The conversion rounds toward zero; below zero the floor is one less.
    if (static_cast<double>(whole) > cells) {
        --whole;
    }
    return whole + margin;
}

QUORVEL_IN_SCAN double SpotGrid::gap(const double coordinate, const int slot, const int count) {
    // The outermost cells reach on without end.
    const double low = slot == 0 ? -endless : edge(slot);
    const double high = slot == count - 1 ? endless : edge(slot + 1);
    return std::max({low - coordinate, coordinate - high, 0.0});
}

std::int32_t SpotGrid::cellOf(const float x, const float y) {
    if (std::isnan(x) || std::isnan(y)) {
        return nowhere;
    }
    return static_cast<std::int32_t>(cellAt(slot(x, columns), slot(y, rows)));
}

QUORVEL_IN_SCAN SpotGrid::Block SpotGrid::around(const int column, const int row, const int rings) {
    return {std::max(column - rings, 0), std::max(row - rings, 0), std::min(column + rings, columns - 1),
            std::min(row + rings, rows - 1)};
}

QUORVEL_IN_SCAN bool SpotGrid::wholeGrid(const Block& block) {
    return block.left == 0 && block.top == 0 && block.right == columns - 1 && block.bottom == rows - 1;
}

QUORVEL_IN_SCAN double SpotGrid::clearance(const sf::Vector2f point, const Block& block) const {
    // The outermost cells hold everything beyond them, so on their side nothing is filed outside the block.
    const double px = point.x;
    const double py = point.y;
    const double toLeft = block.left == 0 ? endless : px - edge(block.left);
    const double toRight = block.right == columns - 1 ? endless : edge(block.right + 1) - px;
    const double toTop = block.top == 0 ? endless : py - edge(block.top);
    const double toBottom = block.bottom == rows - 1 ? endless : edge(block.bottom + 1) - py;
    return std::min({toLeft, toRight, toTop, toBottom}) - drift;
}

QUORVEL_IN_SCAN bool SpotGrid::pastLeast(const double reach, const float least) {
    return reach > 0.0 && reach * reach * (1.0 - 0x1p-16) > static_cast<double>(least) * (1.0 + 0x1p-16) + 1e-30;
}

QUORVEL_IN_SCAN std::size_t SpotGrid::rowBegin(const int row, const int left) const {
    return static_cast<std::size_t>(cellStart[cellAt(left, row)]);
}

QUORVEL_IN_SCAN std::size_t SpotGrid::rowEnd(const int row, const int right) const {
    return static_cast<std::size_t>(cellStart[cellAt(right, row) + 1]);
}

QUORVEL_WIDE_SCAN std::size_t SpotGrid::firstOverlapping(const Spot& footprint, const std::size_t from,
                                                         const std::size_t skip, const float widest) const {
    if (std::isnan(footprint.left) || std::isnan(footprint.top)) {
        return none;
    }
    const Block block = reaching(footprint, widest);
    // Spot numbers fit 32 bits, which keeps the scan's lanes narrow.
    const auto lowest = static_cast<std::int32_t>(std::min(from, static_cast<std::size_t>(noSpot)));
    const std::int32_t skipped = skip >= static_cast<std::size_t>(noSpot) ? nowhere : static_cast<std::int32_t>(skip);
    const Columns slots = columnsOf();
    std::int32_t first = noSpot;
    for (int row = block.top; row <= block.bottom; ++row) {
        const std::size_t end = rowEnd(row, block.right);
        for (std::size_t s = rowBegin(row, block.left); s < end; ++s) {
            // Branch-free: a spot that does not count gives the largest number.
            const std::int32_t counts = static_cast<std::int32_t>(slots.overlap(s, footprint)) &
                                        static_cast<std::int32_t>(slots.number[s] >= lowest) &
                                        static_cast<std::int32_t>(slots.number[s] != skipped);
            first = std::min(first, slots.number[s] | ((counts - 1) & noSpot));
        }
    }
    // Spots added since the filing have higher numbers than all filed ones, so they only count where no
    // filed spot overlaps.
    if (first != noSpot) {
        return static_cast<std::size_t>(first);
    }
    return firstAdded == number.size() ? none : firstOverlappingAdded(footprint, from, skip, block);
}

QUORVEL_IN_SCAN SpotGrid::Block SpotGrid::reaching(const Spot& footprint, const float widest) const {
    // A spot overlaps the footprint only if it stands left of the footprint's right edge and its own right
    // edge lies right of the footprint's left edge. Its right edge is its position plus at most `widest`,
    // rounded; since the footprint's edge is a float, the rounded sum lies right of it only where the exact
    // sum does, so the spot stands less than `widest` left of that edge. The same holds down the other axis,
    // and the spot stands at most the drift outside the cell it was filed in. The slack covers the rounding
    // of these bounds in double precision, which only matters within the grid, where it is far smaller;
    // beyond the grid every coordinate falls in the outermost cells anyway.
    const double reach = static_cast<double>(widest) + drift + 1.0;
    return {slot(footprint.left - reach, columns), slot(footprint.top - reach, rows),
            slot(footprint.right + drift + 1.0, columns), slot(footprint.bottom + drift + 1.0, rows)};
}

QUORVEL_WIDE_SCAN void SpotGrid::overlapping(const Spot& footprint, const float widest,
                                             std::vector<std::size_t>& found) const {
    if (std::isnan(footprint.left) || std::isnan(footprint.top)) {
        return;
    }
    const std::size_t before = found.size();
    const Block block = reaching(footprint, widest);
    const Columns slots = columnsOf();
    for (int row = block.top; row <= block.bottom; ++row) {
        const std::size_t begin = rowBegin(row, block.left);
        const std::size_t end = rowEnd(row, block.right);
        int hits = 0;
        for (std::size_t s = begin; s < end; ++s) {
            hits += static_cast<int>(slots.overlap(s, footprint));
        }
        for (std::size_t s = begin; hits != 0 && s < end; ++s) {
            if (slots.overlap(s, footprint)) {
                found.push_back(static_cast<std::size_t>(slots.number[s]));
                --hits;
            }
        }
        visitAdded(row, block.left, block.right, [&](const std::size_t s) {
            if (slots.overlap(s, footprint)) {
                found.push_back(static_cast<std::size_t>(slots.number[s]));
            }
        });
    }
    std::sort(found.begin() + static_cast<std::ptrdiff_t>(before), found.end());
}

QUORVEL_IN_SCAN std::size_t SpotGrid::firstOverlappingAdded(const Spot& footprint, const std::size_t from,
                                                            const std::size_t skip, const Block& block) const {
    std::size_t first = none;
    for (int row = block.top; row <= block.bottom; ++row) {
        visitAdded(row, block.left, block.right, [&](const std::size_t s) {
            const auto spot = static_cast<std::size_t>(number[s]);
            if (spot < first && spot >= from && spot != skip && columnsOf().overlap(s, footprint)) {
                first = spot;
            }
        });
    }
    return first;
}

QUORVEL_WIDE_SCAN std::size_t SpotGrid::nearest(const sf::Vector2f from, float& distance,
                                                const std::size_t cellBudget) const {
    distance = infinite;
    if (std::isnan(from.x) || std::isnan(from.y)) {
        return none;
    }
    // As the scan of the whole list does, the search finds the least rough square distance first, then ranks
    // exactly only the spots whose rough square is within a few parts in 2^24 of it, since only those can
    // have the least narrowed distance; equally near ones go to the lowest number.
    //
    // The least is searched for ring by ring of cells around the point's own, until no spot outside the rings
    // can come as near: the clearance bounds the exact distance of any such spot from below, and its rough
    // square differs from the exact one by far less than the margins. A removed spot gives NaN, which is
    // never least. Each row of cells searched keeps its own least, so that the ranking looks only at the rows
    // that can hold a spot to rank.
    const float* const xs = x.data();
    const float* const ys = y.data();
    std::array<Run, mostRuns> runs{};
    std::size_t runCount = 0;
    std::int32_t leastBits = infiniteBits;
    const auto searchRow = [&](const int row, const int left, const int right) {
        if (left > right) {
            return;
        }
        std::int32_t rowLeast = infiniteBits;
        const std::size_t end = rowEnd(row, right);
        for (std::size_t s = rowBegin(row, left); s < end; ++s) {
            rowLeast = std::min(rowLeast, bitsOf(roughSquare(xs[s], ys[s], from)));
        }
        visitAdded(row, left, right, [&](const std::size_t s) {
            rowLeast = std::min(rowLeast, bitsOf(roughSquare(xs[s], ys[s], from)));
        });
        leastBits = std::min(leastBits, rowLeast);
        if (runCount < mostRuns) {
            runs.at(runCount) = {row, left, right, rowLeast};
        }
        ++runCount;
    };
    const int column = slot(from.x, columns);
    const int row = slot(from.y, rows);
    Block inner{column, row, column - 1, row - 1};
    Block block = inner;
    for (int rings = 0;; ++rings) {
        block = around(column, row, rings);
        for (int r = block.top; r <= block.bottom; ++r) {
            if (r < inner.top || r > inner.bottom) {
                searchRow(r, block.left, block.right);
                continue;
            }
            searchRow(r, block.left, inner.left - 1);
            searchRow(r, inner.right + 1, block.right);
        }
        if (wholeGrid(block) || pastLeast(clearance(from, block), floatOf(leastBits))) {
            break;
        }
        const auto cells = static_cast<std::size_t>(block.right - block.left + 1) *
                           static_cast<std::size_t>(block.bottom - block.top + 1);
        if (cells > cellBudget) {
            return none;
        }
        inner = block;
    }
    const float least = floatOf(leastBits);
    Nearest search{from, none, infinite, std::isfinite(least) ? least * (1.0F + 0x1p-18F) + 1e-30F : infinite};
    if (runCount <= mostRuns) {
        for (std::size_t r = 0; r < runCount; ++r) {
            if (!(floatOf(runs.at(r).least) > search.bound)) {
                rankRow(runs.at(r).row, runs.at(r).left, runs.at(r).right, search);
            }
        }
    } else {
        for (int r = block.top; r <= block.bottom; ++r) {
            rankRow(r, block.left, block.right, search);
        }
    }
    distance = search.distance;
    return search.best;
}

QUORVEL_IN_SCAN void SpotGrid::rankRow(const int row, const int left, const int right, Nearest& search) const {
    const std::size_t end = rowEnd(row, right);
    for (std::size_t s = rowBegin(row, left); s < end; ++s) {
        rank(s, search);
    }
    visitAdded(row, left, right, [&](const std::size_t s) { rank(s, search); });
}

QUORVEL_IN_SCAN void SpotGrid::rank(const std::size_t s, Nearest& search) const {
    if (!(roughSquare(x[s], y[s], search.from) <= search.bound)) {
        return;
    }
    // The distance exactly as GameState::distance computes it.
    const auto dx = static_cast<double>(x[s] - search.from.x);
    const auto dy = static_cast<double>(y[s] - search.from.y);
    const auto candidate = static_cast<float>(std::sqrt(dx * dx + dy * dy));
    const auto spot = static_cast<std::size_t>(number[s]);
    if (search.best == none || candidate < search.distance || (candidate == search.distance && spot < search.best)) {
        search.best = spot;
        search.distance = candidate;
    }
}

} // namespace G
