#pragma once

#include "engine/AssetStore.hpp"
#include "engine/StateStack.hpp"

#include <SFML/Graphics/RenderWindow.hpp>

namespace G {

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
