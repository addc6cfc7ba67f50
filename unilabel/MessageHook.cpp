#include "unilabel/MessageHook.h"

#include <dlfcn.h>
#include <xcb/xcb.h>
#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QThread>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <optional>
#include <utility>

namespace tz {

// The style of the error boxes: OK button, exclamation icon.
constexpr std::uint32_t kErrorBoxStyle = 48;

namespace detail {

// What the service knows of one hooked window. Shared with the window's
// dispatcher so that a callback running while its hook is released stays alive.
struct HookState {
    QPointer<QObject> window;
    quintptr handle = 0;
    std::intptr_t callerValue = 0;
    HookCallback callback;
    MessageTables tables;
};

namespace {

// Input events that the toolkit hands on to the parent when a window does not
// take them.
bool travelsToParent(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
        case QEvent::ContextMenu:
            return true;
        default:
            return false;
    }
}

// The filter answers the event for the window. An input event that the window
// (or a callback) did not deal with still goes on to the parent, as it would
// have without the hook.
bool answer(QEvent* event, bool result) {
    if (!result && travelsToParent(event->type())) {
        event->ignore();
    }
    return true;
}

void call(const HookState& state, HookedMessage& message) {
    // A copy, so that hooking the window again from inside the callback
    // cannot destroy the callback while it runs.
    const HookCallback callback = state.callback;
    callback(message);
}

bool listed(const HookState& state, long long type) {
    return state.tables.before.contains(type) || state.tables.after.contains(type);
}

}  // namespace

// The one event filter on a hooked window, shared by every control that hooks
// it. Each hook wraps the ones made before it: the newest hook's before call
// comes first and its after call last, so every hook gets both its calls.
class WindowHooks : public QObject {
  public:
    // The window's dispatcher, installed on the window when it has none yet.
    static WindowHooks* of(QObject* window) {
        auto& all = registry();
        const auto found = all.find(window);
        if (found != all.end()) {
            return found->second;
        }
        auto* hooks = new WindowHooks(window);
        window->installEventFilter(hooks);
        all.emplace(window, hooks);
        return hooks;
    }

    void add(MessageHook* owner, std::shared_ptr<HookState> state) {
        hooks_.push_back({owner, std::move(state)});
    }

    // Takes a hook out. The last one takes the dispatcher off the window; it
    // goes at once, or when the last event running through it is done.
    void remove(const HookState* state, bool windowAlive) {
        std::erase_if(hooks_, [state](const Entry& entry) { return entry.state.get() == state; });
        if (!hooks_.empty()) {
            return;
        }
        registry().erase(key_);
        if (windowAlive && window_) {
            window_->removeEventFilter(this);
        }
        if (running_ == 0) {
            delete this;
        } else {
            retired_ = true;
        }
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const long long type = event->type();
        if (type == QEvent::WinIdChange) {
            for (std::size_t i = 0; i < hooks_.size(); ++i) {
                hooks_[i].owner->windowHandleChanged(hooks_[i].state.get());
            }
        }
        if (std::none_of(hooks_.begin(), hooks_.end(),
                         [type](const Entry& entry) { return listed(*entry.state, type); })) {
            return false;
        }
        // A copy: the states stay alive, and in order, whatever the callbacks unhook.
        const std::vector<Entry> hooks = hooks_;
        const bool handlesWindow = std::any_of(
            hooks.begin(), hooks.end(),
            [type](const Entry& entry) { return entry.state->tables.after.contains(type); });
        const QPointer<QObject> window(watched);
        ++running_;
        const std::optional<bool> result =
            dispatch(hooks, hooks.size(), window, event, handlesWindow);
        if (--running_ == 0 && retired_) {
            delete this;
        }
        if (!window) {
            return true;  // the window ended in a callback: nothing may touch it
        }
        return result ? answer(event, *result) : false;
    }

  private:
    struct Entry {
        MessageHook* owner;
        std::shared_ptr<HookState> state;
    };

    explicit WindowHooks(QObject* window) : window_(window), key_(window) {}

    static std::map<const QObject*, WindowHooks*>& registry() {
        static std::map<const QObject*, WindowHooks*> all;
        return all;
    }

