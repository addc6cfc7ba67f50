// The options and exit windows operated by resting the pointer alone: the
// bar's buttons open them, and while they are open every rest is a left
// click on the control under the pointer. Also the start-at-logon entry and
// the language picker, reached the same way.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "ProgramSession.h"

namespace tz::e2e {
namespace {

namespace fs = std::filesystem;

constexpr int kExitTitle = 12;
constexpr int kOptionsTitle = 13;
constexpr int kLanguageDialogTitle = 17;

// The options window and its controls, relative to its top-left corner.
constexpr int kOptionsWidth = 561;
constexpr int kOptionsHeight = 396;
constexpr Point kDelayLowerArrow{530, 150};  // the delay scroll bar's bottom arrow
constexpr Point kStartAtLogonBox{28, 184};
constexpr Point kStartAtLogonLabel{80, 184};
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

std::optional<std::string> readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The command line of a desktop entry's Exec key, undone layer by layer as
// the Desktop Entry rules define it: the string escapes of every value, then
// the quoting of arguments, then "%%" for "%". nullopt for anything invalid.
std::optional<std::vector<std::string>> execArguments(const std::string& entry) {
    std::optional<std::string> value;
    bool inMainGroup = false;
    size_t start = 0;
    while (start < entry.size()) {
        const size_t end = std::min(entry.find('\n', start), entry.size());
        const std::string line = entry.substr(start, end - start);
        start = end + 1;
        if (line.starts_with("[")) {
            inMainGroup = line == "[Desktop Entry]";
        } else if (inMainGroup && line.starts_with("Exec=")) {
            value = line.substr(5);
        }
    }
    if (!value) {
        return std::nullopt;
    }
    std::string unescaped;
    for (size_t i = 0; i < value->size(); ++i) {
        char c = (*value)[i];
        if (c == '\\') {
            if (++i == value->size()) {
                return std::nullopt;
            }
            switch ((*value)[i]) {
                case 's':
                    c = ' ';
                    break;
                case 'n':
                    c = '\n';
                    break;
                case 't':
                    c = '\t';
                    break;
                case 'r':
                    c = '\r';
                    break;
                case '\\':
                    c = '\\';
                    break;
                default:
                    return std::nullopt;
            }
        }
        unescaped += c;
    }
    std::vector<std::string> arguments;
    size_t i = 0;
    while (i < unescaped.size()) {
        if (unescaped[i] == ' ') {
            ++i;
            continue;
        }
        std::string argument;
        if (unescaped[i] == '"') {
            for (++i; i < unescaped.size() && unescaped[i] != '"'; ++i) {
                if (unescaped[i] == '\\') {
                    if (++i == unescaped.size() ||
                        std::string_view("\"`$\\").find(unescaped[i]) == std::string_view::npos) {
                        return std::nullopt;
                    }
                }
                argument += unescaped[i];
            }
            if (i++ == unescaped.size()) {
                return std::nullopt;  // no closing quote
            }
        } else {
            for (; i < unescaped.size() && unescaped[i] != ' '; ++i) {
                if (std::string_view("\"'\\><~|&;$*?#()`\t").find(unescaped[i]) !=
                    std::string_view::npos) {
                    return std::nullopt;  // reserved characters only inside quotes
                }
                argument += unescaped[i];
            }
        }
        std::string plain;
        for (size_t k = 0; k < argument.size(); ++k) {
            if (argument[k] == '%') {
                if (k + 1 == argument.size() || argument[k + 1] != '%') {
                    return std::nullopt;  // a field code
                }
                ++k;
            }
            plain += argument[k];
        }
        arguments.push_back(plain);
    }
    return arguments;
}

class OptionsByDwellingTest : public ProgramSession {
  protected:
    OptionsByDwellingTest() { sandbox_.writeSettings(kEnglishSettings); }

    // Rests on the bar's options button until the options window opens.
    std::optional<WindowInfo> openOptions(pid_t pid) {
        if (!bar_->moveOnto(bar::Button::Options, 5s)) {
            return std::nullopt;
        }
        return waitForWindow(pid, kOptionsWidth, kOptionsHeight);
    }

