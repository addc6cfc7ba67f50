#include "unilabel/MessageTable.h"

#include <algorithm>

namespace tz {

bool MessageTable::add(long long message) {
    if (message == kAllMessages) {
        count_ = -1;
        return true;
    }
    if (message == 0 || contains(message)) {
        return true;  // 0 marks a free slot; every message is covered already
    }
    const auto used = slots_.begin() + count_;
    if (const auto free = std::find(slots_.begin(), used, 0); free != used) {
        *free = message;
        return true;
    }
    if (count_ == kMessageEntries) {
        return false;
    }
    slots_[count_++] = message;
    return true;
}

void MessageTable::remove(long long message) {
    if (message == kAllMessages) {
        clear();
        return;
    }
    if (message == 0 || count_ == -1) {
        return;
    }
    std::replace(slots_.begin(), slots_.begin() + count_, message, 0LL);
}

void MessageTable::clear() {
    count_ = 0;
    slots_.fill(0);
}

bool MessageTable::contains(long long message) const {
    if (count_ == -1) {
        return true;
    }
    if (message == 0) {
        return false;
    }
    return std::find(slots_.begin(), slots_.begin() + count_, message) != slots_.begin() + count_;
}

AddMessagesOutcome addMessages(MessageTables& tables, int when,
                               const std::vector<long long>& messages) {
    AddMessagesOutcome outcome;
    for (const long long message : messages) {
        if ((when & kHookBefore) && !outcome.beforeOverflowed) {
            outcome.beforeOverflowed = !tables.before.add(message);
        }
        if ((when & kHookAfter) && !outcome.afterOverflowed) {
            outcome.afterOverflowed = !tables.after.add(message);
        }
    }
    return outcome;
}

void removeMessages(MessageTables& tables, int when, const std::vector<long long>& messages) {
    for (const long long message : messages) {
        if (when & kHookBefore) {
            tables.before.remove(message);
        }
        if (when & kHookAfter) {
            tables.after.remove(message);
        }
    }
}

std::string hookKey(std::uint64_t handle) {
    return std::to_string(handle) + "h";
}

}  // namespace tz
