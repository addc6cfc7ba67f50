// Control message hooking on real widgets. MessageHook* also runs on an X
// server, where another client's window can be made.
#include "unilabel/MessageHook.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <xcb/xcb.h>
#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QWidget>

#include "tests/fakes/FakeEventLog.h"

namespace tz {
namespace {

const auto kProbe = static_cast<QEvent::Type>(QEvent::User + 1);
using Calls = std::vector<std::string>;

// A window that notes its own handling of user events and presses.
class RecordingWidget : public QWidget {
  public:
    RecordingWidget(Calls& log, const char* name, QWidget* parent = nullptr)
        : QWidget(parent), log_(log) {
        setObjectName(name);
    }
    bool takesPresses = true;
    using QWidget::create;  // a new native window
    using QWidget::destroy;

  protected:
    bool event(QEvent* event) override {
        const bool press = event->type() == QEvent::MouseButtonPress;
        if (press || event->type() >= QEvent::User) {
            log_.push_back(objectName().toStdString() + (press ? " press" : ""));
            return !press || takesPresses;
        }
        return QWidget::event(event);
    }

  private:
    Calls& log_;
};

class MessageHookTest : public ::testing::Test {
  protected:
    // A callback that notes "before" and "after", and can keep the event from the window.
    HookCallback recorder(bool handleBefore = false) {
        return [this, handleBefore](HookedMessage& message) {
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
    void send(QObject* target, QEvent::Type type = kProbe) {
        QEvent event(type);
        QCoreApplication::sendEvent(target, &event);
    }

    fake::FakeEventLog log;
    std::vector<std::string> boxes;
    Calls calls;
    std::unique_ptr<MessageHook> hook = std::make_unique<MessageHook>(
        "UniLabel",
        HookErrorReporting{log, [this](const std::string& prompt, std::uint32_t style,
                                       const std::string& title, const std::string&, quintptr&) {
                               boxes.push_back(title + ": " + prompt + " " + std::to_string(style));
                               return 1;
                           }});
    RecordingWidget window{calls, "window"};
};

TEST_F(MessageHookTest, TheCallbackRunsBeforeOrAfterTheWindowAsItsTablesSay) {
    const std::tuple<int, bool, Calls> cases[] = {
        {kHookBoth, false, {"before", "window", "after"}},
        {kHookBoth, true, {"before"}},  // handled before: the window never sees it
        {kHookBefore, false, {"before", "window"}},
        {kHookAfter, false, {"window", "after"}},
    };
    for (const auto& [when, handled, expected] : cases) {
        hook = std::make_unique<MessageHook>("UniLabel", HookErrorReporting{log, {}});
        calls.clear();
        hooked(window, when, recorder(handled));
        send(&window);
        send(&window, static_cast<QEvent::Type>(kProbe + 1));  // in neither table
        Calls all = expected;
        all.push_back("window");
        EXPECT_EQ(calls, all) << when << handled;
    }
    HookedMessage seen;
    const quintptr handle = hooked(window, kHookAfter, [&](HookedMessage& m) { seen = m; });
    send(&window);
    EXPECT_EQ(hook->keys(), Calls{std::to_string(handle) + "h"});
    EXPECT_EQ(std::tuple(seen.callerValue, seen.window, seen.object, seen.result),
              std::tuple(42, handle, &window, true));
    EXPECT_TRUE(hook->unhookWindow(handle));
    EXPECT_FALSE(hook->unhookWindow(handle));
    calls.clear();
    send(&window);
    EXPECT_EQ(calls, Calls{"window"});
}

TEST_F(MessageHookTest, APressTheWindowDeclinesStillTravelsToItsParent) {
    RecordingWidget child(calls, "child", &window);
    child.takesPresses = false;
    hooked(child, kHookAfter, recorder(), {QEvent::MouseButtonPress});
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&child, &press);
    EXPECT_EQ(calls, (Calls{"child press", "after", "window press"}));
}

TEST_F(MessageHookTest, OnlyWholeNumbersOfAListAreTaken) {
    const quintptr handle = hooked(window, kHookBefore, recorder(true), {});
    const int first = kProbe;
    hook->addMessageValues(handle, kHookBefore,
                           {QVariant::fromValue(kProbe), QVariant(first + 1),
                            QVariant(QString::number(first + 2)), QVariant(double(first + 3))});
    for (int offset = 0; offset < 4; ++offset) {
        send(&window, static_cast<QEvent::Type>(first + offset));
    }
    EXPECT_EQ(calls, (Calls{"before", "before", "window", "window"}));
}

TEST_F(MessageHookTest, ErrorsGoToTheLogAndAMessageBoxAndAnOverflowSparesTheOtherTable) {
    EXPECT_FALSE(hook->hookWindow(0, 0, recorder()));
    EXPECT_FALSE(hook->hookWindow(0x7ffffff0, 0, recorder()));  // no window of that number
    EXPECT_FALSE(hook->hookWindow(window.winId(), 0, HookCallback{}));
    EXPECT_TRUE(hook->keys().empty());
    const quintptr handle = hooked(window, kHookBefore, recorder(), {});
    std::vector<long long> full;
    for (int i = 0; i < kMessageEntries; ++i) {
        full.push_back(QEvent::User + 100 + i);
    }
    ASSERT_TRUE(hook->addMessages(handle, kHookBefore, full));
    EXPECT_FALSE(hook->addMessages(handle, kHookBoth, {kProbe}));
    const std::string overflow =
        "Message table overflow. Either increase the value of Const MSG_ENTRIES or use "
        "ALL_MESSAGES instead of specific message values";
    EXPECT_EQ(log.errors, (Calls{"UniLabel.ssc_Subclass: Invalid window handle",
                                 "UniLabel.ssc_Subclass: Invalid window handle",
                                 "UniLabel.ssc_Subclass: Callback method not found",
                                 "UniLabel.zAddMsg: " + overflow}));
    EXPECT_EQ(boxes[2], "Error in UniLabel.ssc_Subclass: Callback method not found. 48");
    EXPECT_EQ(boxes[3], "Error in UniLabel.zAddMsg: " + overflow + ". 48");
    send(&window);
    EXPECT_EQ(calls, (Calls{"window", "after"}));
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

TEST_F(MessageHookTest, TheRegistryFollowsANewNativeWindow) {
    const quintptr before = hooked(window, kHookBefore, recorder());
    window.destroy();
    window.create();
    const quintptr after = window.winId();
    ASSERT_NE(after, before);
    EXPECT_EQ(hook->keys(), Calls{std::to_string(after) + "h"});
    send(&window);
    EXPECT_EQ(calls, (Calls{"before", "window"}));
}

// The libxcb that Qt's X11 platform loaded, to make a window as another client would.
#define XCB(function) reinterpret_cast<decltype(&function)>(dlsym(xcb, #function))

TEST_F(MessageHookTest, AWindowOfAnotherClientIsReportedAsForeign) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        GTEST_SKIP() << "needs an X server: run with QT_QPA_PLATFORM=xcb";
    }
    void* xcb = dlopen("libxcb.so.1", RTLD_LAZY | RTLD_NOLOAD);
    ASSERT_NE(xcb, nullptr);
    xcb_connection_t* other = XCB(xcb_connect)(nullptr, nullptr);
    const xcb_screen_t* screen = XCB(xcb_setup_roots_iterator)(XCB(xcb_get_setup)(other)).data;
    const xcb_window_t foreign = XCB(xcb_generate_id)(other);
    XCB(xcb_create_window)
    (other, XCB_COPY_FROM_PARENT, foreign, screen->root, 0, 0, 10, 10, 0,
     XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    // A round trip, so the server has made the window before anyone asks.
    std::free(XCB(xcb_get_input_focus_reply)(other, XCB(xcb_get_input_focus)(other), nullptr));
    EXPECT_FALSE(hook->hookWindow(foreign, 0, recorder()));
    EXPECT_EQ(log.errors, Calls{"UniLabel.ssc_Subclass: Window handle belongs to another process"});
    XCB(xcb_disconnect)(other);
    dlclose(xcb);
}

}  // namespace
}  // namespace tz
