#pragma once
// Stand-ins for the system under the key model: two keyboard layouts (US
// English and one with A/Q and Z/W swapped, whose digit row types symbols
// unshifted and whose AltGr+E types the euro sign), a key sender that keeps
// the system's view of held keys, and a view that counts what it was asked to draw.
#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "keyboard/key_model.h"
#include "core/keyboard_layout_service.h"

namespace snibbet::testing {

inline constexpr LayoutHandle kUs = kUsEnglishLayout;
inline constexpr LayoutHandle kSwapped = 0x040C040C;

class FakeLayouts : public KeyboardLayoutService {
 public:
  std::vector<LayoutHandle> installed{kUs, kSwapped};
  LayoutHandle foreground = kUs;
  bool loadFails = false;
  std::vector<LayoutHandle> loaded, unloaded;
  int keyCharCalls = 0;

  std::vector<LayoutHandle> InstalledLayouts() override { return installed; }
  LayoutHandle LoadLayout(std::wstring_view name) override {
    if (loadFails || name != kUsEnglishLayoutName) return 0;
    loaded.push_back(kUs);
    return kUs;
  }
  void UnloadLayout(LayoutHandle layout) override { unloaded.push_back(layout); }
  LayoutHandle ForegroundLayout() override { return foreground; }

  unsigned VirtualKeyToScanCode(unsigned code, LayoutHandle layout) override {
    const auto& table = ScanCodes(layout);
    const auto found = table.find(code);
    return found == table.end() ? 0 : found->second;
  }
  unsigned ScanCodeToVirtualKey(unsigned scanCode, LayoutHandle layout) override {
    for (const auto& [code, scan] : ScanCodes(layout)) {
      if (scan == scanCode) return code;
    }
    return 0;
  }

  std::wstring LanguageName(std::uint16_t id) override { return L"lang" + std::to_wstring(id); }

  std::wstring KeyText(unsigned code, const KeyStateBytes& state, LayoutHandle layout) override {
    const bool shift = state[16] & 0x80, ctrl = state[17] & 0x80, alt = state[18] & 0x80, caps = state[20] & 0x01;
    if (ctrl && alt) return layout == kSwapped && code == 'E' ? L"\u20AC" : L"";
    if (ctrl) return L"";
    if (code >= 'A' && code <= 'Z') {
      const wchar_t c = static_cast<wchar_t>(shift != caps ? code : code - 'A' + 'a');
      return std::wstring(1, c);
    }
    if (code >= '0' && code <= '9') {
      if (layout == kSwapped && !shift) return std::wstring(1, L"\u00E0&\u00E9\"'(-\u00E8_\u00E7"[code - '0']);
      if (layout == kUs && shift) return std::wstring(1, L")!@#$%^&*("[code - '0']);
      return std::wstring(1, static_cast<wchar_t>(code));
    }
    if (code == 32) return L" ";
    if (code == 189) return shift ? L"_" : L"-";
    if (code == 222) return shift ? L"\"" : L"'";
    return L"";
  }
  wchar_t KeyChar(unsigned code, const KeyStateBytes& state, LayoutHandle layout) override {
    ++keyCharCalls;
    const std::wstring text = KeyText(code, state, layout);
    return text.empty() ? L' ' : text.front();
  }

 private:
  static const std::map<unsigned, unsigned>& ScanCodes(LayoutHandle layout) {
    static const std::map<unsigned, unsigned> us = {
        {'Q', 0x10}, {'W', 0x11}, {'E', 0x12}, {'A', 0x1E}, {'S', 0x1F}, {'Z', 0x2C}, {'X', 0x2D},
        {'M', 0x32}, {186, 0x27}, {222, 0x28}, {189, 0x0C}, {'1', 0x02}, {'2', 0x03}};
    static const std::map<unsigned, unsigned> swapped = [] {
      auto table = us;
      std::swap(table['A'], table['Q']);
      std::swap(table['Z'], table['W']);
      return table;
    }();
    static const std::map<unsigned, unsigned> none;
    if (layout == kUs) return us;
    if (layout == kSwapped) return swapped;
    return none;
  }
};

struct SentKey {
  int code;
  bool up;
  bool extended;
  friend bool operator==(const SentKey&, const SentKey&) = default;
};

// Records what the model sends and which keys the system then holds.
class FakeInput : public KeyInputPort {
 public:
  std::vector<SentKey> sent;  // Esc releases are recorded as {27, true, false}
  std::set<int> systemDown;   // keys down as the system sees them
  KeyStateBytes systemState{};

  void SendKey(std::uint8_t code, bool keyUp, bool extended) override {
    sent.push_back({code, keyUp, extended});
    if (keyUp) {
      systemDown.erase(code);
    } else {
      systemDown.insert(code);
    }
  }
  void ReleaseEscKey() override { SendKey(27, true, false); }
  void ReadKeyboardState(KeyStateBytes& state) override { state = systemState; }
  bool SystemHoldsKey(std::uint8_t code) override { return systemDown.count(code) != 0; }

  // The user presses or releases a key: the system and the model both see it.
  void Physical(TQvKeyboard& model, int code, bool down) {
    if (down) {
      systemDown.insert(code);
    } else {
      systemDown.erase(code);
    }
    model.SetKeyPressed(code, down);
  }
  std::vector<SentKey> SentWithoutEsc() const {
    std::vector<SentKey> keys;
    std::copy_if(sent.begin(), sent.end(), std::back_inserter(keys), [](const SentKey& k) { return k.code != 27; });
    return keys;
  }
};

class CountingView : public KeyboardView {
 public:
  std::vector<int> drawnKeys;
  int redraws = 0;
  int presents = 0;
  void DrawKey(int code) override { drawnKeys.push_back(code); }
  void Redraw() override { ++redraws; }
  void Present() override { ++presents; }
};

// The built-in layout, parsed.
inline KeyboardLayoutFile BuiltInLayout() { return *ParseKeyboardLayout(BuiltInKeyboardLayout()).layout; }


}  // namespace snibbet::testing
