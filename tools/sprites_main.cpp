#include "tools/SpriteSheet.hpp"

#include <iostream>

// Writes the piece sprite sheet to the path given as the one argument.
int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: quorvel-sprites OUTPUT.png\n";
        return 2;
    }
    if (!G::SpriteSheet::render().saveToFile(argv[1])) {
        std::cerr << "quorvel-sprites: cannot write " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
