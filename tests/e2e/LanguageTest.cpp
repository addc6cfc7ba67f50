// Languages and the single instance, end to end: the language a first run
// takes from the locale, the refusal of a second start, and a start whose
// every text is markup.
#include <sys/stat.h>
#include <sys/wait.h>

#include "ProgramFixture.h"

namespace tz::e2e {
namespace {

constexpr int kOptionsWidth = 561;
constexpr int kOptionsHeight = 396;

// What the second start must leave alone: the settings file's bytes and its
// identity (an atomic rewrite of the same bytes would replace it), and the
// names in the program folder (no stray temporary file).
struct FolderState {
    std::optional<std::string> settings;
    ino_t inode = 0;
    struct timespec modified {};
    std::vector<std::string> names;

    static FolderState of(const Sandbox& sandbox) {
        FolderState state;
        state.settings = sandbox.readSettings();
        struct stat info {};
        if (stat(sandbox.settingsPath().c_str(), &info) == 0) {
            state.inode = info.st_ino;
            state.modified = info.st_mtim;
        }
        state.names = folderEntries(sandbox.programFolder());
        return state;
    }
};

class LanguageTest : public ProgramFixture {};

TEST_F(LanguageTest, FirstRunTakesItalianFromTheLocaleAndASecondStartIsRefusedWithoutATrace) {
    sandbox_.removeFile(Sandbox::kSettingsName);
    ProgramOptions italian;
    italian.locale = "it_IT.UTF-8";
    ASSERT_NO_FATAL_FAILURE(startParked(italian));
    ProgramRun& first = run();

    // The first save (a hover over a click-kind button) writes the whole
    // file: defaults, and the language of the locale's country.
    ASSERT_NO_FATAL_FAILURE(choose(bar::Button::Right));
    EXPECT_EQ(sandbox_.settingsLine(4), "Italiano.lng");

    // Left click, so that the first instance itself can answer the second's message.
    ASSERT_NO_FATAL_FAILURE(choose(bar::Button::Left));
    x11_.movePointer(kElsewhere);
    ASSERT_TRUE(waitUntil([&] { return !bar_->find()->viewable(); }, 5s)) << windows();
    const FolderState before = FolderState::of(sandbox_);

    ProgramRun& second = start(italian, /*followBar=*/false);
    const auto box = waitForTitle(second.pid(), kProgramName);
    ASSERT_TRUE(box) << "no message from the second start\n" << windows();
    EXPECT_TRUE(second.running()) << "the second start ended without waiting for an answer";
    const auto buttons = waitForButtons(*box, 1);
    ASSERT_EQ(buttons.size(), 1u) << "the message should have one button (OK); " << *box;

    // A rest on OK: the first instance clicks it.
    ASSERT_TRUE(restAndClick(buttons[0].centre())) << "no click on OK: " << clicks();
    const auto status = second.waitForExit(10s);
    ASSERT_TRUE(status) << "the second start did not end after the answer\n" << windows();
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << describeStatus(*status);

    const FolderState after = FolderState::of(sandbox_);
    EXPECT_EQ(after.settings, before.settings);
    EXPECT_EQ(after.inode, before.inode) << "the settings file was replaced";
    EXPECT_TRUE(after.modified.tv_sec == before.modified.tv_sec &&
                after.modified.tv_nsec == before.modified.tv_nsec)
        << "the settings file was written";
    EXPECT_EQ(after.names, before.names);

    // The first instance goes on clicking.
    ASSERT_TRUE(first.running());
    EXPECT_EQ(restAt(recorder_.centre(), 2), (std::vector<ButtonEvent>{press(1), release(1)}));
}

TEST_F(LanguageTest, MarkupInEveryTextNeitherSlowsTheStartNorShowsAsMarkup) {
    // Nested tables take the rich-text layout ages; pictures and font sizes reshape.
    std::string markup;
    for (int depth = 0; depth < 12; ++depth) {
        markup += "<table border=1><tr><td>";
    }
    markup += "<img src=\"x.png\" width=\"3000\"><span style=\"font-size:300pt\">Big</span>";
    for (int depth = 0; depth < 12; ++depth) {
        markup += "</td></tr></table>";
    }
    std::string file;
    for (int line = 0; line < 51; ++line) {
        file += "xx " + markup + "\r\n";
    }
    sandbox_.writeFile("Lang/Markup.lng", file);
    sandbox_.writeSettings("2\r\n5\r\n0\r\nMarkup.lng\r\n0\r\n0\r\n0\r\n3\r\n");
    const auto launched = std::chrono::steady_clock::now();
    ASSERT_NO_FATAL_FAILURE(startParked());
    const auto startUp = std::chrono::steady_clock::now() - launched;
    EXPECT_LT(startUp, 5s) << "start-up took "
                           << std::chrono::duration_cast<std::chrono::milliseconds>(startUp).count()
                           << " ms";
    recorder_.clear();
    x11_.movePointer(recorder_.centre());
    ASSERT_TRUE(recorder_.waitForEvents(2, 1s)) << "no click within a second of resting";

    // The options window keeps its size and takes its title as written.
    ASSERT_NO_FATAL_FAILURE(moveOnto(bar::Button::Options));
    const auto options = waitForWindow(run().pid(), kOptionsWidth, kOptionsHeight);
    ASSERT_TRUE(options) << "the options window did not open\n" << windows();
    EXPECT_EQ(options->title, markup);
    EXPECT_TRUE(run().running());
}

}  // namespace
}  // namespace tz::e2e
