#include "keyboard/key_shape.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace snibbet {
namespace {

constexpr int kMinTextHeight = 16;

struct Bounds {
  int minX = std::numeric_limits<int>::max(), minY = std::numeric_limits<int>::max();
  int maxX = std::numeric_limits<int>::min(), maxY = std::numeric_limits<int>::min();
};

Bounds BoundsOf(const std::vector<KeyPoint>& points) {
  Bounds b;
  for (const KeyPoint& p : points) {
    b.minX = std::min(b.minX, p.x);
    b.minY = std::min(b.minY, p.y);
    b.maxX = std::max(b.maxX, p.x);
    b.maxY = std::max(b.maxY, p.y);
  }
  return b;
}

KeyRect Around(int cx, int cy, int halfWidth, int halfHeight) {
  return {cx - halfWidth, cy - halfHeight, cx + halfWidth, cy + halfHeight};
}

bool StrictlyInside(const KeyRect& r, const KeyPoint& p) {
  return p.x > r.left + 1 && p.x < r.right - 1 && p.y > r.top + 1 && p.y < r.bottom - 1;
}

// Corners of the polygon that stick into the box push it up or down (move)
// or cut its top or bottom edge off (shrink).
KeyRect FitVertically(KeyRect r, const std::vector<KeyPoint>& polygon, bool move) {
  for (const KeyPoint& p : polygon) {
    if (!StrictlyInside(r, p)) continue;
    const int height = r.Height();
    const bool upperHalf = p.y <= (r.top + r.bottom) / 2;
    if (upperHalf) {
      r.top = p.y;
      if (move) r.bottom = p.y + height;
    } else {
      r.bottom = p.y;
      if (move) r.top = p.y - height;
    }
  }
  return r;
}

KeyRect InitialRect(int cx, int cy, bool compact, int nameWidth, int nameHeight) {
  if (compact) return Around(cx, cy, 16, 16);
  return Around(cx, cy, std::max(nameWidth / 2 + 2, 16), std::max(nameHeight + 2, 16));
}

KeyRect FittedRect(const std::vector<KeyPoint>& polygon, int cx, int cy, bool compact, int nameWidth, int nameHeight) {
  const KeyRect moved = FitVertically(InitialRect(cx, cy, compact, nameWidth, nameHeight), polygon, true);
  return FitVertically(moved, polygon, false);
}

// The largest box with polygon corners as its top-left and bottom-right,
// one up-left and one down-right of the centre.
KeyRect LargestCornerRect(const std::vector<KeyPoint>& polygon, int cx, int cy) {
  KeyRect r{0, 0, 0, 0};  // relative to the centre
  for (const KeyPoint& p : polygon) {
    const int dx = p.x - cx, dy = p.y - cy;
    if (dx < 0 && dy < 0 &&
        std::int64_t{r.right - dx} * (r.bottom - dy) > std::int64_t{r.right - r.left} * (r.bottom - r.top)) {
      r.left = dx;
      r.top = dy;
    }
  }
  for (const KeyPoint& p : polygon) {
    const int dx = p.x - cx, dy = p.y - cy;
    if (dx >= 1 && dy >= 1 &&
        std::int64_t{dx - r.left} * (dy - r.top) > std::int64_t{r.right - r.left} * (r.bottom - r.top)) {
      r.right = dx;
      r.bottom = dy;
    }
  }
  return {cx + r.left, cy + r.top, cx + r.right - 1, cy + r.bottom - 1};
}

}  // namespace

bool PointInPolygon(const std::vector<KeyPoint>& polygon, int x, int y) {
  if (polygon.size() < 3) return false;
  bool inside = false;
  for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
    const KeyPoint& p = polygon[j];
    const KeyPoint& q = polygon[i];
    if ((q.y >= y) != (y > p.y)) continue;
    const double crossing = static_cast<double>(y - p.y) * (q.x - p.x) / (q.y - p.y);
    if (x - p.x < crossing) inside = !inside;
  }
  return inside;
}

bool PointInOneShape(const std::vector<KeyPoint>& shape, int x, int y) {
  if (shape.size() == 2) {
    return x >= shape[0].x && x <= shape[1].x && y >= shape[0].y && y <= shape[1].y;
  }
  return PointInPolygon(shape, x, y);
}

bool HitTestShape(const KeyShape& points, int x, int y, int& whichShape) {
  const auto [first, second] = SplitShapes(points);
  if (second.empty()) return PointInOneShape(first, x, y);
  if (PointInOneShape(first, x, y)) {
    whichShape = 0;
    return true;
  }
  if (PointInOneShape(second, x, y)) {
    whichShape = 1;
    return true;
  }
  return false;
}

int KeyHeight(const KeyShape& points) {
  if (points.size() == 2) return points[1].y - points[0].y;
  if (points.size() < 3) return 0;
  int top = std::numeric_limits<int>::max(), bottom = std::numeric_limits<int>::min();
  for (const KeyPoint& p : points) {
    if (p == kShapeSeparator) continue;
    top = std::min(top, p.y);
    bottom = std::max(bottom, p.y);
  }
  return bottom - top;
}

KeyRect ComputeTextRect(const std::vector<KeyPoint>& polygon, bool compact, int nameWidth, int nameHeight) {
  if (polygon.empty()) return {};
  const Bounds b = BoundsOf(polygon);
  const int cx = (b.minX + b.maxX) / 2, cy = (b.minY + b.maxY) / 2;
  const KeyRect fitted = FittedRect(polygon, cx, cy, compact, nameWidth, nameHeight);
  if (PointInOneShape(polygon, fitted.left, fitted.top) && PointInOneShape(polygon, fitted.right, fitted.bottom))
    return fitted;
  const KeyRect corners = FitVertically(LargestCornerRect(polygon, cx, cy), polygon, false);
  if (corners.Height() >= kMinTextHeight) return corners;
  return fitted;
}

}  // namespace snibbet
