#include "core/preset_effects_key_names.h"

#include <algorithm>
#include <utility>

#include "core/key_names.h"
#include "core/key_classes.h"

namespace snibbet {
namespace {

constexpr unsigned kGerman = 7, kFrench = 12;

struct LocalName {
  int code;
  const wchar_t* name;
};

// Written without accents, as keyboards label them in plain text.
constexpr LocalName kGermanNames[] = {
    {20, L"Feststelltaste"}, {33, L"Bild-auf"}, {34, L"Bild-ab"}, {35, L"Ende"},      {36, L"Pos1"},
    {44, L"Druck"},          {45, L"Einfg"},    {46, L"Entf"},    {145, L"Rollen"},   {160, L"Umschalt"},
    {161, L"Umschalt"},      {162, L"Strg"},    {163, L"Strg"},
};
constexpr LocalName kFrenchNames[] = {
    {13, L"Entr"},  {27, L"Echap"},  {35, L"Fin"},         {44, L"Impr ecran"}, {45, L"Inser"},
    {46, L"Suppr"}, {144, L"Verr num"}, {145, L"Arret defil"},
};

std::wstring Widened(std::string_view text) { return std::wstring(text.begin(), text.end()); }

LayoutHandle ChosenLayout(LayoutHandle requested, const std::vector<LayoutHandle>& installed) {
  if (installed.empty()) return requested;
  const bool present = std::find(installed.begin(), installed.end(), requested) != installed.end();
  return present ? requested : installed.front();
}

// The US English layout for the time of the names: loaded only when it is not installed.
class UsLayout {
 public:
  UsLayout(KeyboardLayoutService& layouts, const std::vector<LayoutHandle>& installed) : layouts_(layouts) {
    if (std::find(installed.begin(), installed.end(), kUsEnglishLayout) != installed.end()) {
      handle_ = kUsEnglishLayout;
    } else {
      handle_ = loaded_ = layouts_.LoadLayout(kUsEnglishLayoutName);
    }
  }
  ~UsLayout() {
    if (loaded_) layouts_.UnloadLayout(loaded_);
  }
  UsLayout(const UsLayout&) = delete;
  UsLayout& operator=(const UsLayout&) = delete;
  LayoutHandle Handle() const { return handle_; }

 private:
  KeyboardLayoutService& layouts_;
  LayoutHandle handle_ = 0;
  LayoutHandle loaded_ = 0;
};

void NameCharacterKeys(KeyNameTable& names, LayoutHandle layout, KeyboardLayoutService& layouts,
                       const std::vector<LayoutHandle>& installed, const std::function<wchar_t(wchar_t)>& upper) {
  const UsLayout us(layouts, installed);
  const KeyStateBytes noKeys{};
  for (int code = kFirstKeyCode; code <= kLastKeyCode; ++code) {
    if (code == kVkSpace || !IsPrintableKey(code)) continue;
    const wchar_t typed = layouts.KeyChar(static_cast<unsigned>(code), noKeys, layout);
    const wchar_t character = upper ? upper(typed) : typed;
    if (character < L'!') continue;  // blanks and control characters name nothing
    const unsigned scanCode = layouts.VirtualKeyToScanCode(static_cast<unsigned>(code), layout);
    unsigned usCode = us.Handle() && scanCode ? layouts.ScanCodeToVirtualKey(scanCode, us.Handle()) : 0;
    if (usCode == 0) usCode = static_cast<unsigned>(code);
    if (IsKeyCode(static_cast<int>(usCode)) && IsPrintableKey(static_cast<int>(usCode))) {
      names[usCode] = std::wstring(1, character);
    }
  }
}

template <std::size_t N>
void Overwrite(KeyNameTable& names, const LocalName (&local)[N]) {
  for (const LocalName& entry : local) names[static_cast<std::size_t>(entry.code)] = entry.name;
}

}  // namespace

LayoutKeyNames BuildLayoutKeyNames(LayoutHandle requested, const std::vector<LayoutHandle>& installed,
                                   KeyboardLayoutService* layouts, const std::function<wchar_t(wchar_t)>& upper) {
  LayoutKeyNames result;
  result.layout = ChosenLayout(requested, installed);
  for (int code = kFirstKeyCode; code <= kLastKeyCode; ++code) result.names[code] = Widened(VirtualKeyName(code));
  if (layouts && result.layout) NameCharacterKeys(result.names, result.layout, *layouts, installed, upper);
  switch (requested & 0xFF) {
    case kGerman: Overwrite(result.names, kGermanNames); break;
    case kFrench: Overwrite(result.names, kFrenchNames); break;
    default: break;
  }
  return result;
}

}  // namespace snibbet
