// The control message hooking service on real widgets.
#include "unilabel/MessageHook.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <xcb/xcb.h>
#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QWidget>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "tests/fakes/FakeEventLog.h"

namespace tz {
namespace {

const auto kProbe = static_cast<QEvent::Type>(QEvent::User + 1);

// A window that notes when its own handling runs.
class RecordingWidget : public QWidget {
  public:
    RecordingWidget(std::vector<std::string>& log, const char* name, QWidget* parent = nullptr)
        : QWidget(parent), log_(log) {
        setObjectName(name);
    }
    bool takesPresses = true;
    void recreateNativeWindow() {
        destroy();
        create();
    }

  protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress) {
            log_.push_back(objectName().toStdString() + " press");
            return takesPresses;
        }
        if (event->type() >= QEvent::User) {
            log_.push_back(objectName().toStdString());
            return true;
        }
        return QWidget::event(event);
    }

  private:
    std::vector<std::string>& log_;
};

struct BoxCall {
    std::string prompt;
    std::uint32_t style;
    std::string title;
    std::string iconName;
    quintptr owner;
};

class MessageHookTest : public ::testing::Test {
  protected:
    HookErrorReporting reporting() {
        return {log,
                [this](const std::string& prompt, std::uint32_t style, const std::string& title,
                       const std::string& iconName, quintptr& owner) {
                    boxes.push_back({prompt, style, title, iconName, owner});
                    return 1;
                }};
    }

    // A callback that notes "before" and "after".
    HookCallback recorder(bool handleBefore = false) {
        return [this, handleBefore](HookedMessage& message) {
            calls.push_back(message.before ? "before" : "after");
            message.handled = handleBefore;
        };
    }

    bool send(QObject* window, QEvent::Type type) {
        QEvent event(type);
        return QCoreApplication::sendEvent(window, &event);
    }

    fake::FakeEventLog log;
    std::vector<BoxCall> boxes;
    std::vector<std::string> calls;
    std::unique_ptr<MessageHook> hook = std::make_unique<MessageHook>("UniLabel", reporting());
    RecordingWidget window{calls, "window"};
};

TEST_F(MessageHookTest, CallsBeforeTheWindowAndAfterItWithTheWindowsAnswer) {
    const quintptr handle = window.winId();
    HookedMessage seen;
    ASSERT_TRUE(hook->hookWindow(handle, 42, [&](HookedMessage& message) {
        calls.push_back(message.before ? "before" : "after");
        seen = message;
    }));
    ASSERT_TRUE(hook->addMessages(handle, kHookBoth, {kProbe}));
    EXPECT_EQ(hook->keys(), std::vector<std::string>{std::to_string(handle) + "h"});

    EXPECT_TRUE(send(&window, kProbe));
    EXPECT_EQ(calls, (std::vector<std::string>{"before", "window", "after"}));
    EXPECT_EQ(seen.callerValue, 42);
    EXPECT_EQ(seen.window, handle);
    EXPECT_EQ(seen.object, &window);
    EXPECT_TRUE(seen.result);

    calls.clear();
    send(&window, static_cast<QEvent::Type>(kProbe + 1));  // in neither table
    EXPECT_EQ(calls, std::vector<std::string>{"window"});
}

TEST_F(MessageHookTest, AMessageHandledBeforeNeverReachesTheWindow) {
    const quintptr handle = window.winId();
    hook->hookWindow(handle, 0, recorder(true));
    hook->addMessages(handle, kHookBoth, {kProbe});
    send(&window, kProbe);
    EXPECT_EQ(calls, std::vector<std::string>{"before"});
}

TEST_F(MessageHookTest, AfterUnhookingTheCallbackIsNotCalled) {
    const quintptr handle = window.winId();
    hook->hookWindow(handle, 0, recorder());
    hook->addMessages(handle, kHookBoth, {kAllMessages});
    EXPECT_TRUE(hook->unhookWindow(handle));
    EXPECT_FALSE(hook->isHooked(handle));
    send(&window, kProbe);
    EXPECT_EQ(calls, std::vector<std::string>{"window"});
    EXPECT_FALSE(hook->unhookWindow(handle));
}

