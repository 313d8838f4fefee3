#include "dialogs/language_combo.h"

#include <vector>

#include "core/lang_list.h"

namespace snibbet {

void FillLanguageCombo(ui::ImageComboBox& combo, const ui::ImageList* flags, int language) {
  combo.SetImages(flags);
  combo.Clear();
  int chosen = -1;
  const std::vector<LanguageRecord>& languages = LanguageList();
  for (size_t i = 0; i < languages.size(); ++i) {
    combo.AddItem(languages[i].DisplayName, languages[i].FlagIndex);
    // An exact match wins; English is the fallback.
    if (languages[i].LangId == language) chosen = static_cast<int>(i);
    else if (chosen < 0 && languages[i].LangId == 1033) chosen = static_cast<int>(i);
  }
  if (chosen >= 0) combo.SetItemIndex(chosen);
}

int ChosenLanguage(const ui::ImageComboBox& combo) {
  const int chosen = combo.ItemIndex();
  const std::vector<LanguageRecord>& languages = LanguageList();
  if (chosen < 0 || chosen >= static_cast<int>(languages.size())) return 0;
  return languages[static_cast<size_t>(chosen)].LangId;
}

}  // namespace snibbet
