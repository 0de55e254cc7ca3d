#pragma once

#include <SFML/Window/WindowHandle.hpp>

#include <string>

namespace test {

// A keyboard that types through the X server's XTest extension, so key presses reach a window exactly as a
// real keyboard's would. Kept apart from the tests because Xlib's macros clash with GoogleTest's names.
class XKeyboard {
public:
    XKeyboard();
    XKeyboard(const XKeyboard&) = delete;
    XKeyboard& operator=(const XKeyboard&) = delete;
    XKeyboard(XKeyboard&&) = delete;
    XKeyboard& operator=(XKeyboard&&) = delete;
    ~XKeyboard();

    // Whether the display could be opened and has XTest.
    bool usable() const;
    bool isViewable(sf::WindowHandle window) const;
    void focus(sf::WindowHandle window);
    // keyName is an X keysym name such as "r", "e" or "space".
    void press(const std::string& keyName);
    void release(const std::string& keyName);
    // Waits until the X server has processed everything sent so far.
    void sync();
    // From now on, also receives the window's key events on this connection, to count them.
    void watch(sf::WindowHandle window);
    // The presses of that key that reached the watched window since the last call.
    int countPresses(const std::string& keyName);

private:
    void* display = nullptr;
    bool hasXTest = false;
};

} // namespace test
