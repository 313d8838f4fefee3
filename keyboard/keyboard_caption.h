#pragma once
// The caption bar across the top of the keyboard view: a gradient under an
// outline with rounded top corners, and the caption in Tahoma 8 pt bold.
#include <windows.h>

#include <string>

#include "keyboard/keyboard_appearance.h"

namespace snibbet {

inline constexpr int kCaptionRightMargin = 30;  // kept free for the title buttons

// Paints the bar over (0, 0)-(width, 20) of `dc` in the appearance's caption
// and frame colours; the pixels just inside the rounded corners take
// `cornerColour`. A caption that does not fit ends in an ellipsis; a bar too
// narrow for any text shows none. The device context's font and brush stay.
void DrawKeyboardCaption(HDC dc, int width, bool active, COLORREF cornerColour, const std::wstring& caption,
                         const KeyboardAppearance& appearance);

}  // namespace snibbet
