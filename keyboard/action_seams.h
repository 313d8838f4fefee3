#pragma once
// What the binding list needs from parts of the program that live elsewhere:
// the language table, the key names of the settings object, the data module's
// bindings-changed flag and the binding-picture cache. Each seam has a stand-in
// so the list works on its own (and in tests); the program wires the real ones
// once at start-up. Window-free.
#include <cstdint>
#include <functional>
#include <string>

#include "core/control_set.h"

namespace snibbet {

class TQvAction;

struct ActionSeams {
  // Language text by number; the stand-in answers the fallback.
  std::function<std::wstring(int number, const std::wstring& fallback)> languageText;
  // Display name of a key as the key-state model shows it; the stand-in uses
  // the key-name table, with "R" in front of right Shift and right Ctrl.
  std::function<std::wstring(int vk)> keyName;
  // Name of the language of a keyboard-layout language id; the stand-in answers "".
  std::function<std::wstring(std::uint16_t languageId)> layoutLanguageName;
  // The list changed: the bindings menu must be rebuilt.
  std::function<void()> actionsChanged;
  // The cached picture of (key, set) is stale.
  std::function<void(std::uint8_t key, ControlSet set)> pictureRemoved;
  // A binding is about to be freed: whoever holds it (the executor's pending
  // action) must let go.
  std::function<void(const TQvAction&)> bindingFreed;
};

// The process-wide seams, filled with the stand-ins.
ActionSeams& Seams();
// Puts every stand-in back (tests).
void ResetSeams();

// Language text through the seam; "No text" when nothing better is known.
std::wstring LanguageText(int number, const std::wstring& fallback = L"No text");

// The stand-in key name: the key-name table, "R" before codes 161 and 163.
std::wstring DefaultKeyName(int vk);

}  // namespace snibbet
