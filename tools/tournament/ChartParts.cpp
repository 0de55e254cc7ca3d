#include "tools/tournament/ChartParts.hpp"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <sstream>

namespace G::chartParts {

double roundStep(const double raw) {
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double residual = raw / magnitude;
    for (const double nice : {1.0, 2.0, 2.5, 5.0}) {
        if (residual <= nice * (1 + 1e-9)) {
            return nice * magnitude;
        }
    }
    return 10.0 * magnitude;
}

Axis roundAxis(const double highest, const int ticks) {
    const double step = roundStep(std::max(highest, 1e-9) / ticks);
    const double max = std::max(1.0, std::ceil(highest / step - 1e-9)) * step;
    // As many decimals as the step needs: 2.5 needs one, 0.25 two, 50 none.
    int decimals = 0;
    while (decimals < 6 &&
           std::abs(step * std::pow(10.0, decimals) - std::round(step * std::pow(10.0, decimals))) > 1e-6) {
        ++decimals;
    }
    return {step, max, decimals};
}

std::string documentStart(const double width, const double height) {
    std::ostringstream out;
    out << std::fixed << std::setprecision(1);
    out << "<?xml version='1.0' encoding='UTF-8'?>\n";
    out << "<svg xmlns='http://www.w3.org/2000/svg' width='" << width << "' height='" << height << "' viewBox='0 0 "
        << width << " " << height << "' font-family='sans-serif' font-size='12'>\n";
    out << "<rect width='100%' height='100%' fill='white'/>\n";
    return out.str();
}

} // namespace G::chartParts
