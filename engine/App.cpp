#include "engine/App.hpp"

#include "arena/GameState.hpp"
#include "engine/Sfml.hpp"

#include <SFML/System/String.hpp>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <locale>

namespace G {

App::App() : tool(std::make_shared<Tool>()) {
    std::srand(static_cast<std::uint32_t>(std::time(nullptr)));

    tool->window.create(sfml::videoMode(windowWidth, windowHeight, 32), sf::String("QUORVEL", std::locale()),
                        sf::Style::Titlebar | sf::Style::Close);
    windowOpened = tool->window.isOpen();

    tool->stateStack.addState(std::make_unique<GameState>(tool), false);
    tool->frameTime = 1.0F / 60.0F;

    run();
}

App::~App() {
    tool->stateStack.clear();
}

int App::exitStatus() const {
    return windowOpened ? 0 : 1;
}

float App::frameTimeBetween(const sf::Time previous, const sf::Time current) {
    return (current - previous).asSeconds();
}

void App::run() {
    sf::Time previous = clock.getElapsedTime();
    while (tool->window.isOpen()) {
        tool->stateStack.processStateChanges();
        if (tool->stateStack.isEmpty()) {
            // Nothing is left to drive, so the run ends rather than calling into an empty stack.
            tool->window.close();
            return;
        }

        const sf::Time current = clock.getElapsedTime();
        tool->frameTime = frameTimeBetween(previous, current);
        previous = current;

        tool->stateStack.getActiveState()->handleInput();
        tool->stateStack.getActiveState()->update();
        tool->stateStack.getActiveState()->draw();
    }
}

} // namespace G
