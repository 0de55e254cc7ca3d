#include "tools/cli/VirtualDisplay.hpp"

#include "tools/tournament/Failure.hpp"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace G {

namespace {

// What a signal handler or exit() needs to end the server, in plain values: the process that started it,
// the server's process and the authority file's path (empty once removed).
std::atomic<pid_t> owner{0};
std::atomic<pid_t> serverProcess{0};
std::array<char, PATH_MAX> authorityPath{};

// SIGTERM, on which the server removes its lock file and socket and ends; SIGKILL for one that has not ended
// within two seconds. Safe in a signal handler.
void endServer(const pid_t server) {
    kill(server, SIGTERM);
    for (int wait = 0; wait < 200; ++wait) {
        const pid_t ended = waitpid(server, nullptr, WNOHANG);
        if (ended == server || (ended < 0 && errno != EINTR)) {
            return;
        }
        const timespec pause{0, 10000000};
        nanosleep(&pause, nullptr);
    }
    kill(server, SIGKILL);
    while (waitpid(server, nullptr, 0) < 0 && errno == EINTR) {
    }
}

// On a signal that would have ended the process: the server goes first, then the process as the signal ends
// it (the signal, delivered again once the handler returns, finds the default action).
void endThenDie(const int signal) {
    VirtualDisplay::endNow();
    struct sigaction byDefault = {};
    byDefault.sa_handler = SIG_DFL;
    sigaction(signal, &byDefault, nullptr);
    raise(signal);
}

sigset_t endingSet() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : VirtualDisplay::endingSignals) {
        sigaddset(&set, signal);
    }
    return set;
}

// The authority file's one entry: a cookie of MIT-MAGIC-COOKIE-1 for any address and any display number
// (FamilyWild), in the format of Xau, each field after the family led by its length in two bytes, high first.
std::string authorityEntry(const std::array<unsigned char, 16>& cookie) {
    std::string entry = "\xff\xff";
    const auto add = [&entry](const std::string& field) {
        entry += static_cast<char>(field.size() >> 8U);
        entry += static_cast<char>(field.size() & 0xffU);
        entry += field;
    };
    add("");
    add("");
    add("MIT-MAGIC-COOKIE-1");
    add(std::string(cookie.begin(), cookie.end()));
    return entry;
}

// A fresh cookie into the file, which only this user can read (mkstemp made it so). The cookie comes from
// /dev/urandom, which every system with X11 has.
void writeCookie(const int file) {
    std::array<unsigned char, 16> cookie{};
    const int random = open("/dev/urandom", O_RDONLY | O_CLOEXEC);
    const bool drawn = random >= 0 && read(random, cookie.data(), cookie.size()) == static_cast<ssize_t>(cookie.size());
    const int drawError = errno;
    if (random >= 0) {
        close(random);
    }
    if (!drawn) {
        close(file);
        throw Failure(1,
                      std::string("no X display, and no random cookie for a virtual one: ") + std::strerror(drawError));
    }
    const std::string entry = authorityEntry(cookie);
    const bool written = write(file, entry.data(), entry.size()) == static_cast<ssize_t>(entry.size());
    const int error = errno;
    if (close(file) != 0 || !written) {
        throw Failure(1, "no X display, and the virtual one's authority file cannot be written: " +
                             std::string(std::strerror(written ? errno : error)));
    }
}

// Blocks the ending signals, which then wait until the mask returned is put back.
sigset_t holdEndingSignals() {
    const sigset_t ending = endingSet();
    sigset_t earlier;
    sigprocmask(SIG_BLOCK, &ending, &earlier);
    return earlier;
}

