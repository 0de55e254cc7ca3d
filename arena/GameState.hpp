#pragma once

#include "arena/Item.hpp"
#include "arena/Spots.hpp"
#include "engine/DText.hpp"
#include "engine/Sfml.hpp"
#include "engine/State.hpp"
#include "engine/Tool.hpp"

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/System/Vector2.hpp>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace G {

// The arena: rocks, paper and scissors that chase and convert each other until one kind is left.
//
// Every frame rocks hunt scissors, then scissors hunt paper, then paper hunts rocks. On its turn a hunter
// heads for its nearest prey, or steps away from the first piece of its own kind that it overlaps, moves,
// and converts every prey piece it then overlaps into a new piece of its own kind. List order matters: it
// is the order of turns, the tie-break between equally near prey and the order of the overlap scan.
class GameState : public State {
public:
    // Sets up the members only; the assets and the pieces come in init.
    explicit GameState(std::shared_ptr<Tool> tool);

    // Loads the assets (loadAssets) and spawns 50 pieces of each kind.
    void init() override;
    // Loads the sprite sheet and the font, stores the three frames and styles the overlay.
    void loadAssets();
    void update() override;
    void draw() override;
    // Drains the window's events: the close button and E close the window, R restarts.
    void handleInput() override;

    // Appends that many new pieces to each list; counts of 0 or less add nothing.
    void spawn(std::int32_t rockCount, std::int32_t paperCount, std::int32_t scissorsCount);
    // Empties the lists and spawns 100 pieces of each kind.
    void restart();
    // Acts on the key-press event that lies in event.
    void handleKeyPress();

    // One pairing: every hunter takes one turn, pieces converted during the pairing included.
    void hunt(std::vector<Item>& hunters, std::vector<Item>& prey);
    static float distance(sf::Vector2f a, sf::Vector2f b);

    void drawItems(std::vector<Item>& items);
    void drawOverlay();
    // The frame that draw() shows, drawn into any target and not presented, so that an offscreen target
    // can be read back as the window would show it.
    void draw(sf::RenderTarget& target);
    void drawItems(const std::vector<Item>& items, sf::RenderTarget& target) const;
    void drawOverlay(sf::RenderTarget& target);
    // "ROCK", "PAPER" or "SCISSORS" once that kind holds every piece, else "".
    std::string winnerName() const;
    // The kind that holds every piece, as winnerName decides it (with no piece at all, rock); else nothing.
    std::optional<ItemKind> winner() const;

    // The three 20 x 20 frames of the sprite sheet, rock, paper and scissors, stored under "quorvel".
    static std::vector<sf::IntRect> spriteFrames();

    std::shared_ptr<Tool> tool;
    // The length of every steering velocity, pursuit and separation alike.
    float pursuitSpeed = 10.0F;
    // NOLINTNEXTLINE(readability-redundant-member-init): SFML 2's event is a plain union, which {} zeroes
    sfml::Event event{};
    DText overlay;
    std::vector<Item> rocks;
    std::vector<Item> papers;
    std::vector<Item> scissors;

private:
    void spawnInto(std::vector<Item>& items, std::int32_t count, ItemKind kind);
    // One pairing over lists whose spots are located; both spot tables are kept up to date.
    void pairing(std::vector<Item>& hunters, Spots& hunterSpots, std::vector<Item>& prey, Spots& preySpots);
    void separate(Item& hunter, const Spots& hunterSpots, std::size_t i) const;
    // Converts every prey that hunter i now overlaps; none stood farther than `within` from where the hunter
    // stood when the nearest search filled roughSquares.
    void capture(std::vector<Item>& hunters, Spots& hunterSpots, std::size_t i, Spots& preySpots, float within);
    // How far from its position before its step a hunter can reach a prey that it overlaps after the step;
    // infinite where a piece of either list is not plain, whose footprint may stand anywhere.
    static float captureReach(const Spots& hunterSpots, const Spots& preySpots, sf::Vector2f before,
                              sf::Vector2f after);
    // pursuitSpeed along the direction from one point to another, d = distance(from, to) apart, or (0, 0)
    // where no direction can be had: the points coincide, or they are so far apart that the arithmetic
    // overflows. The nearest search has the distance already; taking it saves a square root each turn.
    sf::Vector2f heading(sf::Vector2f from, sf::Vector2f to, float d) const;

    // Where the pieces of each list stand, by kind. Kept between frames so that a frame without captures
    // allocates nothing.
    std::array<Spots, 3> spots;
    // What the latest nearest-prey search learnt, for the capture scan of the same turn; and the prey that a
    // hunter overlaps. Both are kept so that a turn without captures allocates nothing.
    Spots::RoughSquares roughSquares;
    std::vector<std::size_t> caught;
};

} // namespace G
