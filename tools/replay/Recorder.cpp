#include "tools/replay/Recorder.hpp"

#include "tools/replay/VideoFile.hpp"
#include "tools/replay/VideoFormat.hpp"
#include "tools/tournament/BlockedStopSignals.hpp"
#include "tools/tournament/Failure.hpp"
#include "tools/tournament/StopSignals.hpp"

#include <cmath>
#include <cstring>

namespace G {

namespace {

// The graphics driver starts threads of its own with the first context, which the context's window makes,
// even closed, and the offscreen picture too: both are made with the stop signals blocked, so that those
// threads leave the signals to the main thread.
std::shared_ptr<Tool> blockedTool() {
    const BlockedStopSignals blocked;
    return std::make_shared<Tool>();
}

WindowPicture blockedPicture() {
    const BlockedStopSignals blocked;
    return {};
}

} // namespace

Recorder::Recorder(const std::uint32_t seed, const GameRules& rules)
    : seed(seed), rules(rules), tool(blockedTool()), offscreen(blockedPicture()) {}

sf::Image Recorder::picture(SeededGame& game) {
    game.arena().draw(offscreen.target());
    return offscreen.read();
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