// In the child just forked: the server's own process group (so that a Ctrl-C at the terminal reaches the tool,
// which ends it, and not the server), its end with the tool's on Linux, the signals as a fresh process has
// them, and no terminal; then the server. Only calls that are safe between fork and exec.
[[noreturn]] void becomeServer(const std::vector<const char*>& arguments, const sigset_t& mask, const pid_t parent) {
    struct sigaction byDefault = {};
    byDefault.sa_handler = SIG_DFL;
    for (const int signal : VirtualDisplay::endingSignals) {
        sigaction(signal, &byDefault, nullptr);
    }
    sigprocmask(SIG_SETMASK, &mask, nullptr);
    setpgid(0, 0);
#ifdef __linux__
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    // The tool may have ended before the request: then there is no one to end the server.
    if (getppid() != parent) {
        _exit(1);
    }
#endif
    const int nothing = open("/dev/null", O_RDWR);
    for (const int standard : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        dup2(nothing, standard);
    }
    if (nothing > STDERR_FILENO) {
        close(nothing);
    }
    execv(arguments.front(), const_cast<char* const*>(arguments.data()));
    _exit(127);
}

// The display number that the server writes once it takes clients, read from the pipe's end, which is then
// closed; a Failure when the server ends or falls silent before.
std::string numberFrom(const int fd) {
    std::string text;
    bool late = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(VirtualDisplay::startSeconds);
    while (text.find('\n') == std::string::npos) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd ready{fd, POLLIN, 0};
        const int polled = poll(&ready, 1, static_cast<int>(std::max<std::int64_t>(left.count(), 0)));
        if (polled < 0 && errno == EINTR) {
            continue;
        }
        late = polled == 0;
        std::array<char, 32> buffer{};
        const ssize_t got = polled > 0 ? read(fd, buffer.data(), buffer.size()) : 0;
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        text.append(buffer.data(), static_cast<std::size_t>(got));
    }
    close(fd);
    const std::size_t digits = text.find_first_not_of("0123456789");
    if (digits == 0 || digits == std::string::npos || text[digits] != '\n') {
        throw Failure(1, "no X display, and Xvfb did not start one: " +
                             (late ? "it was not ready within " + std::to_string(VirtualDisplay::startSeconds) + " s"
                                   : std::string("it ended before it was ready")));
    }
    return text.substr(0, digits);
}

// A new file, which only this user can read, in the folder, its path in authorityPath; -1 and errno when it
// cannot be made.
int makeAuthorityFile(const std::string& folder) {
    const std::string pattern = folder + "/quorvel-tournament-XXXXXX";
    if (pattern.size() >= authorityPath.size()) {
        errno = ENAMETOOLONG;
        return -1;
    }
    std::copy(pattern.begin(), pattern.end(), authorityPath.begin());
    authorityPath.at(pattern.size()) = '\0';
    const int file = mkstemp(authorityPath.data());
    if (file < 0) {
        authorityPath.front() = '\0';
    }
    return file;
}

