#pragma once
#include <string>

namespace tz {

// The user's entry that starts the program at logon. Failures are silent: the
// settings file stays the only record of the user's choice.
class StartupEntryStore {
  public:
    virtual ~StartupEntryStore() = default;
    // Creates or refreshes the entry so that it starts this executable, without arguments.
    virtual void write(const std::string& executablePath) = 0;
    // Deletes the entry; a missing entry is no error.
    virtual void remove() = 0;
};

}  // namespace tz
