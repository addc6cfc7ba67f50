#pragma once

namespace tz {

class WindowManager;

// Puts the text table on the bar's tooltips, the options window and the exit
// window, in a fixed order. A window that does not exist yet is created by
// the step that first reaches it, and its load step runs there.
void ApplyTexts(WindowManager& windows);

}  // namespace tz
