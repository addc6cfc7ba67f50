#pragma once
#include <memory>

#include "platform/PointerMotionWatch.h"
#include "platform/linux/X11EventConnection.h"

namespace tz {

// Watches the X server's pointer motion through the RECORD extension: every
// motion the server processes, whichever window or grab gets it, from a
// device, from injected (XTest) motion, or from a program warping the pointer,
// which makes no raw device motion. Two connections of its own: one enables
// the recording once and then only receives it; the other says what is
// recorded. Motion is recorded only while a request is pending, so a moving
// pointer costs nothing while nobody waits for it, and a still one never.
class X11MotionWatch : public PointerMotionWatch {
  public:
    X11MotionWatch();
    ~X11MotionWatch() override;
    X11MotionWatch(const X11MotionWatch&) = delete;
    X11MotionWatch& operator=(const X11MotionWatch&) = delete;

    // Once the server has started the recording; until then (or without
    // RECORD) callers keep sampling.
    bool available() override { return recorded_.started; }
    void notifyOnNextMotion(std::function<void()> onMotion) override;
    void cancel() override;

    // What the recording connection has received, noted as it is read.
    struct Recorded {
        bool started = false;
        bool moved = false;
    };

  private:
    void recordMotion(bool on);
    void readRecorded();

    std::unique_ptr<X11EventConnection> control_;
    std::unique_ptr<X11EventConnection> data_;
    unsigned long context_ = 0;  // XRecordContext
    Recorded recorded_;
    std::function<void()> onMotion_;
};

}  // namespace tz
