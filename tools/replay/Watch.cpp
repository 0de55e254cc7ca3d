#include "tools/replay/Watch.hpp"

#include "tools/tournament/BlockedStopSignals.hpp"
#include "tools/tournament/Failure.hpp"
#include "tools/tournament/StopSignals.hpp"

#include <SFML/System/Sleep.hpp>
#include <SFML/Window/Keyboard.hpp>

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <sstream>

namespace G {

namespace {

// The graphics driver starts threads of its own with the first context, which the tool's window makes; they
// leave the stop signals to the main thread, which looks for them between frames.
std::shared_ptr<Tool> windowFor(const std::uint32_t seed) {
    const BlockedStopSignals blocked;
    auto tool = std::make_shared<Tool>();
    tool->window.create(sfml::videoMode(windowWidth, windowHeight, 32), "QUORVEL " + std::to_string(seed),
                        sf::Style::Titlebar | sf::Style::Close);
    if (!tool->window.isOpen()) {
        throw Failure(1, "cannot open a window");
    }
    return tool;
}

} // namespace

Watch::Watch(const std::uint32_t seed, const GameRules& rules)
    : seed(seed), rules(rules), tool(windowFor(seed)),
      game(std::make_unique<SeededGame>(tool, seed, rules, SeededGame::Looks::Shown)), statusLine(tool) {}

Watch::Command Watch::commandOf(const sfml::Event& event) {
    if (sfml::isClosed(event)) {
        return Command::Quit;
    }
    // R would restart the arena with another start and leave the tournament's game, so it is not offered.
    switch (sfml::pressedKey(event).value_or(sf::Keyboard::Key::Unknown)) {
    case sf::Keyboard::Key::E:
        return Command::Quit;
    case sf::Keyboard::Key::Space:
        return Command::PauseOrResume;
    case sf::Keyboard::Key::Right:
        return Command::Step;
    case sf::Keyboard::Key::Backspace:
    case sf::Keyboard::Key::Home:
        return Command::Restart;
    default:
        break;
    }
    switch (sfml::enteredText(event).value_or(U'\0')) {
    case U'+':
        return Command::Faster;
    case U'-':
        return Command::Slower;
    case U'.':
        return Command::Step;
    case U'0':
        return Command::NormalSpeed;
    default:
        return Command::None;
    }
}

void Watch::obey(const Command command, const sf::Time now) {
    switch (command) {
    case Command::None:
        return;
    case Command::Quit:
        tool->window.close();
        return;
    case Command::Step:
        if (paused) {
            game->step();
        }
        return;
    case Command::PauseOrResume:
        paused = !paused;
        break;
    case Command::Faster:
        speed = std::min(speed + 1, fastest);
        break;
    case Command::Slower:
        speed = std::max(speed - 1, slowest);
        break;
    case Command::NormalSpeed:
        speed = 0;
        break;
    case Command::Restart:
        game.reset();
        game = std::make_unique<SeededGame>(tool, seed, rules, SeededGame::Looks::Shown);
        break;
    }
    // Whatever was due before, the next frame comes a whole interval from now.
    due = now + interval();
}

bool Watch::playDue(const sf::Clock& clock) {
    // At speeds above 1 the game may fall behind by up to a frame time of wall-clock time and catch up; at 1
    // and below a frame that comes late is not made up for with a burst of frames.
    const sf::Time step = sf::seconds(rules.frameTime);
    const sf::Time mayLag = std::max(step - interval(), sf::Time::Zero);
    sf::Time now = clock.getElapsedTime();
    const sf::Time until = now + sf::seconds(pollSeconds);
    bool played = false;
    while (!paused && !game->over() && now >= due && now < until) {
        game->step();
        played = true;
        due += interval();
        now = clock.getElapsedTime();
        if (now - due > mayLag) {
            due = now - mayLag + interval();
        }
    }
    return played;
}

void Watch::show() {
    game->arena().draw(tool->window);
    statusLine.draw(tool->window, status());
    tool->window.display();
}

sf::Time Watch::interval() const {
    return sf::seconds(std::ldexp(rules.frameTime, -speed));
}

std::string Watch::status() const {
    std::ostringstream line;
    line << "Seed " << seed << ", frame " << game->frames() << ", " << std::fixed << std::setprecision(2)
         << static_cast<double>(game->frames()) * static_cast<double>(rules.frameTime) << " s, ";
    if (game->over()) {
        line << "over at frame " << game->frames();
    } else if (paused) {
        line << "paused";
    } else {
        line << "playing at " << (speed < 0 ? "1/" : "") << (1 << std::abs(speed)) << "x";
    }
    return line.str();
}

void Watch::run() {
    const sf::Time step = sf::seconds(rules.frameTime);
    const sf::Time every = sf::seconds(redrawSeconds);
    const sf::Clock clock;
    due = interval();
    sf::Time redraw = sf::Time::Zero;
    sf::Time shown = sf::Time::Zero;
    while (tool->window.isOpen()) {
        if (StopSignals::stopped()) {
            throw Failure(130, "stopped: interrupted by " + StopSignals::cause());
        }
        // Anything the window is told (a key, mapped, moved, focused, the pointer come in) may change the
        // picture or have uncovered it, so it is drawn again at once.
        bool told = false;
        sfml::Event event{};
        while (tool->window.isOpen() && sfml::pollEvent(tool->window, event)) {
            told = true;
            obey(commandOf(event), clock.getElapsedTime());
        }
        if (!tool->window.isOpen()) {
            break;
        }
        const bool played = playDue(clock);
        const sf::Time now = clock.getElapsedTime();
        // Every frame played at speeds up to 1, and at higher speeds one picture a frame time, and the last.
        const bool fresh = played && (speed <= 0 || now >= shown + step || game->over());
        if (fresh || told || now >= redraw) {
            show();
            shown = now;
            redraw = now + every;
        }
        // Until the next frame is due or the next redraw, whichever comes first; never so long that E waits.
        const sf::Time wake = paused || game->over() ? redraw : std::min(due, redraw);
        sf::sleep(std::clamp(wake - clock.getElapsedTime(), sf::Time::Zero, sf::seconds(pollSeconds)));
    }
}

} // namespace G
