#include "platform/action_gate.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

TEST(ActionGate, OneActionAtATimeAndTheGateOpensWhenItEnds) {
    ActionGate gate;
    QSignalSpy busy(&gate, &ActionGate::busyChanged);
    {
        auto first = gate.tryStart();
        ASSERT_TRUE(first.has_value());
        EXPECT_FALSE(gate.tryStart().has_value());
        // Handing the ticket on, as a coroutine frame does, keeps the gate shut.
        auto moved = std::move(first);
        first.reset();
        EXPECT_TRUE(gate.busy());
    }
    EXPECT_FALSE(gate.busy());
    EXPECT_TRUE(gate.tryStart().has_value());
    ASSERT_EQ(busy.count(), 4);
    EXPECT_EQ(busy.at(0).at(0), QVariant(true));
    EXPECT_EQ(busy.at(1).at(0), QVariant(false));
}

} // namespace
