#include "arena/GameState.hpp"
#include "engine/Tool.hpp"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(Teardown, EmptyingTheStackGivesBackEveryShareOfTheContext) {
    auto tool = std::make_shared<G::Tool>();
    const std::weak_ptr<G::Tool> watch = tool;
    tool->stateStack.addState(std::make_unique<G::GameState>(tool), false);
    tool->stateStack.processStateChanges();
    // The arena, its overlay line and its 150 pieces each hold the context.
    EXPECT_GT(tool.use_count(), 150);

    tool->stateStack.clear();
    EXPECT_EQ(tool.use_count(), 1);
    tool.reset();
    EXPECT_TRUE(watch.expired()) << "the context outlived its last holder";
}

TEST(Teardown, APendingStateIsReleasedToo) {
    auto tool = std::make_shared<G::Tool>();
    tool->stateStack.addState(std::make_unique<G::GameState>(tool), false);
    EXPECT_EQ(tool.use_count(), 3);
    tool->stateStack.clear();
    EXPECT_EQ(tool.use_count(), 1);
}

} // namespace
