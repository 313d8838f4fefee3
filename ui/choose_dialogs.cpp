#include "ui/choose_dialogs.h"

#include <commdlg.h>

#include "ui/application.h"
#include "ui/gdi.h"

namespace ui {
namespace {
constexpr int kPointsPerInch = 72;
}  // namespace

std::optional<FontChoice> ChooseFontDialog(const FontChoice& initial, HWND owner) {
  LOGFONTW font = initial.font;
  WindowDC screen;
  if (initial.pointSize > 0) {
    font.lfHeight = -MulDiv(initial.pointSize, GetDeviceCaps(screen, LOGPIXELSY), kPointsPerInch);
  }
  CHOOSEFONTW request{};
  request.lStructSize = sizeof request;
  request.hwndOwner = owner ? owner : ApplicationWindow();
  request.lpLogFont = &font;
  request.rgbColors = initial.color;
  request.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
  if (!ChooseFontW(&request)) return std::nullopt;
  return FontChoice{font, request.iPointSize / 10, request.rgbColors};  // iPointSize: tenths of a point
}

std::optional<COLORREF> ChooseColorDialog(COLORREF initial, CustomColors& custom, HWND owner) {
  CHOOSECOLORW request{};
  request.lStructSize = sizeof request;
  request.hwndOwner = owner ? owner : ApplicationWindow();
  request.rgbResult = initial;
  request.lpCustColors = custom.data();
  request.Flags = CC_RGBINIT | CC_ANYCOLOR;
  if (!ChooseColorW(&request)) return std::nullopt;
  return request.rgbResult;
}

}  // namespace ui
