#include "tools/tournament/OutputPlace.hpp"

#include "tools/tournament/Failure.hpp"

#include <cerrno>
#include <climits>
#include <cstring>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>
#include <vector>

namespace G {

namespace {

// As many links as the kernel follows in one path before it gives up with ELOOP.
constexpr int mostLinks = 40;

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The links in /proc (/proc/self/fd/1, which /dev/stdout leads to) name a file that is open, a pipe or a
// terminal as well as a file in a folder: what they lead to is written through them, never replaced by name.
bool inProc(const std::string& path) {
    struct statfs system = {};
    return statfs(folderOf(path).c_str(), &system) == 0 && system.f_type == PROC_SUPER_MAGIC;
}

} // namespace

OutputPlace::OutputPlace(const std::string& path, const int status) : target(path) {
    if (path == "-") {
        how = Way::StandardOutput;
        return;
    }
    const auto refuse = [&path, status](const int error) {
        return Failure(status, "cannot write " + path + ": " + std::strerror(error));
    };
    for (int links = 0;; ++links) {
        struct stat found = {};
        if (lstat(target.c_str(), &found) != 0) {
            // A name not taken yet, given or at the end of a link, is made as a plain file is replaced; every
            // other reason is the path's.
            if (errno != ENOENT) {
                throw refuse(errno);
            }
            how = Way::Replaced;
            return;
        }
        const bool procLink = S_ISLNK(found.st_mode) && inProc(target);
        if (S_ISLNK(found.st_mode) && !procLink) {
            if (links == mostLinks) {
                throw refuse(ELOOP);
            }
            std::vector<char> leadsTo(PATH_MAX + 1);
            const ssize_t length = readlink(target.c_str(), leadsTo.data(), leadsTo.size() - 1);
            if (length < 0) {
                throw refuse(errno);
            }
            const std::string next(leadsTo.data(), static_cast<std::size_t>(length));
            target = !next.empty() && next.front() == '/' ? next : folderOf(target) + "/" + next;
            continue;
        }
        if (procLink && stat(target.c_str(), &found) != 0) {
            throw refuse(errno);
        }
        if (S_ISDIR(found.st_mode)) {
            throw refuse(EISDIR);
        }
        how = S_ISREG(found.st_mode) && !procLink ? Way::Replaced : Way::InPlace;
        return;
    }
}

} // namespace G
