#include "ui/font_name_combo.h"

#include <set>

#include "ui/gdi.h"

namespace ui {
namespace {

int CALLBACK CollectFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM names) {
  // '@' marks the vertical variant of an East Asian font.
  if (font->lfFaceName[0] != L'@') reinterpret_cast<std::set<std::wstring>*>(names)->insert(font->lfFaceName);
  return 1;
}

}  // namespace

DWORD FontNameComboBox::ControlStyle() const { return WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_SORT | CBS_AUTOHSCROLL; }

void FontNameComboBox::OnAttached() {
  std::set<std::wstring> names;
  LOGFONTW any{};
  any.lfCharSet = DEFAULT_CHARSET;
  WindowDC screen;
  EnumFontFamiliesExW(screen, &any, &CollectFamily, reinterpret_cast<LPARAM>(&names), 0);
  for (const std::wstring& name : names) AddItem(name);
}

void FontNameComboBox::SetFontName(std::wstring_view name) {
  const std::wstring wanted(name);
  const LRESULT index = Send(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wanted.c_str()));
  if (index != CB_ERR) {
    SetItemIndex(static_cast<int>(index));
  } else {
    SetItemIndex(-1);
    SetText(wanted);
  }
}

}  // namespace ui
