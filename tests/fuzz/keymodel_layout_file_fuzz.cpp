// libFuzzer target: the keyboard layout reader must take any bytes without
// crashing, and what it accepts must be safe to build keys from and to
// measure (hit tests, text boxes) without overflow.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "keyboard/key_model.h"
#include "keyboard/key_shape.h"
#include "keyboard/layout_file.h"

namespace {

using namespace snibbet;

// A system with one layout in which no key moves and no key types anything.
class StillLayouts : public KeyboardLayoutService {
 public:
  std::vector<LayoutHandle> InstalledLayouts() override { return {kUsEnglishLayout}; }
  LayoutHandle LoadLayout(std::wstring_view) override { return 0; }
  void UnloadLayout(LayoutHandle) override {}
  LayoutHandle ForegroundLayout() override { return kUsEnglishLayout; }
  unsigned VirtualKeyToScanCode(unsigned code, LayoutHandle) override { return code; }
  unsigned ScanCodeToVirtualKey(unsigned scanCode, LayoutHandle) override { return scanCode; }
  std::wstring KeyText(unsigned, const KeyStateBytes&, LayoutHandle) override { return {}; }
  wchar_t KeyChar(unsigned, const KeyStateBytes&, LayoutHandle) override { return L' '; }
};

class NoInput : public KeyInputPort {
 public:
  void SendKey(std::uint8_t, bool, bool) override {}
  void ReleaseEscKey() override {}
  void ReadKeyboardState(KeyStateBytes& state) override { state.fill(0); }
  bool SystemHoldsKey(std::uint8_t) override { return false; }
};

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

void Exercise(const KeyboardLayoutFile& layout) {
  Check(layout.width >= 1 && layout.width <= KeyboardLayoutFile::kMaxSize);
  Check(layout.height >= 1 && layout.height <= KeyboardLayoutFile::kMaxSize);
  for (const KeyShape& shape : layout.shapes) {
    const auto [first, second] = SplitShapes(shape);
    int which = 0;
    (void)HitTestShape(shape, first.empty() ? 0 : first[0].x + 1, first.empty() ? 0 : first[0].y + 1, which);
    (void)KeyHeight(shape);
    if (first.size() >= 3) (void)ComputeTextRect(first, false, 1000, 1000);
    if (second.size() >= 3) (void)ComputeTextRect(second, true, 0, 0);
  }
  static StillLayouts layouts;
  static NoInput input;
  static CharTableCache tables;
  TQvKeyboard model(layouts, input, &tables);
  model.ApplyLayout(layout, L"fuzz");
  model.SetKeyPressed(65, true);
  model.ReleaseAllKeys();
  Check(model.PressedCount() == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::wstring text;  // bytes as the ANSI code page 1252 would mostly give them
  for (size_t i = 0; i < size; ++i) text.push_back(static_cast<wchar_t>(data[i]));
  const LayoutParseResult result = ParseKeyboardLayout(text);
  if (result.layout) {
    Exercise(*result.layout);
  } else {
    Check(result.error.line >= 1 && static_cast<size_t>(result.error.line) <= size + 1);
  }
  return 0;
}
