#pragma once
#include <functional>
#include <memory>

class QSocketNotifier;

namespace tz {

// Turns SIGTERM, SIGINT and SIGHUP (the session ending, Ctrl+C, a closed
// terminal) into a call from the event loop, where the program can end in
// good order; a signal handler itself may do next to nothing. One at a time.
class TerminationSignals {
  public:
    explicit TerminationSignals(std::function<void()> onSignal);
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // A signal has arrived (and `onSignal` has run).
    bool received() const { return received_; }

  private:
    std::function<void()> onSignal_;
    int readEnd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
    bool received_ = false;
};

}  // namespace tz
