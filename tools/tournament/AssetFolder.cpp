#include "tools/tournament/AssetFolder.hpp"

#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace G {

namespace {

bool isFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string parentOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

} // namespace

std::optional<std::string> AssetFolder::beside(const std::string& executable) {
    const std::string folder = parentOf(parentOf(executable)) + "/share/quorvel";
    if (isFile(folder + "/assets/textures/objects.png") && isFile(folder + "/assets/fonts/pixelated.ttf")) {
        return folder;
    }
    return std::nullopt;
}

std::string AssetFolder::ownExecutable() {
    std::string self(PATH_MAX, '\0');
    const ssize_t length = readlink("/proc/self/exe", self.data(), self.size() - 1);
    if (length <= 0) {
        return "";
    }
    self.resize(static_cast<std::size_t>(length));
    return self;
}

} // namespace G
