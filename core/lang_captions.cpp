#include "core/lang_captions.h"

#include <iterator>

#include "core/lang_table.h"

namespace snibbet {

void SetControlText(int32_t id, HWND control) { SetWindowTextW(control, Lang().GetText(id).c_str()); }

void SetMenuItemCaption(int32_t id, HMENU menu, UINT command) {
  std::wstring text = Lang().GetText(id);
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STRING;
  info.dwTypeData = text.data();
  SetMenuItemInfoW(menu, command, FALSE, &info);
}

std::wstring BuildColorSchemeNames() {
  const std::wstring names[] = {LangText(514), LangText(342), LangText(509), LangText(510), LangText(557),
                                LangText(511), LangText(512), LangText(513), LangText(530)};
  std::wstring joined;
  for (size_t i = 0; i < std::size(names); ++i) {
    if (i > 0) joined += L"\r\n";
    joined += names[i];
  }
  return joined;
}

}  // namespace snibbet
