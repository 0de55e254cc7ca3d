#include "engine/App.hpp"

#if defined(__unix__) && !defined(__APPLE__)
#include <X11/Xlib.h>

#include <cstdlib>
#include <iostream>
#include <string>
#endif

namespace {

// Where X11 is the windowing system, the graphics library aborts the whole program when it cannot reach a
// display, so the program asks first and can end with a message that says what is missing.
bool displayReachable() {
#if defined(__unix__) && !defined(__APPLE__)
    Display* const display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        const char* const name = std::getenv("DISPLAY");
        const std::string which =
            name != nullptr && *name != '\0' ? std::string("at ") + name + " could be opened" : "(DISPLAY is not set)";
        std::cerr << "quorvel: no X display " << which
                  << ": start it from a desktop session, or over ssh with X forwarding (ssh -X)\n";
        return false;
    }
    XCloseDisplay(display);
#endif
    return true;
}

} // namespace

int main(int /*argc*/, char** /*argv*/) {
    if (!displayReachable()) {
        return 1;
    }
    const G::App app;
    return app.exitStatus();
}
