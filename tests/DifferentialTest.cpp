#include "arena/GameState.hpp"
#include "engine/Sfml.hpp"
#include "tests/Arena.hpp"
#include "tests/ReferenceRules.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace {

using test::bitsOf;

// The first difference between two lists, compared as exact bits, or an empty string.
std::string differenceBetween(const std::vector<G::Item>& shipped, const std::vector<G::Item>& reference) {
    std::ostringstream difference;
    if (shipped.size() != reference.size()) {
        difference << "sizes " << shipped.size() << " and " << reference.size();
        return difference.str();
    }
    for (std::size_t i = 0; i < shipped.size(); ++i) {
        const G::Item& a = shipped[i];
        const G::Item& b = reference[i];
        const bool same = a.kind == b.kind && bitsOf(a.getPosition().x) == bitsOf(b.getPosition().x) &&
                          bitsOf(a.getPosition().y) == bitsOf(b.getPosition().y) &&
                          bitsOf(a.velocity.x) == bitsOf(b.velocity.x) && bitsOf(a.velocity.y) == bitsOf(b.velocity.y);
        if (!same) {
            difference.precision(9);
            difference << "piece " << i << ": (" << a.getPosition().x << ", " << a.getPosition().y << ") moving ("
                       << a.velocity.x << ", " << a.velocity.y << ") against (" << b.getPosition().x << ", "
                       << b.getPosition().y << ") moving (" << b.velocity.x << ", " << b.velocity.y << ")";
            return difference.str();
        }
    }
    return {};
}

// The shipped arena and the reference rules side by side, from the same layout, with the same frame times
// and the same random numbers for every frame.
class Differential {
public:
    using Layout = std::function<void(G::GameState&)>;

    Differential(const unsigned seed, const Layout& layout) {
        std::srand(seed);
        layout(shipped.state);
        std::srand(seed);
        layout(reference.state);
    }

    // Runs one frame on both and returns the first difference, or an empty string.
    std::string frame(const float frameTime, const unsigned seed) {
        shipped.tool->frameTime = frameTime;
        reference.tool->frameTime = frameTime;
        std::srand(seed);
        shipped.state.update();
        std::srand(seed);
        test::ReferenceRules::update(reference.state);
        for (const auto& [mine, theirs] : {std::pair{&shipped.state.rocks, &reference.state.rocks},
                                           std::pair{&shipped.state.papers, &reference.state.papers},
                                           std::pair{&shipped.state.scissors, &reference.state.scissors}}) {
            std::string difference = differenceBetween(*mine, *theirs);
            if (!difference.empty()) {
                return difference;
            }
        }
        return {};
    }

    bool decided() const { return !shipped.state.winnerName().empty(); }

    test::Arena shipped;
    test::Arena reference;
};

void spawnStart(G::GameState& state) {
    state.spawn(50, 50, 50);
}

void spawnRestart(G::GameState& state) {
    state.restart();
}

// Runs until one kind is left, and some frames beyond, or until the frame limit.
void playToTheEnd(Differential& both, const float frameTime, const int limit) {
    int afterTheEnd = 100;
    for (int frame = 0; frame < limit && afterTheEnd > 0; ++frame) {
        ASSERT_EQ(both.frame(frameTime, static_cast<unsigned>(frame)), "") << "frame " << frame;
        afterTheEnd -= both.decided() ? 1 : 0;
    }
    EXPECT_TRUE(both.decided()) << "no winner within " << limit << " frames";
}

TEST(Differential, TheStartIsPlayedToTheEndExactlyAsTheRulesSay) {
    for (const unsigned seed : {1U, 2U, 3U}) {
        Differential both(seed, spawnStart);
        playToTheEnd(both, 1.0F / 60.0F, 20000);
    }
}

TEST(Differential, TheRestartIsPlayedToTheEndExactlyAsTheRulesSay) {
    Differential both(11, spawnRestart);
    playToTheEnd(both, 1.0F / 60.0F, 20000);
}

TEST(Differential, FrameTimesOfZeroAndHalfASecondGiveTheSameResults) {
    Differential both(5, spawnRestart);
    const std::array<float, 3> frameTimes{0.0F, 0.5F, 1.0F / 60.0F};
    for (int frame = 0; frame < 600; ++frame) {
        const float frameTime = frameTimes.at(static_cast<std::size_t>(frame % 3));
        ASSERT_EQ(both.frame(frameTime, static_cast<unsigned>(frame)), "") << "frame " << frame;
    }
}

TEST(Differential, StackedAndFarFlungPiecesGiveTheSameResults) {
    const Differential::Layout stacked = [](G::GameState& state) {
        state.spawn(40, 40, 40);
        int n = 0;
        for (auto* list : {&state.rocks, &state.papers, &state.scissors}) {
            for (G::Item& item : *list) {
                // Half of them on one spot, the rest in a few small clusters and far outside the window.
                if (n % 2 == 0) {
                    item.setPosition(sf::Vector2f(600.0F, 400.0F));
                } else if (n % 5 == 1) {
                    item.setPosition(sf::Vector2f(-5.0e6F + static_cast<float>(n), 3.0e6F));
                } else {
                    item.setPosition(sf::Vector2f(100.0F + static_cast<float>(n % 3) * 7.5F,
                                                  100.0F + static_cast<float>(n % 4) * 0.25F));
                }
                ++n;
            }
        }
    };
    Differential both(9, stacked);
    for (int frame = 0; frame < 1500; ++frame) {
        const float frameTime = frame % 7 == 0 ? 0.5F : 1.0F / 60.0F;
        ASSERT_EQ(both.frame(frameTime, static_cast<unsigned>(frame)), "") << "frame " << frame;
    }
}

