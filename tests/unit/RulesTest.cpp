// Small rules: the update check, the message box's style, the credits scroll, the feedback sounds
// and the message hooking's tables.
#include <gtest/gtest.h>

#include <numeric>

#include "core/FeedbackSounds.h"
#include "core/MessageBoxStyle.h"
#include "core/about/CreditsScroll.h"
#include "core/update/UpdateCheck.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/unit/TestDirectory.h"
#include "unilabel/MessageTable.h"

namespace tz {
namespace {

using test::each;

TEST(UpdateCheck, NewsIsExactlyNineCharactersGreaterByCharacterCode) {
    EXPECT_EQ(localVersionCode(1, 8, 1), "001008001");
    EXPECT_EQ(localVersionCode(1000, -1, 999), "999000999");
    const auto news = [](const char* response) { return isNews(response, "001008001"); };
    // Characters, not bytes: an e-acute in UTF-8 or in Windows-1252 is one.
    EXPECT_EQ(each(news, {"001008002", "00100800A", "00100800\xC3\xA9", "00100800\xE9"}),
              std::vector<bool>(4, true));
    EXPECT_EQ(each(news, {"001008001", "001007009", "001009000\r\n", "1.9.0", "0010090000", ""}),
              std::vector<bool>(6, false));
}

struct AnsweringPrompt : UpdatePrompt {
    explicit AnsweringPrompt(int answer) : answer(answer) {}
    int ask(const std::string& text, std::uint32_t style, const std::string& title) override {
        asked.push_back(title + "|" + std::to_string(style) + "|" + text);
        return answer;
    }
    void openProductPage() override { ++pagesOpened; }
    int answer, pagesOpened = 0;
    std::vector<std::string> asked;
};

TEST(UpdateCheck, AsksOnNewsWithEachBrAnEmptyLineAndEndsOnlyOnYes) {
    const std::string url = "https://example.test/ver_tindromouse.txt";
    TextTable texts;
    texts[TextId::UpdateMessage] = "<BR>New.<BR><BR>Open?<br>";
    texts[TextId::UpdateTitle] = "Update";
    fake::FakeHttpFetch http;
    http.bodies[url] = "001009000";
    AnsweringPrompt yes(6), no(7);
    EXPECT_TRUE(CheckForUpdate(http, url, "Agent/1", texts, "001008001", yes));
    EXPECT_EQ(yes.asked,
              std::vector<std::string>{"Update|68|\r\n\r\nNew.\r\n\r\n\r\n\r\nOpen?<br>"});
    EXPECT_EQ(yes.pagesOpened, 1);
    EXPECT_EQ(http.requests.at(0).agent, "Agent/1");
    EXPECT_FALSE(CheckForUpdate(http, url, "Agent/1", texts, "001008001", no));
    EXPECT_EQ(no.asked.size(), 1u);
    EXPECT_EQ(no.pagesOpened, 0);
    // No network (an empty body) or no news: nothing is asked.
    EXPECT_FALSE(CheckForUpdate(http, "https://unreachable.test/", "a", texts, "001008001", yes));
    EXPECT_FALSE(CheckForUpdate(http, url, "a", texts, "001009000", yes));
    EXPECT_EQ(yes.asked.size(), 1u);
}

TEST(MessageBoxStyle, ButtonsIconAndDefaultOfAStyle) {
    using B = MessageBoxButton;
    using I = MessageBoxIcon;
    // Style, whether an icon name is given, buttons, icon, default button (one past the last button
    // falls back to the first).
    const std::tuple<std::uint32_t, bool, std::vector<B>, I, std::size_t> cases[] = {
        {0x010, false, {B::Ok}, I::Critical, 0},
        {0x121, false, {B::Ok, B::Cancel}, I::Question, 1},
        {0x232, false, {B::Abort, B::Retry, B::Ignore}, I::Warning, 2},
        {0x243, false, {B::Yes, B::No, B::Cancel}, I::Information, 2},
        {0x254, false, {B::Yes, B::No}, I::None, 0},
        {0x105, false, {B::Retry, B::Cancel}, I::None, 1},
        {0x009, false, {}, I::None, 0},
        {0x134, true, {B::Yes, B::No}, I::User, 1}};
    for (const auto& [style, iconName, buttons, icon, defaultButton] : cases) {
        const MessageBoxLayout layout = messageBoxLayout(style, iconName);
        EXPECT_EQ(layout.buttons, buttons) << style;
        EXPECT_EQ(layout.icon, icon) << style;
        EXPECT_EQ(layout.defaultButton, defaultButton) << style;
    }
    EXPECT_EQ(messageBoxTitle(""), "Tindro Zevad Free");
    EXPECT_EQ(messageBoxTitle(" "), " ");
}

// Ticks for as long as each tick raises the panel by 10 twips; returns how many did (the first tick
// that did something else has run too).
int stepsUp(CreditsScroll& scroll) {
    int steps = 0;
    for (int before = scroll.top(); steps < 10000; before = scroll.top(), ++steps) {
        scroll.tick();
        if (scroll.top() != before - 10)
            break;
    }
    return steps;
}

TEST(CreditsScroll, RisesPausesWhereTheBottomsMeetLeavesAndRestarts) {
    // The panel rises until the bottoms meet, rests 120 ticks, then rises until it has left the
    // viewport and starts again from 2200 twips.
    const struct {
        int viewport, panel, rising, pausedAt, leaving;
    } cases[] = {{2235, 4155, 412, -1920, 223}, {2235, 1000, 97, 1230, 223}};
    for (const auto& c : cases) {
        CreditsScroll scroll(c.viewport, c.panel);
        for (int cycle = 0; cycle < 2; ++cycle) {
            EXPECT_EQ(stepsUp(scroll), c.rising) << c.panel;
            for (int i = 0; i < 119; ++i) scroll.tick();
            EXPECT_EQ(scroll.top(), c.pausedAt) << c.panel;
            EXPECT_EQ(stepsUp(scroll), c.leaving) << c.panel;
            EXPECT_EQ(scroll.top(), 2200) << c.panel;
        }
    }
}

TEST(FeedbackSounds, PlaysTheFileOrBeeps) {
    test::TestDirectory dir;
    std::filesystem::create_directory(dir.file("Click"));
    dir.write("Click/Click2.wav", "RIFF");
    fake::FakeSound sound;
    FeedbackSounds sounds(sound, dir.path());
    sounds.playHover();
    sounds.playClick();  // Click1.wav is missing
    sound.playable = false;
    sounds.playHover();  // present but not playable
    EXPECT_EQ(sound.played, std::vector<std::string>(2, dir.file("Click/Click2.wav")));
    EXPECT_EQ(sound.beeps, 2);
}

std::vector<long long> messagesFrom(long long first, int count) {
    std::vector<long long> messages(count);
    std::iota(messages.begin(), messages.end(), first);
    return messages;
}

TEST(MessageTable, HoldsThirtyTwoOnceEachFreedSlotsAreTakenAgainAndMinusOneTakesAll) {
    MessageTable table;
    for (const long long message : messagesFrom(1, kMessageEntries))
        ASSERT_TRUE(table.add(message));
    EXPECT_FALSE(table.add(500));
    table.remove(1);
    EXPECT_FALSE(table.contains(1));
    EXPECT_FALSE(table.contains(0));  // a free slot holds no message
    EXPECT_TRUE(table.add(32));       // present already, behind the freed slot: not stored twice
    EXPECT_TRUE(table.add(500));
    EXPECT_TRUE(table.contains(500));
    EXPECT_TRUE(table.contains(32));
    EXPECT_FALSE(table.add(501));
    EXPECT_EQ(table.count(), kMessageEntries);
    // -1 takes every message until it is removed.
    table = MessageTable{};
    table.add(12);
    table.add(-2);  // any number but 0 and -1 is one message
    EXPECT_TRUE(table.contains(-2));
    table.remove(-2);  // only -1 empties the table
    EXPECT_TRUE(table.contains(12));
    table.add(kAllMessages);
    EXPECT_TRUE(table.takesEveryMessage());
    EXPECT_TRUE(table.add(14));
    EXPECT_EQ(table.count(), -1);
    table.remove(13);  // no single message can be taken out of "every message"
    EXPECT_TRUE(table.contains(13));
    table.remove(kAllMessages);
    EXPECT_FALSE(table.contains(12));
    EXPECT_EQ(table.count(), 0);
}

TEST(MessageTables, AnOverflowStopsThatTablesShareOfTheCallAndTheOtherGoesOn) {
    MessageTables tables;
    ASSERT_TRUE(addMessages(tables, kHookBefore, messagesFrom(1, kMessageEntries)).ok());
    // 100 overflows the first table; -1, which would have fitted, is not taken after it.
    const AddMessagesOutcome outcome = addMessages(tables, kHookBoth, {100, kAllMessages, 102});
    EXPECT_TRUE(outcome.beforeOverflowed);
    EXPECT_FALSE(outcome.afterOverflowed);
    EXPECT_FALSE(outcome.ok());
    EXPECT_FALSE(tables.before.takesEveryMessage());
    EXPECT_TRUE(tables.after.takesEveryMessage());

    removeMessages(tables, kHookBoth, {kAllMessages});
    addMessages(tables, kHookBoth, {12, 13});
    removeMessages(tables, kHookAfter, {12});
    EXPECT_TRUE(tables.before.contains(12));
    EXPECT_FALSE(tables.after.contains(12));
    EXPECT_TRUE(tables.after.contains(13));
    removeMessages(tables, kHookBefore, {13});
    EXPECT_FALSE(tables.before.contains(13));
    EXPECT_TRUE(tables.after.contains(13));
}

}  // namespace
}  // namespace tz
