// Draws what `quorvel-tournament --watch SEED [OPTION]...` shows once its game has played FRAMES frames, under
// the status line STATUS, into a PNG file, as the window draws it; then prints the game's winner at that frame
// as the CSV file names it. The watch's checks hold its window against the picture pixel for pixel, so the
// status line's text is checked as the window shows it. Run from a folder that holds the game's assets.
//   watch-frame OUT.png FRAMES STATUS --watch SEED [OPTION]...
#include "tools/cli/CommandLine.hpp"
#include "tools/replay/StatusLine.hpp"
#include "tools/replay/WindowPicture.hpp"
#include "tools/tournament/Failure.hpp"
#include "tools/tournament/SeededGame.hpp"

#include <iostream>
#include <memory>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 6) {
        std::cerr << "usage: watch-frame OUT.png FRAMES STATUS --watch SEED [OPTION]...\n";
        return 2;
    }
    try {
        const G::commandLine::Options options =
            G::commandLine::parse(std::vector<std::string>(argv + 4, argv + argc)).options;
        G::WindowPicture picture;
        const auto tool = std::make_shared<G::Tool>();
        G::SeededGame game(tool, options.watch.value_or(0), options.rules, G::SeededGame::Looks::Shown);
        for (long frame = std::stol(argv[2]); frame > 0; --frame) {
            game.step();
        }
        G::StatusLine status(tool);
        game.arena().draw(picture.target());
        status.draw(picture.target(), argv[3]);
        if (!picture.read().saveToFile(argv[1])) {
            std::cerr << "watch-frame: cannot write " << argv[1] << "\n";
            return 1;
        }
        std::cout << G::nameOf(game.result().winner) << "\n";
    } catch (const G::Failure& failure) {
        std::cerr << "watch-frame: " << failure.what() << "\n";
        return 2;
    }
    return 0;
}
