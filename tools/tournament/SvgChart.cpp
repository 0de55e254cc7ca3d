#include "tools/tournament/SvgChart.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <iomanip>
#include <sstream>

namespace G {

namespace {

constexpr double panelWidth = 520;
constexpr double panelHeight = 300;
constexpr double top = 50;
constexpr double left = 70;
constexpr double gap = 110;
constexpr std::array<const char*, 3> colours{"#6f625a", "#3466c8", "#d6242a"};
constexpr std::array<const char*, 3> names{"rock", "paper", "scissors"};

// A panel's frame, with five ticks on each axis; tick values carry that many decimals.
void axes(std::ostringstream& out, const double x0, const std::string& xLabel, const std::string& yLabel,
          const double xMax, const double yMax, const int xDecimals, const int yDecimals) {
    out << "<rect x='" << x0 << "' y='" << top << "' width='" << panelWidth << "' height='" << panelHeight
        << "' fill='#f4f4f4' stroke='#888'/>\n";
    for (int tick = 0; tick <= 4; ++tick) {
        const double fraction = tick / 4.0;
        const double x = x0 + fraction * panelWidth;
        const double y = top + panelHeight - fraction * panelHeight;
        out << "<text x='" << x << "' y='" << top + panelHeight + 18 << "' text-anchor='middle'>"
            << std::setprecision(xDecimals) << fraction * xMax << "</text>\n";
        out << "<text x='" << x0 - 8 << "' y='" << y + 4 << "' text-anchor='end'>" << std::setprecision(yDecimals)
            << fraction * yMax << "</text>\n";
    }
    out << std::setprecision(1);
    out << "<text x='" << x0 + panelWidth / 2 << "' y='" << top + panelHeight + 40 << "' text-anchor='middle'>"
        << xLabel << "</text>\n";
    out << "<text transform='translate(" << x0 - 50 << "," << top + panelHeight / 2
        << ") rotate(-90)' text-anchor='middle'>" << yLabel << "</text>\n";
}

} // namespace

std::string SvgChart::render(const std::vector<Tournament::Counts>& timeline, const std::uint32_t timelineSeed,
                             const std::vector<Tournament::Game>& games, const Summary& summary,
                             const Tournament::Settings& settings) {
    std::ostringstream out;
    out << std::fixed << std::setprecision(1);
    const double width = left + 2 * panelWidth + gap + 40;
    const double height = top + panelHeight + 80;
    out << "<?xml version='1.0' encoding='UTF-8'?>\n";
    out << "<svg xmlns='http://www.w3.org/2000/svg' width='" << width << "' height='" << height << "' viewBox='0 0 "
        << width << " " << height << "' font-family='sans-serif' font-size='12'>\n";
    out << "<rect width='100%' height='100%' fill='white'/>\n";

    // Left: the three counts over one game, with no more than about a thousand points per line.
    const double total = 3.0 * settings.startEach;
    const double frames = timeline.empty() ? 1.0 : static_cast<double>(timeline.size() - 1);
    const double seconds = std::max(frames, 1.0) * settings.frameTime;
    out << "<text x='" << left << "' y='30' font-size='15'>Pieces of each kind in game " << timelineSeed << "</text>\n";
    axes(out, left, "game time (s)", "pieces", seconds, total, 1, 0);
    const std::size_t step = std::max<std::size_t>(1, timeline.size() / 1000);
    for (std::size_t kind = 0; kind < 3; ++kind) {
        out << "<polyline fill='none' stroke-width='2' stroke='" << colours.at(kind) << "' points='";
        for (std::size_t i = 0; i < timeline.size(); i += step) {
            const std::array<std::uint32_t, 3> counts{timeline[i].rocks, timeline[i].papers, timeline[i].scissors};
            out << left + static_cast<double>(i) / std::max(frames, 1.0) * panelWidth << ","
                << top + panelHeight - counts.at(kind) / total * panelHeight << " ";
        }
        out << "'/>\n";
        out << "<text x='" << left + 10 << "' y='" << top + 18 + 16.0 * static_cast<double>(kind) << "' fill='"
            << colours.at(kind) << "'>" << names.at(kind) << "</text>\n";
    }

    // Right: how long the decided games lasted, stacked by winner.
    const double x0 = left + panelWidth + gap;
    constexpr std::size_t bins = 30;
    const double longest = std::max(1.0, static_cast<double>(summary.longest()));
    std::vector<std::array<std::size_t, 3>> counts(bins, {0, 0, 0});
    for (const Tournament::Game& game : games) {
        for (std::size_t kind = 0; kind < 3; ++kind) {
            if (game.winner == summary.shares().at(kind).name) {
                const auto bin =
                    std::min(bins - 1, static_cast<std::size_t>(static_cast<double>(game.frames) / longest * bins));
                ++counts[bin].at(kind);
            }
        }
    }
    std::size_t tallest = 1;
    for (const auto& bin : counts) {
        tallest = std::max(tallest, bin[0] + bin[1] + bin[2]);
    }
    out << "<text x='" << x0 << "' y='30' font-size='15'>Game lengths and win shares, " << games.size()
        << " games</text>\n";
    axes(out, x0, "game length (s)", "games", longest * settings.frameTime, static_cast<double>(tallest), 1, 0);
    const double barWidth = panelWidth / bins;
    for (std::size_t bin = 0; bin < bins; ++bin) {
        double base = top + panelHeight;
        for (std::size_t kind = 0; kind < 3; ++kind) {
            const double barHeight =
                static_cast<double>(counts[bin].at(kind)) / static_cast<double>(tallest) * panelHeight;
            if (barHeight > 0) {
                base -= barHeight;
                out << "<rect x='" << x0 + static_cast<double>(bin) * barWidth << "' y='" << base << "' width='"
                    << barWidth - 1 << "' height='" << barHeight << "' fill='" << colours.at(kind) << "'/>\n";
            }
        }
    }
    for (std::size_t kind = 0; kind < 4; ++kind) {
        const Summary::Share& share = summary.shares().at(kind);
        out << "<text x='" << x0 + panelWidth - 10 << "' y='" << top + 18 + 16.0 * static_cast<double>(kind)
            << "' text-anchor='end' fill='" << (kind < 3 ? colours.at(kind) : "#444") << "'>" << share.name << " "
            << 100 * share.share << "% (" << share.games << ")</text>\n";
    }
    out << "</svg>\n";
    return out.str();
}

} // namespace G
