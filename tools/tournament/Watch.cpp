#include "tools/tournament/Watch.hpp"

#include "arena/GameState.hpp"
#include "engine/Sfml.hpp"

#include <SFML/System/Clock.hpp>
#include <SFML/System/Sleep.hpp>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

namespace G {

bool Watch::run(const std::uint32_t seed, const GameRules& rules) {
    const auto tool = std::make_shared<Tool>();
    tool->window.create(sfml::videoMode(1200, 800, 32), "QUORVEL " + std::to_string(seed),
                        sf::Style::Titlebar | sf::Style::Close);
    if (!tool->window.isOpen()) {
        return false;
    }
    GameState state(tool);
    // The assets and the overlay as the program has them, and the tournament's spawn in place of the
    // program's.
    state.loadAssets();
    std::srand(seed);
    state.spawn(rules.startEach, rules.startEach, rules.startEach);
    tool->frameTime = rules.frameTime;

    const sf::Time step = sf::seconds(rules.frameTime);
    const sf::Clock clock;
    sf::Time due = step;
    std::int64_t frames = 0;
    bool playing = true;
    while (tool->window.isOpen()) {
        sfml::Event event{};
        while (sfml::pollEvent(tool->window, event)) {
            // R would restart the arena and leave the tournament's game; only quitting is offered.
            if (sfml::isClosed(event) || sfml::pressedKey(event) == sf::Keyboard::Key::E) {
                tool->window.close();
            }
        }
        if (!tool->window.isOpen()) {
            break;
        }
        const sf::Time now = clock.getElapsedTime();
        if (playing && now >= due) {
            state.update();
            ++frames;
            playing = frames < rules.maxFrames && state.winnerName().empty();
            // A frame that comes late is not made up for with a burst of frames.
            due = due + step < now ? now + step : due + step;
        }
        state.draw();
        sf::sleep(std::min(due - clock.getElapsedTime(), sf::milliseconds(10)));
    }
    return true;
}

} // namespace G
