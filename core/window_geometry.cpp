#include "core/window_geometry.h"

namespace snibbet {

ScreenPoint FitIntoArea(const ScreenRect& window, const ScreenRect& area) {
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  ScreenPoint corner{window.left, window.top};
  if (corner.x < area.left) corner.x = area.left;
  if (corner.y < area.top) corner.y = area.top;
  if (corner.x + width > area.right) corner.x = area.right - width;
  if (corner.y + height > area.bottom) corner.y = area.bottom - height;
  return corner;
}

}  // namespace snibbet
