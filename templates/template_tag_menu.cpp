#include "templates/template_tag_menu.h"

#include <span>

#include "core/clipboard_access.h"
#include "core/lang_table.h"
#include "templates/tag_date_locale_win.h"
#include "templates/template_tag_menu_items.h"

namespace snibbet {

TemplateTagMenu::TemplateTagMenu(const TagPasteTarget& target)
    : target_(target), pmTemplates_(nullptr, L"pmTemplates") {
  Build();
  ApplyLanguage();
}

void TemplateTagMenu::Build() {
  auto addSubmenu = [this](const wchar_t* name, std::span<const TagMenuItem> items) {
    ui::MenuItem& submenu = pmTemplates_.Add(name, {});
    for (const TagMenuItem& item : items)
      submenu.Add(item.name, item.caption, [this, tag = item.tag] { pmiTemplateClick(tag); });
  };
  auto addItem = [this](const wchar_t* name, int tag) {
    pmTemplates_.Add(name, {}, [this, tag] { pmiTemplateClick(tag); });
  };
  addSubmenu(L"pmiCurrentDate", TagMenuDateItems());
  addSubmenu(L"pmiCurrentTime", TagMenuTimeItems());
  addSubmenu(L"pmiDateandTime", TagMenuDateTimeItems());
  pmTemplates_.AddSeparator(L"pmiTemplateSepr1");
  addSubmenu(L"pmiPressKeys", TagMenuKeyItems());
  pmTemplates_.AddSeparator(L"pmiTemplateSepr2");
  addItem(L"pmiSomeOfTag", 500);
  addItem(L"pmiTextFile", 600);
  addItem(L"pmiSelectionText", 700);
  addItem(L"pmiClipboardContent", 800);
}

void TemplateTagMenu::ApplyLanguage() {
  pmTemplates_.Item(L"pmiCurrentDate").caption = LangText(533, L"Current date");
  pmTemplates_.Item(L"pmiCurrentTime").caption = LangText(534, L"Current time");
  pmTemplates_.Item(L"pmiDateandTime").caption = LangText(535, L"Date and time");
  pmTemplates_.Item(L"pmiPressKeys").caption = LangText(536, L"Press keys");
  pmTemplates_.Item(L"pmiSomeOfTag").caption = LangText(537, L"Random choice");
  pmTemplates_.Item(L"pmiTextFile").caption = LangText(538, L"Text of a file");
  pmTemplates_.Item(L"pmiClipboardContent").caption = LangText(539, L"Clipboard text");
  pmTemplates_.Item(L"pmiSelectionText").caption = LangText(540, L"Selected text");
  const SystemTagPatterns system = TagPatternsOf(CurrentSystemPictures());
  const DateTimeContext now = CurrentDateTimeContext();
  for (auto items : {TagMenuDateItems(), TagMenuTimeItems(), TagMenuDateTimeItems()}) {
    for (const TagMenuItem& item : items) {
      ui::MenuItem& menuItem = pmTemplates_.Item(item.name);
      menuItem.caption =
          CaptionWithSample(menuItem.caption, FormatDateTime(TagMenuSampleFormat(item.tag, system), now));
    }
  }
}

void TemplateTagMenu::pmiTemplateClick(int tag) {
  // The locale of this moment, not of the last language change.
  const std::wstring text = TagMenuText(tag, TagPatternsOf(CurrentSystemPictures()));
  if (!PutClipboardText(text)) return;
  if (!target_.EditorIsActiveForm()) return;
  if (HWND memo = target_.EditorMemo()) SendMessageW(memo, WM_PASTE, 0, 0);
}

}  // namespace snibbet
