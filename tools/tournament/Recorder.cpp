#include "tools/tournament/Recorder.hpp"

#include "arena/GameState.hpp"
#include "engine/Sfml.hpp"
#include "tools/tournament/VideoFile.hpp"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace G {

namespace {

constexpr unsigned width = 1200;
constexpr unsigned height = 800;

// Reads the window's picture back, as the window shows it after the arena's draw.
class Camera {
public:
    explicit Camera(sf::RenderWindow& window) : window(window) { sfml::resize(texture, width, height); }

    sf::Image shoot() {
        texture.update(window);
        return texture.copyToImage();
    }

private:
    sf::RenderWindow& window;
    sf::Texture texture;
};

void spawn(GameState& state, const std::uint32_t seed, const GameRules& rules) {
    std::srand(seed);
    state.spawn(rules.startEach, rules.startEach, rules.startEach);
}

bool playing(const GameState& state, const std::int64_t frames, const GameRules& rules) {
    return frames < rules.maxFrames && state.winnerName().empty();
}

// The colours of the game's first and last pictures, which the GIF's palette is made from. The game is
// played to its end in an arena of its own first, so that the recorded game draws the same random numbers.
std::vector<std::uint32_t> coloursOfTheGame(const std::shared_ptr<Tool>& tool, Camera& camera, const std::uint32_t seed,
                                            const GameRules& rules) {
    GameState trial(tool);
    trial.loadAssets();
    spawn(trial, seed, rules);
    std::vector<std::uint32_t> colours;
    const auto keep = [&] {
        trial.draw();
        const sf::Image picture = camera.shoot();
        const std::size_t start = colours.size();
        colours.resize(start + static_cast<std::size_t>(width) * height);
        std::memcpy(colours.data() + start, picture.getPixelsPtr(), static_cast<std::size_t>(width) * height * 4);
    };
    keep();
    std::int64_t frames = 0;
    while (playing(trial, frames, rules)) {
        trial.update();
        ++frames;
    }
    keep();
    return colours;
}

} // namespace

int Recorder::record(const std::uint32_t seed, const GameRules& rules, const std::string& path,
                     const volatile std::sig_atomic_t& interrupted, const Progress& progress, std::string& error) {
    const auto tool = std::make_shared<Tool>();
    tool->window.create(sfml::videoMode(width, height, 32), "QUORVEL " + std::to_string(seed),
                        sf::Style::Titlebar | sf::Style::Close);
    if (!tool->window.isOpen()) {
        error = "cannot make a window to draw into";
        return 1;
    }
    // Drawn, never shown.
    tool->window.setVisible(false);
    tool->frameTime = rules.frameTime;
    Camera camera(tool->window);

    const std::vector<std::uint32_t> colours =
        VideoFile::takesPalette(path) ? coloursOfTheGame(tool, camera, seed, rules) : std::vector<std::uint32_t>();
    const std::unique_ptr<VideoFile> video = VideoFile::open(path, width, height, rules.frameTime, colours, error);
    if (!video) {
        return 2;
    }

    GameState state(tool);
    state.loadAssets();
    spawn(state, seed, rules);
    std::int64_t frames = 0;
    std::int64_t written = 0;
    sf::Image picture;
    const auto show = [&] {
        state.draw();
        picture = camera.shoot();
        if (!video->write(picture.getPixelsPtr())) {
            return false;
        }
        progress(++written);
        return true;
    };
    bool fine = show();
    while (fine && interrupted == 0 && playing(state, frames, rules)) {
        state.update();
        ++frames;
        fine = show();
    }
    if (fine && !state.winnerName().empty()) {
        // The frame of the win is the first of the banner's.
        const auto banner = static_cast<std::int64_t>(std::lround(bannerSeconds / rules.frameTime));
        for (std::int64_t n = 1; fine && interrupted == 0 && n < banner; ++n) {
            fine = video->write(picture.getPixelsPtr());
            progress(++written);
        }
    }
    if (interrupted != 0) {
        error = "interrupted by Ctrl-C";
        return 130;
    }
    if (!fine || !video->finish(error)) {
        if (error.empty()) {
            error = "cannot write " + path;
        }
        return 1;
    }
    return 0;
}

} // namespace G
