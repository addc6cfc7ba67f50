#pragma once

namespace tz::e2e {

// Replaces Xlib's default error handler (which exits the process) with one that
// ignores errors: windows of the program under test may vanish between a
// query and the next request. Idempotent.
void installTolerantErrorHandler();

}  // namespace tz::e2e