    // The event as the `count` oldest hooks and the window deal with it: the
    // newest of them runs its before call, the older ones and the window, then
    // its after call. No value: nobody answered the event, and the toolkit goes
    // on to the window's own handling.
    static std::optional<bool> dispatch(const std::vector<Entry>& hooks, std::size_t count,
                                        const QPointer<QObject>& window, QEvent* event,
                                        bool handlesWindow) {
        if (count == 0) {
            // QObject::event is public, and virtual: this is the window's own handling.
            return handlesWindow ? std::optional<bool>(window->event(event)) : std::nullopt;
        }
        const HookState& state = *hooks[count - 1].state;
        const long long type = event->type();
        HookedMessage message;
        message.window = state.handle;
        message.object = window.data();
        message.event = event;
        message.callerValue = state.callerValue;
        if (state.tables.before.contains(type)) {
            call(state, message);
            if (!window) {
                return true;
            }
            if (message.handled) {
                return message.result;
            }
        }
        const std::optional<bool> result = dispatch(hooks, count - 1, window, event, handlesWindow);
        if (!window || !result || !state.tables.after.contains(type)) {
            return result;
        }
        message.before = false;
        message.handled = false;
        message.result = *result;
        call(state, message);
        return message.result;
    }

    std::vector<Entry> hooks_;  // oldest first
    QPointer<QObject> window_;
    const QObject* key_;
    int running_ = 0;
    bool retired_ = false;
};

}  // namespace detail

namespace {

// The native handle a hooked window has now.
quintptr currentHandle(const QObject* object) {
    if (object->isWidgetType()) {
        return static_cast<const QWidget*>(object)->internalWinId();
    }
    if (const auto* window = qobject_cast<const QWindow*>(object); window && window->handle()) {
        return window->winId();
    }
    return 0;
}

// The widget or window of this program whose native handle is `handle`.
QObject* findOwnWindow(quintptr handle) {
    if (handle == 0) {
        return nullptr;
    }
    const QWidgetList widgets = QApplication::allWidgets();
    for (QWidget* widget : widgets) {
        if (widget->internalWinId() == handle) {
            return widget;
        }
    }
    const QWindowList windows = QGuiApplication::allWindows();
    for (QWindow* window : windows) {
        if (window->handle() && window->winId() == handle) {
            return window;
        }
    }
    return nullptr;
}

// Whether the X server has a window with this number (a window of another
// client when it is none of ours). Asked with a GetWindowAttributes request on
// Qt's own X connection, so only under the xcb platform. The two libxcb entry
// points come from the copy Qt's platform already loaded, which keeps the
// control library free of a link to X.
bool displayHasWindow(quintptr handle) {
    if (handle > 0xFFFFFFFFu) {
        return false;  // X window numbers have 32 bits
    }
    const auto* x11 =
        qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection) {
        return false;
    }
    void* library = dlopen("libxcb.so.1", RTLD_LAZY | RTLD_NOLOAD);
    if (!library) {
        return false;
    }
    const auto request = reinterpret_cast<decltype(&xcb_get_window_attributes)>(
        dlsym(library, "xcb_get_window_attributes"));
    const auto reply = reinterpret_cast<decltype(&xcb_get_window_attributes_reply)>(
        dlsym(library, "xcb_get_window_attributes_reply"));
    bool exists = false;
    if (request && reply) {
        xcb_generic_error_t* error = nullptr;
        xcb_get_window_attributes_reply_t* attributes =
            reply(connection, request(connection, static_cast<xcb_window_t>(handle)), &error);
        exists = attributes != nullptr;
        std::free(attributes);
        std::free(error);
    }
    dlclose(library);
    return exists;
}

bool isIntegerType(int typeId) {
    switch (typeId) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::UChar:
            return true;
        default:
            return false;
    }
}

}  // namespace

MessageHook::MessageHook(std::string typeName, HookErrorReporting reporting)
    : typeName_(std::move(typeName)), reporting_(std::move(reporting)) {}

MessageHook::~MessageHook() {
    unhookAll();
}

bool MessageHook::hookWindow(quintptr handle, std::intptr_t callerValue, HookCallback callback) {
    QObject* window = findOwnWindow(handle);
    if (!window) {
        report(kHookOperation,
               displayHasWindow(handle) ? kForeignWindowHandle : kInvalidWindowHandle);
        return false;
    }
    if (!callback) {
        report(kHookOperation, kCallbackNotFound);
        return false;
    }
    if (window->thread() != QThread::currentThread()) {
        report(kHookOperation, kOtherThreadWindow);
        return false;
    }
    if (const auto hooked = findRecord(window); hooked != registry_.end()) {
        hooked->second.state->callerValue = callerValue;
        hooked->second.state->callback = std::move(callback);
        return true;
    }
    const std::string key = hookKey(handle);
    if (const auto stale = registry_.find(key); stale != registry_.end()) {
        release(stale, true);
    }
    auto state = std::make_shared<detail::HookState>();
    state->window = window;
    state->handle = handle;
    state->callerValue = callerValue;
    state->callback = std::move(callback);
    detail::WindowHooks* hooks = detail::WindowHooks::of(window);
    hooks->add(this, state);
    Record record{state, hooks, {}};
    // A window that ends first leaves the registry.
    record.destroyedConnection =
        QObject::connect(window, &QObject::destroyed, hooks, [this, raw = state.get()] {
            const auto found = findState(raw);
            if (found != registry_.end()) {
                release(found, false);
            }
        });
    registry_.emplace(key, std::move(record));
    return true;
}

