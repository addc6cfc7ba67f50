// The options and exit windows operated by resting the pointer alone: the
// bar's buttons open them, and while they are open every rest is a left
// click on the control under the pointer. Also the start-at-logon entry and
// the language picker, reached the same way.
#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "ProgramFixture.h"

namespace tz::e2e {
namespace {

namespace fs = std::filesystem;

constexpr const char* kExitTitle = "Exit the program";
constexpr const char* kLanguageDialogTitle = "Language...";

// The options window and its controls, relative to its top-left corner.
constexpr int kOptionsWidth = 561;
constexpr int kOptionsHeight = 396;
constexpr Point kDelayLowerArrow{530, 150};  // the delay scroll bar's bottom arrow
constexpr Point kStartAtLogonBox{28, 184};
constexpr Point kLanguageLink{128, 282};
constexpr Point kOk{428, 369};
constexpr Point kOptionsPicture{60, 58};  // the picture at the top left

// The exit window and its buttons.
constexpr int kExitWidth = 361;
constexpr int kExitHeight = 149;
constexpr Point kYes{126, 109};
constexpr Point kNo{236, 109};
constexpr Point kFace{43, 48};

// Qt's file dialog, opened at its default size: the first row of the file
// list and the row height (rows sorted by name), and the Open button from
// the bottom-right corner.
constexpr Point kFirstFileRow{165, 70};
constexpr int kFileRowHeight = 18;
constexpr Point kOpenFromBottomRight{52, 54};

Point inside(const WindowInfo& window, Point offset) {
    return {window.geometry.x + offset.x, window.geometry.y + offset.y};
}

class OptionsByDwellingTest : public ProgramFixture {
  protected:
    // Rests on the bar's options or exit button until its window opens.
    std::optional<WindowInfo> openOptions() {
        return bar_->moveOnto(bar::Button::Options, 5s)
                   ? waitForWindow(run().pid(), kOptionsWidth, kOptionsHeight)
                   : std::nullopt;
    }
    std::optional<WindowInfo> openExit() {
        return bar_->moveOnto(bar::Button::Exit, 5s)
                   ? waitForWindow(run().pid(), kExitWidth, kExitHeight)
                   : std::nullopt;
    }

    // Toggles start at logon by resting on its box, then on OK.
    void toggleStartAtLogon() {
        const auto options = openOptions();
        ASSERT_TRUE(options) << "the options window did not open\n" << windows();
        ASSERT_TRUE(restAndClick(inside(*options, kStartAtLogonBox))) << clicks();
        ASSERT_TRUE(restAndClick(inside(*options, kOk))) << clicks();
        ASSERT_TRUE(waitGone(options->id)) << "OK left the options window open\n" << windows();
    }

