#pragma once
#include <vector>

#include "harness/Geometry.h"
#include "harness/X11Client.h"

namespace tz::e2e {

// The push buttons in the bottom row of a dialog such as a Qt message box,
// found on the screen by their frames: the lowest pixel row of the dialog
// holding long runs of frame-dark pixels gives the buttons' bottom edges, the
// next such run above each gives its top edge. Left to right, absolute
// coordinates; empty when no button frame is seen.
std::vector<Rect> findBottomButtons(const Screenshot& shot, const Rect& dialog);

}  // namespace tz::e2e
