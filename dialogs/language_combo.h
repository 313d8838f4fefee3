#pragma once
// The language list of the settings window and the first-run wizard: one
// item per installed language, its flag before its name.
#include "ui/image_combo_box.h"

namespace ui {
class ImageList;
}

namespace snibbet {

// Refills `combo` from the installed languages and selects `language`;
// English when `language` is not installed.
void FillLanguageCombo(ui::ImageComboBox& combo, const ui::ImageList* flags, int language);

// The language id of the combo's chosen item; 0 for none.
int ChosenLanguage(const ui::ImageComboBox& combo);

}  // namespace snibbet
