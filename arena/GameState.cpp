#include "arena/GameState.hpp"

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/Window/Keyboard.hpp>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <utility>

namespace G {

namespace {

// The capture reach is a sum of a few rounded floats, each within 2^-24 of its exact value, and it is
// compared with rounded distances and, squared, with rough squares: a thousandth more, and a hundredth of a
// pixel for reaches near zero, is far beyond what all that rounding can lose.
constexpr float reachRelativeMargin = 1.001F;
constexpr float reachAbsoluteMargin = 0.01F;

} // namespace

GameState::GameState(std::shared_ptr<Tool> tool) : tool(tool), overlay(std::move(tool)) {}

void GameState::init() {
    loadAssets();
    spawn(50, 50, 50);
}

void GameState::loadAssets() {
    tool->assets.loadTexture("quorvel", "./assets/textures/objects.png");
    tool->assets.loadFont("font", "./assets/fonts/pixelated.ttf");
    tool->assets.setFrames("quorvel", spriteFrames());

    overlay.setFillColor(sf::Color::Black);
    overlay.setFont(tool->assets.getFont("font"));
    overlay.setCharacterSize(20);
}

std::vector<sf::IntRect> GameState::spriteFrames() {
    return {sfml::rect(0, 0, 20, 20), sfml::rect(20, 0, 20, 20), sfml::rect(40, 0, 20, 20)};
}

void GameState::handleInput() {
    while (sfml::pollEvent(tool->window, event)) {
        if (sfml::isClosed(event)) {
            tool->window.close();
        } else if (sfml::pressedKey(event)) {
            handleKeyPress();
        }
    }
}

void GameState::handleKeyPress() {
    switch (sfml::pressedKey(event).value_or(sf::Keyboard::Key::Unknown)) {
    case sf::Keyboard::Key::E:
        tool->window.close();
        break;
    case sf::Keyboard::Key::R:
        restart();
        break;
    default:
        break;
    }
}

void GameState::spawn(const std::int32_t rockCount, const std::int32_t paperCount, const std::int32_t scissorsCount) {
    spawnInto(rocks, rockCount, Kind::Rock);
    spawnInto(papers, paperCount, Kind::Paper);
    spawnInto(scissors, scissorsCount, Kind::Scissors);
}

void GameState::spawnInto(std::vector<Item>& items, const std::int32_t count, const ItemKind kind) {
    for (std::int32_t i = 0; i < count; ++i) {
        items.emplace_back(tool, kind);
    }
}

void GameState::restart() {
    rocks.clear();
    papers.clear();
    scissors.clear();
    spawn(100, 100, 100);
}

void GameState::update() {
    spots[Kind::Rock].locate(rocks);
    spots[Kind::Paper].locate(papers);
    spots[Kind::Scissors].locate(scissors);
    // Each pairing keeps the spots of both its lists up to date, so the next one can use them as they are.
    pairing(rocks, spots[Kind::Rock], scissors, spots[Kind::Scissors]);
    pairing(scissors, spots[Kind::Scissors], papers, spots[Kind::Paper]);
    pairing(papers, spots[Kind::Paper], rocks, spots[Kind::Rock]);
}

void GameState::hunt(std::vector<Item>& hunters, std::vector<Item>& prey) {
    // Any two of the spot tables serve: update locates all three afresh anyway.
    Spots& hunterSpots = spots[Kind::Rock];
    Spots& preySpots = spots[Kind::Paper];
    hunterSpots.locate(hunters);
    preySpots.locate(prey);
    pairing(hunters, hunterSpots, prey, preySpots);
}

void GameState::pairing(std::vector<Item>& hunters, Spots& hunterSpots, std::vector<Item>& prey, Spots& preySpots) {
    // The size is read before every turn, so pieces converted during this pairing take a turn in it too.
    for (std::size_t i = 0; i < hunters.size(); ++i) {
        hunters[i].velocity = sf::Vector2f(0.0F, 0.0F);
        float nearest = std::numeric_limits<float>::infinity();
        if (!preySpots.empty()) {
            const Spots::Nearest best = preySpots.nearest(hunterSpots.position(i), roughSquares);
            nearest = best.distance;
            hunters[i].velocity = heading(hunterSpots.position(i), preySpots.position(best.index), nearest);
        }
        separate(hunters[i], hunterSpots, i);

        const sf::Vector2f before = hunterSpots.position(i);
        const sf::Vector2f after = hunters[i].move();
        hunterSpots.relocate(i, hunters[i], after);
        const float within = captureReach(hunterSpots, preySpots, before, after);
        if (!preySpots.empty() && !(nearest > within)) {
            capture(hunters, hunterSpots, i, preySpots, within);
            // A list with most of its slots empty costs more to search than to close up now.
            if (preySpots.livePieces() * 2 < preySpots.slots()) {
                preySpots.compact(prey);
            }
        }
    }
    // Captured prey leave their list by now at the latest, many at a time; until then their slots stood empty.
    preySpots.compact(prey);
}

float GameState::captureReach(const Spots& hunterSpots, const Spots& preySpots, const sf::Vector2f before,
                              const sf::Vector2f after) {
    // By the triangle inequality, a hunter whose nearest prey stood farther than the reach of an overlap
    // plus its own step cannot overlap any prey now, and the capture scan would find nothing. That holds
    // only where every footprint stands at its position; a turned, scaled or shifted piece anywhere in
    // either list makes every prey a candidate.
    if (!hunterSpots.allPlain() || !preySpots.allPlain()) {
        return std::numeric_limits<float>::infinity();
    }
    const float reach = std::max(hunterSpots.reach(), preySpots.reach());
    // The step's length along the axes bounds its straight length from above, at no square root's cost.
    const float step = std::abs(after.x - before.x) + std::abs(after.y - before.y);
    return (reach + step) * reachRelativeMargin + reachAbsoluteMargin;
}

void GameState::separate(Item& hunter, const Spots& hunterSpots, const std::size_t i) const {
    const std::size_t j = hunterSpots.firstOverlapping(hunterSpots, i, i);
    if (j == hunterSpots.slots()) {
        return;
    }
    const sf::Vector2f self = hunterSpots.position(i);
    const sf::Vector2f other = hunterSpots.position(j);
    if (self == other) {
        // Stacked pieces have no direction between them; the lower index steps left and the higher steps
        // right, so a stack comes apart instead of staying fused.
        hunter.velocity = sf::Vector2f(i < j ? -pursuitSpeed : pursuitSpeed, 0.0F);
    } else {
        hunter.velocity = -heading(self, other, distance(self, other));
    }
}

void GameState::capture(std::vector<Item>& hunters, Spots& hunterSpots, const std::size_t i, Spots& preySpots,
                        const float within) {
    // The hunter stands still while it converts, so the prey it overlaps are the same before each capture
    // but the ones already converted: found at once, they are taken in list order, as one scan after
    // another would take them. A captured prey's slot stays, empty, until the list is closed up.
    preySpots.overlapping(hunterSpots, i, roughSquares, within, caught);
    for (const std::size_t k : caught) {
        const ItemKind kind = hunters[i].kind;
        Item convert(tool, kind);
        // The hunters can gain at most one piece per remaining prey in this pairing; making room for all of
        // them at once saves moving the whole list again and again. Every append may still move the list's
        // storage, so hunter i is reached through its index from here on.
        if (hunters.size() == hunters.capacity()) {
            hunters.reserve(hunters.size() + preySpots.livePieces());
        }
        hunters.push_back(std::move(convert));
        hunters.back().setPosition(preySpots.position(k));
        hunterSpots.append(hunters.back());
        preySpots.remove(k);
    }
}

sf::Vector2f GameState::heading(const sf::Vector2f from, const sf::Vector2f to, const float d) const {
    if (d == 0.0F) {
        return {0.0F, 0.0F};
    }
    const float dx = to.x - from.x;
    const float dy = to.y - from.y;
    const sf::Vector2f velocity(pursuitSpeed * dx / d, pursuitSpeed * dy / d);
    if (!std::isfinite(velocity.x) || !std::isfinite(velocity.y)) {
        return {0.0F, 0.0F};
    }
    return velocity;
}

float GameState::distance(const sf::Vector2f a, const sf::Vector2f b) {
    const float dx = b.x - a.x;
    const float dy = b.y - a.y;
    return static_cast<float>(std::sqrt(std::pow(static_cast<double>(dx), 2) + std::pow(static_cast<double>(dy), 2)));
}

void GameState::draw() {
    draw(tool->window);
    tool->window.display();
}

void GameState::draw(sf::RenderTarget& target) {
    target.clear(sf::Color(192, 192, 192, 255));
    drawItems(rocks, target);
    drawItems(papers, target);
    drawItems(scissors, target);
    drawOverlay(target);
}

void GameState::drawItems(std::vector<Item>& items) {
    drawItems(items, tool->window);
}

// A member, as drawItems(items) is, whose drawing it does into any target, though it needs nothing of the state.
// NOLINTNEXTLINE(readability-convert-member-functions-to-static)
void GameState::drawItems(const std::vector<Item>& items, sf::RenderTarget& target) const {
    for (const Item& item : items) {
        item.draw(target);
    }
}

void GameState::drawOverlay() {
    drawOverlay(tool->window);
}

void GameState::drawOverlay(sf::RenderTarget& target) {
    overlay << 1.0F / tool->frameTime << " FPS";
    overlay.drawAndClear(target);

    overlay << "Rock: " << static_cast<std::uint64_t>(rocks.size());
    overlay.move(sf::Vector2f(0.0F, 2.0F * sfml::height(overlay.getGlobalBounds())));
    overlay.drawAndClear(target);

    overlay << "Paper: " << static_cast<std::uint64_t>(papers.size());
    overlay.move(sf::Vector2f(0.0F, sfml::height(overlay.getGlobalBounds())));
    overlay.drawAndClear(target);

    overlay << "Scissors: " << static_cast<std::uint64_t>(scissors.size());
    overlay.move(sf::Vector2f(0.0F, sfml::height(overlay.getGlobalBounds())));
    overlay.drawAndClear(target);

    if (!winnerName().empty()) {
        overlay.setCharacterSize(100);
        overlay << winnerName() << " WINS!";
        // Whole-pixel arithmetic on purpose: the banner's top edge comes from the character size alone.
        const auto top =
            static_cast<float>((windowHeight - overlay.getCharacterSize()) / 2U); // NOLINT(bugprone-integer-division)
        const float left = (static_cast<float>(windowWidth) - sfml::width(overlay.getGlobalBounds())) / 2.0F;
        overlay.setPosition(sf::Vector2f(left, top));
        overlay.setFillColor(sf::Color::Red);
        overlay.drawAndClear(target);
    }

    overlay.setPosition(sf::Vector2f(0.0F, 0.0F));
    overlay.setFillColor(sf::Color::Black);
    overlay.setCharacterSize(20);
}

std::string GameState::winnerName() const {
    const std::optional<ItemKind> kind = winner();
    return kind ? Kind::names.at(static_cast<std::size_t>(*kind)) : "";
}

std::optional<ItemKind> GameState::winner() const {
    const auto total = static_cast<std::int32_t>(rocks.size() + papers.size() + scissors.size());
    const auto holdsAll = [total](const std::vector<Item>& items) {
        return static_cast<std::size_t>(total) == items.size();
    };
    if (holdsAll(rocks)) {
        return Kind::Rock;
    }
    if (holdsAll(papers)) {
        return Kind::Paper;
    }
    if (holdsAll(scissors)) {
        return Kind::Scissors;
    }
    return std::nullopt;
}

} // namespace G
