#pragma once

#include <optional>
#include <string>

// Where the tool finds the game's assets wherever it is started: share/quorvel beside the folder that holds
// the executable, as an install lays it out (<prefix>/bin and <prefix>/share/quorvel) and as the build tree
// mirrors it with a link to the project's assets.
namespace G::assetFolder {

// The folder that holds assets/textures/objects.png and assets/fonts/pixelated.ttf for the executable at
// that path; nothing when either is missing.
std::optional<std::string> beside(const std::string& executable);

// Makes the assets' folder of this process's executable the current one, as the watch and the recorder need
// it: they load ./assets as the program does. Throws a Failure (status 2) that names the executable where
// none is found: without the assets the pieces would be white squares and the overlay empty.
void enter(const std::string& startedAs);

// This process's own executable: as the system names it on Linux, macOS and FreeBSD, and elsewhere (or
// where that fails) as found from the name it was started by (argv[0]); empty if it cannot tell.
std::string ownExecutable(const std::string& startedAs);

// The executable that a shell would start for that name: a name with a slash is a path from the current
// folder, one without is looked up in the folders of `path` (as PATH lists them); empty if none is found.
std::string fromStartName(const std::string& startedAs, const std::string& path);

} // namespace G::assetFolder
