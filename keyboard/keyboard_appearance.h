#pragma once
// The keyboard appearance: the one set of fonts and colours that the keyboard
// view, its caption bar and the keyboard window's title buttons draw with.
// The data module fills it from the settings and the system colours and
// hands it to its users. Colours are 0x00BBGGRR. Window-free.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace snibbet {

using KeyColour = std::uint32_t;

struct KeyColours {
  KeyColour face, outline, name, character;
  bool operator==(const KeyColours&) const = default;
};

// The fourteen colours of a colour scheme.
struct KeySchemeColours {
  KeyColour face = 0xFF9933;
  KeyColour frame = 0x800000;
  KeyColours normal{0xFEFEFE, 0xFF9933, 0x808080, 0x000000};
  KeyColours pressed{0x800000, 0x91D0FF, 0xFFFFFF, 0xFFFFFF};
  KeyColours highlighted{0xCC6600, 0x4E91FE, 0xFFFFFF, 0xFFFFFF};
  bool operator==(const KeySchemeColours&) const = default;
};

struct KeyboardAppearance : KeySchemeColours {
  KeyColour activeCaptionTop = 0xD8A878, activeCaptionBottom = 0x6A3A0A, activeCaptionText = 0xFFFFFF;
  KeyColour inactiveCaptionTop = 0xE0E0E0, inactiveCaptionBottom = 0x808080, inactiveCaptionText = 0x000000;
  std::wstring labelFontName = L"Tahoma";
  int labelFontSize = 8;
  bool labelBold = true, labelItalic = false;
  std::wstring charFontName = L"Tahoma";
  int charFontSize = 10;
  bool charBold = true, charItalic = false;
  int lineHeight = 16;
};

// Where the schemes that follow the system (1) and the Office colours (2)
// take their colours from, already as RGB, and how the user's own become RGB.
struct SchemeColourSource {
  std::function<KeyColour(int index)> systemColour;  // by system colour index
  std::function<KeyColour(int entry)> officeColour;  // entry 0..48 of the Office-2003 table
  // The user's own colour as RGB: a value whose high byte is 0xFF names a
  // system colour by its index; none: taken as it is.
  std::function<KeyColour(KeyColour colour)> plainColour;
  KeyColour lightHighlight = 0;                      // pressed keys of scheme 1
  KeyColour paleHighlight = 0;                       // highlighted keys of scheme 1
};

inline constexpr int kUserColourCount = 13;
using UserColours = std::array<KeyColour, kUserColourCount>;

// The colours of scheme `scheme`: 0 and 3..8 built in, 1 the system's, 2 the
// Office colours, any other the user's own thirteen (through the source's
// plainColour, so only RGB reaches GDI). The pressed character colour is
// always the pressed name colour.
KeySchemeColours SchemeKeyColours(int scheme, const UserColours& userColours, const SchemeColourSource& source);

// A line of text is never lower than this on the view.
inline constexpr int kMinLineHeight = 16;

}  // namespace snibbet
