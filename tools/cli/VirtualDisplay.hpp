#pragma once

#include <array>
#include <csignal>
#include <optional>
#include <string>
#include <sys/types.h>

namespace G {

// An X display of the tool's own, for where there is none: a virtual X server (Xvfb) that picks a free display
// number itself (-displayfd, so that tools started side by side never race for one), never resets when its
// last client leaves (-noreset: a client that connects during a reset is refused, and SFML aborts), and admits
// only the holders of a fresh random cookie, kept in a private authority file in the temporary folder (TMPDIR,
// else /tmp). While it lives, DISPLAY and XAUTHORITY name the server and the file, for this process and every
// process it starts; the earlier values come back after. The server ends and the file goes when the object
// is destroyed, when the process ends through exit() (as Xlib ends it when a display is lost), and when a
// signal comes that would end the process (which it then does, as that signal would). The server runs in a
// process group of its own, so that Ctrl-C reaches the tool, which ends it in turn, and not the server
// beneath it; on Linux it also ends when the tool is killed outright.
class VirtualDisplay {
public:
    // The signals that end a process which has not asked for them, a crash's among them: on these, the server
    // is ended first.
    static constexpr std::array<int, 15> endingSignals{SIGHUP,  SIGINT,  SIGQUIT, SIGTERM, SIGPIPE,
                                                       SIGABRT, SIGALRM, SIGUSR1, SIGUSR2, SIGXCPU,
                                                       SIGXFSZ, SIGSEGV, SIGBUS,  SIGFPE,  SIGILL};
    // The longest the server may take to start.
    static constexpr int startSeconds = 30;

    // Starts the server, and waits until it takes clients; throws a Failure (status 1), leaving nothing
    // behind, when Xvfb is not on the path or does not start.
    VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;
    VirtualDisplay(VirtualDisplay&&) = delete;
    VirtualDisplay& operator=(VirtualDisplay&&) = delete;
    ~VirtualDisplay();

    // The display's name, as DISPLAY gives it: ":" and its number.
    const std::string& name() const { return display; }

    // Ends the server and removes its file at once: for a process that must end without its destructors
    // (through _exit). Safe in a signal handler; does nothing in any process but the one that started the
    // server (a worker forked from it, say), and nothing once the server has ended.
    static void endNow();

private:
    // Where Xvfb is on the path; nothing when it is not.
    static std::optional<std::string> findServer();
    // From now on, exit() and the ending signals end the server and remove the file first.
    void catchEndingSignals();
    // Starts the server on the file with the cookie and reads the number it picked; throws a Failure.
    void start(const std::string& server);
    // DISPLAY, XAUTHORITY and the signals' actions as they were before.
    void putBackEverything();

    std::string display;
    std::optional<std::string> earlierDisplay;
    std::optional<std::string> earlierAuthority;
    std::array<struct sigaction, endingSignals.size()> earlierActions{};
};

} // namespace G
