#include "arena/GameState.hpp"
#include "engine/Sfml.hpp"
#include "tests/Arena.hpp"
#include "tools/SpriteSheet.hpp"

#include <SFML/Graphics/Texture.hpp>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct Extent {
    unsigned count = 0;
    unsigned left = 1200;
    unsigned right = 0;
    unsigned top = 800;
    unsigned bottom = 0;
};

bool isRed(const sf::Color c) {
    return c.r > 200 && c.g < 60 && c.b < 60;
}

bool isBlack(const sf::Color c) {
    return c.r < 60 && c.g < 60 && c.b < 60;
}

// Where the pixels that pass the test lie, within the given region of the image (the whole of it by default).
template <typename Test>
Extent extentOf(const sf::Image& image, Test test, const sf::IntRect region = G::sfml::rect(0, 0, 1200, 800)) {
    Extent extent;
    const auto right = static_cast<unsigned>(G::sfml::left(region) + G::sfml::width(region));
    const auto bottom = static_cast<unsigned>(G::sfml::top(region) + G::sfml::height(region));
    for (auto y = static_cast<unsigned>(G::sfml::top(region)); y < bottom; ++y) {
        for (auto x = static_cast<unsigned>(G::sfml::left(region)); x < right; ++x) {
            if (test(G::sfml::pixel(image, x, y))) {
                ++extent.count;
                extent.left = std::min(extent.left, x);
                extent.right = std::max(extent.right, x);
                extent.top = std::min(extent.top, y);
                extent.bottom = std::max(extent.bottom, y);
            }
        }
    }
    return extent;
}

// A real window with the real assets: frames are checked on the pixels that draw leaves in it.
class RenderingTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::openWindow(*tool);
        state.init();
        tool->frameTime = 1.0F / 60.0F;
    }

    sf::Image frame() {
        state.draw();
        sf::Texture capture;
        EXPECT_TRUE(G::sfml::resize(capture, 1200, 800));
        capture.update(tool->window);
        return capture.copyToImage();
    }

    // Leaves the arena without pieces, for a test to place its own.
    void clearPieces() {
        state.rocks.clear();
        state.papers.clear();
        state.scissors.clear();
    }

    void expectRestingOverlay() const {
        EXPECT_EQ(state.overlay.getPosition(), sf::Vector2f(0.0F, 0.0F));
        EXPECT_EQ(state.overlay.getFillColor(), sf::Color::Black);
        EXPECT_EQ(state.overlay.getCharacterSize(), 20U);
    }

    std::shared_ptr<G::Tool> tool = std::make_shared<G::Tool>();
    G::GameState state{tool};
};

TEST_F(RenderingTest, FieldIsLightGreyWithBlackOverlayTextInTheTopLeft) {
    clearPieces();
    test::place(tool, state.papers, G::Kind::Paper, 600.0F, 600.0F);
    test::place(tool, state.rocks, G::Kind::Rock, 1000.0F, 300.0F);

    const sf::Image image = frame();
    for (const auto& [x, y] : {std::pair{599U, 400U}, {1199U, 799U}, {1199U, 0U}, {0U, 799U}, {400U, 200U}}) {
        EXPECT_EQ(G::sfml::pixel(image, x, y), sf::Color(192, 192, 192)) << x << ", " << y;
    }

    // Glyph quads carry a pixel of padding, so the first ink can sit a pixel in from the corner.
    const Extent text = extentOf(image, isBlack, G::sfml::rect(0, 0, 600, 300));
    EXPECT_GT(text.count, 150U);
    EXPECT_LE(text.left, 2U);
    EXPECT_LE(text.top, 2U);
    EXPECT_LT(text.right, 200U);
    EXPECT_LT(text.bottom, 120U);
    EXPECT_GT(extentOf(image, isBlack, G::sfml::rect(1000, 300, 20, 20)).count, 10U) << "the rock's outline";
    EXPECT_EQ(extentOf(image, isRed).count, 0U) << "no banner while two kinds are left";
    expectRestingOverlay();
}

TEST_F(RenderingTest, PiecesAreDrawnAtTheirPositionsWithScissorsOnTop) {
    clearPieces();
    test::place(tool, state.scissors, G::Kind::Scissors, 700.0F, 500.0F);
    test::place(tool, state.rocks, G::Kind::Rock, 700.0F, 500.0F);

    const sf::Image image = frame();
    const Extent handles = extentOf(image, isRed);
    EXPECT_GE(handles.left, 700U);
    EXPECT_LT(handles.right, 720U);
    EXPECT_GE(handles.top, 500U);
    EXPECT_LT(handles.bottom, 520U);
    EXPECT_GT(handles.count, 20U) << "the scissors' red handles cover the rock below them";
}

