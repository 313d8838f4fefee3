#pragma once
// Keyboard layout files: the picture of a keyboard as text. Leading ";" lines
// describe the layout; then "Name=Value" lines: Height, Width, Background,
// Info, and one line per key code with the key's shape as points
// "x,y;x,y;...". Two points are a rectangle, three or more a polygon; the
// point "-1,-1" separates a key's second (extended) shape. Window-free.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace snibbet {

struct KeyPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const KeyPoint&, const KeyPoint&) = default;
};

inline constexpr KeyPoint kShapeSeparator{-1, -1};

using KeyShape = std::vector<KeyPoint>;  // may hold one separator

struct KeyboardLayoutFile {
  static constexpr int kDefaultHeight = 300;
  static constexpr int kDefaultWidth = 800;
  // The view size a file may ask for, and the coordinates a point may have.
  static constexpr int kMaxSize = 10000;
  static constexpr int kMinCoordinate = -32768, kMaxCoordinate = 32767;

  std::wstring description;  // each leading ";" line without its ";", then CR LF
  int height = kDefaultHeight;
  int width = kDefaultWidth;
  std::wstring background;  // file name relative to the Keyboards folder; empty for none
  std::wstring info;
  std::array<KeyShape, 256> shapes;  // by key code 1..255; empty for none
};

struct LayoutFileError {
  enum class Kind {
    kBadNumber,      // `text` is not a whole decimal number
    kOutOfRange,     // `text` is a number outside what its place allows
    kBrokenShape,    // the shape of key `text` has an empty part around "-1,-1"
  };
  Kind kind = Kind::kBadNumber;
  int line = 0;  // 1-based
  std::wstring text;
};

struct LayoutParseResult {
  std::optional<KeyboardLayoutFile> layout;  // none on error
  LayoutFileError error;
};

// Reads a whole layout file. Any malformed number fails the whole file, so a
// broken file never half-replaces a good layout.
LayoutParseResult ParseKeyboardLayout(std::wstring_view text);

// The layout used when no file of the chosen name exists: 103 keys on a
// view of 777 x 243 pixels.
std::wstring_view BuiltInKeyboardLayout();

// Shapes split at the separator: the key itself, then its extended variant (may be empty).
std::pair<std::vector<KeyPoint>, std::vector<KeyPoint>> SplitShapes(const KeyShape& shape);

}  // namespace snibbet
