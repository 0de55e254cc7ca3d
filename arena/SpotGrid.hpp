#pragma once

#include "engine/Tool.hpp"

#include <SFML/System/Vector2.hpp>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace G {

// The spots of one list filed by the square cell of a fixed grid that each stands in, so that a search
// looks at the pieces around a point instead of at every piece.
//
// Filing lays the spots out cell after cell, row after row, each with a copy of its position and footprint,
// so that the spots of neighbouring cells in a row lie side by side in memory and a search tests them side by
// side, as the scans of whole lists do. Spots added after that go into a short list of their own per cell. A
// spot that moves stays in the cell it was filed in, and the searches widen by the farthest any spot has
// strayed outside its cell since, so that moving costs no refiling; nor does renumbering the spots when
// removed ones leave the list.
//
// The grid covers the window and a wide margin around it; a spot beyond that is filed in the outermost cell
// on its side, so every position has a cell however far away it lies, and no spot is filed in a cell that
// does not hold its position. A spot whose position is not a number is in no cell. Spots are numbered as in
// their list; a removed spot keeps its number and matches nothing.
class SpotGrid {
public:
    // Where a spot stands and the extent of its footprint; NaN extents overlap nothing.
    struct Spot {
        float x;
        float y;
        float left;
        float right;
        float top;
        float bottom;
    };

    static constexpr std::size_t none = SIZE_MAX;

    // Files spots 0 to count - 1 afresh, spot k as read(k) gives it.
    template <typename Read> void file(const std::size_t count, Read read) {
        staged.clear();
        for (std::size_t k = 0; k < count; ++k) {
            staged.push_back(read(k));
        }
        fileStaged();
    }
    // Adds the next spot, numbered size().
    void add(const Spot& spot);
    void move(std::size_t k, const Spot& spot);
    void remove(std::size_t k);
    // Closes up the numbers once the removed spots have left the list: keptBefore[k] counts the spots kept
    // before spot k, and one more entry counts them all, so that spot k was kept where it differs from the
    // next.
    void renumber(const std::vector<std::size_t>& keptBefore);
    std::size_t size() const { return slotOf.size(); }
    // How many spots were added since the latest filing.
    std::size_t added() const { return number.size() - firstAdded; }

    // The lowest spot from `from` on, other than skip, whose footprint overlaps the given one (positive width
    // and height, as sf::FloatRect::intersects has it), among spots that each stand at their footprint's
    // top-left corner with sides of at most `widest`; none if there is no such spot.
    std::size_t firstOverlapping(const Spot& footprint, std::size_t from, std::size_t skip, float widest) const;
    // Every such spot that overlaps the footprint, in the order of their numbers, appended to `found`.
    void overlapping(const Spot& footprint, float widest, std::vector<std::size_t>& found) const;
    // The spot nearest to the point by the distance that GameState::distance gives, the lowest of equally
    // near ones; none if no spot's distance is a number, or once the search has spread over more than
    // `cellBudget` cells, where a scan of the whole list costs less.
    std::size_t nearest(sf::Vector2f from, float& distance, std::size_t cellBudget) const;

private:
    // A rectangle of cells, its edges included.
    struct Block {
        int left;
        int top;
        int right;
        int bottom;
    };

    // A row of cells searched for the least rough square distance, and the least found there.
    struct Run {
        int row;
        int left;
        int right;
        std::int32_t least;
    };
    // How many rows a search remembers; past that, it ranks the spots of every row.
    static constexpr std::size_t mostRuns = 32;

    // A ranking of spots by their exact distance from a point, among those whose rough square distance is
    // at most the bound: the best so far and its distance.
    struct Nearest {
        sf::Vector2f from;
        std::size_t best;
        float distance;
        float bound;
    };

    // A power of two, so that dividing a coordinate by it is exact.
    static constexpr int cellSide = 32;
    // The grid reaches this far beyond the window on every side, in cells.
    static constexpr int margin = 640 / cellSide;
    static constexpr int columns = (static_cast<int>(windowWidth) + cellSide - 1) / cellSide + 2 * margin;
    static constexpr int rows = (static_cast<int>(windowHeight) + cellSide - 1) / cellSide + 2 * margin;
    static constexpr std::int32_t nowhere = -1;

