#pragma once
// Control message hooking: lets a control see the events of any window of
// this program (its own, its parent's) before the window handles them, after,
// or both.
//
// A hooked window gets one event filter of this service, shared by every
// control that hooks it. For an event in the window's "before" table the
// filter calls the callback first; when the callback marks the event handled,
// the window never sees it. For an event in the "after" table the filter runs the window's own
// handling itself (it calls the window's event() directly, then answers the event so the toolkit
// does not deliver it a second time) and calls the callback after it. Events in neither table pass
// through untouched. Several controls hooking one window each get their calls: each hook wraps the
// ones made before it, so the newest hook is called first before the window and last after it. One
// consequence: event filters that were installed on the window before the first hook do not see
// events that have an "after" entry.
#include <QMetaObject>
#include <QPointer>
#include <QVariantList>
#include <QtGlobal>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/EventLog.h"
#include "unilabel/MessageTable.h"

class QEvent;
class QObject;

namespace tz {

// One event reaching a hooked window, as the callback sees it.
struct HookedMessage {
    bool before = true;             // true: before the window's own handling; false: after it
    bool handled = false;           // set in the call before to keep the event from the window
    bool result = true;             // the event's answer: true when it was dealt with
    quintptr window = 0;            // handle of the hooked window
    QObject* object = nullptr;      // the hooked window
    QEvent* event = nullptr;        // the event; its type is the message number
    std::intptr_t callerValue = 0;  // the value given when the window was hooked
};

using HookCallback = std::function<void(HookedMessage&)>;

// Shows a message box (prompt, style, title, icon name, owner); the real one is
// UnicodeMessageBox.
using MessageBoxFunction =
    std::function<int(const std::string& prompt, std::uint32_t style, const std::string& title,
                      const std::string& iconName, quintptr& owner)>;

// Where the hooking errors go: an error entry in the event log and a message
// box. An empty messageBox shows no box.
struct HookErrorReporting {
    EventLog& log;
    MessageBoxFunction messageBox;
};

// The error texts of the service.
inline constexpr const char* kInvalidWindowHandle = "Invalid window handle";
inline constexpr const char* kForeignWindowHandle = "Window handle belongs to another process";
inline constexpr const char* kCallbackNotFound = "Callback method not found";
inline constexpr const char* kOtherThreadWindow =
    "Event filter installation failed: the window belongs to another thread";
inline constexpr const char* kMessageTableOverflow =
    "Message table overflow. Either increase the value of Const MSG_ENTRIES or use ALL_MESSAGES "
    "instead of specific message values";
// The operations named in the error reports.
inline constexpr const char* kHookOperation = "ssc_Subclass";
inline constexpr const char* kAddMessageOperation = "zAddMsg";

namespace detail {
struct HookState;
class WindowHooks;
}  // namespace detail

// The hooks of one control, kept in a registry keyed by window handle
// ("<decimal>h"). Ending the control (destroying this object) unhooks every
// window; a window that ends first drops out of the registry by itself.
// User-interface thread only.
class MessageHook {
  public:
    // `typeName` is the control's type, used in the error reports.
    MessageHook(std::string typeName, HookErrorReporting reporting);
    ~MessageHook();
    MessageHook(const MessageHook&) = delete;
    MessageHook& operator=(const MessageHook&) = delete;

    // Hooks the window of this program whose native handle is `window`, with
    // both tables empty. Hooking a window again replaces its callback and
    // caller value and keeps its tables. False after reporting an error.
    bool hookWindow(quintptr window, std::intptr_t callerValue, HookCallback callback);
    // Adds event types to the tables chosen by `when` (kHookBefore, kHookAfter,
    // kHookBoth); -1 stands for every event. False when the window is not
    // hooked or a table overflowed (reported).
    bool addMessages(quintptr window, int when, const std::vector<long long>& messages);
    // The same for a list of any values: entries that are not whole numbers of
    // an integer or enumeration type are skipped.
    bool addMessageValues(quintptr window, int when, const QVariantList& messages);
    // Frees the event types in the tables chosen by `when`. False when the
    // window is not hooked.
    bool removeMessages(quintptr window, int when, const std::vector<long long>& messages);
    // Stops all callbacks for the window. False when it was not hooked.
    bool unhookWindow(quintptr window);
    bool unhookWindow(const QObject* window);
    void unhookAll();

    bool isHooked(quintptr window) const;
    // The registry's keys, in key order.
    std::vector<std::string> keys() const;

  private:
    friend class detail::WindowHooks;

    struct Record {
        std::shared_ptr<detail::HookState> state;
        detail::WindowHooks* hooks = nullptr;  // the window's dispatcher
        QMetaObject::Connection destroyedConnection;
    };
    using Registry = std::map<std::string, Record>;

    Registry::iterator findRecord(const QObject* window);
    Registry::iterator findState(const detail::HookState* state);
    void release(Registry::iterator record, bool windowAlive);
    void windowHandleChanged(const detail::HookState* state);
    void report(const char* operation, const std::string& message);

    std::string typeName_;
    HookErrorReporting reporting_;
    Registry registry_;
};

}  // namespace tz
