#pragma once
// Geometry of key shapes: which shape a point hits, how tall a key is, and
// where the text of a polygon key goes. Window-free.
#include <vector>

#include "keyboard/layout_file.h"

namespace snibbet {

struct KeyRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const KeyRect&, const KeyRect&) = default;
};

// Even-odd test with a horizontal ray; false for fewer than three points.
bool PointInPolygon(const std::vector<KeyPoint>& polygon, int x, int y);

// One shape: two points a rectangle (edges included), three or more a polygon.
bool PointInOneShape(const std::vector<KeyPoint>& shape, int x, int y);

// Whether (x, y) lies on a key of `points`. For a key with two shapes the
// first is tried first; `whichShape` becomes 0 or 1 by the shape hit and is
// left alone for a key with one shape.
bool HitTestShape(const KeyShape& points, int x, int y, int& whichShape);

// Height of a key: a rectangle's, a polygon's span of y, 0 for fewer than two points.
int KeyHeight(const KeyShape& points);

// Where a polygon key's text goes. `compact`: the key shows a character,
// a function-key name or a picture (a 32 x 32 box); otherwise the box is made
// to fit the name, whose width and height are given.
KeyRect ComputeTextRect(const std::vector<KeyPoint>& polygon, bool compact, int nameWidth, int nameHeight);

}  // namespace snibbet
