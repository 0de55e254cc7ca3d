#include "tests/XKeyboard.hpp"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace test {

namespace {

Display* asDisplay(void* display) {
    return static_cast<Display*>(display);
}

} // namespace

XKeyboard::XKeyboard() : display(XOpenDisplay(nullptr)) {
    if (display != nullptr) {
        int event = 0;
        int error = 0;
        int major = 0;
        int minor = 0;
        hasXTest = XTestQueryExtension(asDisplay(display), &event, &error, &major, &minor) != 0;
    }
}

XKeyboard::~XKeyboard() {
    if (display != nullptr) {
        XCloseDisplay(asDisplay(display));
    }
}

bool XKeyboard::usable() const {
    return display != nullptr && hasXTest;
}

bool XKeyboard::isViewable(const sf::WindowHandle window) const {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(asDisplay(display), window, &attributes) != 0 && attributes.map_state == IsViewable;
}

void XKeyboard::focus(const sf::WindowHandle window) {
    XSetInputFocus(asDisplay(display), window, RevertToParent, CurrentTime);
    sync();
}

void XKeyboard::press(const std::string& keyName) {
    const KeyCode code = XKeysymToKeycode(asDisplay(display), XStringToKeysym(keyName.c_str()));
    XTestFakeKeyEvent(asDisplay(display), code, True, CurrentTime);
}

void XKeyboard::release(const std::string& keyName) {
    const KeyCode code = XKeysymToKeycode(asDisplay(display), XStringToKeysym(keyName.c_str()));
    XTestFakeKeyEvent(asDisplay(display), code, False, CurrentTime);
}

void XKeyboard::sync() {
    XSync(asDisplay(display), False);
}

void XKeyboard::watch(const sf::WindowHandle window) {
    // Key events may be selected by any number of clients, so watching takes nothing from the program.
    XSelectInput(asDisplay(display), window, KeyPressMask | KeyReleaseMask);
    sync();
}

int XKeyboard::countPresses(const std::string& keyName) {
    sync();
    const KeyCode code = XKeysymToKeycode(asDisplay(display), XStringToKeysym(keyName.c_str()));
    int presses = 0;
    while (XPending(asDisplay(display)) > 0) {
        XEvent event{};
        XNextEvent(asDisplay(display), &event);
        if (event.type == KeyPress && event.xkey.keycode == code) {
            ++presses;
        }
    }
    return presses;
}

} // namespace test