    std::optional<WindowInfo> openExit(pid_t pid) {
        if (!bar_->moveOnto(bar::Button::Exit, 5s)) {
            return std::nullopt;
        }
        return waitForWindow(pid, kExitWidth, kExitHeight);
    }

    // Toggles start at logon by resting on `control`, then on OK.
    void toggleStartAtLogon(pid_t pid, Point control) {
        const auto options = openOptions(pid);
        ASSERT_TRUE(options) << "the options window did not open\n" << windows();
        ASSERT_TRUE(restAndClick(inside(*options, control))) << clicks();
        ASSERT_TRUE(restAndClick(inside(*options, kOk))) << clicks();
        ASSERT_TRUE(waitGone(options->id)) << "OK left the options window open\n" << windows();
    }

    fs::path autostartEntry() const {
        return sandbox_.configHome() / "autostart" / "tindro-zevad.desktop";
    }
};

TEST_F(OptionsByDwellingTest, DelayArrowThenOkSavesTheDelayOneHigher) {
    ProgramRun& run = start();
    ASSERT_TRUE(bar_->waitParked(20s)) << windows();
    const auto options = openOptions(run.pid());
    ASSERT_TRUE(options) << "the options window did not open\n" << windows();
    EXPECT_EQ(options->title, text("English.lng", kOptionsTitle));

    ASSERT_TRUE(restAndClick(inside(*options, kDelayLowerArrow))) << clicks();
    EXPECT_EQ(sandbox_.settingsLine(2), "5") << "saved before OK";
    ASSERT_TRUE(restAndClick(inside(*options, kOk))) << clicks();
    EXPECT_TRUE(waitGone(options->id)) << "OK left the options window open\n" << windows();
    ASSERT_TRUE(waitUntil([&] { return sandbox_.settingsLine(2) == "6"; }, 5s))
        << sandbox_.readSettings().value_or("(no settings file)");
    EXPECT_EQ(sandbox_.readSettings(), "2\r\n6\r\n0\r\nEnglish.lng\r\n0\r\n0\r\n0\r\n3\r\n");
}

TEST_F(OptionsByDwellingTest, ExitWindowNoGivesBackTheModeSavedWhenItWasCreated) {
    ProgramRun& run = start();
    ASSERT_TRUE(bar_->waitParked(20s)) << windows();
    const auto exitWindow = openExit(run.pid());
    ASSERT_TRUE(exitWindow) << "the exit window did not open\n" << windows();
    EXPECT_EQ(exitWindow->title, text("English.lng", kExitTitle));
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
    EXPECT_TRUE(run.running());
}

// The natural way down from the exit or options button passes over the bar's
// background, which pauses the clicks; the window's surface gives them back.
TEST_F(OptionsByDwellingTest, ExitWindowIsAnsweredAfterPassingOverTheBarsBackground) {
    ProgramRun& run = start();
    ASSERT_TRUE(bar_->waitParked(20s)) << windows();
    const auto exitWindow = openExit(run.pid());
    ASSERT_TRUE(exitWindow) << "the exit window did not open\n" << windows();
    ASSERT_TRUE(bar_->moveOnto(bar::kBackground, 5s)) << windows();
    x11_.movePointer(inside(*exitWindow, kFace));
    sleepFor(250ms);
    ASSERT_TRUE(restAndClick(inside(*exitWindow, kNo))) << "trapped: " << clicks();
    EXPECT_TRUE(waitGone(exitWindow->id)) << "No left the exit window open\n" << windows();
    sleepFor(300ms);
    EXPECT_TRUE(run.running());
}

TEST_F(OptionsByDwellingTest, FirstRunOptionsSaveTheDefaultsInForceAfterPassingTheBackground) {
    sandbox_.removeFile(Sandbox::kSettingsName);
    ProgramRun& run = start();
    ASSERT_TRUE(bar_->waitParked(20s)) << windows();
    const auto options = openOptions(run.pid());
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
    ProgramRun& run = start();
    ASSERT_TRUE(bar_->waitParked(20s)) << windows();
    const auto exitWindow = openExit(run.pid());
    ASSERT_TRUE(exitWindow) << "the exit window did not open\n" << windows();
    x11_.movePointer(inside(*exitWindow, kYes));
    const auto status = run.waitForExit(10s);
    ASSERT_TRUE(status) << "a rest on Yes did not end the program\n" << windows();
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << describeStatus(*status);
}

TEST_F(OptionsByDwellingTest, StartAtLogonEntryStartsTheProgramFromAnAwkwardlyNamedFolder) {
    // Spaces, quotes, a dollar and a percent sign: each needs its own escape.
    const fs::path folder = sandbox_.root() / "Tindro Zevad's \"tools\" 100% $HOME";
    fs::copy(sandbox_.programFolder(), folder, fs::copy_options::recursive);
    ProgramOptions options;
    options.executable = folder / Sandbox::kExecutableName;
    const fs::path settings = folder / Sandbox::kSettingsName;

    ProgramRun& run = start(options);
    ASSERT_TRUE(bar_->waitParked(20s)) << windows();
    ASSERT_NO_FATAL_FAILURE(toggleStartAtLogon(run.pid(), kStartAtLogonLabel));
    ASSERT_TRUE(waitUntil([&] { return fs::exists(autostartEntry()); }, 5s))
        << "no autostart entry after OK";
    const std::string entry = readText(autostartEntry()).value_or("");
    EXPECT_TRUE(entry.starts_with("[Desktop Entry]\n")) << entry;
    EXPECT_NE(entry.find("\nType=Application\n"), std::string::npos) << entry;
    const auto command = execArguments(entry);
    ASSERT_TRUE(command) << "no valid Exec line:\n" << entry;
    ASSERT_EQ(command->size(), 1u) << entry;
    EXPECT_EQ((*command)[0], options.executable.string()) << entry;
    EXPECT_EQ(readText(settings), "2\r\n5\r\n1\r\nEnglish.lng\r\n0\r\n0\r\n0\r\n3\r\n");

    // What the desktop would run at logon starts the program.
    ASSERT_TRUE(run.stop()) << "the program did not end";
    ASSERT_EQ(access((*command)[0].c_str(), X_OK), 0) << (*command)[0];
    ProgramOptions atLogon;
    atLogon.executable = (*command)[0];
    ProgramRun& again = start(atLogon);
    ASSERT_TRUE(bar_->waitParked(20s)) << "the entry's command did not start the program\n"
                                       << windows();

    // The ticked box came back from the settings; clearing it removes the entry.
    ASSERT_NO_FATAL_FAILURE(toggleStartAtLogon(again.pid(), kStartAtLogonBox));
    EXPECT_TRUE(waitUntil([&] { return !fs::exists(autostartEntry()); }, 5s))
        << "the autostart entry is still there";
    EXPECT_EQ(readText(settings), "2\r\n5\r\n0\r\nEnglish.lng\r\n0\r\n0\r\n0\r\n3\r\n");
}

TEST_F(OptionsByDwellingTest, LanguageLinkPicksItalianoAndTheOptionsWindowSpeaksItAtOnce) {
    ProgramRun& run = start();
    ASSERT_TRUE(bar_->waitParked(20s)) << windows();
    const auto options = openOptions(run.pid());
    ASSERT_TRUE(options) << "the options window did not open\n" << windows();
    EXPECT_EQ(options->title, text("English.lng", kOptionsTitle));

    ASSERT_TRUE(restAndClick(inside(*options, kLanguageLink))) << clicks();
    const auto dialog = waitForTitle(run.pid(), text("English.lng", kLanguageDialogTitle));
    ASSERT_TRUE(dialog) << "no file dialog\n" << windows();

    // The dialog lists the Lang folder's files by name, case aside.
    std::vector<std::string> files;
    for (const auto& e : fs::directory_iterator(sandbox_.programFolder() / "Lang")) {
        files.push_back(e.path().filename().string());
    }
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

    const std::string italianTitle = text("Italiano.lng", kOptionsTitle);
    ASSERT_NE(italianTitle, text("English.lng", kOptionsTitle));
    const auto sameWindowRetitled = [&] {
        const auto found = x11_.findWindows([&](const WindowInfo& w) {
            return w.id == options->id && w.viewable() && w.title == italianTitle;
        });
        return !found.empty();
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
