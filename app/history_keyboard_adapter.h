#pragma once
// The clipboard history's way up to the keyboard: input held back during a
// save, and whether the keyboard is quiet enough for the monitor to re-register.
#include "clipboard/clipboard_monitor.h"

namespace snibbet {

class HistoryKeyboardAdapter final : public HistoryKeyboardPort {
 public:
  void BeginInputBlock() override;
  void EndInputBlock() override;
  bool KeyboardQuiet() override;
};

}  // namespace snibbet
