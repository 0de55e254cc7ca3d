#include "tools/tournament/SvgChart.hpp"

#include "tools/tournament/ChartParts.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <iomanip>
#include <sstream>

namespace G::svgChart {

namespace {

constexpr double panelWidth = 520;
constexpr double panelHeight = 300;
constexpr double top = 50;
constexpr double left = 70;
constexpr double gap = 110;
using chartParts::Axis;
using chartParts::colours;
using chartParts::roundAxis;
using chartParts::roundStep;

// A panel's frame and its ticks; the x axis spans `width` of the panel.
void axes(std::ostringstream& out, const double x0, const double width, const std::string& xLabel,
          const std::string& yLabel, const Axis& x, const Axis& y) {
    out << "<rect x='" << x0 << "' y='" << top << "' width='" << panelWidth << "' height='" << panelHeight
        << "' fill='#f4f4f4' stroke='#888'/>\n";
    for (double value = 0; value <= x.max * (1 + 1e-9); value += x.step) {
        out << "<text x='" << std::setprecision(1) << x0 + value / x.max * width << "' y='" << top + panelHeight + 18
            << "' text-anchor='middle'>" << std::setprecision(x.decimals) << value << "</text>\n";
    }
    for (double value = 0; value <= y.max * (1 + 1e-9); value += y.step) {
        out << "<text x='" << std::setprecision(1) << x0 - 8 << "' y='"
            << top + panelHeight - value / y.max * panelHeight + 4 << "' text-anchor='end'>"
            << std::setprecision(y.decimals) << value << "</text>\n";
    }
    out << std::setprecision(1);
    out << "<text x='" << x0 + panelWidth / 2 << "' y='" << top + panelHeight + 40 << "' text-anchor='middle'>"
        << xLabel << "</text>\n";
    out << "<text transform='translate(" << x0 - 50 << "," << top + panelHeight / 2
        << ") rotate(-90)' text-anchor='middle'>" << yLabel << "</text>\n";
}

} // namespace

std::string render(const std::vector<SeededGame::Counts>& timeline, const std::uint32_t timelineSeed,
                   const std::vector<SeededGame::Result>& games, const Summary& summary, const GameRules& rules) {
    std::ostringstream out;
    out << std::fixed << std::setprecision(1);
    const double width = left + 2 * panelWidth + gap + 40;
    const double height = top + panelHeight + 80;
    out << chartParts::documentStart(width, height);

    // Left: the three counts over one game, with no more than about a thousand points per line.
    const double total = rules.start.total();
    const double frames = timeline.empty() ? 1.0 : static_cast<double>(timeline.size() - 1);
    const Axis time = roundAxis(std::max(frames, 1.0) * rules.frameTime, 5);
    const double pixelsPerFrame = panelWidth / time.max * rules.frameTime;
    out << "<text x='" << left << "' y='24' font-size='15'>Pieces of each kind in game " << timelineSeed << "</text>\n";
    const Axis pieces = roundAxis(total, 3);
    axes(out, left, panelWidth, "game time (s)", "pieces", time, pieces);
    const std::size_t step = std::max<std::size_t>(1, timeline.size() / 1000);
    for (std::size_t kind = 0; kind < 3; ++kind) {
        out << "<polyline fill='none' stroke-width='2' stroke='" << colours.at(kind) << "' points='";
        for (std::size_t i = 0; i < timeline.size(); i += step) {
            const std::array<std::uint32_t, 3> counts{timeline[i].rocks, timeline[i].papers, timeline[i].scissors};
            out << left + static_cast<double>(i) * pixelsPerFrame << ","
                << top + panelHeight - counts.at(kind) / pieces.max * panelHeight << " ";
        }
        out << "'/>\n";
        out << "<text x='" << left + 10 << "' y='" << top + 18 + 16.0 * static_cast<double>(kind) << "' fill='"
            << colours.at(kind) << "'>" << wordFor(static_cast<ItemKind>(kind)) << "</text>\n";
    }

    // Right: how long the decided games lasted, stacked by winner. A long tail, reaching past one and a half
    // times the 95th percentile, is folded into a last bar of its own, so that the common lengths keep their
    // detail.
    const double x0 = left + panelWidth + gap;
    const double p95 = summary.lengthQuantile(0.95) * rules.frameTime;
    const double longest = static_cast<double>(summary.longest()) * rules.frameTime;
    const bool folded = longest > 1.5 * p95 && p95 > 0;
    const Axis length = roundAxis(std::max(folded ? p95 : longest, static_cast<double>(rules.frameTime)), 6);
    const double binWidth = roundStep(length.max / 30);
    const auto bins = static_cast<std::size_t>(std::lround(length.max / binWidth));
    const double tailWidth = folded ? 44.0 : 0.0;
    const double barsWidth = panelWidth - tailWidth;
    std::vector<std::array<std::size_t, 3>> counts(bins + 1, {0, 0, 0});
    for (const SeededGame::Result& game : games) {
        for (std::size_t kind = 0; kind < 3; ++kind) {
            if (game.winner == everyWinner.at(kind)) {
                const double seconds = static_cast<double>(game.frames) * rules.frameTime;
                const auto bin = static_cast<std::size_t>(std::floor(seconds / binWidth + 1e-9));
                ++counts[folded ? std::min(bin, bins) : std::min(bin, bins - 1)].at(kind);
            }
        }
    }
    std::size_t tallest = 1;
    for (const auto& bin : counts) {
        tallest = std::max(tallest, bin[0] + bin[1] + bin[2]);
    }
    const Axis count = roundAxis(static_cast<double>(tallest), 5);
    out << "<text x='" << x0 << "' y='24' font-size='15'>Game lengths and win shares, "
        << Summary::counted(games.size(), "game") << "</text>\n";
    axes(out, x0, barsWidth, "game length (s)", "games", length, count);
    const double barWidth = barsWidth / static_cast<double>(bins);
    for (std::size_t bin = 0; bin <= bins; ++bin) {
        const bool tail = bin == bins;
        if (tail && !folded) {
            break;
        }
        const double x = tail ? x0 + barsWidth + 12 : x0 + static_cast<double>(bin) * barWidth;
        const double width = tail ? tailWidth - 16 : barWidth - 1;
        double base = top + panelHeight;
        for (std::size_t kind = 0; kind < 3; ++kind) {
            const double barHeight = static_cast<double>(counts[bin].at(kind)) / count.max * panelHeight;
            if (barHeight > 0) {
                base -= barHeight;
                out << "<rect x='" << x << "' y='" << base << "' width='" << std::max(width, 0.5) << "' height='"
                    << barHeight << "' fill='" << colours.at(kind) << "'/>\n";
            }
        }
    }
    if (folded) {
        out << "<line x1='" << x0 + barsWidth + 4 << "' y1='" << top << "' x2='" << x0 + barsWidth + 4 << "' y2='"
            << top + panelHeight << "' stroke='#888' stroke-dasharray='4 3'/>\n";
        out << "<text x='" << x0 + barsWidth + tailWidth / 2 + 6 << "' y='" << top + panelHeight + 32
            << "' text-anchor='middle' font-size='11'>&#8805;" << std::setprecision(length.decimals) << length.max
            << " s</text>\n"
            << std::setprecision(1);
        out << "<text x='" << x0 + barsWidth - 4 << "' y='" << top + panelHeight + 56
            << "' text-anchor='end' font-size='11' fill='#444'>longest " << longest << " s</text>\n";
    }
    // The win shares on one line between the title and the panel, where no bar can cover them.
    out << "<text x='" << x0 << "' y='" << top - 8 << "'>";
    for (std::size_t kind = 0; kind < 4; ++kind) {
        const Summary::Share& share = summary.shares().at(kind);
        out << "<tspan" << (kind > 0 ? " dx='16'" : "") << " fill='" << (kind < 3 ? colours.at(kind) : "#444") << "'>"
            << nameOf(share.winner) << " " << 100 * share.share << "% (" << share.games << ")</tspan>";
    }
    out << "</text>\n";
    out << "</svg>\n";
    return out.str();
}

} // namespace G::svgChart
