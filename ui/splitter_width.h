#pragma once
// The width a splitter's drag may give the control beside it, window-free.
#include <algorithm>

namespace ui {

// `available`: the room the control and the rest share. The control keeps its
// own minimum even when the rest cannot have all of its.
constexpr int SplitterClampedWidth(int wanted, int minWidth, int available, int minRest) {
  return std::clamp(wanted, minWidth, std::max(minWidth, available - minRest));
}

}  // namespace ui
