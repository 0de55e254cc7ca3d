#include "tools/replay/Watch.hpp"

#include "engine/Sfml.hpp"
#include "tools/tournament/Failure.hpp"
#include "tools/tournament/SeededGame.hpp"

#include <SFML/System/Clock.hpp>
#include <SFML/System/Sleep.hpp>

#include <algorithm>
#include <string>

namespace G {

Watch::Watch(const std::uint32_t seed, const GameRules& rules) : seed(seed), rules(rules) {
    tool->window.create(sfml::videoMode(windowWidth, windowHeight, 32), "QUORVEL " + std::to_string(seed),
                        sf::Style::Titlebar | sf::Style::Close);
    if (!tool->window.isOpen()) {
        throw Failure(1, "cannot open a window");
    }
}

void Watch::run() {
    SeededGame game(tool, seed, rules, SeededGame::Looks::Shown);
    const sf::Time step = sf::seconds(rules.frameTime);
    const sf::Time every = sf::seconds(redrawSeconds);
    const sf::Clock clock;
    sf::Time due = step;
    sf::Time redraw = sf::Time::Zero;
    while (tool->window.isOpen()) {
        // Anything the window is told (mapped, moved, focused, the pointer come in) may have uncovered it, so
        // it is drawn again at once.
        bool told = false;
        sfml::Event event{};
        while (sfml::pollEvent(tool->window, event)) {
            told = true;
            // R would restart the arena and leave the tournament's game; only quitting is offered.
            if (sfml::isClosed(event) || sfml::pressedKey(event) == sf::Keyboard::Key::E) {
                tool->window.close();
            }
        }
        if (!tool->window.isOpen()) {
            break;
        }
        const sf::Time now = clock.getElapsedTime();
        const bool stepping = !game.over() && now >= due;
        if (stepping) {
            game.step();
            // A frame that comes late is not made up for with a burst of frames.
            due = due + step < now ? now + step : due + step;
        }
        if (stepping || told || now >= redraw) {
            game.arena().draw();
            redraw = now + every;
        }
        // Until the next frame is due or the next redraw, whichever comes first; never so long that E waits.
        const sf::Time wake = game.over() ? redraw : std::min(due, redraw);
        sf::sleep(std::clamp(wake - clock.getElapsedTime(), sf::Time::Zero, sf::seconds(pollSeconds)));
    }
}

} // namespace G
