#pragma once

#include "tools/cli/VirtualDisplay.hpp"

#include <cstdint>
#include <memory>

namespace G {

// The display that a run draws on, made ready before any game is played and kept while the object lives.
// Where X11 is the display system, SFML needs one even to draw nothing, and aborts the whole process on one
// that it cannot open: so the display is opened here first, and a run whose DISPLAY cannot be opened ends at
// once, with a line that names it. Where DISPLAY names no display, a run that shows no window gets a virtual
// display of the tool's own (VirtualDisplay). One connection stays open for the whole run, so that a server
// which resets when its last client leaves (as xvfb-run starts one, without -noreset) never does so between
// the tool's processes, refusing them meanwhile. Elsewhere the system always has a display, and nothing is
// done.
class RunDisplay {
public:
    // What the run draws: a window, which only a real display shows, or pictures that nobody sees.
    enum class Drawing : std::uint8_t { Window, Unseen };

    // Throws a Failure (status 1) when no display can be had.
    explicit RunDisplay(Drawing drawing);
    RunDisplay(const RunDisplay&) = delete;
    RunDisplay& operator=(const RunDisplay&) = delete;
    RunDisplay(RunDisplay&&) = delete;
    RunDisplay& operator=(RunDisplay&&) = delete;
    ~RunDisplay();

private:
    std::unique_ptr<VirtualDisplay> own;
    // The connection held open, an Xlib Display; closed before the tool's own display ends.
    void* connection = nullptr;
};

} // namespace G
