// Points and rects on the device screen (240 x 320 pixels) as the window shows it, whatever the
// window's own size and scale.
#pragma once

namespace qn::platform {

struct ScreenPoint {
  int x = 0, y = 0;
  friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// Left and top inside, right and bottom outside.
struct ScreenRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

inline constexpr int kScreenWidth = 240;
inline constexpr int kScreenHeight = 320;
// The screen is composed at most this many times its size (the presentation scale).
inline constexpr int kLargestPresentationScale = 4;

}  // namespace qn::platform