TEST_F(MessageHookTest, APressTheWindowDeclinesStillTravelsToItsParent) {
    RecordingWidget child(calls, "child", &window);
    child.takesPresses = false;
    const quintptr handle = child.winId();
    hook->hookWindow(handle, 0, recorder());
    hook->addMessages(handle, kHookAfter, {QEvent::MouseButtonPress});

    QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&child, &press);
    EXPECT_EQ(calls, (std::vector<std::string>{"child press", "after", "window press"}));
}

TEST_F(MessageHookTest, OnlyWholeNumbersOfAListAreTaken) {
    const quintptr handle = window.winId();
    hook->hookWindow(handle, 0, recorder(true));
    const auto first = static_cast<int>(kProbe);
    hook->addMessageValues(handle, kHookBefore,
                           {QVariant::fromValue(kProbe), QVariant(first + 1),
                            QVariant(QString::number(first + 2)), QVariant(double(first + 3))});
    for (int offset = 0; offset < 4; ++offset) {
        send(&window, static_cast<QEvent::Type>(first + offset));
    }
    // The enumeration and the integer are hooked; the text and the fraction are not.
    EXPECT_EQ(calls, (std::vector<std::string>{"before", "before", "window", "window"}));
}

TEST_F(MessageHookTest, ErrorsGoToTheLogAndAMessageBox) {
    EXPECT_FALSE(hook->hookWindow(0, 0, recorder()));
    EXPECT_FALSE(hook->hookWindow(0x7ffffff0, 0, recorder()));  // no window of that number
    EXPECT_FALSE(hook->hookWindow(window.winId(), 0, HookCallback{}));
    EXPECT_TRUE(hook->keys().empty());

    EXPECT_EQ(log.errors, (std::vector<std::string>{
                              "UniLabel.ssc_Subclass: Invalid window handle",
                              "UniLabel.ssc_Subclass: Invalid window handle",
                              "UniLabel.ssc_Subclass: Callback method not found",
                          }));
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[2].prompt, "Callback method not found.");
    EXPECT_EQ(boxes[2].style, 48u);
    EXPECT_EQ(boxes[2].title, "Error in UniLabel.ssc_Subclass");
    EXPECT_EQ(boxes[2].iconName, "");
    EXPECT_EQ(boxes[2].owner, 0u);
}

TEST_F(MessageHookTest, AnOverflowIsReportedAndTheOtherTableGoesOn) {
    const quintptr handle = window.winId();
    hook->hookWindow(handle, 0, recorder());
    std::vector<long long> full;
    for (int i = 0; i < kMessageEntries; ++i) {
        full.push_back(QEvent::User + 100 + i);
    }
    ASSERT_TRUE(hook->addMessages(handle, kHookBefore, full));

    EXPECT_FALSE(hook->addMessages(handle, kHookBoth, {kProbe}));
    EXPECT_EQ(log.errors,
              std::vector<std::string>{
                  "UniLabel.zAddMsg: Message table overflow. Either increase the value of Const "
                  "MSG_ENTRIES or use ALL_MESSAGES instead of specific message values"});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Error in UniLabel.zAddMsg");
    send(&window, kProbe);
    EXPECT_EQ(calls, (std::vector<std::string>{"window", "after"}));
}

TEST_F(MessageHookTest, AWindowThatEndsFirstLeavesTheRegistry) {
    auto doomed = std::make_unique<RecordingWidget>(calls, "doomed");
    const quintptr handle = doomed->winId();
    hook->hookWindow(handle, 0, recorder());
    hook->addMessages(handle, kHookBoth, {kProbe});
    doomed.reset();
    EXPECT_TRUE(hook->keys().empty());
    hook.reset();  // ending the control afterwards touches nothing
}

