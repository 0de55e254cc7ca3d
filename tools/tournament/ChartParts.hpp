#pragma once

#include <array>
#include <string>

// What the tournament's charts share: the kinds' colours, round axes and the document's frame.
namespace G::chartParts {

// Rock, paper and scissors, in the arena's order: the colours of the pieces' images.
constexpr std::array<const char*, 3> colours{"#6f625a", "#3466c8", "#d6242a"};

// An axis from 0 that ends on a round number, with ticks at round steps: 1, 2, 2.5 or 5 times a power of ten.
struct Axis {
    double step;
    double max;
    int decimals;
};

// The round step nearest above `raw`.
double roundStep(double raw);
// An axis that reaches at least `highest` in about `ticks` steps.
Axis roundAxis(double highest, int ticks);

// The start of a stand-alone SVG document of that size, on a white ground; "</svg>\n" ends it.
std::string documentStart(double width, double height);

} // namespace G::chartParts
