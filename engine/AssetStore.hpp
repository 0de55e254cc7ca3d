#pragma once

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <map>
#include <string>
#include <vector>

namespace G {

// Fonts, textures and frame lists by text key. The store owns every asset; the references it hands out
// stay valid for its whole life, because an entry is never erased and a reload assigns into the existing
// object, so a sprite or text that already points at it shows the new content.
//
// Nothing here reports a failure: a failed load leaves the store as it was, and a look-up of a missing
// key inserts and returns a default asset.
class AssetStore {
public:
    void loadTexture(std::string key, std::string path);
    void loadFont(std::string key, std::string path);
    void setFrames(std::string key, std::vector<sf::IntRect> list);

    sf::Texture& getTexture(std::string key);
    sf::Font& getFont(std::string key);
    std::vector<sf::IntRect>& getFrames(std::string key);

    bool hasTexture(const std::string& key) const;
    bool hasFont(const std::string& key) const;
    bool hasFrames(const std::string& key) const;

private:
    std::map<std::string, sf::Font> fonts;
    std::map<std::string, sf::Texture> textures;
    std::map<std::string, std::vector<sf::IntRect>> frames;
};

} // namespace G
