// Control message hooking on real widgets. MessageHook* also runs on an X
// server, where another client's window can be made.
#include "unilabel/MessageHook.h"

#include <dlfcn.h>
#include <xcb/xcb.h>
#include <numeric>

#include "tests/widget/WindowsFixture.h"

namespace tz::test {
namespace {

const auto kProbe = static_cast<QEvent::Type>(QEvent::User + 1);
using Calls = std::vector<std::string>;

// A window that notes its own handling of user events and declines presses.
struct RecordingWidget : QWidget {
    RecordingWidget(Calls& log, const char* name, QWidget* parent = nullptr)
        : QWidget(parent), log(log) {
        setObjectName(name);
    }
    using QWidget::create;  // a new native window
    using QWidget::destroy;
    bool event(QEvent* event) override {
        const bool press = event->type() == QEvent::MouseButtonPress;
        if (press || event->type() >= QEvent::User) {
            log.push_back(objectName().toStdString() + (press ? " press" : ""));
            return !press;
        }
        return QWidget::event(event);
    }
    Calls& log;
};

class MessageHookTest : public ::testing::Test {
  protected:
    // A callback that notes "before" and "after", and can keep the event from the window.
    HookCallback recorder(bool handleBefore = false) {
        return [this, handleBefore](HookedMessage& message) {
            EXPECT_EQ(message.callerValue, 42);
            calls.push_back(message.before ? "before" : "after");
            message.handled = handleBefore;
        };
    }
    quintptr hooked(QWidget& target, int when, HookCallback callback,
                    const std::vector<long long>& messages = {kProbe}) {
        const quintptr handle = target.winId();
        EXPECT_TRUE(hook->hookWindow(handle, 42, std::move(callback)));
        hook->addMessages(handle, when, messages);
        return handle;
    }
    void send(QObject* target) {
        QEvent event(kProbe);
        QCoreApplication::sendEvent(target, &event);
    }

