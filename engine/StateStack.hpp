#pragma once

#include "engine/State.hpp"

#include <deque>
#include <memory>
#include <stack>

namespace G {

// Owns the states and keeps the active one on top. Additions and removals are only queued: they take
// effect in processStateChanges, at the start of the next pass, so the state that receives a pass's
// handleInput also receives that pass's update and draw.
class StateStack {
public:
    // Queues newState; a state still pending from an earlier call is dropped without its init running.
    void addState(std::unique_ptr<State> newState, bool isReplacing);
    // Queues the removal of the top state.
    void removeState();
    // Applies the queued removal, then the queued addition, and initialises the state it pushes.
    void processStateChanges();

    // Requires a non-empty stack.
    std::unique_ptr<State>& getActiveState();
    bool isEmpty() const;
    // Destroys every state, pending or pushed, and forgets whatever was queued.
    void clear();

private:
    std::stack<std::unique_ptr<State>, std::deque<std::unique_ptr<State>>> states;
    std::unique_ptr<State> pendingState;
    bool isReplacing = false;
    bool isAdding = false;
    bool isRemoving = false;
};

} // namespace G
