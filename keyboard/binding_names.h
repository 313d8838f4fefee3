#pragma once
// The names a binding shows: language texts from the language table, key
// names as the key-state model shows them, the language of a keyboard
// layout. Window-free.
#include <cstdint>
#include <string>

#include "core/lang_table.h"

namespace snibbet {

class TQvKeyboard;

// Language text by number; "No text" when nothing better is known.
inline std::wstring LanguageText(int number, const std::wstring& fallback = std::wstring(kNoText)) {
  return LangText(number, fallback);
}

// The key-name table, "R" before codes 161 and 163.
std::wstring DefaultKeyName(int vk);

// Display name of a key as the key-state model shows it; without a model,
// DefaultKeyName.
std::wstring BindingKeyName(const TQvKeyboard* model, int vk);

// Name of the language of a keyboard-layout language id, through the key-state
// model's layouts; "" without a model.
std::wstring LayoutLanguageName(const TQvKeyboard* model, std::uint16_t languageId);

}  // namespace snibbet
