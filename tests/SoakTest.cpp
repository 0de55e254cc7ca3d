#include "arena/GameState.hpp"
#include "tests/Arena.hpp"
#include "tests/Invariants.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <random>

namespace {

constexpr int totalFrames = 100000;

// Frame times from none at all to half a second, with tiny steps among them.
constexpr std::array<float, 7> frameTimes{0.0F, 1e-7F, 1e-4F, 1.0F / 240.0F, 1.0F / 60.0F, 0.1F, 0.5F};

class Soak {
public:
    explicit Soak(const unsigned seed) : random(seed) { std::srand(seed); }

    // Replaces the arena's pieces with a random layout of one of several shapes.
    void newLayout() {
        arena.state.rocks.clear();
        arena.state.papers.clear();
        arena.state.scissors.clear();
        const auto count = [this] { return static_cast<int>(pick(31)); };
        switch (pick(5)) {
        case 0:
            arena.state.spawn(count(), count(), count());
            break;
        case 1:
            // Every piece on one spot.
            arena.state.spawn(count(), count(), count());
            moveAll([](G::Item& item) { item.setPosition(sf::Vector2f(500.0F, 300.0F)); });
            break;
        case 2:
            // Far outside the window, on all sides.
            arena.state.spawn(count(), count(), count());
            moveAll([this](G::Item& item) { item.setPosition(sf::Vector2f(far(), far())); });
            break;
        case 3:
            // A few tight clusters with pieces on top of each other.
            arena.state.spawn(count(), count(), count());
            moveAll([this](G::Item& item) {
                item.setPosition(
                    sf::Vector2f(100.0F * static_cast<float>(pick(3)), 100.0F * static_cast<float>(pick(3))));
            });
            break;
        default:
            arena.state.restart();
            break;
        }
    }

    void step() {
        arena.tool->frameTime = frameTimes.at(pick(frameTimes.size()));
        arena.state.update();
    }

    std::size_t pick(const std::size_t range) {
        return std::uniform_int_distribution<std::size_t>(0, range - 1)(random);
    }

    test::Arena arena;

private:
    template <typename Change> void moveAll(Change change) {
        for (auto* list : {&arena.state.rocks, &arena.state.papers, &arena.state.scissors}) {
            for (G::Item& item : *list) {
                change(item);
            }
        }
    }

    float far() { return std::uniform_real_distribution<float>(-1.0e7F, 1.0e7F)(random); }

    std::mt19937 random;
};

TEST(Soak, HundredThousandFramesOfRandomLayoutsFrameTimesAndRestartsKeepTheInvariants) {
    Soak soak(20261207);
    soak.newLayout();
    std::size_t total = soak.arena.total();
    for (int frame = 0; frame < totalFrames; ++frame) {
        // Full 300-piece games cost the most, so they come and go quickly.
        const std::size_t chance = total > 150 ? 50 : 2000;
        if (soak.pick(chance) == 0) {
            soak.newLayout();
            total = soak.arena.total();
        }
        soak.step();
        const std::string problem = test::firstViolation(soak.arena.state, total);
        ASSERT_EQ(problem, "") << "frame " << frame;
    }
}

} // namespace
