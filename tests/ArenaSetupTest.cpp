#include "arena/GameState.hpp"
#include "engine/Sfml.hpp"
#include "tests/Arena.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

namespace {

// Where a piece constructed from the next two draws of rand() stands.
sf::Vector2f nextPlacement() {
    const int vertical = std::rand();
    const int horizontal = std::rand();
    return {static_cast<float>(horizontal % 1180), static_cast<float>(vertical % 780)};
}

void expectKinds(const G::GameState& state) {
    for (const auto& item : state.rocks) {
        EXPECT_EQ(item.kind, G::Kind::Rock);
    }
    for (const auto& item : state.papers) {
        EXPECT_EQ(item.kind, G::Kind::Paper);
    }
    for (const auto& item : state.scissors) {
        EXPECT_EQ(item.kind, G::Kind::Scissors);
    }
}

TEST(ArenaSetup, ConstructorLoadsNothingAndCreatesNoPiece) {
    const auto tool = std::make_shared<G::Tool>();
    const G::GameState state(tool);
    EXPECT_TRUE(state.rocks.empty() && state.papers.empty() && state.scissors.empty());
    EXPECT_FALSE(tool->assets.hasTexture("quorvel"));
    EXPECT_EQ(state.pursuitSpeed, 10.0F);
}

TEST(ArenaSetup, InitSpawnsFiftyOfEachKindFromThreeHundredDrawsRocksFirst) {
    const auto tool = std::make_shared<G::Tool>();
    G::GameState state(tool);
    std::srand(2024);
    state.init();

    ASSERT_EQ(state.rocks.size(), 50U);
    ASSERT_EQ(state.papers.size(), 50U);
    ASSERT_EQ(state.scissors.size(), 50U);
    expectKinds(state);

    std::srand(2024);
    for (const auto* list : {&state.rocks, &state.papers, &state.scissors}) {
        for (const auto& item : *list) {
            ASSERT_EQ(item.getPosition(), nextPlacement());
        }
    }
    const int after = std::rand();
    std::srand(2024);
    for (int n = 0; n < 300; ++n) {
        std::rand();
    }
    EXPECT_EQ(std::rand(), after) << "init draws exactly 300 numbers";
}

TEST(ArenaSetup, InitStoresTheAssetsAndStylesTheOverlay) {
    const auto tool = std::make_shared<G::Tool>();
    G::GameState state(tool);
    state.init();

    EXPECT_EQ(tool->assets.getFrames("quorvel"), G::GameState::spriteFrames());
    EXPECT_EQ(tool->assets.getTexture("quorvel").getSize(), sf::Vector2u(60, 20));
    EXPECT_EQ(G::sfml::fontOf(state.overlay), &tool->assets.getFont("font"));
    EXPECT_FALSE(tool->assets.getFont("font").getInfo().family.empty());
    EXPECT_EQ(state.overlay.getFillColor(), sf::Color::Black);
    EXPECT_EQ(state.overlay.getCharacterSize(), 20U);
    EXPECT_EQ(state.overlay.getPosition(), sf::Vector2f(0.0F, 0.0F));
}

TEST(ArenaSetup, WithoutAssetFilesTheArenaStillRunsWithWholePieces) {
    const auto home = std::filesystem::current_path();
    const auto empty = std::filesystem::path(testing::TempDir()) / "quorvel-no-assets";
    std::filesystem::create_directories(empty);
    std::filesystem::current_path(empty);

    const auto tool = std::make_shared<G::Tool>();
    G::GameState state(tool);
    state.init();
    tool->frameTime = 1.0F / 60.0F;
    for (int frame = 0; frame < 10; ++frame) {
        state.update();
    }
    std::filesystem::current_path(home);

    EXPECT_EQ(state.rocks.size() + state.papers.size() + state.scissors.size(), 150U);
    EXPECT_EQ(tool->assets.getTexture("quorvel").getSize(), sf::Vector2u(0, 0));
    for (const auto* list : {&state.rocks, &state.papers, &state.scissors}) {
        for (const auto& item : *list) {
            EXPECT_NEAR(G::sfml::width(item.getGlobalBounds()), 20.0F, 1e-3F);
            EXPECT_NEAR(G::sfml::height(item.getGlobalBounds()), 20.0F, 1e-3F);
        }
    }
}

TEST(ArenaSpawn, AppendsExactlyTheCountsAfterThePiecesAlreadyThere) {
    test::Arena arena;
    const sf::Vector2f first = arena.rock(5.0F, 6.0F).getPosition();

    arena.state.spawn(0, 0, 0);
    arena.state.spawn(-1, -50, -2147483647);
    EXPECT_EQ(arena.total(), 1U);

    arena.state.spawn(1, 0, 0);
    ASSERT_EQ(arena.state.rocks.size(), 2U);
    EXPECT_EQ(arena.state.rocks.front().getPosition(), first);

    arena.state.spawn(2, 3, 4);
    EXPECT_EQ(arena.state.rocks.size(), 4U);
    EXPECT_EQ(arena.state.papers.size(), 3U);
    EXPECT_EQ(arena.state.scissors.size(), 4U);
    expectKinds(arena.state);
}

TEST(ArenaRestart, LeavesExactlyOneHundredOfEachWhateverCameBefore) {
    test::Arena arena;
    arena.state.spawn(150, 0, 0);
    arena.state.restart();
    EXPECT_EQ(arena.state.rocks.size(), 100U);
    EXPECT_EQ(arena.state.papers.size(), 100U);
    EXPECT_EQ(arena.state.scissors.size(), 100U);

    arena.state.restart();
    EXPECT_EQ(arena.total(), 300U);
    expectKinds(arena.state);
    EXPECT_EQ(arena.state.pursuitSpeed, 10.0F);
}

} // namespace
