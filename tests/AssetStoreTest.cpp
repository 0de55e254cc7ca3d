#include "engine/AssetStore.hpp"

#include "engine/Sfml.hpp"
#include "tests/TempPath.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Sprite.hpp>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

const std::string sheetPath = "./assets/textures/objects.png";
const std::string fontPath = "./assets/fonts/pixelated.ttf";
const std::string missingPath = "./assets/no-such-file";

TEST(AssetStore, LookupOfMissingKeyInsertsADefaultAsset) {
    G::AssetStore store;
    EXPECT_FALSE(store.hasTexture("absent"));

    const sf::Texture& texture = store.getTexture("absent");
    EXPECT_EQ(texture.getSize(), sf::Vector2u(0, 0));
    EXPECT_TRUE(store.hasTexture("absent"));
    EXPECT_EQ(&store.getTexture("absent"), &texture);

    EXPECT_TRUE(store.getFrames("absent").empty());
    EXPECT_TRUE(store.hasFrames("absent"));
    store.getFont("absent");
    EXPECT_TRUE(store.hasFont("absent"));
}

TEST(AssetStore, KeysAreCaseSensitive) {
    G::AssetStore store;
    store.loadFont("font", fontPath);
    EXPECT_TRUE(store.hasFont("font"));
    EXPECT_FALSE(store.hasFont("Font"));
}

TEST(AssetStore, FailedLoadOfAbsentKeyLeavesItAbsent) {
    G::AssetStore store;
    store.loadTexture("quorvel", missingPath);
    store.loadFont("font", missingPath);
    EXPECT_FALSE(store.hasTexture("quorvel"));
    EXPECT_FALSE(store.hasFont("font"));
}

TEST(AssetStore, FailedLoadKeepsTheEarlierAsset) {
    G::AssetStore store;
    store.loadTexture("quorvel", sheetPath);
    store.loadFont("font", fontPath);
    const std::string family = store.getFont("font").getInfo().family;

    store.loadTexture("quorvel", missingPath);
    store.loadFont("font", sheetPath);
    EXPECT_EQ(store.getTexture("quorvel").getSize(), sf::Vector2u(60, 20));
    EXPECT_FALSE(family.empty());
    EXPECT_EQ(store.getFont("font").getInfo().family, family);
}

TEST(AssetStore, ReloadAssignsIntoTheTextureThatSpritesAlreadyUse) {
    G::AssetStore store;
    store.loadTexture("quorvel", sheetPath);
    sf::Texture& texture = store.getTexture("quorvel");
    sf::Sprite sprite(texture);

    const std::string otherPath = test::tempPath("other.png");
    const sf::Image other = G::sfml::image(8, 4, sf::Color::Red);
    ASSERT_TRUE(other.saveToFile(otherPath));
    store.loadTexture("quorvel", otherPath);
    std::remove(otherPath.c_str());

    EXPECT_EQ(&store.getTexture("quorvel"), &texture);
    EXPECT_EQ(G::sfml::textureOf(sprite), &texture);
    EXPECT_EQ(texture.getSize(), sf::Vector2u(8, 4));
    EXPECT_EQ(G::sfml::pixel(texture.copyToImage(), 3, 2), sf::Color::Red);
}

TEST(AssetStore, SettingFramesTwiceKeepsOnlyTheSecondList) {
    G::AssetStore store;
    store.setFrames("quorvel", {G::sfml::rect(0, 0, 20, 20), G::sfml::rect(20, 0, 20, 20)});
    store.setFrames("quorvel", {G::sfml::rect(1, 2, 3, 4)});
    EXPECT_EQ(store.getFrames("quorvel"), std::vector<sf::IntRect>({G::sfml::rect(1, 2, 3, 4)}));
}

TEST(AssetStore, OneKeyNamesATextureAndAFrameListIndependently) {
    G::AssetStore store;
    store.setFrames("quorvel", {G::sfml::rect(0, 0, 20, 20)});
    store.loadTexture("quorvel", sheetPath);
    EXPECT_EQ(store.getFrames("quorvel").size(), 1U);
    EXPECT_EQ(store.getTexture("quorvel").getSize(), sf::Vector2u(60, 20));
    EXPECT_FALSE(store.hasFont("quorvel"));
}

} // namespace
