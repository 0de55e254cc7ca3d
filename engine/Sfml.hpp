#pragma once

#include "engine/AssetStore.hpp"

#include <SFML/Config.hpp>
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/Graphics/Transformable.hpp>
#include <SFML/Window/Event.hpp>
#include <SFML/Window/Keyboard.hpp>
#include <SFML/Window/VideoMode.hpp>
#include <SFML/Window/Window.hpp>

#include <optional>
#include <string>

#if SFML_VERSION_MAJOR < 2 || SFML_VERSION_MAJOR > 3 || (SFML_VERSION_MAJOR == 2 && SFML_VERSION_MINOR < 5)
#error "QUORVEL builds against SFML 2.5 or later up to 3.x"
#endif

// Everything that SFML 2 and SFML 3 spell differently, as thin calls that read like the library's own. The
// rest of the code uses the spellings that both majors share (vector arguments, scoped key names) and these
// helpers for the remainder, so that this is the only place that asks which major it is built against.
namespace G::sfml {

#if SFML_VERSION_MAJOR >= 3

// A polled event: SFML 3 hands out an optional event, empty once the queue is drained.
using Event = std::optional<sf::Event>;

template <typename T> T left(const sf::Rect<T>& rect) {
    return rect.position.x;
}
template <typename T> T top(const sf::Rect<T>& rect) {
    return rect.position.y;
}
template <typename T> T width(const sf::Rect<T>& rect) {
    return rect.size.x;
}
template <typename T> T height(const sf::Rect<T>& rect) {
    return rect.size.y;
}

inline bool intersects(const sf::FloatRect& a, const sf::FloatRect& b) {
    return a.findIntersection(b).has_value();
}

inline sf::VideoMode videoMode(const unsigned width, const unsigned height, const unsigned bitsPerPixel) {
    return sf::VideoMode({width, height}, bitsPerPixel);
}

inline bool pollEvent(sf::Window& window, Event& event) {
    event = window.pollEvent();
    return event.has_value();
}

inline bool isClosed(const Event& event) {
    return event && event->is<sf::Event::Closed>();
}

// The key of a key press, or nothing for any other event.
inline std::optional<sf::Keyboard::Key> pressedKey(const Event& event) {
    if (const auto* press = event ? event->getIf<sf::Event::KeyPressed>() : nullptr) {
        return press->code;
    }
    return std::nullopt;
}

// The character that a key press typed, as the keyboard's layout makes it, or nothing for any other event.
inline std::optional<char32_t> enteredText(const Event& event) {
    if (const auto* text = event ? event->getIf<sf::Event::TextEntered>() : nullptr) {
        return text->unicode;
    }
    return std::nullopt;
}

// A key press as the window would deliver it, with every modifier held or none.
inline Event keyPressed(const sf::Keyboard::Key code, const bool modifiers) {
    sf::Event::KeyPressed press;
    press.code = code;
    press.alt = press.control = press.shift = press.system = modifiers;
    return sf::Event(press);
}

inline bool loadFromFile(sf::Texture& texture, const std::string& path) {
    return texture.loadFromFile(path, false, sf::IntRect());
}

inline bool loadFromFile(sf::Font& font, const std::string& path) {
    return font.openFromFile(path);
}

inline sf::Image image(const unsigned width, const unsigned height, const sf::Color colour) {
    return sf::Image({width, height}, colour);
}

inline sf::Color pixel(const sf::Image& image, const unsigned x, const unsigned y) {
    return image.getPixel({x, y});
}

inline void setPixel(sf::Image& image, const unsigned x, const unsigned y, const sf::Color colour) {
    image.setPixel({x, y}, colour);
}

inline bool resize(sf::Texture& texture, const unsigned width, const unsigned height) {
    return texture.resize({width, height});
}

inline bool resize(sf::RenderTexture& target, const unsigned width, const unsigned height) {
    return target.resize({width, height});
}

inline sf::WindowHandle nativeHandle(const sf::Window& window) {
    return window.getNativeHandle();
}

inline const sf::Texture* textureOf(const sf::Sprite& sprite) {
    return &sprite.getTexture();
}

inline const sf::Font* fontOf(const sf::Text& text) {
    return &text.getFont();
}

// SFML 3 has no text without a font, so a line starts with the store's font under that key.
inline sf::Text blankText(AssetStore& assets, const std::string& fontKey) {
    return {assets.getFont(fontKey)};
}

// Whether the text's font can lay out glyphs. SFML 3 stops the program when asked to lay out a string in a
// font that never loaded; SFML 2 lays it out as nothing.
inline bool canShape(const sf::Text& text) {
    return !text.getFont().getInfo().family.empty();
}

inline float rotation(const sf::Transformable& object) {
    return object.getRotation().asDegrees();
}

inline void setRotation(sf::Transformable& object, const float degrees) {
    object.setRotation(sf::degrees(degrees));
}

#else

using Event = sf::Event;

template <typename T> T left(const sf::Rect<T>& rect) {
    return rect.left;
}
template <typename T> T top(const sf::Rect<T>& rect) {
    return rect.top;
}
template <typename T> T width(const sf::Rect<T>& rect) {
    return rect.width;
}
template <typename T> T height(const sf::Rect<T>& rect) {
    return rect.height;
}

inline bool intersects(const sf::FloatRect& a, const sf::FloatRect& b) {
    return a.intersects(b);
}

inline sf::VideoMode videoMode(const unsigned width, const unsigned height, const unsigned bitsPerPixel) {
    return {width, height, bitsPerPixel};
}

inline bool pollEvent(sf::Window& window, Event& event) {
    return window.pollEvent(event);
}

inline bool isClosed(const Event& event) {
    return event.type == sf::Event::Closed;
}

inline std::optional<sf::Keyboard::Key> pressedKey(const Event& event) {
    if (event.type == sf::Event::KeyPressed) {
        return event.key.code;
    }
    return std::nullopt;
}

inline std::optional<char32_t> enteredText(const Event& event) {
    if (event.type == sf::Event::TextEntered) {
        return static_cast<char32_t>(event.text.unicode);
    }
    return std::nullopt;
}

inline Event keyPressed(const sf::Keyboard::Key code, const bool modifiers) {
    sf::Event event{};
    event.type = sf::Event::KeyPressed;
    event.key.code = code;
    event.key.alt = event.key.control = event.key.shift = event.key.system = modifiers;
    return event;
}

inline bool loadFromFile(sf::Texture& texture, const std::string& path) {
    return texture.loadFromFile(path, sf::IntRect());
}

inline bool loadFromFile(sf::Font& font, const std::string& path) {
    return font.loadFromFile(path);
}

inline sf::Image image(const unsigned width, const unsigned height, const sf::Color colour) {
    sf::Image made;
    made.create(width, height, colour);
    return made;
}

inline sf::Color pixel(const sf::Image& image, const unsigned x, const unsigned y) {
    return image.getPixel(x, y);
}

inline void setPixel(sf::Image& image, const unsigned x, const unsigned y, const sf::Color colour) {
    image.setPixel(x, y, colour);
}

inline bool resize(sf::Texture& texture, const unsigned width, const unsigned height) {
    return texture.create(width, height);
}

inline bool resize(sf::RenderTexture& target, const unsigned width, const unsigned height) {
    return target.create(width, height);
}

inline sf::WindowHandle nativeHandle(const sf::Window& window) {
    return window.getSystemHandle();
}

inline const sf::Texture* textureOf(const sf::Sprite& sprite) {
    return sprite.getTexture();
}

inline const sf::Font* fontOf(const sf::Text& text) {
    return text.getFont();
}

// SFML 2 starts a text without a font; its owner sets one before drawing.
inline sf::Text blankText(AssetStore& /*assets*/, const std::string& /*fontKey*/) {
    return {};
}

inline bool canShape(const sf::Text& /*text*/) {
    return true;
}

inline float rotation(const sf::Transformable& object) {
    return object.getRotation();
}

inline void setRotation(sf::Transformable& object, const float degrees) {
    object.setRotation(degrees);
}

#endif

// A rectangle from its left, top, width and height, the one constructor that both majors share.
template <typename T> sf::Rect<T> rect(const T left, const T top, const T width, const T height) {
    return sf::Rect<T>(sf::Vector2<T>(left, top), sf::Vector2<T>(width, height));
}

} // namespace G::sfml
