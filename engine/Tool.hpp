#pragma once

#include "engine/AssetStore.hpp"
#include "engine/StateStack.hpp"

#include <SFML/Graphics/RenderWindow.hpp>

namespace G {

// The window's size in pixels. The arena is laid out in it too: pieces are placed wholly inside it and the
// winner's banner is centred in it.
constexpr unsigned windowWidth = 1200;
constexpr unsigned windowHeight = 800;

// The shared context: everything that draws, loads or reads the frame time reaches it through its own
// std::shared_ptr<Tool>. Members are destroyed in reverse order: the assets, then the states, then the
// window, so nothing outlives the window it was drawn into.
struct Tool {
    sf::RenderWindow window;
    StateStack stateStack;
    AssetStore assets;
    // Seconds between the two latest passes of the frame loop.
    float frameTime = 0.0F;
};

} // namespace G
