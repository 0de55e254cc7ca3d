#pragma once

#include <optional>
#include <string>

namespace G {

// Where the tool finds the game's assets wherever it is started: share/quorvel beside the folder that holds
// the executable, as an install lays it out (<prefix>/bin and <prefix>/share/quorvel) and as the build tree
// mirrors it with a link to the project's assets.
class AssetFolder {
public:
    // The folder that holds assets/textures/objects.png and assets/fonts/pixelated.ttf for the executable
    // at that path; nothing when either is missing.
    static std::optional<std::string> beside(const std::string& executable);
    // This process's own executable, as the system names it; empty if it cannot tell.
    static std::string ownExecutable();
};

} // namespace G
