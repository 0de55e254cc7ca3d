#include "engine/DText.hpp"

#include "engine/Sfml.hpp"
#include "tests/Arena.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace {

class DTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        tool->assets.loadFont("font", "./assets/fonts/pixelated.ttf");
        line.setFont(tool->assets.getFont("font"));
        line.setCharacterSize(20);
    }

    std::string shown() const { return line.getString().toAnsiString(); }

    std::shared_ptr<G::Tool> tool = test::makeTool();
    G::DText line{tool};
};

TEST_F(DTextTest, AppendsAccumulateUntilTheLineIsDrawn) {
    test::openWindow(*tool);
    line << "Rock: " << std::uint64_t{50};
    EXPECT_EQ(shown(), "Rock: 50");
    line << " and " << std::string("more");
    EXPECT_EQ(shown(), "Rock: 50 and more");

    line.drawAndClear();
    EXPECT_EQ(shown(), "Rock: 50 and more");
    line << "Paper: " << std::uint64_t{7};
    EXPECT_EQ(shown(), "Paper: 7");
}

TEST_F(DTextTest, NumbersUseTheStreamsDefaultFormatting) {
    const auto format = [this](const float value) {
        line << value;
        std::string text = shown();
        line.drawAndClear();
        return text;
    };
    test::openWindow(*tool);
    EXPECT_EQ(format(60.0F), "60");
    EXPECT_EQ(format(1.0F / (1.0F / 60.0F)), "60");
    EXPECT_EQ(format(1.0F / 0.0166F), "60.241");
    EXPECT_EQ(format(59.99881F), "59.9988");
    EXPECT_EQ(format(0.5F), "0.5");
    EXPECT_EQ(format(1.5e6F), "1.5e+06");
    EXPECT_EQ(format(std::numeric_limits<float>::infinity()), "inf");

    line << std::uint64_t{0};
    EXPECT_EQ(shown(), "0");
    line << std::uint64_t{18446744073709551615ULL};
    EXPECT_EQ(shown(), "018446744073709551615");
}

TEST_F(DTextTest, OriginSitsOnTheTopLeftOfTheGlyphs) {
    line.setPosition(sf::Vector2f(100.0F, 50.0F));
    for (const char* text : {"Scissors: 12", "Rock: ", "...", "ROCK WINS!"}) {
        line << text;
        const sf::FloatRect local = line.getLocalBounds();
        EXPECT_EQ(line.getOrigin(), sf::Vector2f(G::sfml::left(local), G::sfml::top(local))) << text;
        const sf::FloatRect global = line.getGlobalBounds();
        EXPECT_FLOAT_EQ(G::sfml::left(global), 100.0F) << text;
        EXPECT_FLOAT_EQ(G::sfml::top(global), 50.0F) << text;
        EXPECT_GT(G::sfml::width(global), 0.0F) << text;
    }
}

TEST_F(DTextTest, HeightFollowsTheGlyphsPresent) {
    line << "...";
    const float dots = G::sfml::height(line.getGlobalBounds());
    line << "Rock: 0";
    const float letters = G::sfml::height(line.getGlobalBounds());
    EXPECT_LT(dots, letters);
}

} // namespace
