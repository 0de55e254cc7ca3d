#include "tools/cli/VirtualDisplay.hpp"

#include <gtest/gtest.h>
// After GoogleTest, whose names Xlib's macros (None among them) would otherwise rewrite.
#include <X11/Xlib.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <unistd.h>

namespace {

std::optional<std::string> environment(const char* const name) {
    const char* const value = std::getenv(name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

// Whether a client with this authority file gets through to the display.
bool admits(const std::string& display, const std::string& authority) {
    const std::optional<std::string> earlier = environment("XAUTHORITY");
    setenv("XAUTHORITY", authority.c_str(), 1);
    Display* const opened = XOpenDisplay(display.c_str());
    if (opened != nullptr) {
        XCloseDisplay(opened);
    }
    setenv("XAUTHORITY", earlier.value_or("").c_str(), 1);
    return opened != nullptr;
}

TEST(VirtualDisplay, AdmitsTheHoldersOfItsCookieAloneAndLeavesNothingBehind) {
    const std::optional<std::string> display = environment("DISPLAY");
    const std::optional<std::string> authority = environment("XAUTHORITY");
    std::string file;
    {
        const G::VirtualDisplay own;
        ASSERT_EQ(environment("DISPLAY"), own.name());
        file = environment("XAUTHORITY").value_or("");
        EXPECT_TRUE(admits(own.name(), file)) << "the tool's processes find the cookie through XAUTHORITY";
        EXPECT_FALSE(admits(own.name(), "/dev/null")) << "a client without the cookie is refused";
    }
    EXPECT_NE(access(file.c_str(), F_OK), 0) << file << ", the cookie's file, is left";
    EXPECT_EQ(environment("DISPLAY"), display);
    EXPECT_EQ(environment("XAUTHORITY"), authority);
}

} // namespace
