#pragma once
// The clipboard and layout actions over the real system: the clipboard steps
// through the monitor, Ctrl+X, the user32 layout functions and the system's
// case mapping. GUI thread only.
#include <cstdint>
#include <functional>
#include <utility>

#include "clipboard/monitor_calls.h"
#include "keyboard/action_layout.h"
#include "keyboard/layout_switch.h"

namespace snibbet {

class ForegroundState;
class TPreset;
class TQvKeyboard;
class TKeyHistory;

class SystemSelectionCutter : public SelectionCutter {
 public:
  void CutSelection() override;
};

class SystemLayoutSwitchPorts : public LayoutSwitchPorts {
 public:
  // How the model and the program's thread follow the foreground layout (the
  // hook's rule); the layouts `settings` disables are skipped (null: none is).
  SystemLayoutSwitchPorts(const ForegroundState& foreground, const TPreset* settings,
                          std::function<void(LayoutHandle)> applyForegroundLayout)
      : foreground_(foreground), settings_(settings), applyForegroundLayout_(std::move(applyForegroundLayout)) {}

  void ActivateLayout(LayoutHandle layout) override;
  void ActivateNextLayout() override;
  LayoutHandle OwnLayout() override;
  bool IsLayoutDisabled(LayoutHandle layout) override;
  bool ForegroundIsIE() override;
  bool IsVistaOrLater() override;
  void PostSetLayoutRequest(LayoutHandle layout) override;
  void ApplyForegroundLayout(LayoutHandle layout) override;
  void SendLanguageChangeRequest(LayoutHandle layout) override;
  bool PumpUntil(std::uint32_t ms, const std::function<bool()>& done) override;

 private:
  const ForegroundState& foreground_;
  const TPreset* settings_;
  std::function<void(LayoutHandle)> applyForegroundLayout_;
};

// The number of installed keyboard layouts, at most 40 counted.
int CountKeyboardLayouts();

// Installed layouts and the switch of the foreground application.
class SystemLayoutSwitcher : public LayoutSwitcher {
 public:
  SystemLayoutSwitcher(LayoutSwitchPorts& ports, const TQvKeyboard& model) : ports_(ports), model_(model) {}
  int CountLayouts() override { return CountKeyboardLayouts(); }
  void Switch(LayoutHandle layout) override;

 private:
  LayoutSwitchPorts& ports_;
  const TQvKeyboard& model_;
};

class SystemLayoutChars : public LayoutCharService {
 public:
  int KeyScan(wchar_t c, LayoutHandle layout) override;
  KeyChars KeyCharacters(unsigned code, const KeyStateBytes& state, LayoutHandle layout) override;
};

// Upper and lower case as the system maps them.
CaseMapping SystemCaseMapping();

// The actions with every system part, over one model and key history; the
// layout switch asks `foreground` whether a browser is in front and `settings`
// which layouts are disabled; the clipboard steps go through the monitor
// `clipboardMonitor` names.
class SystemLayoutActions {
 public:
  SystemLayoutActions(TQvKeyboard& model, TKeyHistory& history, const ForegroundState& foreground,
                      const TPreset* settings, const ClipboardMonitorRecord* clipboardMonitor,
                      std::function<void(LayoutHandle)> applyForegroundLayout);
  SystemLayoutActions(const SystemLayoutActions&) = delete;
  SystemLayoutActions& operator=(const SystemLayoutActions&) = delete;

  LayoutActions& Actions() { return actions_; }

 private:
  MonitorPasteSteps clipboard_;
  SystemSelectionCutter cutter_;
  SystemLayoutSwitchPorts switchPorts_;
  SystemLayoutSwitcher switcher_;
  SystemLayoutChars chars_;
  LayoutActions actions_;
};

}  // namespace snibbet
