#pragma once
// The message tables and registry keys of the control message hooking service
// (controls/MessageHook.h). Message numbers are plain integers here; the
// hooking service uses the toolkit's event types.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tz {

// Distinct messages one table can hold. A control that needs more asks for
// every message instead.
inline constexpr int kMessageEntries = 32;
// The message number that stands for every message.
inline constexpr long long kAllMessages = -1;

// Which tables of a hooked window an operation addresses (bits, combined).
enum HookWhen : int {
    kHookBefore = 1,  // before the window's own handling
    kHookAfter = 2,   // after it
    kHookBoth = 3,
};

// The messages for which a hooked window's callback runs at one moment
// (before or after the window's own handling). Slots holding 0 are free and
// taken again by the next message added.
class MessageTable {
  public:
    // Adds one message; -1 makes the table take every message and 0 adds
    // nothing. A message already present is not stored twice. Returns false
    // when no slot is left.
    bool add(long long message);
    // Frees the slot holding the message; -1 empties the table.
    void remove(long long message);
    void clear();

    bool contains(long long message) const;
    bool takesEveryMessage() const { return count_ == -1; }
    // Slots used so far (freed ones included), or -1 for every message.
    int count() const { return count_; }

  private:
    int count_ = 0;
    std::array<long long, kMessageEntries> slots_{};
};

// A hooked window's two tables.
struct MessageTables {
    MessageTable before;
    MessageTable after;
};

// Which tables overflowed in one call of addMessages.
struct AddMessagesOutcome {
    bool beforeOverflowed = false;
    bool afterOverflowed = false;
    bool ok() const { return !beforeOverflowed && !afterOverflowed; }
};

// Adds the messages, in order, to the tables chosen by `when`. A table that
// overflows takes no further message of this call; the other table goes on.
AddMessagesOutcome addMessages(MessageTables& tables, int when,
                               const std::vector<long long>& messages);
// Frees the messages in the tables chosen by `when`.
void removeMessages(MessageTables& tables, int when, const std::vector<long long>& messages);

// The registry key of a hooked window: its handle in decimal followed by "h".
std::string hookKey(std::uint64_t handle);

}  // namespace tz
