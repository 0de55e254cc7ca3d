#include "engine/AssetStore.hpp"

#include "engine/Sfml.hpp"

#include <utility>

namespace G {

// Keys and paths are taken by value throughout the store, so every operation works on its own copy.
void AssetStore::loadTexture(std::string key, std::string path) { // NOLINT(performance-unnecessary-value-param)
    sf::Texture texture;
    if (!sfml::loadFromFile(texture, path)) {
        return;
    }
    textures[std::move(key)] = texture;
}

void AssetStore::loadFont(std::string key, std::string path) { // NOLINT(performance-unnecessary-value-param)
    sf::Font font;
    if (!sfml::loadFromFile(font, path)) {
        return;
    }
    fonts[std::move(key)] = font;
}

void AssetStore::setFrames(std::string key, std::vector<sf::IntRect> list) {
    frames[std::move(key)] = std::move(list);
}

sf::Texture& AssetStore::getTexture(std::string key) {
    return textures[std::move(key)];
}

sf::Font& AssetStore::getFont(std::string key) {
    return fonts[std::move(key)];
}

std::vector<sf::IntRect>& AssetStore::getFrames(std::string key) {
    return frames[std::move(key)];
}

bool AssetStore::hasTexture(const std::string& key) const {
    return textures.count(key) != 0;
}

bool AssetStore::hasFont(const std::string& key) const {
    return fonts.count(key) != 0;
}

bool AssetStore::hasFrames(const std::string& key) const {
    return frames.count(key) != 0;
}

} // namespace G