TEST(Differential, ShiftedTurnedAndNotANumberPiecesGiveTheSameResults) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Differential::Layout shifted = [](G::GameState& state) {
        test::place(state.tool, state.rocks, G::Kind::Rock, 100.0F, 100.0F).setOrigin(sf::Vector2f(-100.0F, 0.0F));
        test::place(state.tool, state.scissors, G::Kind::Scissors, 205.0F, 100.0F);
        test::place(state.tool, state.papers, G::Kind::Paper, 900.0F, 700.0F);
    };
    // Prey whose footprint stands a hundred pixels from its position, beyond the reach of a plain piece.
    const Differential::Layout shiftedPrey = [](G::GameState& state) {
        test::place(state.tool, state.scissors, G::Kind::Scissors, 100.0F, 100.0F)
            .setOrigin(sf::Vector2f(-100.0F, 0.0F));
        test::place(state.tool, state.rocks, G::Kind::Rock, 205.0F, 100.0F);
        test::place(state.tool, state.rocks, G::Kind::Rock, 900.0F, 700.0F).setOrigin(sf::Vector2f(0.0F, 100.0F));
        test::place(state.tool, state.rocks, G::Kind::Rock, 905.0F, 800.0F);
    };
    const Differential::Layout notANumber = [nan](G::GameState& state) {
        test::place(state.tool, state.rocks, G::Kind::Rock, 100.0F, 100.0F);
        test::place(state.tool, state.scissors, G::Kind::Scissors, 105.0F, 100.0F);
        test::place(state.tool, state.scissors, G::Kind::Scissors, nan, 500.0F);
        test::place(state.tool, state.papers, G::Kind::Paper, 900.0F, 700.0F);
    };
    // A crowd with every kind of odd piece, a not-a-number one at the head of a list among them.
    const Differential::Layout crowd = [nan](G::GameState& state) {
        state.spawn(40, 40, 40);
        int n = 0;
        for (auto* list : {&state.rocks, &state.papers, &state.scissors}) {
            for (G::Item& item : *list) {
                if (n % 7 == 3) {
                    item.setOrigin(sf::Vector2f(-30.0F, 12.0F));
                } else if (n % 11 == 5) {
                    G::sfml::setRotation(item, 45.0F);
                    item.setScale(sf::Vector2f(2.0F, 0.5F));
                } else if (n % 13 == 0) {
                    item.setPosition(sf::Vector2f(nan, item.getPosition().y));
                }
                ++n;
            }
        }
    };
    for (const auto& layout : {shifted, shiftedPrey, notANumber, crowd}) {
        Differential both(6, layout);
        for (int frame = 0; frame < 400; ++frame) {
            const float frameTime = frame % 5 == 0 ? 0.5F : 1.0F / 60.0F;
            ASSERT_EQ(both.frame(frameTime, static_cast<unsigned>(frame)), "") << "frame " << frame;
        }
    }
}

TEST(Differential, EquallyNearPreyAreTiedOnTheirNarrowedDistances) {
    // Prey whose exact distances from the hunter differ, the farther first, but all narrow to the same
    // float (300): the rules keep the lowest index, where ranking by the exact distance would take the last.
    const Differential::Layout ring = [](G::GameState& state) {
        state.spawn(1, 0, 0);
        state.rocks.front().setPosition(sf::Vector2f(1000.0F, 1000.0F));
        for (int n = 31; n >= 0; --n) {
            const float drift = static_cast<float>(n) * 0.002F;
            test::place(state.tool, state.scissors, G::Kind::Scissors, 1300.0F, 1000.0F + drift);
            test::place(state.tool, state.scissors, G::Kind::Scissors, 700.0F, 1000.0F - drift);
        }
    };
    Differential both(4, ring);
    ASSERT_EQ(both.frame(1.0F / 60.0F, 0), "");
    EXPECT_GT(both.shipped.state.rocks.front().velocity.y, 0.0F) << "the first prey in the list is chased";
    for (int frame = 1; frame < 400; ++frame) {
        ASSERT_EQ(both.frame(1.0F / 60.0F, static_cast<unsigned>(frame)), "") << "frame " << frame;
    }
}

// Half of the pieces on a handful of spots, so that the first frames convert chains of them.
void stackHalf(G::GameState& state) {
    int n = 0;
    for (auto* list : {&state.rocks, &state.papers, &state.scissors}) {
        for (G::Item& item : *list) {
            if (++n % 2 == 0) {
                item.setPosition(sf::Vector2f(200.0F + static_cast<float>(n % 4) * 250.0F,
                                              150.0F + static_cast<float>(n % 3) * 240.0F));
            }
        }
    }
}

// The reference rules take most of the time here, growing with the square of the pieces, so the frames are
// few.
void playLarge(const std::int32_t each, const int frames) {
    const Differential::Layout spread = [each](G::GameState& state) { state.spawn(each, each, each); };
    const Differential::Layout stacked = [each](G::GameState& state) {
        state.spawn(each, each, each);
        stackHalf(state);
    };
    for (const auto& layout : {spread, stacked}) {
        Differential both(12, layout);
        for (int frame = 0; frame < frames; ++frame) {
            const float frameTime = frame % 4 == 3 ? 0.5F : 1.0F / 60.0F;
            ASSERT_EQ(both.frame(frameTime, static_cast<unsigned>(frame)), "") << "frame " << frame;
        }
    }
}

TEST(Differential, NineHundredPiecesSpreadAndStackedGiveTheSameResults) {
    playLarge(300, 30);
}

TEST(Differential, ThreeThousandPiecesSpreadAndStackedGiveTheSameResults) {
    playLarge(1000, 4);
}

} // namespace
