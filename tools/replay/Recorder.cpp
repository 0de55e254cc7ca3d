#include "tools/replay/Recorder.hpp"

#include "engine/Sfml.hpp"
#include "tools/replay/VideoFile.hpp"
#include "tools/replay/VideoFormat.hpp"
#include "tools/tournament/BlockedStopSignals.hpp"
#include "tools/tournament/Failure.hpp"
#include "tools/tournament/StopSignals.hpp"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Window/Context.hpp>

#include <cmath>
#include <cstring>

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

Recorder::Recorder(const std::uint32_t seed, const GameRules& rules) : seed(seed), rules(rules) {
    // The graphics driver starts threads of its own with the first context, which the context's window
    // makes, even closed.
    const BlockedStopSignals blocked;
    tool = std::make_shared<Tool>();
    if (!sfml::resize(target, windowWidth, windowHeight)) {
        throw Failure(1, "cannot make a picture to draw into");
    }
    drawInTheWindowsLayout(target);
    upsideDown = readsUpsideDown(target);
}

sf::Image Recorder::picture(SeededGame& game) {
    game.arena().draw(target);
    target.display();
    sf::Image shot = target.getTexture().copyToImage();
    if (upsideDown) {
        shot.flipVertically();
    }
    return shot;
}

std::vector<std::uint32_t> Recorder::coloursOfTheGame() {
    SeededGame trial(tool, seed, rules, SeededGame::Looks::Shown);
    std::vector<std::uint32_t> colours;
    const std::size_t pixels = static_cast<std::size_t>(windowWidth) * windowHeight;
    const auto keep = [&] {
        const sf::Image shot = picture(trial);
        colours.resize(colours.size() + pixels);
        std::memcpy(colours.data() + colours.size() - pixels, shot.getPixelsPtr(), pixels * 4);
    };
    keep();
    trial.playToTheEnd();
    keep();
    return colours;
}

Recorder::Ending Recorder::play(const Frame& frame) {
    SeededGame game(tool, seed, rules, SeededGame::Looks::Shown);
    Ending ending{Winner::Undecided, picture(game)};
    frame(ending.last);
    while (!StopSignals::stopped() && !game.over()) {
        game.step();
        ending.last = picture(game);
        frame(ending.last);
    }
    ending.winner = game.result().winner;
    return ending;
}

void Recorder::record(const std::string& path, const Progress& progress) {
    const VideoFormat* const format = videoFormatOf(path);
    const bool palette = format != nullptr && format->palette;
    const std::unique_ptr<VideoFile> video = VideoFile::open(
        path, windowWidth, windowHeight, rules.frameTime, palette ? coloursOfTheGame() : std::vector<std::uint32_t>());

    std::int64_t written = 0;
    const auto write = [&](const sf::Image& shot) {
        video->write(shot.getPixelsPtr());
        progress(++written);
    };
    const Ending ending = play(write);
    if (ending.winner != Winner::Undecided) {
        // The frame of the win is the first of the banner's.
        const auto banner = static_cast<std::int64_t>(std::lround(bannerSeconds / rules.frameTime));
        for (std::int64_t n = 1; !StopSignals::stopped() && n < banner; ++n) {
            write(ending.last);
        }
    }
    if (StopSignals::stopped()) {
        throw Failure(130, "stopped, no file written: interrupted by " + StopSignals::cause());
    }
    video->finish();
}

} // namespace G
