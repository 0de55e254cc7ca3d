#include "tools/replay/AssetFolder.hpp"

#include "tools/tournament/Failure.hpp"

#include <array>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#ifdef __APPLE__
#include <mach-o/dyld.h>
#elif defined(__FreeBSD__) || defined(__DragonFly__)
// sysctl.h needs the types first.
#include <sys/sysctl.h>
#include <sys/types.h>
#endif

namespace G::assetFolder {

namespace {

bool isFile(const std::string& path) {
    struct stat info = {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string parentOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

// The path with every link and every "." and ".." resolved; empty if it does not exist.
std::string resolved(const std::string& path) {
    std::array<char, PATH_MAX> real{};
    return realpath(path.c_str(), real.data()) != nullptr ? std::string(real.data()) : std::string();
}

// What the system itself says this process's executable is; empty where it has no way to say.
std::string fromSystem() {
#ifdef __linux__
    return resolved("/proc/self/exe");
#elif defined(__APPLE__)
    std::array<char, PATH_MAX> self{};
    auto size = static_cast<std::uint32_t>(self.size());
    return _NSGetExecutablePath(self.data(), &size) == 0 ? resolved(self.data()) : std::string();
#elif defined(__FreeBSD__) || defined(__DragonFly__)
    std::array<int, 4> name{CTL_KERN, KERN_PROC, KERN_PROC_PATHNAME, -1};
    std::array<char, PATH_MAX> self{};
    std::size_t size = self.size();
    return sysctl(name.data(), name.size(), self.data(), &size, nullptr, 0) == 0 ? resolved(self.data())
                                                                                 : std::string();
#else
    return "";
#endif
}

} // namespace

std::optional<std::string> beside(const std::string& executable) {
    std::string folder = parentOf(parentOf(executable)) + "/share/quorvel";
    if (isFile(folder + "/assets/textures/objects.png") && isFile(folder + "/assets/fonts/pixelated.ttf")) {
        return folder;
    }
    return std::nullopt;
}

void enter(const std::string& startedAs) {
    const std::string self = ownExecutable(startedAs);
    const std::optional<std::string> folder = beside(self);
    if (!folder) {
        throw Failure(2, "cannot find the game's assets in share/quorvel/assets beside the folder of " +
                             (self.empty() ? std::string("this program") : self));
    }
    if (chdir(folder->c_str()) != 0) {
        throw Failure(2, "cannot enter " + *folder);
    }
}

std::string ownExecutable(const std::string& startedAs) {
    std::string self = fromSystem();
    if (!self.empty()) {
        return self;
    }
    const char* const path = std::getenv("PATH");
    return fromStartName(startedAs, path != nullptr ? path : "");
}

std::string fromStartName(const std::string& startedAs, const std::string& path) {
    if (startedAs.empty()) {
        return "";
    }
    if (startedAs.find('/') != std::string::npos) {
        return resolved(startedAs);
    }
    std::istringstream folders(path);
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        // An empty entry in PATH stands for the current folder.
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + startedAs;
        if (isFile(candidate) && access(candidate.c_str(), X_OK) == 0) {
            return resolved(candidate);
        }
    }
    return "";
}

} // namespace G::assetFolder
