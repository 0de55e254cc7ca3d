#include "tools/tournament/SweepChart.hpp"

#include "tools/tournament/ChartParts.hpp"

#include <iomanip>
#include <sstream>

namespace G::sweepChart {

namespace {

constexpr double width = 800;
constexpr double height = 430;
constexpr double left = 70;
constexpr double top = 60;
constexpr double panelWidth = 560;
constexpr double panelHeight = 290;
// The three kinds' marks stand a little apart at each start, so that their intervals do not hide each other.
constexpr double apart = 7;

double yOf(const double share) {
    return top + panelHeight - share * panelHeight;
}

} // namespace

std::string render(const Sweep& sweep, const std::vector<Summary>& summaries) {
    std::ostringstream out;
    out << std::fixed << std::setprecision(1);
    out << chartParts::documentStart(width, height);
    out << "<text x='" << left << "' y='24' font-size='15'>Who wins from each start: win shares of "
        << Summary::counted(summaries.front().games(), "game") << ", with 95% intervals</text>\n";
    out << "<rect x='" << left << "' y='" << top << "' width='" << panelWidth << "' height='" << panelHeight
        << "' fill='#f4f4f4' stroke='#888'/>\n";
    for (int percent = 0; percent <= 100; percent += 20) {
        const double y = yOf(percent / 100.0);
        out << "<line x1='" << left << "' y1='" << y << "' x2='" << left + panelWidth << "' y2='" << y
            << "' stroke='#ddd'/>\n";
        out << "<text x='" << left - 8 << "' y='" << y + 4 << "' text-anchor='end'>" << percent << "%</text>\n";
    }
    const double third = yOf(1.0 / 3.0);
    out << "<line x1='" << left << "' y1='" << third << "' x2='" << left + panelWidth << "' y2='" << third
        << "' stroke='#444' stroke-dasharray='6 4'/>\n";
    out << "<text x='" << left + panelWidth + 8 << "' y='" << third + 4 << "' fill='#444'>even share</text>\n";

    const std::size_t starts = sweep.starts().size();
    const double spacing = panelWidth / static_cast<double>(starts);
    const auto xOf = [spacing](const std::size_t place, const std::size_t kind) {
        return left + (static_cast<double>(place) + 0.5) * spacing + (static_cast<double>(kind) - 1.0) * apart;
    };
    for (std::size_t place = 0; place < starts; ++place) {
        out << "<text x='" << xOf(place, 1) << "' y='" << top + panelHeight + 18 << "' text-anchor='middle'>"
            << sweep.values().at(place) << "</text>\n";
    }
    out << "<text x='" << left + panelWidth / 2 << "' y='" << top + panelHeight + 42 << "' text-anchor='middle'>"
        << sweep.axisName() << "</text>\n";
    out << "<text transform='translate(" << left - 50 << "," << top + panelHeight / 2
        << ") rotate(-90)' text-anchor='middle'>games won</text>\n";

    for (std::size_t kind = 0; kind < 3; ++kind) {
        const char* const colour = chartParts::colours.at(kind);
        out << "<polyline fill='none' stroke-width='2' stroke='" << colour << "' points='";
        for (std::size_t place = 0; place < starts; ++place) {
            out << xOf(place, kind) << "," << yOf(summaries.at(place).shares().at(kind).share) << " ";
        }
        out << "'/>\n";
        for (std::size_t place = 0; place < starts; ++place) {
            const Summary::Share& share = summaries.at(place).shares().at(kind);
            const double x = xOf(place, kind);
            out << "<line x1='" << x << "' y1='" << yOf(share.low) << "' x2='" << x << "' y2='" << yOf(share.high)
                << "' stroke='" << colour << "' stroke-width='1.5'/>\n";
            out << "<circle cx='" << x << "' cy='" << yOf(share.share) << "' r='3.5' fill='" << colour << "'/>\n";
        }
        out << "<text x='" << left + panelWidth + 8 << "' y='" << top + 14 + 18.0 * static_cast<double>(kind)
            << "' fill='" << colour << "'>" << wordFor(static_cast<ItemKind>(kind)) << "</text>\n";
    }
    out << "</svg>\n";
    return out.str();
}

} // namespace G::sweepChart