TEST_F(RenderingTest, PaperIsDrawnOverTheRockItCovers) {
    // Every pixel that the paper's image covers fully shows the paper as it looks alone, and the rock alone
    // would look otherwise there.
    const sf::IntRect spot = G::sfml::rect(300, 400, 20, 20);
    const auto alone = [this](const G::ItemKind kind) {
        clearPieces();
        test::place(tool, kind == G::Kind::Rock ? state.rocks : state.papers, kind, 300.0F, 400.0F);
        return frame();
    };
    const sf::Image paper = alone(G::Kind::Paper);
    const sf::Image rock = alone(G::Kind::Rock);
    test::place(tool, state.papers, G::Kind::Paper, 300.0F, 400.0F);
    const sf::Image both = frame();

    const sf::Image sheet = G::SpriteSheet::render();
    unsigned covered = 0;
    unsigned telling = 0;
    for (unsigned y = 0; y < 20; ++y) {
        for (unsigned x = 0; x < 20; ++x) {
            if (G::sfml::pixel(sheet, 20 + x, y).a != 255) {
                continue;
            }
            const unsigned wx = static_cast<unsigned>(G::sfml::left(spot)) + x;
            const unsigned wy = static_cast<unsigned>(G::sfml::top(spot)) + y;
            ++covered;
            telling += G::sfml::pixel(rock, wx, wy) != G::sfml::pixel(paper, wx, wy) ? 1 : 0;
            EXPECT_EQ(G::sfml::pixel(both, wx, wy), G::sfml::pixel(paper, wx, wy)) << x << ", " << y;
        }
    }
    EXPECT_GT(covered, 100U);
    EXPECT_GT(telling, 20U) << "rock and paper look too much alike here to tell which is on top";
}

TEST_F(RenderingTest, OneKindLeftShowsTheRedBannerCentredAtItsPlace) {
    clearPieces();
    for (int n = 0; n < 3; ++n) {
        test::place(tool, state.papers, G::Kind::Paper, 20.0F + 30.0F * static_cast<float>(n), 700.0F);
    }

    const sf::Image image = frame();
    const Extent banner = extentOf(image, isRed);
    ASSERT_GT(banner.count, 1000U);
    EXPECT_NEAR(banner.top, 350U, 1U);
    EXPECT_LT(banner.bottom, 470U);
    EXPECT_NEAR((banner.left + banner.right) / 2.0, 600.0, 2.0);
    EXPECT_GT(banner.right - banner.left, 500U);
    expectRestingOverlay();

    // The next frame's overlay lines are small and black again, and the banner stays while the win holds.
    const sf::Image next = frame();
    const Extent lines = extentOf(next, isBlack, G::sfml::rect(0, 0, 600, 300));
    EXPECT_LE(lines.top, 2U);
    EXPECT_LT(lines.bottom, 120U);
    EXPECT_EQ(extentOf(next, isRed).top, banner.top);
}

TEST_F(RenderingTest, CountLinesStepDownByTheirOwnHeights) {
    clearPieces();
    state.spawn(50, 50, 50);
    for (auto* list : {&state.rocks, &state.papers, &state.scissors}) {
        for (auto& item : *list) {
            item.setPosition(sf::Vector2f(item.getPosition().x, 400.0F + item.getPosition().y / 2.0F));
        }
    }
    // Compose the lines as the overlay does and compare with where drawOverlay leaves the last one.
    G::DText& line = state.overlay;
    line << "Rock: " << std::uint64_t{50};
    const float rock = G::sfml::height(line.getGlobalBounds());
    line.drawAndClear();
    line << "Paper: " << std::uint64_t{50};
    const float paper = G::sfml::height(line.getGlobalBounds());
    line.drawAndClear();
    line << "Scissors: " << std::uint64_t{50};
    const float scissors = G::sfml::height(line.getGlobalBounds());
    line.drawAndClear();

    const sf::Image image = frame();
    const Extent text = extentOf(image, isBlack, G::sfml::rect(0, 0, 600, 300));
    EXPECT_NEAR(static_cast<float>(text.bottom + 1), 2.0F * rock + paper + 2.0F * scissors, 2.0F);
}

} // namespace
