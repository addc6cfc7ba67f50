#pragma once
#include <memory>

#include "platform/GlobalKey.h"
#include "platform/linux/X11EventConnection.h"

namespace tz {

// A passive key grab on the root window, on a connection of its own, taken
// with and without Caps Lock and Num Lock so that neither gets in the way.
class X11GlobalKey : public GlobalKey {
  public:
    X11GlobalKey();
    ~X11GlobalKey() override;
    X11GlobalKey(const X11GlobalKey&) = delete;
    X11GlobalKey& operator=(const X11GlobalKey&) = delete;

    bool grab(const std::string& keyName, std::function<void()> onPress) override;
    void release() override;

  private:
    void readEvents();

    int keycode_ = 0;  // the grabbed key, 0: none
    bool keyDown_ = false;
    std::function<void()> onPress_;
    std::unique_ptr<X11EventConnection> connection_;
};

}  // namespace tz
