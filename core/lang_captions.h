#pragma once
// Putting language texts on controls and menus. The text stays UTF-16 up to
// the control (wide API), so every script shows as written.
#include <windows.h>

#include <cstdint>
#include <string>

namespace snibbet {

// The control's text := language text `id` ("No text" when missing).
void SetControlText(int32_t id, HWND control);

// The caption of the menu item with command `command` := language text `id`.
void SetMenuItemCaption(int32_t id, HMENU menu, UINT command);

// The nine colour-scheme names of the keyboard view, one per line (CR LF), in
// scheme order, so that a list filled with them has item index = scheme number.
std::wstring BuildColorSchemeNames();

}  // namespace snibbet
