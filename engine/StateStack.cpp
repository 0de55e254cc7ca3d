#include "engine/StateStack.hpp"

#include <utility>

namespace G {

void StateStack::addState(std::unique_ptr<State> newState, const bool isReplacing) {
    pendingState = std::move(newState);
    isAdding = true;
    this->isReplacing = isReplacing;
}

void StateStack::removeState() {
    isRemoving = true;
}

void StateStack::processStateChanges() {
    if (isRemoving && !states.empty()) {
        states.pop();
    }
    isRemoving = false;

    if (!isAdding) {
        return;
    }
    if (isReplacing) {
        if (!states.empty()) {
            states.pop();
        }
        isReplacing = false;
    }
    // A null state would leave the loop without an active state to call, so it is dropped here.
    if (pendingState) {
        states.push(std::move(pendingState));
        states.top()->init();
    }
    // Cleared only after init, so an addState made from inside init is not applied by this call.
    isAdding = false;
}

std::unique_ptr<State>& StateStack::getActiveState() {
    return states.top();
}

bool StateStack::isEmpty() const {
    return states.empty();
}

void StateStack::clear() {
    pendingState.reset();
    while (!states.empty()) {
        states.pop();
    }
    isReplacing = false;
    isAdding = false;
    isRemoving = false;
}

} // namespace G
