#pragma once
// The system's font and colour dialogs.
#include <windows.h>

#include <array>
#include <optional>

namespace ui {

struct FontChoice {
  LOGFONTW font{};        // face, weight, italic, underline, strike-out, character set
  int pointSize = 0;      // whole points
  COLORREF color = 0;
};

// Starts from `initial` (its pointSize wins over the font's height); nothing
// when the user cancels. The owner defaults to the application window.
std::optional<FontChoice> ChooseFontDialog(const FontChoice& initial, HWND owner = nullptr);

// Sixteen custom colours the dialog shows and the user may change.
using CustomColors = std::array<COLORREF, 16>;

std::optional<COLORREF> ChooseColorDialog(COLORREF initial, CustomColors& custom, HWND owner = nullptr);

}  // namespace ui
