#pragma once

#include "engine/Tool.hpp"

#include <SFML/System/Clock.hpp>
#include <SFML/System/Time.hpp>

#include <memory>

namespace G {

// The top-level object: its constructor opens the window, queues the arena and runs the frame loop, and
// returns only once the window has been closed.
class App {
public:
    App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;
    App(App&&) = delete;
    App& operator=(App&&) = delete;
    // Empties the state stack first, so the arena, its pieces and its overlay give back their share of the
    // context and the whole context goes with the App.
    ~App();

    // 0 after an orderly run, 1 when the window could not be opened.
    int exitStatus() const;

    // Seconds between two readings of the frame clock. The readings are subtracted as whole microseconds,
    // so the result stays exact however long the clock has been running.
    static float frameTimeBetween(sf::Time previous, sf::Time current);

private:
    void run();

    std::shared_ptr<Tool> tool;
    sf::Clock clock;
    bool windowOpened = false;
};

} // namespace G
