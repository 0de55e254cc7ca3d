#include "engine/StateStack.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using Journal = std::vector<std::string>;

// Writes every call it receives, and its own destruction, into a shared journal.
class RecordingState : public G::State {
public:
    RecordingState(std::string name, Journal& journal, std::function<void()> onInit = {})
        : name(std::move(name)), journal(journal), onInit(std::move(onInit)) {}
    RecordingState(const RecordingState&) = delete;
    RecordingState& operator=(const RecordingState&) = delete;
    RecordingState(RecordingState&&) = delete;
    RecordingState& operator=(RecordingState&&) = delete;
    ~RecordingState() override { journal.push_back(name + ".destroyed"); }

    void init() override {
        journal.push_back(name + ".init");
        if (onInit) {
            onInit();
        }
    }
    void update() override { journal.push_back(name + ".update"); }
    void draw() override { journal.push_back(name + ".draw"); }
    void handleInput() override { journal.push_back(name + ".handleInput"); }

private:
    std::string name;
    Journal& journal;
    std::function<void()> onInit;
};

class StateStackTest : public ::testing::Test {
protected:
    std::unique_ptr<G::State> make(const std::string& name, std::function<void()> onInit = {}) {
        return std::make_unique<RecordingState>(name, journal, std::move(onInit));
    }

    // Pushes the named states bottom first and forgets the journal of doing so.
    void build(const std::vector<std::string>& names) {
        for (const auto& name : names) {
            stack.addState(make(name), false);
            stack.processStateChanges();
        }
        journal.clear();
    }

    Journal journal;
    G::StateStack stack;
};

TEST_F(StateStackTest, AdditionWaitsForTheNextProcessStateChanges) {
    stack.addState(make("a"), false);
    EXPECT_TRUE(journal.empty());
    EXPECT_TRUE(stack.isEmpty());

    stack.processStateChanges();
    EXPECT_EQ(journal, Journal({"a.init"}));
    stack.getActiveState()->update();
    EXPECT_EQ(journal.back(), "a.update");
}

TEST_F(StateStackTest, PushingCoversTheTopWithoutCallingIt) {
    build({"a", "b"});
    stack.getActiveState()->draw();
    EXPECT_EQ(journal, Journal({"b.draw"}));
}

TEST_F(StateStackTest, SecondAdditionOverwritesThePendingStateAndItsReplaceFlag) {
    build({"base"});
    stack.addState(make("first"), false);
    stack.addState(make("second"), true);
    EXPECT_EQ(journal, Journal({"first.destroyed"}));

    stack.processStateChanges();
    EXPECT_EQ(journal, Journal({"first.destroyed", "base.destroyed", "second.init"}));
    EXPECT_FALSE(stack.isEmpty());
}

TEST_F(StateStackTest, RemovalThenReplacementPopsTwoBeforePushing) {
    build({"a", "b"});
    stack.removeState();
    stack.addState(make("c"), true);
    EXPECT_TRUE(journal.empty());

    stack.processStateChanges();
    EXPECT_EQ(journal, Journal({"b.destroyed", "a.destroyed", "c.init"}));
    stack.removeState();
    stack.processStateChanges();
    EXPECT_TRUE(stack.isEmpty());
}

TEST_F(StateStackTest, RemovalThenAdditionPushesOnTheStateBelow) {
    build({"a", "b"});
    stack.removeState();
    stack.addState(make("c"), false);
    stack.processStateChanges();
    EXPECT_EQ(journal, Journal({"b.destroyed", "c.init"}));

    // Uncovering a state does not initialise it again.
    journal.clear();
    stack.removeState();
    stack.processStateChanges();
    EXPECT_EQ(journal, Journal({"c.destroyed"}));
    stack.getActiveState()->handleInput();
    EXPECT_EQ(journal.back(), "a.handleInput");
}

TEST_F(StateStackTest, RemovalOrReplacementOnAnEmptyStackPopsNothing) {
    stack.removeState();
    stack.processStateChanges();
    EXPECT_TRUE(stack.isEmpty());

    stack.addState(make("a"), true);
    stack.processStateChanges();
    EXPECT_EQ(journal, Journal({"a.init"}));

    // The removal flag was cleared: later passes leave the state alone.
    stack.processStateChanges();
    EXPECT_EQ(journal, Journal({"a.init"}));
    EXPECT_FALSE(stack.isEmpty());
}

TEST_F(StateStackTest, AdditionRequestedFromInitIsNotApplied) {
    stack.addState(make("a", [this] { stack.addState(make("inner"), false); }), false);
    stack.processStateChanges();
    stack.processStateChanges();
    EXPECT_EQ(journal, Journal({"a.init"}));

    // The inner state waits in the pending slot until the stack goes.
    stack.clear();
    EXPECT_EQ(journal, Journal({"a.init", "inner.destroyed", "a.destroyed"}));
}

TEST_F(StateStackTest, RemovalRequestedFromInitTakesEffectNextPass) {
    stack.addState(make("a", [this] { stack.removeState(); }), false);
    stack.processStateChanges();
    EXPECT_FALSE(stack.isEmpty());

    stack.processStateChanges();
    EXPECT_EQ(journal, Journal({"a.init", "a.destroyed"}));
    EXPECT_TRUE(stack.isEmpty());
}

TEST_F(StateStackTest, NoStateIsInitialisedTwice) {
    build({"a"});
    for (int pass = 0; pass < 3; ++pass) {
        stack.processStateChanges();
    }
    EXPECT_TRUE(journal.empty());
}

TEST_F(StateStackTest, NullStateIsDroppedRatherThanPushed) {
    build({"a"});
    stack.addState(nullptr, false);
    stack.processStateChanges();
    EXPECT_TRUE(journal.empty());
    stack.getActiveState()->update();
    EXPECT_EQ(journal.back(), "a.update");
}

TEST_F(StateStackTest, ClearDestroysPushedAndPendingStatesAndForgetsRequests) {
    build({"a", "b"});
    stack.addState(make("c"), true);
    stack.removeState();
    stack.clear();
    EXPECT_EQ(journal, Journal({"c.destroyed", "b.destroyed", "a.destroyed"}));

    stack.processStateChanges();
    EXPECT_TRUE(stack.isEmpty());
    EXPECT_EQ(journal.size(), 3U);
}

} // namespace