    fs::path autostartEntry() const {
        return sandbox_.configHome() / "autostart" / "tindro-zevad.desktop";
    }
};

TEST_F(OptionsByDwellingTest, DelayArrowThenOkSavesTheDelayOneHigher) {
    ASSERT_NO_FATAL_FAILURE(startParked());
    const auto options = openOptions();
    ASSERT_TRUE(options) << "the options window did not open\n" << windows();
    EXPECT_EQ(options->title, kOptionsTitle);

    ASSERT_TRUE(restAndClick(inside(*options, kDelayLowerArrow))) << clicks();
    EXPECT_EQ(sandbox_.settingsLine(2), "5") << "saved before OK";
    ASSERT_TRUE(restAndClick(inside(*options, kOk))) << clicks();
    EXPECT_TRUE(waitGone(options->id)) << "OK left the options window open\n" << windows();
    EXPECT_TRUE(waitUntil([&] { return sandbox_.settingsLine(2) == "6"; }, 5s))
        << sandbox_.readSettings().value_or("(no settings file)");
}

TEST_F(OptionsByDwellingTest, ExitWindowNoGivesBackTheModeSavedWhenItWasCreated) {
    ASSERT_NO_FATAL_FAILURE(startParked());
    const auto exitWindow = openExit();
    ASSERT_TRUE(exitWindow) << "the exit window did not open\n" << windows();
    EXPECT_EQ(exitWindow->title, kExitTitle);
    ASSERT_TRUE(restAndClick(inside(*exitWindow, kNo))) << clicks();
    EXPECT_TRUE(waitGone(exitWindow->id)) << "No left the exit window open\n" << windows();

    // The exit window was made hidden at start-up, before the saved click kind
    // was restored, so No gives back the exit button's mode: resting clicks nothing.
    recorder_.clear();
    x11_.movePointer(recorder_.centre());
    sleepFor(1500ms);
    EXPECT_TRUE(recorder_.events().empty()) << clicks();

    // The program goes on: picking the double click on the bar (saved at once
    // as line 8), the next rest clicks.
    ASSERT_TRUE(bar_->moveOnto(bar::Button::Double, 5s)) << windows();
    ASSERT_TRUE(waitUntil([&] { return sandbox_.settingsLine(8) == "2"; }, 5s))
        << "the double click was not picked";
    x11_.movePointer(recorder_.centre());
    ASSERT_TRUE(recorder_.waitForEvents(4, 5s)) << "no click after picking a click kind";
    sleepFor(300ms);
    EXPECT_EQ(recorder_.events(),
              (std::vector<ButtonEvent>{press(1), release(1), press(1), release(1)}));
    EXPECT_TRUE(run().running());
}

// The natural way down from the exit or options button passes over the bar's
// background, which pauses the clicks; the window's surface gives them back.
TEST_F(OptionsByDwellingTest, ExitWindowIsAnsweredAfterPassingOverTheBarsBackground) {
    ASSERT_NO_FATAL_FAILURE(startParked());
    const auto exitWindow = openExit();
    ASSERT_TRUE(exitWindow) << "the exit window did not open\n" << windows();
    ASSERT_TRUE(bar_->moveOnto(bar::kBackground, 5s)) << windows();
    x11_.movePointer(inside(*exitWindow, kFace));
    sleepFor(250ms);
    ASSERT_TRUE(restAndClick(inside(*exitWindow, kNo))) << "trapped: " << clicks();
    EXPECT_TRUE(waitGone(exitWindow->id)) << "No left the exit window open\n" << windows();
    sleepFor(300ms);
    EXPECT_TRUE(run().running());
}

TEST_F(OptionsByDwellingTest, FirstRunOptionsSaveTheDefaultsInForceAfterPassingTheBackground) {
    sandbox_.removeFile(Sandbox::kSettingsName);
    ASSERT_NO_FATAL_FAILURE(startParked());
    const auto options = openOptions();
    ASSERT_TRUE(options) << "the options window did not open\n" << windows();
    ASSERT_TRUE(bar_->moveOnto(bar::kBackground, 5s)) << windows();
    x11_.movePointer(inside(*options, kOptionsPicture));
    sleepFor(250ms);
    ASSERT_TRUE(restAndClick(inside(*options, kOk))) << "trapped: " << clicks();
    EXPECT_TRUE(waitGone(options->id)) << "OK left the options window open\n" << windows();
    ASSERT_TRUE(waitUntil([&] { return sandbox_.settingsLine(2).has_value(); }, 5s));
    EXPECT_EQ(sandbox_.settingsLine(1), "2");
    EXPECT_EQ(sandbox_.settingsLine(2), "5");
}

TEST_F(OptionsByDwellingTest, ExitWindowYesEndsTheProgramWithStatusZero) {
    ASSERT_NO_FATAL_FAILURE(startParked());
    const auto exitWindow = openExit();
    ASSERT_TRUE(exitWindow) << "the exit window did not open\n" << windows();
    x11_.movePointer(inside(*exitWindow, kYes));
    const auto status = run().waitForExit(10s);
    ASSERT_TRUE(status) << "a rest on Yes did not end the program\n" << windows();
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << describeStatus(*status);
}

// How the entry writes awkward paths is proven on its own; here it is found
// by the desktop's rules and what it runs starts the program.
TEST_F(OptionsByDwellingTest, StartAtLogonEntryStartsTheProgramAndClearingTheBoxRemovesIt) {
    ASSERT_NO_FATAL_FAILURE(startParked());
    ASSERT_NO_FATAL_FAILURE(toggleStartAtLogon());
    ASSERT_TRUE(waitUntil([&] { return fs::exists(autostartEntry()); }, 5s))
        << "no autostart entry after OK";
    std::ifstream file(autostartEntry());
    const std::string entry(std::istreambuf_iterator<char>(file), {});
    EXPECT_TRUE(entry.starts_with("[Desktop Entry]\n")) << entry;
    EXPECT_NE(entry.find("\nType=Application\n"), std::string::npos) << entry;
    const std::string exec = "\nExec=" + sandbox_.executable().string() + "\n";
    ASSERT_NE(entry.find(exec), std::string::npos) << entry;
    EXPECT_EQ(sandbox_.settingsLine(3), "1");

    // What the desktop would run at logon starts the program; the ticked box
    // came back from the settings, and clearing it removes the entry.
    ASSERT_TRUE(run().stop()) << "the program did not end";
    ASSERT_NO_FATAL_FAILURE(startParked());
    ASSERT_NO_FATAL_FAILURE(toggleStartAtLogon());
    EXPECT_TRUE(waitUntil([&] { return !fs::exists(autostartEntry()); }, 5s))
        << "the autostart entry is still there";
    EXPECT_EQ(sandbox_.settingsLine(3), "0");
}

TEST_F(OptionsByDwellingTest, LanguageLinkPicksItalianoAndTheOptionsWindowSpeaksItAtOnce) {
    ASSERT_NO_FATAL_FAILURE(startParked());
    const auto options = openOptions();
    ASSERT_TRUE(options) << "the options window did not open\n" << windows();
    EXPECT_EQ(options->title, kOptionsTitle);

    ASSERT_TRUE(restAndClick(inside(*options, kLanguageLink))) << clicks();
    const auto dialog = waitForTitle(run().pid(), kLanguageDialogTitle);
    ASSERT_TRUE(dialog) << "no file dialog\n" << windows();

    // The dialog lists the Lang folder's files by name, case aside.
    std::vector<std::string> files = folderEntries(sandbox_.programFolder() / "Lang");
    const auto lower = [](std::string s) {
        std::transform(s.begin(), s.end(), s.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return s;
    };
    std::sort(files.begin(), files.end(),
              [&](const std::string& a, const std::string& b) { return lower(a) < lower(b); });
    const auto row = std::find(files.begin(), files.end(), "Italiano.lng") - files.begin();
    ASSERT_LT(row, static_cast<long>(files.size()));

    // A rest on the file selects it, a rest on Open takes it.
    sleepFor(300ms);  // the list fills in the background
    const Point file{kFirstFileRow.x, kFirstFileRow.y + static_cast<int>(row) * kFileRowHeight};
    ASSERT_TRUE(restAndClick(inside(*dialog, file))) << clicks();
    const Point open{dialog->geometry.width - kOpenFromBottomRight.x,
                     dialog->geometry.height - kOpenFromBottomRight.y};
    ASSERT_TRUE(restAndClick(inside(*dialog, open))) << clicks();
    ASSERT_TRUE(waitGone(dialog->id)) << "the dialog did not take the file\n" << windows();

    const auto sameWindowRetitled = [&] {
        return !x11_.findWindows([&](const WindowInfo& w) {
                        return w.id == options->id && w.viewable() && w.title == "Opzioni";
                    })
                    .empty();
    };
    EXPECT_TRUE(waitUntil(sameWindowRetitled, 5s))
        << "the options window did not switch to Italian\n"
        << windows();

    // OK keeps the choice.
    ASSERT_TRUE(restAndClick(inside(*options, kOk))) << clicks();
    EXPECT_TRUE(waitUntil([&] { return sandbox_.settingsLine(4) == "Italiano.lng"; }, 5s))
        << sandbox_.readSettings().value_or("(no settings file)");
}

}  // namespace
}  // namespace tz::e2e
