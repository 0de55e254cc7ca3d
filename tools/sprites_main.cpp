#include "tools/IconFile.hpp"
#include "tools/SpriteSheet.hpp"

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

// Draws the piece sprite sheet, the program's icon at a given size, or its Windows icon file.
//   quorvel-sprites OUTPUT.png
//   quorvel-sprites --icon SIZE OUTPUT.png
//   quorvel-sprites --ico OUTPUT.ico
int main(int argc, char** argv) {
    const auto usage = [] {
        std::cerr << "usage: quorvel-sprites OUTPUT.png\n       quorvel-sprites --icon SIZE OUTPUT.png\n"
                     "       quorvel-sprites --ico OUTPUT.ico\n";
        return 2;
    };
    if (argc == 3 && std::string(argv[1]) == "--ico") {
        std::vector<sf::Image> sizes;
        for (const unsigned size : {16U, 24U, 32U, 48U, 64U, 128U, 256U}) {
            sizes.push_back(G::SpriteSheet::renderIcon(size));
        }
        if (!G::IconFile::write(argv[2], sizes)) {
            std::cerr << "quorvel-sprites: cannot write " << argv[2] << '\n';
            return 1;
        }
        return 0;
    }
    sf::Image image;
    std::string output;
    if (argc == 2) {
        image = G::SpriteSheet::render();
        output = argv[1];
    } else if (argc == 4 && std::string(argv[1]) == "--icon") {
        char* end = nullptr;
        const unsigned long size = std::strtoul(argv[2], &end, 10);
        if (end == argv[2] || *end != '\0' || size < 16 || size > 1024) {
            std::cerr << "quorvel-sprites: the icon size must be a whole number from 16 to 1024\n";
            return 2;
        }
        image = G::SpriteSheet::renderIcon(static_cast<unsigned>(size));
        output = argv[3];
    } else {
        return usage();
    }
    if (!image.saveToFile(output)) {
        std::cerr << "quorvel-sprites: cannot write " << output << '\n';
        return 1;
    }
    return 0;
}
