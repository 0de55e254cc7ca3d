#include "tools/tournament/OutputFile.hpp"

#include "tools/tournament/Failure.hpp"
#include "tools/tournament/OutputPlace.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace G::outputFile {

namespace {

Failure cannotWrite(const int status, const std::string& path, const int error) {
    return {status, "cannot write " + path + ": " + std::strerror(error)};
}

// The reason of the failure just met: errno, or, where the C library left none, a plain input/output error.
int reason() {
    return errno != 0 ? errno : EIO;
}

void replace(const std::string& path, const std::string& file, const std::string& text) {
    const std::string temporary = temporaryFor(file);
    errno = 0;
    std::FILE* const stream = std::fopen(temporary.c_str(), "wb");
    if (stream == nullptr) {
        throw cannotWrite(1, path, reason());
    }
    int error = 0;
    if (std::fwrite(text.data(), 1, text.size(), stream) != text.size()) {
        error = reason();
    }
    if (std::fclose(stream) != 0 && error == 0) {
        error = reason();
    }
    if (error == 0 && std::rename(temporary.c_str(), file.c_str()) != 0) {
        error = reason();
    }
    if (error != 0) {
        std::remove(temporary.c_str());
        throw cannotWrite(1, path, error);
    }
}

// The descriptor of standard output or standard error where the file is the one that is open there, so that
// what the tool writes there itself stays in order with the file; else -1.
int openAlready(const std::string& file) {
    struct stat named = {};
    if (stat(file.c_str(), &named) != 0) {
        return -1;
    }
    for (const int descriptor : {STDOUT_FILENO, STDERR_FILENO}) {
        struct stat open = {};
        if (fstat(descriptor, &open) == 0 && open.st_dev == named.st_dev && open.st_ino == named.st_ino) {
            return descriptor;
        }
    }
    return -1;
}

// Writes all of the text, as a pipe or a device takes it, piece by piece.
int writeAll(const int descriptor, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t wrote = ::write(descriptor, text.data() + done, text.size() - done);
        if (wrote < 0 && errno != EINTR) {
            return errno;
        }
        done += wrote < 0 ? 0 : static_cast<std::size_t>(wrote);
    }
    return 0;
}

void writeInPlace(const std::string& path, const OutputPlace& place, const std::string& text) {
    int descriptor = place.way() == OutputPlace::Way::StandardOutput ? STDOUT_FILENO : openAlready(place.file());
    const bool opened = descriptor < 0;
    if (opened) {
        // As a shell's > opens it: a FIFO or a device is as it was, a file reached through /proc starts empty.
        descriptor = open(place.file().c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (descriptor < 0) {
            throw cannotWrite(1, path, errno);
        }
    }
    int error = writeAll(descriptor, text);
    if (opened && close(descriptor) != 0 && error == 0) {
        error = errno;
    }
    if (error != 0) {
        throw cannotWrite(1, path, error);
    }
}

} // namespace

std::string temporaryFor(const std::string& path) {
    return path + ".part-" + std::to_string(getpid());
}

bool isStandardOutput(const std::string& path) {
    return path == "-";
}

bool replacesOneFile(const std::string& one, const std::string& other) {
    const OutputPlace first(one, 2);
    const OutputPlace second(other, 2);
    // Where a folder on the way cannot be looked at, the names as they are.
    const auto where = [](const std::string& file) {
        std::error_code unknown;
        const std::filesystem::path found = std::filesystem::weakly_canonical(file, unknown);
        return unknown ? std::filesystem::path(file).lexically_normal() : found;
    };
    return first.way() == OutputPlace::Way::Replaced && second.way() == OutputPlace::Way::Replaced &&
           where(first.file()) == where(second.file());
}

void check(const std::string& path) {
    const OutputPlace place(path, 2);
    if (place.way() == OutputPlace::Way::StandardOutput) {
        if (fcntl(STDOUT_FILENO, F_GETFL) < 0) {
            throw cannotWrite(2, path, errno);
        }
        return;
    }
    if (place.way() == OutputPlace::Way::InPlace) {
        // Opening a FIFO here would block until it has a reader, and then end that reader's input: its
        // permission is all that can be known before the run.
        if (openAlready(place.file()) < 0 && faccessat(AT_FDCWD, place.file().c_str(), W_OK, AT_EACCESS) != 0) {
            throw cannotWrite(2, path, errno);
        }
        return;
    }
    // Making the temporary file is the one test that every cause agrees with: a missing folder, one without
    // write permission, a read-only file system, a name too long.
    const std::string temporary = temporaryFor(place.file());
    const int file = open(temporary.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (file < 0) {
        throw cannotWrite(2, path, errno);
    }
    close(file);
    std::remove(temporary.c_str());
}

void write(const std::string& path, const std::string& text) {
    const OutputPlace place(path, 1);
    if (place.way() == OutputPlace::Way::Replaced) {
        replace(path, place.file(), text);
    } else {
        writeInPlace(path, place, text);
    }
}

} // namespace G::outputFile
