#pragma once

#include "arena/GameState.hpp"
#include "arena/Item.hpp"
#include "engine/Sfml.hpp"
#include "engine/Tool.hpp"

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace test {

// A float's exact bits, so that results are compared bit for bit, NaN and the sign of zero included.
inline std::uint32_t bitsOf(const float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// A context with the arena's three frames stored and nothing loaded, so pieces have their 20 x 20 bounds.
inline std::shared_ptr<G::Tool> makeTool() {
    auto tool = std::make_shared<G::Tool>();
    tool->assets.setFrames("quorvel", G::GameState::spriteFrames());
    return tool;
}

inline void openWindow(G::Tool& tool) {
    tool.window.create(G::sfml::videoMode(1200, 800, 32), "QUORVEL", sf::Style::Titlebar | sf::Style::Close);
}

// Appends a piece of the given kind to the list and puts it at (x, y).
inline G::Item& place(const std::shared_ptr<G::Tool>& tool, std::vector<G::Item>& list, const G::ItemKind kind,
                      const float x, const float y) {
    list.emplace_back(tool, kind);
    list.back().setPosition(sf::Vector2f(x, y));
    return list.back();
}

// An arena without init: empty lists, the frames stored, and a frame time of zero unless a test sets one.
struct Arena {
    std::shared_ptr<G::Tool> tool = makeTool();
    G::GameState state{tool};

    G::Item& rock(const float x, const float y) { return place(tool, state.rocks, G::Kind::Rock, x, y); }
    G::Item& paper(const float x, const float y) { return place(tool, state.papers, G::Kind::Paper, x, y); }
    G::Item& scissors(const float x, const float y) { return place(tool, state.scissors, G::Kind::Scissors, x, y); }
    std::size_t total() const { return state.rocks.size() + state.papers.size() + state.scissors.size(); }
};

} // namespace test
