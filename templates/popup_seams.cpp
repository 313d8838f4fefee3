#include "templates/popup_seams.h"

#include <windows.h>

#include <array>

#include "core/input_helper_link.h"
#include "core/preset.h"
#include "core/synthetic_input.h"
#include "helper/helper_protocol.h"
#include "core/key_classes.h"
#include "keyboard/key_history.h"
#include "keyboard/key_model.h"

namespace snibbet {
namespace {

// Through the key-state model when it exists: its key states and layout are
// what the user typed into the target. Without it, the system's.
class StandInKeys : public PopupKeySystem {
 public:
  std::wstring KeyText(std::uint8_t vk) override {
    if (TQvKeyboard* model = QvKeyboard())
      return model->LayoutService().KeyText(vk, model->KeyState(), model->CurrentLayout());
    std::array<BYTE, 256> state{};
    for (int key : {VK_SHIFT, VK_CONTROL, VK_MENU})
      if (GetAsyncKeyState(key) < 0) state[static_cast<std::size_t>(key)] = 0x80;
    state[VK_CAPITAL] = static_cast<BYTE>(GetKeyState(VK_CAPITAL) & 1);
    const DWORD thread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    return KeyToUnicodeString(vk, state, GetKeyboardLayout(thread));
  }
  bool CtrlHeld() override {
    if (TQvKeyboard* model = QvKeyboard()) return (model->KeyState()[VK_CONTROL] & 0x80) != 0;
    return GetAsyncKeyState(VK_CONTROL) < 0;
  }
  void Resend(std::uint8_t vk) override {
    if (TQvKeyboard* model = QvKeyboard()) {
      model->ResendKey(vk);
    } else {
      SendKey(vk, false, IsExtendedKey(vk));
    }
  }
};

std::wstring StandInTypedWord() {
  std::wstring word;
  if (TQvKeyboard* model = QvKeyboard()) {
    const TPreset* preset = PresetOrNull();
    word = RebuildTypedWord(KeyHistory(), *model, preset ? preset->TemplatesBreaks() : std::wstring());
  }
  ResetKeyHistory();
  return word;
}

TemplateViewSeams StandIns() {
  return {
      .pasteSelectedTemplate = [](const TemplateRecord&, const std::wstring&) {},
      .typedWord = StandInTypedWord,
      .beginInputBlock = [] { SendToInputHelper(WM_HELPER_BLOCK_INPUT); },
      .endInputBlock = [] { SendToInputHelper(WM_HELPER_UNBLOCK_INPUT); },
      .keys = std::make_shared<StandInKeys>(),
  };
}

}  // namespace

TemplateViewSeams& PopupSeams() {
  static TemplateViewSeams seams = StandIns();
  return seams;
}

void ResetPopupSeams() { PopupSeams() = StandIns(); }

PopupInputBlock::PopupInputBlock() { PopupSeams().beginInputBlock(); }

PopupInputBlock::~PopupInputBlock() {
  try {
    PopupSeams().endInputBlock();
  } catch (...) {
    // A destructor must not throw; the helper's own time-out ends a lost block.
  }
}

}  // namespace snibbet