    fake::FakeEventLog log;
    Calls boxes;
    Calls calls;
    // Each message box as "title: prompt style".
    std::unique_ptr<MessageHook> hook = std::make_unique<MessageHook>(
        "UniLabel",
        HookErrorReporting{log, [this](auto& prompt, auto style, auto& title, auto&, auto&) {
                               boxes.push_back(title + ": " + prompt + " " + std::to_string(style));
                               return 1;
                           }});
    RecordingWidget window{calls, "window"};
};

TEST_F(MessageHookTest, TheCallbackRunsBeforeOrAfterTheWindowAsItsTablesSayUntilUnhooked) {
    const std::tuple<int, bool, Calls> cases[] = {
        {kHookBoth, false, {"before", "window", "after"}},
        {kHookBoth, true, {"before"}},  // handled before: the window never sees it
        {kHookBefore, false, {"before", "window"}},
        {kHookAfter, false, {"window", "after"}},
    };
    for (const auto& [when, handled, expected] : cases) {
        calls.clear();
        const quintptr handle = hooked(window, when, recorder(handled));
        send(&window);
        EXPECT_EQ(calls, expected) << when << handled;
        EXPECT_EQ(hook->keys(), Calls{std::to_string(handle) + "h"});
        EXPECT_TRUE(hook->unhookWindow(handle) && !hook->unhookWindow(handle));
        send(&window);
        EXPECT_EQ(calls.back(), "window");
    }
}

// Two controls hooking one window: each gets its calls, the newer wrapping the
// older; what the older one keeps from the window the newer still hears after.
TEST_F(MessageHookTest, EveryHookOnAWindowGetsItsCallsTheNewestOutermost) {
    MessageHook older("Older", HookErrorReporting{log, {}});
    for (const bool olderHandles : {false, true}) {
        calls.clear();
        ASSERT_TRUE(older.hookWindow(window.winId(), 42, [&](HookedMessage& message) {
            calls.push_back(message.before ? "older before" : "older after");
            message.handled = olderHandles;
        }));
        older.addMessages(window.winId(), kHookBoth, {kProbe});
        hooked(window, kHookBoth, recorder());
        send(&window);
        const Calls expected =
            olderHandles ? Calls{"before", "older before", "after"}
                         : Calls{"before", "older before", "window", "older after", "after"};
        EXPECT_EQ(calls, expected);
        hook->unhookWindow(window.winId());
        send(&window);
        EXPECT_EQ(calls.back(), olderHandles ? "older before" : "older after");
    }
    // A hook unhooked by a newer one's callback gets no call of that event.
    hooked(window, kHookBoth, [&](HookedMessage& message) {
        calls.push_back(message.before ? "before" : "after");
        older.unhookWindow(window.winId());
    });
    calls.clear();
    send(&window);
    EXPECT_EQ(calls, (Calls{"before", "window", "after"}));
}

// A press the window declines still travels to its parent; one a callback takes does not.
TEST_F(MessageHookTest, APressTheWindowDeclinesStillTravelsToItsParent) {
    RecordingWidget child(calls, "child", &window);
    hooked(child, kHookAfter, recorder(), {QEvent::MouseButtonPress});
    mouse(&child, QEvent::MouseButtonPress, {2, 2}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(calls, (Calls{"child press", "after", "window press"}));
    hooked(child, kHookBefore, recorder(true), {QEvent::MouseButtonPress});
    mouse(&child, QEvent::MouseButtonPress, {2, 2}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(calls.back(), "before");
}

TEST_F(MessageHookTest, TheRegistryFollowsANewNativeWindow) {
    const quintptr before = hooked(window, kHookBefore, recorder());
    window.destroy();
    window.create();
    ASSERT_NE(window.winId(), before);
    EXPECT_EQ(hook->keys(), Calls{std::to_string(window.winId()) + "h"});
    send(&window);
    EXPECT_EQ(calls, (Calls{"before", "window"}));
}

TEST_F(MessageHookTest, ErrorsGoToTheLogAndAMessageBoxAndAnOverflowSparesTheOtherTable) {
    window.winId();                                             // a window of some number exists
    EXPECT_FALSE(hook->hookWindow(0x7ffffff0, 0, recorder()));  // no window of that number
    EXPECT_FALSE(hook->hookWindow(window.winId(), 0, HookCallback{}));
    const quintptr handle = hooked(window, kHookBefore, recorder(), {});
    std::vector<long long> full(kMessageEntries);
    std::iota(full.begin(), full.end(), QEvent::User + 100);
    ASSERT_TRUE(hook->addMessages(handle, kHookBefore, full));
    EXPECT_FALSE(hook->addMessages(handle, kHookBoth, {kProbe}));
    EXPECT_EQ(log.errors, (Calls{"UniLabel.ssc_Subclass: Invalid window handle",
                                 "UniLabel.ssc_Subclass: Callback method not found",
                                 "UniLabel.zAddMsg: " + std::string(kMessageTableOverflow)}));
    EXPECT_EQ(boxes.at(1), "Error in UniLabel.ssc_Subclass: Callback method not found. 48");
    send(&window);
    EXPECT_TRUE(hook->removeMessages(handle, kHookAfter, {kProbe}));
    EXPECT_FALSE(hook->removeMessages(0x7ffffff0, kHookAfter, {kProbe}));
    send(&window);
    // Only whole numbers are messages.
    EXPECT_TRUE(hook->addMessageValues(handle, kHookAfter, {"x", 1.5, true, int(kProbe)}));
    send(&window);
    EXPECT_EQ(calls, (Calls{"window", "after", "window", "window", "after"}));
}

// Whichever ends first, the window or the control, and even from inside the
// callback, the other goes on safely.
TEST_F(MessageHookTest, TheWindowOrTheControlMayEndFirstEvenInTheCallback) {
    auto doomed = std::make_unique<RecordingWidget>(calls, "doomed");
    hooked(*doomed, kHookBoth, recorder());
    doomed.reset();
    EXPECT_TRUE(hook->keys().empty());
    doomed = std::make_unique<RecordingWidget>(calls, "doomed");
    hooked(*doomed, kHookBoth, [&](HookedMessage&) { doomed.reset(); });
    send(doomed.get());
    EXPECT_TRUE(calls.empty() && hook->keys().empty());
    hooked(window, kHookBoth, [&](HookedMessage& message) {
        calls.push_back(message.before ? "before" : "after");
        hook.reset();
    });
    send(&window);
    send(&window);
    EXPECT_EQ(calls, (Calls{"before", "window", "window"}));
}

// The libxcb that Qt's X11 platform loaded, to make a window as another client would.
#define XCB(function) reinterpret_cast<decltype(&function)>(dlsym(xcb, #function))

TEST_F(MessageHookTest, AWindowOfAnotherClientIsReportedAsForeign) {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server: run with QT_QPA_PLATFORM=xcb";
    void* xcb = dlopen("libxcb.so.1", RTLD_LAZY | RTLD_NOLOAD);
    ASSERT_NE(xcb, nullptr);
    xcb_connection_t* other = XCB(xcb_connect)(nullptr, nullptr);
    const xcb_screen_t* screen = XCB(xcb_setup_roots_iterator)(XCB(xcb_get_setup)(other)).data;
    const xcb_window_t foreign = XCB(xcb_generate_id)(other);
    const auto createWindow = XCB(xcb_create_window);
    createWindow(other, XCB_COPY_FROM_PARENT, foreign, screen->root, 0, 0, 10, 10, 0,
                 XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    // A round trip, so the server has made the window before anyone asks.
    std::free(XCB(xcb_get_input_focus_reply)(other, XCB(xcb_get_input_focus)(other), nullptr));
    EXPECT_FALSE(hook->hookWindow(foreign, 0, recorder()));
    EXPECT_EQ(log.errors, Calls{"UniLabel.ssc_Subclass: Window handle belongs to another process"});
    XCB(xcb_disconnect)(other);
    dlclose(xcb);
}

}  // namespace
}  // namespace tz::test
