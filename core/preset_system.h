#pragma once
// The system facts behind the settings defaults, each behind one replaceable
// query so that tests can pose as any keyboard setup or system language.
#include <windows.h>

#include <vector>

namespace snibbet {

using KeyboardLayoutQuery = std::vector<HKL> (*)();
using UiLanguageQuery = LANGID (*)();

// The installed keyboard layouts, at most 40, in the system's order.
std::vector<HKL> InstalledKeyboardLayouts();
// The system's default user-interface language identifier.
LANGID DefaultUiLanguage();

// Replace a query; nullptr restores the system's. Returns the previous one.
KeyboardLayoutQuery ReplaceKeyboardLayoutQuery(KeyboardLayoutQuery query);
UiLanguageQuery ReplaceUiLanguageQuery(UiLanguageQuery query);

}  // namespace snibbet
