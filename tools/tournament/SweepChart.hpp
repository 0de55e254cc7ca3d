#pragma once

#include "tools/tournament/Summary.hpp"
#include "tools/tournament/Sweep.hpp"

#include <string>
#include <vector>

// A sweep's chart as a stand-alone SVG document: each kind's win share, with its 95 % interval, against the
// count that the sweep varies, one place per start, and the even share of a third marked across.
namespace G::sweepChart {

std::string render(const Sweep& sweep, const std::vector<Summary>& summaries);

} // namespace G::sweepChart
