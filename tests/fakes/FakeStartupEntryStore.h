#pragma once
// A start-at-logon entry kept in memory, for tests.
#include <optional>
#include <string>

#include "platform/StartupEntryStore.h"

namespace tz::fake {

class FakeStartupEntryStore : public StartupEntryStore {
  public:
    void write(const std::string& executablePath) override {
        entry = executablePath;
        ++writes;
    }
    void remove() override {
        entry.reset();
        ++removals;
    }

    // The executable the entry starts, when there is an entry.
    std::optional<std::string> entry;
    int writes = 0;
    int removals = 0;
};

}  // namespace tz::fake
