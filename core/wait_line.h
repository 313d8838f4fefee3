#pragma once
// The moving line of the wait form: one picture as wide as the line, shown
// shifted right by an offset that grows 10 px a tick and starts again from 0
// once it has passed the width, so a gleam seems to run along the line.
// Window-free.
#include <array>

namespace snibbet {

// One copy of picture columns to the screen: `width` columns from
// `sourceLeft` of the picture to `destLeft` of the line.
struct LineCopy {
  int sourceLeft = 0;
  int destLeft = 0;
  int width = 0;
  bool operator==(const LineCopy&) const = default;
};

class MovingLine {
 public:
  static constexpr int kStep = 10;  // px per tick

  explicit MovingLine(int width) : width_(width < 0 ? 0 : width) {}

  // The offset to draw at this tick; the next tick's lies kStep further on,
  // back at 0 once the offset has grown past the width.
  int Tick();
  int Offset() const { return offset_; }
  int Width() const { return width_; }

  // The two copies that show the picture shifted right by `offset` with
  // wrap-around: its left part goes to the right of the offset, the part
  // that falls off the right edge comes back in on the left. An offset
  // outside 0..width is taken as the nearest end.
  static std::array<LineCopy, 2> Copies(int offset, int width);

 private:
  int width_;
  int offset_ = 0;
};

}  // namespace snibbet
