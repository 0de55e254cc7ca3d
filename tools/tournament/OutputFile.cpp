#include "tools/tournament/OutputFile.hpp"

#include "tools/tournament/Failure.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace G::outputFile {

namespace {

Failure cannotWrite(const int status, const std::string& path, const int error) {
    return {status, "cannot write " + path + ": " + std::strerror(error)};
}

} // namespace

std::string temporaryFor(const std::string& path) {
    return path + ".part-" + std::to_string(getpid());
}

void check(const std::string& path) {
    struct stat status = {};
    if (stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
        throw cannotWrite(2, path, EISDIR);
    }
    // Making the temporary file is the one test that every cause agrees with: a missing folder, one without
    // write permission, a read-only file system, a name too long.
    const std::string temporary = temporaryFor(path);
    const int file = open(temporary.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (file < 0) {
        throw cannotWrite(2, path, errno);
    }
    close(file);
    std::remove(temporary.c_str());
}

void write(const std::string& path, const std::string& text) {
    const std::string temporary = temporaryFor(path);
    // The reason of the failure just met: errno, or, where the C library left none, a plain input/output error.
    const auto reason = [] { return errno != 0 ? errno : EIO; };
    errno = 0;
    std::FILE* const file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) {
        throw cannotWrite(1, path, reason());
    }
    int error = 0;
    if (std::fwrite(text.data(), 1, text.size(), file) != text.size()) {
        error = reason();
    }
    if (std::fclose(file) != 0 && error == 0) {
        error = reason();
    }
    if (error == 0 && std::rename(temporary.c_str(), path.c_str()) != 0) {
        error = reason();
    }
    if (error != 0) {
        std::remove(temporary.c_str());
        throw cannotWrite(1, path, error);
    }
}

} // namespace G::outputFile