bool MessageHook::addMessages(quintptr window, int when, const std::vector<long long>& messages) {
    const auto found = registry_.find(hookKey(window));
    if (found == registry_.end()) {
        return false;
    }
    const AddMessagesOutcome outcome = tz::addMessages(found->second.state->tables, when, messages);
    if (outcome.beforeOverflowed) {
        report(kAddMessageOperation, kMessageTableOverflow);
    }
    if (outcome.afterOverflowed) {
        report(kAddMessageOperation, kMessageTableOverflow);
    }
    return outcome.ok();
}

bool MessageHook::addMessageValues(quintptr window, int when, const QVariantList& messages) {
    std::vector<long long> numbers;
    for (const QVariant& entry : messages) {
        const QMetaType type = entry.metaType();
        if (isIntegerType(type.id()) || type.flags().testFlag(QMetaType::IsEnumeration)) {
            numbers.push_back(entry.toLongLong());
        }
    }
    return addMessages(window, when, numbers);
}

bool MessageHook::removeMessages(quintptr window, int when,
                                 const std::vector<long long>& messages) {
    const auto found = registry_.find(hookKey(window));
    if (found == registry_.end()) {
        return false;
    }
    tz::removeMessages(found->second.state->tables, when, messages);
    return true;
}

bool MessageHook::unhookWindow(quintptr window) {
    const auto found = registry_.find(hookKey(window));
    if (found == registry_.end()) {
        return false;
    }
    release(found, true);
    return true;
}

bool MessageHook::unhookWindow(const QObject* window) {
    const auto found = findRecord(window);
    if (found == registry_.end()) {
        return false;
    }
    release(found, true);
    return true;
}

void MessageHook::unhookAll() {
    while (!registry_.empty()) {
        release(registry_.begin(), true);
    }
}

bool MessageHook::isHooked(quintptr window) const {
    return registry_.count(hookKey(window)) != 0;
}

std::vector<std::string> MessageHook::keys() const {
    std::vector<std::string> keys;
    for (const auto& entry : registry_) {
        keys.push_back(entry.first);
    }
    return keys;
}

MessageHook::Registry::iterator MessageHook::findRecord(const QObject* window) {
    return std::find_if(registry_.begin(), registry_.end(), [window](const auto& entry) {
        return window && entry.second.state->window == window;
    });
}

void MessageHook::release(Registry::iterator found, bool windowAlive) {
    Record record = std::move(found->second);
    registry_.erase(found);
    QObject::disconnect(record.destroyedConnection);
    // A callback that is running now calls nothing more for this window.
    record.state->tables.before.clear();
    record.state->tables.after.clear();
    record.hooks->remove(record.state.get(), windowAlive);
}

MessageHook::Registry::iterator MessageHook::findState(const detail::HookState* state) {
    return std::find_if(registry_.begin(), registry_.end(),
                        [state](const auto& entry) { return entry.second.state.get() == state; });
}

void MessageHook::windowHandleChanged(const detail::HookState* state) {
    const auto found = findState(state);
    if (found == registry_.end() || !found->second.state->window) {
        return;
    }
    // A window whose native window is gone for now keeps its key until it
    // gets a new one.
    const quintptr handle = currentHandle(found->second.state->window);
    const std::string key = hookKey(handle);
    if (handle == 0 || key == found->first) {
        return;
    }
    Record record = std::move(found->second);
    registry_.erase(found);
    record.state->handle = handle;
    if (const auto other = registry_.find(key); other != registry_.end()) {
        release(other, true);
    }
    registry_.emplace(key, std::move(record));
}

void MessageHook::report(const char* operation, const std::string& message) {
    const std::string where = typeName_ + "." + operation;
    reporting_.log.error(where + ": " + message);
    if (reporting_.messageBox) {
        quintptr owner = 0;
        reporting_.messageBox(message + ".", kErrorBoxStyle, "Error in " + where, "", owner);
    }
}

}  // namespace tz
