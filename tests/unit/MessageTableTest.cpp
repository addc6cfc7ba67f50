// The hooking service's message tables and registry keys.
#include "unilabel/MessageTable.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace tz {
namespace {

std::vector<long long> messagesFrom(long long first, int count) {
    std::vector<long long> messages(count);
    std::iota(messages.begin(), messages.end(), first);
    return messages;
}

TEST(MessageTable, StoresAMessageOnceEvenWhenAFreedSlotComesFirst) {
    MessageTable table;
    EXPECT_TRUE(table.add(15));
    EXPECT_TRUE(table.add(15));
    EXPECT_EQ(table.count(), 1);

    table.add(16);
    table.add(17);
    table.remove(15);  // slot 1 is free now, 17 sits in slot 3
    EXPECT_TRUE(table.add(17));
    table.remove(17);
    EXPECT_FALSE(table.contains(17));
}

TEST(MessageTable, AFreedSlotIsTakenByTheNextMessage) {
    MessageTable table;
    for (const long long message : messagesFrom(100, kMessageEntries)) {
        ASSERT_TRUE(table.add(message));
    }
    EXPECT_FALSE(table.add(500));
    table.remove(110);
    EXPECT_FALSE(table.contains(110));
    EXPECT_TRUE(table.add(500));
    EXPECT_TRUE(table.contains(500));
    EXPECT_EQ(table.count(), kMessageEntries);
}

TEST(MessageTable, MinusOneTakesEveryMessageUntilRemoved) {
    MessageTable table;
    table.add(12);
    EXPECT_FALSE(table.contains(13));
    table.add(kAllMessages);
    EXPECT_TRUE(table.takesEveryMessage());
    EXPECT_TRUE(table.contains(13));
    EXPECT_TRUE(table.add(14));  // covered already; the table stays as it is
    EXPECT_EQ(table.count(), -1);
    table.remove(13);  // no single message can be taken out of "every message"
    EXPECT_TRUE(table.contains(13));
    table.remove(kAllMessages);
    EXPECT_FALSE(table.contains(13));
    EXPECT_EQ(table.count(), 0);
}

TEST(MessageTable, ZeroIsNeverAMessage) {
    MessageTable table;
    EXPECT_TRUE(table.add(0));
    EXPECT_EQ(table.count(), 0);
    EXPECT_FALSE(table.contains(0));
}

TEST(MessageTables, TheThirtyThirdMessageOverflowsOneTableAndTheOtherGoesOn) {
    MessageTables tables;
    ASSERT_TRUE(addMessages(tables, kHookBefore, messagesFrom(1, kMessageEntries)).ok());

    const AddMessagesOutcome outcome = addMessages(tables, kHookBoth, {100, 101, 102});
    EXPECT_TRUE(outcome.beforeOverflowed);
    EXPECT_FALSE(outcome.afterOverflowed);
    EXPECT_FALSE(outcome.ok());
    EXPECT_FALSE(tables.before.contains(100));
    EXPECT_EQ(tables.before.count(), kMessageEntries);
    for (const long long message : {100, 101, 102}) {
        EXPECT_TRUE(tables.after.contains(message));
    }
}

TEST(MessageTables, AnOverflowStopsTheRestOfThatCallForThatTable) {
    MessageTables tables;
    addMessages(tables, kHookAfter, messagesFrom(1, kMessageEntries));
    // 201 overflows; -1, which would have fitted, is not taken after it.
    const AddMessagesOutcome outcome = addMessages(tables, kHookAfter, {201, kAllMessages});
    EXPECT_TRUE(outcome.afterOverflowed);
    EXPECT_FALSE(tables.after.contains(201));
    EXPECT_FALSE(tables.after.takesEveryMessage());
}

TEST(MessageTables, RemoveFreesOnlyTheChosenTables) {
    MessageTables tables;
    addMessages(tables, kHookBoth, {12, 13});
    removeMessages(tables, kHookAfter, {12});
    EXPECT_TRUE(tables.before.contains(12));
    EXPECT_FALSE(tables.after.contains(12));
    EXPECT_TRUE(tables.after.contains(13));
}

TEST(HookKey, IsTheHandleInDecimalAndH) {
    EXPECT_EQ(hookKey(0), "0h");
    EXPECT_EQ(hookKey(65011713), "65011713h");
    EXPECT_EQ(hookKey(0xFFFFFFFFull), "4294967295h");
}

}  // namespace
}  // namespace tz
