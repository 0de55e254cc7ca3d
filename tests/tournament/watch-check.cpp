// Checks a screenshot of `quorvel-tournament --watch SEED` taken before its first update: the pieces stand
// exactly where the tournament's spawn for that seed puts them. Below the overlay's lines, every piece's
// square shows some of the piece, and nothing but the field's grey lies outside the pieces' squares; with
// --status-line, nor below the overlay where the watch's window writes its status line (a recorded frame has
// none).
//   watch-check SCREENSHOT.png SEED PIECES_OF_EACH_KIND|ROCKS,PAPERS,SCISSORS [--status-line]
#include "engine/Sfml.hpp"
#include "tools/tournament/SeededGame.hpp"

#include <SFML/Graphics/Image.hpp>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const bool statusLine = argc == 5 && std::string(argv[4]) == "--status-line";
    if (argc != 4 && !statusLine) {
        std::cerr << "usage: watch-check SCREENSHOT.png SEED PIECES_OF_EACH_KIND|ROCKS,PAPERS,SCISSORS "
                     "[--status-line]\n";
        return 2;
    }
    sf::Image shot;
    if (!shot.loadFromFile(argv[1]) || shot.getSize() != sf::Vector2u(G::windowWidth, G::windowHeight)) {
        std::cerr << "watch-check: " << argv[1] << " is not a 1200 x 800 screenshot\n";
        return 1;
    }
    // The tournament's spawn of that game.
    G::GameRules rules;
    const std::string pieces = argv[3];
    rules.start = pieces.find(',') != std::string::npos ? G::Start::parse(pieces)
                                                        : G::Start::equal(static_cast<std::int32_t>(std::stol(pieces)));
    G::SeededGame game(std::make_shared<G::Tool>(), static_cast<std::uint32_t>(std::stoul(argv[2])), rules);
    const G::GameState& state = game.arena();

    std::vector<bool> covered(std::size_t{G::windowWidth} * G::windowHeight, false);
    std::vector<sf::Vector2u> corners;
    for (const auto* list : {&state.rocks, &state.papers, &state.scissors}) {
        for (const G::Item& item : *list) {
            const auto x = static_cast<unsigned>(item.getPosition().x);
            const auto y = static_cast<unsigned>(item.getPosition().y);
            corners.emplace_back(x, y);
            for (unsigned v = y; v < y + 20; ++v) {
                for (unsigned u = x; u < x + 20; ++u) {
                    covered[v * G::windowWidth + u] = true;
                }
            }
        }
    }
    const sf::Color grey(192, 192, 192);
    // The overlay's lines, and the watch's status line under them.
    const auto inOverlay = [statusLine](const unsigned x, const unsigned y) {
        return (x < 260 && y < 140) || (statusLine && x < 600 && y < 125);
    };
    int failures = 0;
    for (unsigned y = 0; y < G::windowHeight; ++y) {
        for (unsigned x = 0; x < G::windowWidth; ++x) {
            if (!inOverlay(x, y) && !covered[y * G::windowWidth + x] && G::sfml::pixel(shot, x, y) != grey &&
                failures++ < 5) {
                std::cerr << "watch-check: something is drawn at (" << x << ", " << y << "), where no piece stands\n";
            }
        }
    }
    for (const sf::Vector2u& corner : corners) {
        if (inOverlay(corner.x, corner.y) || inOverlay(corner.x + 19, corner.y + 19)) {
            continue;
        }
        bool shown = false;
        for (unsigned v = corner.y; v < corner.y + 20 && !shown; ++v) {
            for (unsigned u = corner.x; u < corner.x + 20 && !shown; ++u) {
                shown = G::sfml::pixel(shot, u, v) != grey;
            }
        }
        if (!shown && failures++ < 10) {
            std::cerr << "watch-check: no piece shows at (" << corner.x << ", " << corner.y << ")\n";
        }
    }
    if (failures > 0) {
        std::cerr << "watch-check: " << failures << " disagreements with the spawn of seed " << argv[2] << "\n";
        return 1;
    }
    std::cout << "the first frame shows the " << corners.size() << " pieces where the spawn puts them\n";
    return 0;
}
