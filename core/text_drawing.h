#pragma once
// Text onto a device context with the conventions of the program's painting:
// a lime brush (0x00FF00, the transparent colour of the keyboard windows)
// means "no background".
#include <windows.h>

#include <initializer_list>
#include <string_view>

namespace snibbet {

inline constexpr COLORREF kTransparentBrushColor = 0x00FF00;

// The canvas settings the text honours besides the font and colour already
// selected into the device context.
struct CanvasStyle {
  COLORREF brushColor = RGB(255, 255, 255);
  bool brushClear = false;  // the background is left as it is
  UINT textFlags = 0;       // ETO_ flags of the canvas, e.g. ETO_RTLREADING
};

// `text` at (x, y), clipped to `clip`; the background is filled with the brush
// colour unless the brush is clear or lime. Right-to-left canvases
// (ETO_RTLREADING with TA_RTLREADING alignment) take x as the left end.
void DrawTextOutW(HDC dc, const CanvasStyle& style, const RECT& clip, int x, std::wstring_view text, int y);

// Formatting choices, each one text-drawing flag.
enum class TextFormat {
  Bottom, CalcRect, Center, EditControl, EndEllipsis, PathEllipsis, ExpandTabs, ExternalLeading, Left,
  ModifyString, NoClip, NoPrefix, Right, RtlReading, SingleLine, Top, VCenter, WordBreak,
};

UINT TextFormatFlags(std::initializer_list<TextFormat> formats);

// Formatted text in `rect` (which CalcRect updates), with the same background
// rule as DrawTextOutW. A lone "&" is shown, not taken as a prefix marker.
// Returns the text's height, 0 on failure.
int DrawTextInRect(HDC dc, const CanvasStyle& style, RECT& rect, std::wstring_view text,
                   std::initializer_list<TextFormat> formats);

}  // namespace snibbet
