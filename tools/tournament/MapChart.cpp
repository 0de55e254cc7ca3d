#include "tools/tournament/MapChart.hpp"

#include "tools/tournament/ChartParts.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <iomanip>
#include <sstream>

namespace G::mapChart {

namespace {

constexpr double width = 800;
constexpr double height = 590;
// The triangle: its side, and its bottom-left corner.
constexpr double side = 440;
constexpr double left = 100;
constexpr double bottom = 520;
constexpr double legendLeft = 590;
// The legend's swatches: their width and the space between their left edges.
constexpr double swatch = 28;
constexpr double swatchSpacing = 38;

// Rock, paper and scissors: a neutral grey, Okabe and Ito's blue and their vermillion, whose relative
// luminances (0.18, 0.15 and 0.22) are close, so that a cell's lightness tells its margin alike for each kind.
constexpr std::array<std::array<int, 3>, 3> hues{{{118, 118, 118}, {0, 114, 178}, {213, 94, 0}}};

struct Point {
    double x;
    double y;
};

// The corners: rock at the top, paper at the bottom left, scissors at the bottom right.
const std::array<Point, 3> corners{
    {{left + side / 2, bottom - std::sqrt(3.0) / 2 * side}, {left, bottom}, {left + side, bottom}}};

// Where a start of these counts stands: the corners weighed by the counts.
Point pointOf(const std::array<double, 3>& counts) {
    const double total = counts[0] + counts[1] + counts[2];
    Point point{0, 0};
    for (std::size_t kind = 0; kind < 3; ++kind) {
        point.x += corners.at(kind).x * counts.at(kind) / total;
        point.y += corners.at(kind).y * counts.at(kind) / total;
    }
    return point;
}

Point pointOf(const Start& start) {
    return pointOf({static_cast<double>(start.count(Kind::Rock)), static_cast<double>(start.count(Kind::Paper)),
                    static_cast<double>(start.count(Kind::Scissors))});
}

// How strongly a kind that wins this share of games is coloured, from 0 at a third to 1 at every game. The
// square root lets a lead of a few points show: 40 % is a third of the way, 60 % two thirds.
double strengthOf(const double share) {
    return std::sqrt(std::clamp((share - 1.0 / 3.0) / (2.0 / 3.0), 0.0, 1.0));
}

// The kind's hue at that strength, mixed with white.
std::string colourOf(const std::size_t kind, const double strength) {
    std::ostringstream out;
    out << "#" << std::hex << std::setfill('0');
    for (const int channel : hues.at(kind)) {
        out << std::setw(2) << static_cast<int>(std::lround(255 - (255 - channel) * strength));
    }
    return out.str();
}

// "50 rock, 50 paper, 50 scissors".
std::string countsOf(const Start& start) {
    std::string text;
    for (ItemKind kind = Kind::Rock; kind <= Kind::Scissors; ++kind) {
        text += (text.empty() ? "" : ", ") + std::to_string(start.count(kind)) + " " + wordFor(kind);
    }
    return text;
}

// A cell's tooltip: its start, each kind's share with its interval, and the undecided games.
std::string tooltipOf(const Start& start, const Summary& summary) {
    std::ostringstream out;
    out << std::fixed << std::setprecision(1) << countsOf(start) << ". Wins:";
    for (ItemKind kind = Kind::Rock; kind <= Kind::Scissors; ++kind) {
        const Summary::Share& share = summary.shares().at(static_cast<std::size_t>(kind));
        out << (kind == Kind::Rock ? " " : ", ") << wordFor(kind) << " " << 100 * share.share << "% ("
            << Summary::interval(share) << ")";
    }
    out << "; undecided " << summary.shares().back().games << " of " << Summary::counted(summary.games(), "game");
    return out.str();
}

std::string polygon(const std::vector<Point>& points) {
    std::ostringstream out;
    out << std::fixed << std::setprecision(1) << "points='";
    for (const Point& point : points) {
        out << point.x << "," << point.y << " ";
    }
    out << "'";
    return out.str();
}

// The hexagon around a start, as far as its neighbours: its corners stand between it and two neighbours,
// at 30, 90, 150, … degrees.
std::vector<Point> cellAround(const Point centre, const double spacing) {
    const double across = spacing / 2;
    const double up = spacing / std::sqrt(3.0);
    return {{centre.x + across, centre.y + up / 2}, {centre.x, centre.y + up}, {centre.x - across, centre.y + up / 2},
            {centre.x - across, centre.y - up / 2}, {centre.x, centre.y - up}, {centre.x + across, centre.y - up / 2}};
}

// A cell's fill: hatched where most games are undecided, white where two kinds win equally often, else the
// hue of the kind that wins most.
std::string fillOf(const Summary& summary) {
    const auto& shares = summary.shares();
    if (2 * shares.back().games > summary.games()) {
        return "url(#undecided)";
    }
    const auto byShare = [](const Summary::Share& a, const Summary::Share& b) { return a.games < b.games; };
    const auto most =
        static_cast<std::size_t>(std::max_element(shares.begin(), shares.begin() + 3, byShare) - shares.begin());
    const std::size_t wins = shares.at(most).games;
    if (std::count_if(shares.begin(), shares.begin() + 3,
                      [wins](const Summary::Share& share) { return share.games == wins; }) > 1) {
        return "white";
    }
    return colourOf(most, strengthOf(shares.at(most).share));
}

// The cells, each with its colour and tooltip, clipped to the triangle.
void cells(std::ostream& out, const Sweep& map, const std::vector<Summary>& summaries) {
    const double spacing = side / map.mapSteps();
    out << "<clipPath id='triangle'><polygon " << polygon({corners.begin(), corners.end()}) << "/></clipPath>\n";
    out << "<pattern id='undecided' width='6' height='6' patternUnits='userSpaceOnUse' "
           "patternTransform='rotate(45)'><rect width='6' height='6' fill='white'/>"
           "<line x1='0' y1='0' x2='0' y2='6' stroke='#777' stroke-width='2'/></pattern>\n";
    out << "<g clip-path='url(#triangle)' stroke='white' stroke-width='0.6'>\n";
    for (std::size_t at = 0; at < map.starts().size(); ++at) {
        out << "<polygon " << polygon(cellAround(pointOf(map.starts()[at]), spacing)) << " fill='"
            << fillOf(summaries.at(at)) << "'><title>" << tooltipOf(map.starts()[at], summaries.at(at))
            << "</title></polygon>\n";
    }
    out << "</g>\n";
    out << "<polygon " << polygon({corners.begin(), corners.end()}) << " fill='none' stroke='#333'/>\n";
}

// Where a side's ticks stand: at round whole counts, and at the corner's count, which a round count too close
// to it gives way to.
std::vector<std::int32_t> ticksUpTo(const std::int32_t total) {
    const auto step =
        std::max<std::int32_t>(1, static_cast<std::int32_t>(std::lround(chartParts::roundAxis(total, 5).step)));
    std::vector<std::int32_t> ticks;
    for (std::int32_t value = 0; 2 * value < 2 * total - step; value += step) {
        ticks.push_back(value);
    }
    ticks.push_back(total);
    return ticks;
}

// Whether the map's starts include the even start.
bool holdsTheEvenStart(const Sweep& map) {
    const std::int32_t total = map.starts().front().total();
    return total % (3 * map.step()) == 0;
}

// Each side carries one kind's count, rising towards its corner, with ticks along the lines of that count.
void axes(std::ostream& out, const Sweep& map) {
    const std::int32_t total = map.starts().front().total();
    // Each kind's side runs from the corner before it (none of the kind) to its own; the ticks point outwards
    // along the lines where its count stays the same, and the kind's name stands beside the side's middle.
    const std::array<std::size_t, 3> from{1, 2, 0};
    const std::array<Point, 3> outwards{{{-1, 0}, {0.5, std::sqrt(3.0) / 2}, {0.5, -std::sqrt(3.0) / 2}}};
    const std::array<const char*, 3> anchors{"end", "middle", "start"};
    const std::array<Point, 3> labelShift{{{-3, 4}, {3, 14}, {3, 2}}};
    const std::array<Point, 3> titleAt{{{-34, -20}, {0, 44}, {34, -20}}};
    const std::array<int, 3> titleAngle{-60, 0, 60};
    for (std::size_t kind = 0; kind < 3; ++kind) {
        const Point a = corners.at(from.at(kind));
        const Point b = corners.at(kind);
        const Point d = outwards.at(kind);
        for (const std::int32_t value : ticksUpTo(total)) {
            const double along = static_cast<double>(value) / total;
            const Point p{a.x + (b.x - a.x) * along, a.y + (b.y - a.y) * along};
            const Point end{p.x + 7 * d.x, p.y + 7 * d.y};
            out << "<line x1='" << p.x << "' y1='" << p.y << "' x2='" << end.x << "' y2='" << end.y
                << "' stroke='#333'/>\n";
            out << "<text x='" << end.x + labelShift.at(kind).x << "' y='" << end.y + labelShift.at(kind).y
                << "' text-anchor='" << anchors.at(kind) << "'>" << value << "</text>\n";
        }
        const Point middle{(a.x + b.x) / 2 + titleAt.at(kind).x, (a.y + b.y) / 2 + titleAt.at(kind).y};
        out << "<text transform='translate(" << middle.x << "," << middle.y << ") rotate(" << titleAngle.at(kind)
            << ")' text-anchor='middle'>" << wordFor(static_cast<ItemKind>(kind)) << " pieces at the start</text>\n";
    }
    // The corners, named: the start of that kind alone.
    const std::array<double, 3> nameBelow{-14, 40, 40};
    for (std::size_t kind = 0; kind < 3; ++kind) {
        out << "<text x='" << corners.at(kind).x << "' y='" << corners.at(kind).y + nameBelow.at(kind)
            << "' text-anchor='middle' font-weight='bold'>" << wordFor(static_cast<ItemKind>(kind))
            << " alone</text>\n";
    }
    if (holdsTheEvenStart(map)) {
        const Point even = pointOf({1, 1, 1});
        out << "<circle cx='" << even.x << "' cy='" << even.y
            << "' r='5' fill='none' stroke='black' stroke-width='1.5'/>\n";
    }
}

void legend(std::ostream& out, const Sweep& map) {
    double y = 120;
    out << "<text x='" << legendLeft << "' y='" << y << "' font-weight='bold'>The kind that wins most often</text>\n";
    const std::array<double, 4> shares{0.4, 0.6, 0.8, 1.0};
    y += 22;
    for (std::size_t column = 0; column < shares.size(); ++column) {
        out << "<text x='" << legendLeft + 62 + swatchSpacing * static_cast<double>(column) + swatch / 2 << "' y='" << y
            << "' text-anchor='middle'>" << std::setprecision(0) << 100 * shares.at(column) << std::setprecision(1)
            << "%</text>\n";
    }
    for (std::size_t kind = 0; kind < 3; ++kind) {
        y += 6;
        out << "<text x='" << legendLeft << "' y='" << y + 17 << "'>" << wordFor(static_cast<ItemKind>(kind))
            << "</text>\n";
        for (std::size_t column = 0; column < shares.size(); ++column) {
            out << "<rect x='" << legendLeft + 62 + swatchSpacing * static_cast<double>(column) << "' y='" << y
                << "' width='" << swatch << "' height='24' fill='" << colourOf(kind, strengthOf(shares.at(column)))
                << "' stroke='#999' stroke-width='0.5'/>\n";
        }
        y += 24;
    }
    y += 22;
    out << "<text x='" << legendLeft << "' y='" << y << "'>of its games; white: no kind</text>\n";
    out << "<text x='" << legendLeft << "' y='" << y + 16 << "'>above a third</text>\n";
    y += 40;
    out << "<rect x='" << legendLeft << "' y='" << y - 13 << "' width='26' height='18' fill='url(#undecided)' "
        << "stroke='#999' stroke-width='0.5'/>\n";
    out << "<text x='" << legendLeft + 34 << "' y='" << y << "'>mostly undecided</text>\n";
    if (holdsTheEvenStart(map)) {
        y += 28;
        out << "<circle cx='" << legendLeft + 13 << "' cy='" << y - 4 << "' r='5' fill='none' stroke='black' "
            << "stroke-width='1.5'/>\n";
        out << "<text x='" << legendLeft + 34 << "' y='" << y << "'>the even start</text>\n";
    }
    y += 34;
    out << "<text x='" << legendLeft << "' y='" << y << "'>Each cell is a start, in steps of " << map.step()
        << ";</text>\n";
    out << "<text x='" << legendLeft << "' y='" << y + 16 << "'>hover it for its win shares</text>\n";
    out << "<text x='" << legendLeft << "' y='" << y + 32 << "'>and their 95% intervals.</text>\n";
}

} // namespace

std::string render(const Sweep& map, const std::vector<Summary>& summaries) {
    std::ostringstream out;
    out << std::fixed << std::setprecision(1);
    out << chartParts::documentStart(width, height);
    out << "<text x='20' y='28' font-size='15'>Who wins from every start of "
        << Summary::counted(static_cast<std::uint64_t>(map.starts().front().total()), "piece") << ", "
        << Summary::counted(summaries.front().games(), "game") << " from each</text>\n";
    out << "<text x='20' y='48' fill='#444'>Rock beats scissors, scissors beat paper, paper beats rock</text>\n";
    cells(out, map, summaries);
    axes(out, map);
    legend(out, map);
    out << "</svg>\n";
    return out.str();
}

} // namespace G::mapChart
