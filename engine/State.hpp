#pragma once

namespace G {

// One self-contained screen. The frame loop calls handleInput, update and draw once per pass, in that
// order; the state reaches the window and the frame time through its own pointer to the shared context.
class State {
public:
    State() = default;
    State(const State&) = delete;
    State& operator=(const State&) = delete;
    State(State&&) = delete;
    State& operator=(State&&) = delete;
    virtual ~State() = default;

    // Called once, right after the state has been pushed onto the stack.
    virtual void init() = 0;
    virtual void update() = 0;
    virtual void draw() = 0;
    virtual void handleInput() = 0;
};

} // namespace G
