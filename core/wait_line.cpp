#include "core/wait_line.h"

#include <algorithm>

namespace snibbet {

int MovingLine::Tick() {
  if (offset_ > width_) offset_ = 0;
  const int drawn = offset_;
  offset_ += kStep;
  return drawn;
}

std::array<LineCopy, 2> MovingLine::Copies(int offset, int width) {
  width = std::max(width, 0);
  offset = std::clamp(offset, 0, width);
  return {LineCopy{0, offset, width - offset}, LineCopy{width - offset, 0, offset}};
}

}  // namespace snibbet
