#include "tools/cli/RunDisplay.hpp"

#include "tools/tournament/Failure.hpp"

#if QUORVEL_X11
#include <X11/Xlib.h>

#include <cstdlib>
#include <string>
#endif

namespace G {

RunDisplay::RunDisplay(const Drawing drawing) {
#if QUORVEL_X11
    // An empty DISPLAY names no display at all.
    const char* const named = std::getenv("DISPLAY");
    if (drawing == Drawing::Unseen && (named == nullptr || *named == '\0')) {
        own = std::make_unique<VirtualDisplay>();
    }
    std::string name = named != nullptr ? named : "";
    if (own) {
        name = own->name();
    }
    if (name.empty()) {
        throw Failure(1, "--watch needs a display to show its window");
    }
    Display* const opened = XOpenDisplay(name.c_str());
    if (opened == nullptr) {
        std::string hint = "unset DISPLAY, and the tool plays on a virtual display of its own";
        if (own) {
            hint = "the tool's own virtual display refused it";
        } else if (drawing == Drawing::Window) {
            hint = "start it from a desktop session, or over ssh with X forwarding (ssh -X)";
        }
        throw Failure(1, "no X display at " + name + " could be opened: " + hint);
    }
    connection = opened;
#else
    static_cast<void>(drawing);
#endif
}

RunDisplay::~RunDisplay() {
#if QUORVEL_X11
    if (connection != nullptr) {
        XCloseDisplay(static_cast<Display*>(connection));
    }
#endif
}

} // namespace G
