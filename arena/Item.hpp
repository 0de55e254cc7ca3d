#pragma once

#include "engine/Tool.hpp"

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/System/Vector2.hpp>

#include <array>
#include <cstdint>
#include <memory>

namespace G {

// The kind of a piece; also the index of its frame in the "quorvel" frame list.
using ItemKind = std::int32_t;

namespace Kind {
constexpr ItemKind Rock = 0;
constexpr ItemKind Paper = 1;
constexpr ItemKind Scissors = 2;
// Each kind's name as the winner's banner shows it, by kind: the one spelling that every other naming of a
// kind (the tournament's files, its chart) is made from.
constexpr std::array<const char*, 3> names{"ROCK", "PAPER", "SCISSORS"};
} // namespace Kind

// One playing piece: a sprite showing its kind's 20 x 20 frame, with its position at the top-left corner.
// Pieces live by value in growable lists, which move them; they are never copied.
class Item : public sf::Sprite {
public:
    // Places the piece at a random whole-number spot wholly inside the window, drawing two numbers from
    // rand(): the vertical coordinate first, then the horizontal one.
    Item(std::shared_ptr<Tool> tool, ItemKind kind);
    Item(const Item&) = delete;
    Item& operator=(const Item&) = delete;
    Item(Item&&) noexcept = default;
    Item& operator=(Item&&) noexcept = default;
    ~Item() override = default;

    // Displaces the piece by velocity x frame time x speed on each axis, and returns where it now stands.
    sf::Vector2f move();
    // Draws into the shared window, or into any target. By name they hide the library's drawing hook, which
    // takes a target and states; the targets still call that hook, so the hiding is harmless and only
    // silenced here.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Woverloaded-virtual"
    void draw();
    void draw(sf::RenderTarget& target) const;
#pragma GCC diagnostic pop

    std::shared_ptr<Tool> tool;
    ItemKind kind;
    float speed = 20.0F;
    sf::Vector2f velocity;
};

} // namespace G
