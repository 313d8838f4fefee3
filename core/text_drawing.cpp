#include "core/text_drawing.h"

#include <string>

namespace snibbet {
namespace {

constexpr UINT kFormatFlags[] = {
    DT_BOTTOM, DT_CALCRECT, DT_CENTER, DT_EDITCONTROL, DT_END_ELLIPSIS, DT_PATH_ELLIPSIS,
    DT_EXPANDTABS, DT_EXTERNALLEADING, DT_LEFT, DT_MODIFYSTRING, DT_NOCLIP, DT_NOPREFIX,
    DT_RIGHT, DT_RTLREADING, DT_SINGLELINE, DT_TOP, DT_VCENTER, DT_WORDBREAK,
};
constexpr int kMaxCharsAddedByEllipsis = 4;

bool DrawsBackground(const CanvasStyle& style) {
  return !style.brushClear && style.brushColor != kTransparentBrushColor;
}

// Background mode and colour for one drawing, put back afterwards.
class BackgroundScope {
 public:
  BackgroundScope(HDC dc, const CanvasStyle& style)
      : dc_(dc), mode_(SetBkMode(dc, DrawsBackground(style) ? OPAQUE : TRANSPARENT)),
        color_(SetBkColor(dc, style.brushColor)) {}
  ~BackgroundScope() {
    SetBkMode(dc_, mode_);
    SetBkColor(dc_, color_);
  }
  BackgroundScope(const BackgroundScope&) = delete;
  BackgroundScope& operator=(const BackgroundScope&) = delete;

 private:
  HDC dc_;
  int mode_;
  COLORREF color_;
};

}  // namespace

void DrawTextOutW(HDC dc, const CanvasStyle& style, const RECT& clip, int x, std::wstring_view text, int y) {
  const int length = static_cast<int>(text.size());
  UINT options = style.textFlags | ETO_CLIPPED;
  if (DrawsBackground(style)) options |= ETO_OPAQUE;
  if ((style.textFlags & ETO_RTLREADING) && (GetTextAlign(dc) & TA_RTLREADING)) {
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.data(), length, &extent);
    x += extent.cx + 1;
  }
  BackgroundScope background(dc, style);
  ExtTextOutW(dc, x, y, options, &clip, text.data(), static_cast<UINT>(length), nullptr);
}

UINT TextFormatFlags(std::initializer_list<TextFormat> formats) {
  UINT flags = 0;
  for (TextFormat format : formats) flags |= kFormatFlags[static_cast<int>(format)];
  return flags;
}

int DrawTextInRect(HDC dc, const CanvasStyle& style, RECT& rect, std::wstring_view text,
                   std::initializer_list<TextFormat> formats) {
  std::wstring buffer(text == L"&" ? std::wstring_view(L"&&") : text);
  const int length = static_cast<int>(buffer.size());
  buffer.resize(buffer.size() + kMaxCharsAddedByEllipsis);  // room for ModifyString's ellipsis
  BackgroundScope background(dc, style);
  return DrawTextW(dc, buffer.data(), length, &rect, TextFormatFlags(formats));
}

}  // namespace snibbet
