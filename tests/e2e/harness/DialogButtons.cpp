#include "harness/DialogButtons.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace tz::e2e {

namespace {

constexpr int kMinimumButtonWidth = 40;
constexpr int kMaximumButtonHeight = 80;
constexpr int kDarkerBy = 40;  // a frame is clearly darker than the dialog's face

int luminance(std::uint32_t rgb) {
    const int r = static_cast<int>((rgb >> 16) & 0xff);
    const int g = static_cast<int>((rgb >> 8) & 0xff);
    const int b = static_cast<int>(rgb & 0xff);
    return (r * 299 + g * 587 + b * 114) / 1000;
}

}  // namespace

std::vector<Rect> findBottomButtons(const Screenshot& shot, const Rect& dialog) {
    const int left = std::max(dialog.x, 0);
    const int right = std::min(dialog.x + dialog.width, shot.width);  // exclusive
    const int top = std::max(dialog.y, 0);
    const int bottom = std::min(dialog.y + dialog.height, shot.height);  // exclusive
    if (right - left < 8 || bottom - top < 8) {
        return {};
    }
    const auto at = [&](int x, int y) {
        return shot.pixels[static_cast<size_t>(y) * static_cast<size_t>(shot.width) +
                           static_cast<size_t>(x)];
    };
    // The face colour, from the corner beyond the layout's margins.
    const int face = luminance(at(right - 3, bottom - 3));
    const auto dark = [&](int x, int y) { return luminance(at(x, y)) + kDarkerBy < face; };

    // The lowest row with long dark runs: the bottom edges of the buttons.
    std::vector<std::pair<int, int>> runs;  // [first, last] x
    int edgeRow = -1;
    for (int y = bottom - 1; y >= top + (bottom - top) / 2 && edgeRow < 0; --y) {
        for (int x = left; x < right;) {
            if (!dark(x, y)) {
                ++x;
                continue;
            }
            const int first = x;
            while (x < right && dark(x, y)) {
                ++x;
            }
            if (x - first >= kMinimumButtonWidth) {
                runs.emplace_back(first, x - 1);
                edgeRow = y;
            }
        }
    }

    std::vector<Rect> buttons;
    for (const auto& [first, last] : runs) {
        const int length = last - first + 1;
        // The top edge: the next row above, at least a few pixels up, that
        // is dark along most of the same span.
        for (int y = edgeRow - 4; y >= std::max(top, edgeRow - kMaximumButtonHeight); --y) {
            int count = 0;
            for (int x = first; x <= last; ++x) {
                count += dark(x, y) ? 1 : 0;
            }
            if (count * 5 >= length * 4) {
                buttons.push_back({first, y, length, edgeRow - y + 1});
                break;
            }
        }
    }
    return buttons;
}

}  // namespace tz::e2e
