#pragma once
// The executor's clipboard and layout bindings (kinds 3 and 9): the user's
// clipboard put back through the monitor, the next or a given keyboard
// layout, the last word retyped under the next layout, and the selected text
// converted (retyped in the next layout, or its case changed) through the
// clipboard. Window-free: clipboard, layouts and case mapping sit behind ports.
#include <string>
#include <string_view>

#include "clipboard/paste_steps.h"
#include "core/keyboard_layout_service.h"
#include "keyboard/layout_remap.h"
#include "keyboard/text_case.h"

namespace snibbet {

class TQvAction;
class TQvKeyboard;
class TKeyHistory;

// Kind 9 parameters.
inline constexpr int kLayoutRetypeWord = 0, kLayoutRemapSelection = 1, kLayoutNext = 2, kLayoutGiven = 3;

// The cut of the foreground window's selection into the clipboard.
class SelectionCutter {
 public:
  virtual ~SelectionCutter() = default;
  // Ctrl+X into the foreground window.
  virtual void CutSelection() = 0;
};

class LayoutSwitcher {
 public:
  virtual ~LayoutSwitcher() = default;
  virtual int CountLayouts() = 0;
  // kNextLayout, or a layout handle.
  virtual void Switch(LayoutHandle layout) = 0;
};

// The layout a kind-9 parameter-3 binding names in its text: decimal, or hex
// after "$" or "0x", read as a 32-bit value; 0 when it is none.
LayoutHandle LayoutOfBindingText(std::wstring_view text);

class LayoutActions {
 public:
  LayoutActions(TQvKeyboard& model, TKeyHistory& history, ClipboardPasteSteps& clipboard, SelectionCutter& cutter,
                LayoutSwitcher& switcher, LayoutCharService& chars, CaseMapping caseMapping);
  LayoutActions(const LayoutActions&) = delete;
  LayoutActions& operator=(const LayoutActions&) = delete;

  // Kind 3: the user's clipboard kept and put back.
  void ExecuteClipboardAction();
  // Kind 9, by the binding's parameter.
  void ExecuteLayoutAction(const TQvAction& binding);

  void RetypeLastWord();
  // Cuts the selection of the foreground window, converts it (kLayoutRemapSelection
  // or one of the case modes) and pastes it back; the user's clipboard returns afterwards.
  void ConvertSelectedText(int mode);
  // The characters the same keys type under the next layout (switched to).
  std::wstring RemapLayoutText(std::wstring_view text);

 private:
  std::wstring Convert(const std::wstring& text, int mode);
  void PasteConverted(const std::wstring& selected, int mode);
  bool PutAndWait(const std::wstring& text);

  TQvKeyboard& model_;
  TKeyHistory& history_;
  ClipboardPasteSteps& clipboard_;
  SelectionCutter& cutter_;
  LayoutSwitcher& switcher_;
  LayoutCharService& chars_;
  CaseMapping caseMapping_;
};

}  // namespace snibbet
