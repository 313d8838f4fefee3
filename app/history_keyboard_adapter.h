#pragma once
// The clipboard history's way up to the keyboard: input held back during a
// save, and whether the keyboard is quiet enough for the monitor to re-register.
#include "clipboard/clipboard_monitor.h"

namespace snibbet {

class TQvKeyboard;

class HistoryKeyboardAdapter final : public HistoryKeyboardPort {
 public:
  // The key model whose held keys count, once it exists; none: no key is held.
  void SetKeyModel(const TQvKeyboard* model) { model_ = model; }
  void BeginInputBlock() override;
  void EndInputBlock() override;
  bool KeyboardQuiet() override;

 private:
  const TQvKeyboard* model_ = nullptr;
};

}  // namespace snibbet
