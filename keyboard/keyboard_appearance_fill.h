#pragma once
// Fills the keyboard appearance from the settings (fonts, colour scheme and
// the user's colours) and from the system's colours.
#include <windows.h>

#include "keyboard/keyboard_appearance.h"

namespace snibbet {

class TPreset;

// `viewExists`: a keyboard view exists, so the line height is measured in its
// font (the label font's name and style at the character font's size);
// without one it is the least height.
void FillKeyboardAppearance(KeyboardAppearance& appearance, const TPreset* preset, bool viewExists);

// The keyboard view's own font for a device like `dc`: the label font's face
// and style at the character font's size. Its text height sets the view's
// line height and how far a key's name reaches down. The caller owns it.
HFONT CreateKeyboardViewFont(HDC dc, const KeyboardAppearance& appearance);

// The colours the system and the Office colour scheme give the schemes 1 and 2 now.
SchemeColourSource SystemSchemeColours();

}  // namespace snibbet
