#pragma once

#include "tools/tournament/Summary.hpp"
#include "tools/tournament/Sweep.hpp"

#include <string>
#include <vector>

// A map's chart as a stand-alone SVG document: the triangle of its starts, each corner the start of one kind
// alone, with a cell around each start coloured by the kind that wins most often from it, the stronger the
// further its share is above a third. The colours are Okabe and Ito's blue and vermillion and a neutral
// grey, of about one lightness at full strength, which differ along the blue-yellow axis that the common
// colour-vision deficiencies keep. A start whose games are mostly undecided is hatched instead; the even
// start, where it is one of the map's, is ringed; each cell's tooltip gives its start, the three shares with their 95 %
// intervals and the undecided games.
namespace G::mapChart {

// The summaries in the order of the map's starts.
std::string render(const Sweep& map, const std::vector<Summary>& summaries);

} // namespace G::mapChart
