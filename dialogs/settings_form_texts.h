#pragma once
// Text helpers of the settings window's pages.
#include <initializer_list>
#include <string>

#include "core/lang_table.h"
#include "core/product_name.h"
#include "core/text_utils.h"

namespace snibbet {

// A language text with the product's name in place of "%1".
inline std::wstring WithProductName(int text) { return FormatText(Lang().GetText(text, kNoText), {kProductName}); }

// Language texts one per line, as a list's items.
inline std::wstring JoinedTexts(std::initializer_list<int> texts) {
  std::wstring joined;
  for (int text : texts) {
    if (!joined.empty()) joined += L"\r\n";
    joined += Lang().GetText(text, kNoText);
  }
  return joined;
}

// A list's items from the lines of `text`; the chosen item stays chosen.
template <class List>
void SetListLines(List& list, const std::wstring& text) {
  const int chosen = list.ItemIndex();
  list.Clear();
  size_t start = 0;
  for (;;) {
    const size_t end = text.find(L"\r\n", start);
    list.AddItem(text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
    if (end == std::wstring::npos) break;
    start = end + 2;
  }
  if (chosen >= 0 && chosen < list.Count()) list.SetItemIndex(chosen);
}

}  // namespace snibbet
