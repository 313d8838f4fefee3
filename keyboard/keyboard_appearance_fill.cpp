#include "keyboard/keyboard_appearance_fill.h"

#include <windows.h>

#include <algorithm>

#include "core/preset.h"
#include "ui/gdi.h"
#include "visual/office11_colors.h"
#include "visual/system_colors.h"

namespace snibbet {
namespace {

constexpr std::uint32_t SystemColour(int index) { return 0xFF000000u | static_cast<std::uint32_t>(index); }

int MeasuredLineHeight(const KeyboardAppearance& a) {
  ui::WindowDC screen;
  ui::Font font(CreateKeyboardViewFont(screen, a));
  ui::SelectedObject selected(screen, font.Get());
  SIZE size{};
  GetTextExtentPoint32W(screen, L"gW", 2, &size);
  return size.cy;
}

}  // namespace

HFONT CreateKeyboardViewFont(HDC dc, const KeyboardAppearance& a) {
  const int height = -MulDiv(a.charFontSize, GetDeviceCaps(dc, LOGPIXELSY), 72);
  return CreateFontW(height, 0, 0, 0, a.labelBold ? FW_BOLD : FW_NORMAL, a.labelItalic, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, a.labelFontName.c_str());
}

SchemeColourSource SystemSchemeColours() {
  SchemeColourSource source;
  source.systemColour = [](int index) -> KeyColour { return GetSysColor(index); };
  source.officeColour = [](int entry) -> KeyColour { return Office11Color(entry); };
  source.plainColour = [](KeyColour colour) -> KeyColour { return ColorToRgb(colour); };
  source.lightHighlight = LightHighlightColor();
  source.paleHighlight = PaleHighlightColor();
  return source;
}

void FillKeyboardAppearance(KeyboardAppearance& appearance, const TPreset* preset, bool viewExists) {
  if (preset) {
    appearance.labelFontName = preset->ThemeFontName();
    appearance.labelFontSize = preset->ThemeFontSize();
    appearance.labelBold = preset->ThemeFontBold();
    appearance.labelItalic = preset->ThemeFontItalic();
    appearance.charFontName = preset->ThemeInfoFontName();
    appearance.charFontSize = preset->ThemeInfoFontSize();
    appearance.charBold = preset->ThemeInfoFontBold();
    appearance.charItalic = preset->ThemeInfoFontItalic();
  }
  appearance.lineHeight = viewExists ? std::max(MeasuredLineHeight(appearance), kMinLineHeight) : kMinLineHeight;

  appearance.activeCaptionTop = TintColor(SystemColour(COLOR_ACTIVECAPTION), 55);
  appearance.activeCaptionBottom = ShadeColor(SystemColour(COLOR_ACTIVECAPTION), 85);
  appearance.activeCaptionText = GetSysColor(COLOR_CAPTIONTEXT);
  appearance.inactiveCaptionTop = TintColor(SystemColour(COLOR_INACTIVECAPTION), 55);
  appearance.inactiveCaptionBottom = ShadeColor(SystemColour(COLOR_INACTIVECAPTION), 85);
  appearance.inactiveCaptionText = GetSysColor(COLOR_INACTIVECAPTIONTEXT);

  UserColours user{};
  if (preset) std::copy(preset->Colors().begin(), preset->Colors().end(), user.begin());
  const int scheme = preset ? preset->ColorScheme() : 0;
  static_cast<KeySchemeColours&>(appearance) = SchemeKeyColours(scheme, user, SystemSchemeColours());
}

}  // namespace snibbet
