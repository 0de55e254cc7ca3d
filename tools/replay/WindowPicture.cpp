#include "tools/replay/WindowPicture.hpp"

#include "engine/Sfml.hpp"
#include "engine/Tool.hpp"
#include "tools/tournament/Failure.hpp"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Window/Context.hpp>

namespace G {

namespace {

// Mesa draws into a window's buffer top row first and into a texture bottom row first, and rounds the
// pieces' edges to its pixel grid in the layout it draws into: a piece whose edge falls exactly between two
// rows of pixels can cover the upper row in the one and the lower in the other. Asked to put the texture's
// origin at the upper left (glClipControl, which OpenGL 4.5 and ARB_clip_control have), Mesa draws every frame
// into the texture exactly as into the window. A driver without it draws in the texture's own layout, where
// such a piece may stand a row of pixels apart from where the window shows it.
void drawInTheWindowsLayout(sf::RenderTexture& target) {
    constexpr unsigned upperLeft = 0x8CA2;        // GL_UPPER_LEFT
    constexpr unsigned negativeOneToOne = 0x935E; // GL_NEGATIVE_ONE_TO_ONE, the default depth range
    if (!target.setActive(true)) {
        return;
    }
    const sf::ContextSettings settings = sf::Context::getActiveContext()->getSettings();
    const bool versionHasIt = settings.majorVersion > 4 || (settings.majorVersion == 4 && settings.minorVersion >= 5);
    using ClipControl = void (*)(unsigned, unsigned);
    const auto clipControl = reinterpret_cast<ClipControl>(sf::Context::getFunction("glClipControl"));
    if ((versionHasIt || sf::Context::isExtensionAvailable("GL_ARB_clip_control")) && clipControl != nullptr) {
        clipControl(upperLeft, negativeOneToOne);
    }
}

// Whether the target's picture reads back upside down: a mark drawn at its top-left corner is found at the
// bottom. The library reads a texture bottom row first, and the window's layout puts the top row first.
bool readsUpsideDown(sf::RenderTexture& target) {
    target.clear(sf::Color::Black);
    sf::RectangleShape mark(sf::Vector2f(1.0F, 1.0F));
    mark.setFillColor(sf::Color::White);
    target.draw(mark);
    target.display();
    return sfml::pixel(target.getTexture().copyToImage(), 0, 0) != sf::Color::White;
}

} // namespace

WindowPicture::WindowPicture() {
    if (!sfml::resize(texture, windowWidth, windowHeight)) {
        throw Failure(1, "cannot make a picture to draw into");
    }
    drawInTheWindowsLayout(texture);
    upsideDown = readsUpsideDown(texture);
}

sf::Image WindowPicture::read() {
    texture.display();
    sf::Image shot = texture.getTexture().copyToImage();
    if (upsideDown) {
        shot.flipVertically();
    }
    return shot;
}

} // namespace G
