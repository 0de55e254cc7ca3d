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

GameState::GameState(std::shared_ptr<Tool> tool) : tool(tool), overlay(std::move(tool)) {}

void GameState::init() {
    tool->assets.loadTexture("quorvel", "./assets/textures/objects.png");
    tool->assets.loadFont("font", "./assets/fonts/pixelated.ttf");
    tool->assets.setFrames("quorvel", {{0, 0, 20, 20}, {20, 0, 20, 20}, {40, 0, 20, 20}});

    overlay.setFillColor(sf::Color::Black);
    overlay.setFont(tool->assets.getFont("font"));
    overlay.setCharacterSize(20);

    spawn(50, 50, 50);
}

void GameState::handleInput() {
    while (tool->window.pollEvent(event)) {
        switch (event.type) {
        case sf::Event::Closed:
            tool->window.close();
            break;
        case sf::Event::KeyPressed:
            handleKeyPress();
            break;
        default:
            break;
        }
    }
}

void GameState::handleKeyPress() {
    switch (event.key.code) {
    case sf::Keyboard::E:
        tool->window.close();
        break;
    case sf::Keyboard::R:
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
    hunt(rocks, scissors);
    hunt(scissors, papers);
    hunt(papers, rocks);
}

void GameState::hunt(std::vector<Item>& hunters, std::vector<Item>& prey) {
    reach = 0.0F;
    locate(hunters, hunterSpots);
    locate(prey, preySpots);
    // The size is read before every turn, so pieces converted during this pairing take a turn in it too.
    for (std::size_t i = 0; i < hunters.size(); ++i) {
        hunters[i].velocity = sf::Vector2f(0.0F, 0.0F);
        float nearest = std::numeric_limits<float>::infinity();
        if (!prey.empty()) {
            const std::size_t best = nearestPrey(hunterSpots[i].position, nearest);
            hunters[i].velocity = heading(hunterSpots[i].position, preySpots[best].position);
        }
        separate(hunters, i);

        const sf::Vector2f before = hunterSpots[i].position;
        hunters[i].move();
        hunterSpots[i] = Spot(hunters[i]);
        if (mayTouchPrey(nearest, distance(before, hunterSpots[i].position))) {
            capture(hunters, i, prey);
        }
    }
}

void GameState::locate(const std::vector<Item>& items, std::vector<Spot>& spots) {
    spots.clear();
    for (const Item& item : items) {
        spots.emplace_back(item);
        widenReach(spots.back());
    }
}

void GameState::widenReach(const Spot& spot) {
    // Two pieces overlap only while their positions are closer than the larger footprint on each axis,
    // so closer than the diagonal of the largest footprint; 1.5 times its side is more than that.
    reach = std::max(reach, 1.5F * std::max(spot.right - spot.left, spot.bottom - spot.top));
}

std::size_t GameState::nearestPrey(const sf::Vector2f from, float& nearest) const {
    // Candidates are ranked by the exact squared distance, which costs no square root; the narrowed float
    // distance, on which ties are decided, is computed only for a candidate that comes closer than the
    // best so far. It never ranks a farther candidate nearer, so a candidate whose narrowed distance only
    // equals the best's keeps the lower index, exactly as comparing the float distances would.
    const auto squared = [from](const sf::Vector2f to) {
        const auto dx = static_cast<double>(to.x - from.x);
        const auto dy = static_cast<double>(to.y - from.y);
        return dx * dx + dy * dy;
    };
    std::size_t best = 0;
    double bestSquared = squared(preySpots[0].position);
    nearest = static_cast<float>(std::sqrt(bestSquared));
    for (std::size_t k = 1; k < preySpots.size(); ++k) {
        const double candidate = squared(preySpots[k].position);
        if (candidate < bestSquared) {
            const auto candidateDistance = static_cast<float>(std::sqrt(candidate));
            if (candidateDistance < nearest) {
                best = k;
                bestSquared = candidate;
                nearest = candidateDistance;
            }
        }
    }
    return best;
}

bool GameState::mayTouchPrey(const float nearest, const float step) const {
    // By the triangle inequality, a hunter whose nearest prey stood farther than reach plus its own step
    // cannot overlap any prey after the step, and the capture scan would find nothing. The margin covers
    // the rounding of the distances.
    return !(nearest > (reach + step) * 1.001F + 0.01F);
}

void GameState::separate(std::vector<Item>& hunters, const std::size_t i) const {
    const Spot& self = hunterSpots[i];
    for (std::size_t j = 0; j < hunterSpots.size(); ++j) {
        if (j == i || !self.overlaps(hunterSpots[j])) {
            continue;
        }
        const sf::Vector2f other = hunterSpots[j].position;
        if (self.position == other) {
            // Stacked pieces have no direction between them; the lower index steps left and the higher
            // steps right, so a stack comes apart instead of staying fused.
            hunters[i].velocity = sf::Vector2f(i < j ? -pursuitSpeed : pursuitSpeed, 0.0F);
        } else {
            hunters[i].velocity = -heading(self.position, other);
        }
        return;
    }
}

void GameState::capture(std::vector<Item>& hunters, const std::size_t i, std::vector<Item>& prey) {
    std::size_t k = 0;
    while (k < preySpots.size()) {
        if (!hunterSpots[i].overlaps(preySpots[k])) {
            ++k;
            continue;
        }
        const ItemKind kind = hunters[i].kind;
        Item convert(tool, kind);
        // The append may move the list's storage: hunter i is reached through its index from here on.
        hunters.push_back(std::move(convert));
        hunters.back().setPosition(preySpots[k].position);
        hunterSpots.emplace_back(hunters.back());
        widenReach(hunterSpots.back());
        prey.erase(prey.begin() + static_cast<std::ptrdiff_t>(k));
        preySpots.erase(preySpots.begin() + static_cast<std::ptrdiff_t>(k));
        // The hunter has not moved and the prey before k were already found apart from it, so the scan
        // goes on with the prey that has taken the removed one's place.
    }
}

sf::Vector2f GameState::heading(const sf::Vector2f from, const sf::Vector2f to) const {
    const float d = distance(from, to);
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
    tool->window.clear(sf::Color(192, 192, 192, 255));
    drawItems(rocks);
    drawItems(papers);
    drawItems(scissors);
    drawOverlay();
    tool->window.display();
}

void GameState::drawItems(std::vector<Item>& items) {
    for (Item& item : items) {
        item.draw();
    }
}

void GameState::drawOverlay() {
    overlay << 1.0F / tool->frameTime << " FPS";
    overlay.drawAndClear();

    overlay << "Rock: " << static_cast<std::uint64_t>(rocks.size());
    overlay.move(0.0F, 2.0F * overlay.getGlobalBounds().height);
    overlay.drawAndClear();

    overlay << "Paper: " << static_cast<std::uint64_t>(papers.size());
    overlay.move(0.0F, overlay.getGlobalBounds().height);
    overlay.drawAndClear();

    overlay << "Scissors: " << static_cast<std::uint64_t>(scissors.size());
    overlay.move(0.0F, overlay.getGlobalBounds().height);
    overlay.drawAndClear();

    if (!winnerName().empty()) {
        overlay.setCharacterSize(100);
        overlay << winnerName() << " WINS!";
        // Whole-pixel arithmetic on purpose: the banner's top edge comes from the character size alone.
        const auto top =
            static_cast<float>((800U - overlay.getCharacterSize()) / 2U); // NOLINT(bugprone-integer-division)
        const float left = (1200.0F - overlay.getGlobalBounds().width) / 2.0F;
        overlay.setPosition(left, top);
        overlay.setFillColor(sf::Color::Red);
        overlay.drawAndClear();
    }

    overlay.setPosition(0.0F, 0.0F);
    overlay.setFillColor(sf::Color::Black);
    overlay.setCharacterSize(20);
}

std::string GameState::winnerName() const {
    const auto total = static_cast<std::int32_t>(rocks.size() + papers.size() + scissors.size());
    const auto holdsAll = [total](const std::vector<Item>& items) {
        return static_cast<std::size_t>(total) == items.size();
    };
    if (holdsAll(rocks)) {
        return "ROCK";
    }
    if (holdsAll(papers)) {
        return "PAPER";
    }
    if (holdsAll(scissors)) {
        return "SCISSORS";
    }
    return "";
}

} // namespace G