    // The column or row of a coordinate: the floor of coordinate / cellSide, counted from the margin, or the
    // outermost one beyond the grid.
    static int slot(double coordinate, int count);
    // Where the cells of that column or row begin.
    static double edge(const int slot) { return static_cast<double>(slot - margin) * cellSide; }
    // How far a coordinate lies outside the cells of that column or row; 0 within.
    static double gap(double coordinate, int slot, int count);
    static std::int32_t cellOf(float x, float y);
    static std::size_t cellAt(const int column, const int row) {
        return static_cast<std::size_t>(row) * columns + static_cast<std::size_t>(column);
    }
    static Block around(int column, int row, int rings);
    static bool wholeGrid(const Block& block);
    // A lower bound on the distance from a point in the block's cells to any spot filed outside them.
    double clearance(sf::Vector2f point, const Block& block) const;
    // Whether a spot at least `reach` away cannot have a rough square as low as `least`, whatever the rounding.
    static bool pastLeast(double reach, float least);

    void fileStaged();
    void fileLate(std::size_t slot);
    void write(std::size_t slot, const Spot& spot);
    // The first slot, and the slot past the last, of the spots filed in the cells of a row from left to right.
    std::size_t rowBegin(int row, int left) const;
    std::size_t rowEnd(int row, int right) const;
    // The cells that hold every spot that can overlap the footprint.
    Block reaching(const Spot& footprint, float widest) const;
    std::size_t firstOverlappingAdded(const Spot& footprint, std::size_t from, std::size_t skip,
                                      const Block& block) const;
    void rankRow(int row, int left, int right, Nearest& search) const;
    void rank(std::size_t slot, Nearest& search) const;
    // Calls visit(slot) for each spot added since the filing to the cells of a row from left to right.
    template <typename Visit> void visitAdded(int row, int left, int right, Visit visit) const {
        if (lateInRow[static_cast<std::size_t>(row)] == 0) {
            return;
        }
        for (int column = left; column <= right; ++column) {
            for (std::int32_t s = lateFirst[cellAt(column, row)]; s != nowhere;
                 s = lateNext[static_cast<std::size_t>(s)]) {
                visit(static_cast<std::size_t>(s));
            }
        }
    }

    // The columns that a test of overlap reads, held as plain pointers so that nothing the scan writes can
    // seem to change them, which lets the compiler test the spots side by side.
    struct Columns {
        const float* left;
        const float* right;
        const float* top;
        const float* bottom;
        const std::int32_t* number;

        // Whether the spot in slot s overlaps the footprint; bitwise, so that it runs without branches.
        // NOLINTBEGIN(readability-implicit-bool-conversion)
        bool overlap(const std::size_t s, const Spot& footprint) const {
            return (footprint.left < right[s]) & (left[s] < footprint.right) & (footprint.top < bottom[s]) &
                   (top[s] < footprint.bottom);
        }
        // NOLINTEND(readability-implicit-bool-conversion)
    };
    Columns columnsOf() const { return {left.data(), right.data(), top.data(), bottom.data(), number.data()}; }

    // Per slot, column by column: a copy of the spot, its number and the cell it was filed in. Each cell's
    // filed spots lie together, cell after cell; from firstAdded on come the spots added later, listed per
    // cell through lateFirst and lateNext.
    std::vector<float> x;
    std::vector<float> y;
    std::vector<float> left;
    std::vector<float> right;
    std::vector<float> top;
    std::vector<float> bottom;
    std::vector<std::int32_t> number;
    std::vector<std::int32_t> filedIn;
    std::vector<std::int32_t> lateNext;
    // Per spot: its slot.
    std::vector<std::int32_t> slotOf;
    // Per cell: where its filed spots begin, one more entry for where the last one's end, and the latest
    // spot added to it. Per row: how many spots were added to it.
    std::vector<std::int32_t> cellStart;
    std::vector<std::int32_t> lateFirst;
    std::vector<std::int32_t> lateInRow;
    std::size_t firstAdded = 0;
    // How far, along either axis, a spot has strayed at most outside the cell it was filed in.
    double drift = 0.0;
    // Scratch for filing, kept so that filing allocates nothing once the grid has its size.
    std::vector<Spot> staged;
    std::vector<std::int32_t> stagedCell;
};

} // namespace G
