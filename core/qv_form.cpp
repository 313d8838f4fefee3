#include "core/qv_form.h"

#include "core/busy_cursor.h"
#include "core/lang_table.h"

namespace snibbet {

BYTE FontCharsetForLanguage(int language) {
  switch (language) {
    case 1028: case 4: return CHINESEBIG5_CHARSET;  // 136
    case 1041: case 17: return SHIFTJIS_CHARSET;    // 128
    case 2052: return GB2312_CHARSET;               // 134
    default: return DEFAULT_CHARSET;                // 1
  }
}

void ApplyLanguageCharset(ui::Form& form) {
  const TQvLang* table = LangOrNull();
  if (!table || !table->LanguageSetting() || !form.IsCreated()) return;
  LOGFONTW font = form.FontDescription();
  const BYTE charset = FontCharsetForLanguage(*table->LanguageSetting());
  if (font.lfCharSet == charset) return;
  font.lfCharSet = charset;
  form.SetFont(font);
}

void RepaintNow(HWND window) {
  if (window) RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

bool SetScreenCursor() {
  HCURSOR cursor = ScreenCursor();
  if (!cursor) return false;
  SetCursor(cursor);
  return true;
}

}  // namespace snibbet
