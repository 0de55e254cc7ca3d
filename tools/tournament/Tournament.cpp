#include "tools/tournament/Tournament.hpp"

#include "arena/GameState.hpp"

#include <cstdlib>
#include <utility>

namespace G {

Tournament::Tournament(std::shared_ptr<Tool> tool) : tool(std::move(tool)) {
    this->tool->assets.setFrames("quorvel", GameState::spriteFrames());
}

Tournament::Game Tournament::play(const std::uint32_t seed, const GameRules& rules,
                                  std::vector<Counts>* timeline) const {
    GameState state(tool);
    std::srand(seed);
    state.spawn(rules.startEach, rules.startEach, rules.startEach);
    tool->frameTime = rules.frameTime;
    const auto record = [&state, timeline] {
        if (timeline != nullptr) {
            timeline->push_back({static_cast<std::uint32_t>(state.rocks.size()),
                                 static_cast<std::uint32_t>(state.papers.size()),
                                 static_cast<std::uint32_t>(state.scissors.size())});
        }
    };
    record();
    std::int64_t frames = 0;
    while (frames < rules.maxFrames && state.winnerName().empty()) {
        state.update();
        ++frames;
        record();
    }
    return {seed, winnerOfArena(state.winnerName()), frames};
}

} // namespace G
