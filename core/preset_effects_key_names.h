#pragma once
// The display names of the keys in the keyboard layout the user chose: each
// character key is named by the character it types there, written on the key
// that sits in the same place on a US English keyboard (the keyboard view
// draws keys where US English has them). German and French users get their
// own names for a few keys. Window-free.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "core/keyboard_layout_service.h"

namespace snibbet {

using KeyNameTable = std::array<std::wstring, 256>;  // by virtual key 1..255; [0] unused

struct LayoutKeyNames {
  // The layout the names follow: the asked one when it is installed, else the
  // first installed one (the asked one when none is known).
  LayoutHandle layout = 0;
  KeyNameTable names;
};

// `installed`: the installed layouts, in the system's order. `layouts`: where
// characters and key positions come from; without it only the key-name table
// and the German or French names are used. `upper`: upper-cases one character.
// The German or French names follow the primary language of `requested`,
// even when another layout had to be used.
LayoutKeyNames BuildLayoutKeyNames(LayoutHandle requested, const std::vector<LayoutHandle>& installed,
                                   KeyboardLayoutService* layouts, const std::function<wchar_t(wchar_t)>& upper);

}  // namespace snibbet
