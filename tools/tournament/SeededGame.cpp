#include "tools/tournament/SeededGame.hpp"

#include <cstdlib>

namespace G {

SeededGame::SeededGame(const std::shared_ptr<Tool>& tool, const std::uint32_t seed, const GameRules& rules,
                       const Looks looks)
    : seed(seed), maxFrames(rules.maxFrames), state(tool) {
    if (looks == Looks::Shown) {
        state.loadAssets();
    } else {
        tool->assets.setFrames("quorvel", GameState::spriteFrames());
    }
    std::srand(seed);
    state.spawn(rules.start.count(Kind::Rock), rules.start.count(Kind::Paper), rules.start.count(Kind::Scissors));
    tool->frameTime = rules.frameTime;
}

void SeededGame::step() {
    if (!over()) {
        state.update();
        ++played;
    }
}

void SeededGame::playToTheEnd(std::vector<Counts>* const timeline) {
    if (timeline != nullptr) {
        timeline->push_back(counts());
    }
    while (!over()) {
        step();
        if (timeline != nullptr) {
            timeline->push_back(counts());
        }
    }
}

bool SeededGame::over() const {
    return played >= maxFrames || state.winner().has_value();
}

SeededGame::Result SeededGame::result() const {
    return {seed, winnerOf(state.winner()), played};
}

SeededGame::Counts SeededGame::counts() const {
    return {static_cast<std::uint32_t>(state.rocks.size()), static_cast<std::uint32_t>(state.papers.size()),
            static_cast<std::uint32_t>(state.scissors.size())};
}

} // namespace G