std::optional<std::string> environment(const char* const name) {
    const char* const value = std::getenv(name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

void putBack(const char* const name, const std::optional<std::string>& value) {
    if (value) {
        setenv(name, value->c_str(), 1);
    } else {
        unsetenv(name);
    }
}

} // namespace

VirtualDisplay::VirtualDisplay() {
    if (owner.load() != 0) {
        throw Failure(1, "a virtual display is already running");
    }
    const std::optional<std::string> server = findServer();
    if (!server) {
        throw Failure(1, "no X display, and no Xvfb to start one: install Xvfb (on Debian, the package xvfb)");
    }
    const std::optional<std::string> temporary = environment("TMPDIR");
    const std::string folder = temporary && !temporary->empty() ? *temporary : "/tmp";
    // No ending signal until its handler is in place, which then finds the file to remove.
    const sigset_t earlierMask = holdEndingSignals();
    const int file = makeAuthorityFile(folder);
    if (file < 0) {
        const int error = errno;
        sigprocmask(SIG_SETMASK, &earlierMask, nullptr);
        throw Failure(1, "no X display, and no file for a virtual one's cookie in " + folder + ": " +
                             std::strerror(error));
    }
    owner = getpid();
    catchEndingSignals();
    sigprocmask(SIG_SETMASK, &earlierMask, nullptr);
    earlierDisplay = environment("DISPLAY");
    earlierAuthority = environment("XAUTHORITY");
    try {
        writeCookie(file);
        start(*server);
    } catch (const Failure&) {
        endNow();
        putBackEverything();
        throw;
    }
}

VirtualDisplay::~VirtualDisplay() {
    endNow();
    putBackEverything();
}

void VirtualDisplay::catchEndingSignals() {
    // exit() too: Xlib's default ends the process through it when a display is lost.
    static const bool onExit = std::atexit(endNow) == 0;
    static_cast<void>(onExit);
    struct sigaction ending = {};
    ending.sa_handler = endThenDie;
    ending.sa_mask = endingSet();
    for (std::size_t i = 0; i < endingSignals.size(); ++i) {
        sigaction(endingSignals.at(i), nullptr, &earlierActions.at(i));
        // A signal that the process ignores or handles stays so.
        if (earlierActions.at(i).sa_handler == SIG_DFL) {
            sigaction(endingSignals.at(i), &ending, nullptr);
        }
    }
}

void VirtualDisplay::endNow() {
    if (owner.load() != getpid()) {
        return;
    }
    const pid_t server = serverProcess.exchange(0);
    if (server > 0) {
        endServer(server);
    }
    if (authorityPath.front() != '\0') {
        unlink(authorityPath.data());
        authorityPath.front() = '\0';
    }
}

std::optional<std::string> VirtualDisplay::findServer() {
    const std::optional<std::string> path = environment("PATH");
    // Where PATH is not set, the folders that execvp searches.
    const std::string folders = path ? *path : "/bin:/usr/bin";
    for (std::size_t from = 0; from <= folders.size();) {
        const std::size_t colon = std::min(folders.find(':', from), folders.size());
        const std::string folder = folders.substr(from, colon - from);
        std::string candidate = (folder.empty() ? "." : folder) + "/Xvfb";
        if (access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        from = colon + 1;
    }
    return std::nullopt;
}

void VirtualDisplay::start(const std::string& server) {
    std::array<int, 2> number{};
    if (pipe(number.data()) != 0) {
        throw Failure(1, std::string("no X display, and Xvfb cannot be started: ") + std::strerror(errno));
    }
    fcntl(number[0], F_SETFD, FD_CLOEXEC);
    const std::string numberFd = std::to_string(number[1]);
    // The screen of xvfb-run, which the tool's virtual display has always had.
    const std::vector<const char*> arguments{
        server.c_str(), "-displayfd", numberFd.c_str(), "-auth", authorityPath.data(), "-noreset",
        "-nolisten",    "tcp",        "-screen",        "0",     "1280x1024x24",       nullptr};
    // No ending signal between the fork and the note of the server's process: its handler must find it.
    const sigset_t earlierMask = holdEndingSignals();
    const pid_t parent = getpid();
    const pid_t forked = fork();
    const int forkError = errno;
    if (forked == 0) {
        becomeServer(arguments, earlierMask, parent);
    }
    serverProcess = std::max<pid_t>(forked, 0);
    sigprocmask(SIG_SETMASK, &earlierMask, nullptr);
    close(number[1]);
    if (serverProcess.load() == 0) {
        close(number[0]);
        throw Failure(1, std::string("no X display, and Xvfb cannot be started: ") + std::strerror(forkError));
    }
    display = ":" + numberFrom(number[0]);
    setenv("DISPLAY", display.c_str(), 1);
    setenv("XAUTHORITY", authorityPath.data(), 1);
}

void VirtualDisplay::putBackEverything() {
    putBack("DISPLAY", earlierDisplay);
    putBack("XAUTHORITY", earlierAuthority);
    for (std::size_t i = 0; i < endingSignals.size(); ++i) {
        sigaction(endingSignals.at(i), &earlierActions.at(i), nullptr);
    }
    owner = 0;
}

} // namespace G
