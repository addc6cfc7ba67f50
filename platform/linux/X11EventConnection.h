#pragma once
#include <QSocketNotifier>
#include <functional>
#include <memory>

typedef struct _XDisplay Display;

namespace tz {

// A connection of a service's own to the X server, read on the Qt event loop:
// `onReadable` runs whenever the connection has data. Closing it, when the
// object goes, ends every selection and grab made on it.
class X11EventConnection {
  public:
    // The connection, or null when the X server cannot be reached or, with
    // `needXInput2`, offers no XInput 2.2 (raw events whatever the grabs).
    static std::unique_ptr<X11EventConnection> open(std::function<void()> onReadable,
                                                    bool needXInput2);
    ~X11EventConnection();
    X11EventConnection(const X11EventConnection&) = delete;
    X11EventConnection& operator=(const X11EventConnection&) = delete;

    Display* display() const { return display_; }
    // The XInput extension's major opcode (0 unless opened with needXInput2).
    int xinputOpcode() const { return xinputOpcode_; }

  private:
    X11EventConnection(Display* display, int xinputOpcode, std::function<void()> onReadable);

    Display* display_;
    int xinputOpcode_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace tz