TEST_F(MessageHookTest, AWindowEndedByTheCallbackIsLeftAlone) {
    auto doomed = std::make_unique<RecordingWidget>(calls, "doomed");
    const quintptr handle = doomed->winId();
    hook->hookWindow(handle, 0, [&](HookedMessage&) { doomed.reset(); });
    hook->addMessages(handle, kHookBoth, {kProbe});
    send(doomed.get(), kProbe);
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(hook->keys().empty());
}

TEST_F(MessageHookTest, AControlThatEndsFirstLeavesTheWindowWorking) {
    const quintptr handle = window.winId();
    hook->hookWindow(handle, 0, recorder());
    hook->addMessages(handle, kHookBoth, {kProbe});
    hook.reset();
    send(&window, kProbe);
    EXPECT_EQ(calls, std::vector<std::string>{"window"});
}

TEST_F(MessageHookTest, AControlEndedByItsOwnCallbackLetsTheWindowFinish) {
    const quintptr handle = window.winId();
    hook->hookWindow(handle, 0, [&](HookedMessage& message) {
        calls.push_back(message.before ? "before" : "after");
        hook.reset();
    });
    hook->addMessages(handle, kHookBoth, {kProbe});
    send(&window, kProbe);
    EXPECT_EQ(calls, (std::vector<std::string>{"before", "window"}));
    calls.clear();
    send(&window, kProbe);
    EXPECT_EQ(calls, std::vector<std::string>{"window"});
}

TEST_F(MessageHookTest, TheRegistryFollowsANewNativeWindow) {
    hook->hookWindow(window.winId(), 0, recorder());
    hook->addMessages(window.winId(), kHookBefore, {kProbe});
    const quintptr before = window.winId();
    window.recreateNativeWindow();
    const quintptr after = window.winId();
    ASSERT_NE(after, before);
    EXPECT_EQ(hook->keys(), std::vector<std::string>{std::to_string(after) + "h"});
    send(&window, kProbe);
    EXPECT_EQ(calls, (std::vector<std::string>{"before", "window"}));
    EXPECT_TRUE(hook->unhookWindow(after));
}

// The libxcb that Qt's X11 platform loaded, for making a window as another
// client would.
template <class Function>
Function xcbFunction(void* library, const char* name) {
    return reinterpret_cast<Function>(dlsym(library, name));
}

TEST_F(MessageHookTest, AWindowOfAnotherClientIsReportedAsForeign) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        GTEST_SKIP() << "needs an X server: run with QT_QPA_PLATFORM=xcb";
    }
    void* xcb = dlopen("libxcb.so.1", RTLD_LAZY | RTLD_NOLOAD);
    ASSERT_NE(xcb, nullptr);
    xcb_connection_t* other =
        xcbFunction<decltype(&xcb_connect)>(xcb, "xcb_connect")(nullptr, nullptr);
    const xcb_screen_t* screen =
        xcbFunction<decltype(&xcb_setup_roots_iterator)>(xcb, "xcb_setup_roots_iterator")(
            xcbFunction<decltype(&xcb_get_setup)>(xcb, "xcb_get_setup")(other))
            .data;
    const xcb_window_t foreign =
        xcbFunction<decltype(&xcb_generate_id)>(xcb, "xcb_generate_id")(other);
    xcbFunction<decltype(&xcb_create_window)>(xcb, "xcb_create_window")(
        other, XCB_COPY_FROM_PARENT, foreign, screen->root, 0, 0, 10, 10, 0,
        XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    // A round trip, so the server has made the window before anyone asks.
    std::free(xcbFunction<decltype(&xcb_get_input_focus_reply)>(xcb, "xcb_get_input_focus_reply")(
        other, xcbFunction<decltype(&xcb_get_input_focus)>(xcb, "xcb_get_input_focus")(other),
        nullptr));

    EXPECT_FALSE(hook->hookWindow(foreign, 0, recorder()));
    EXPECT_EQ(log.errors, std::vector<std::string>{
                              "UniLabel.ssc_Subclass: Window handle belongs to another process"});
    EXPECT_TRUE(hook->keys().empty());

    xcbFunction<decltype(&xcb_disconnect)>(xcb, "xcb_disconnect")(other);
    dlclose(xcb);
}

}  // namespace
}  // namespace tz
