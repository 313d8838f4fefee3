#pragma once
// Switching the foreground application to another keyboard layout. The hook
// library is asked first (1175) and answers with 1176; without an answer in
// time, or where the library cannot help, the foreground window is asked with
// WM_INPUTLANGCHANGEREQUEST. Window-free: the system sits behind
// LayoutSwitchPorts.
#include <cstdint>
#include <functional>

#include "core/keyboard_layout_service.h"

namespace snibbet {

class TQvKeyboard;

// The layout value that means "the next installed layout".
inline constexpr LayoutHandle kNextLayout = 1;

// Whether the hook library has answered the program's own layout request.
// Starts set; cleared while a request is outstanding.
bool LayoutSwitchAcknowledged();
// The hook library's answer (message 1176) arrived.
void LayoutSwitchAnswered();
// Cleared right before a request is made.
void AwaitLayoutSwitchAnswer();

class LayoutSwitchPorts {
 public:
  virtual ~LayoutSwitchPorts() = default;
  // The program's own thread takes `layout`; the next one for ActivateNextLayout.
  virtual void ActivateLayout(LayoutHandle layout) = 0;
  virtual void ActivateNextLayout() = 0;
  // The layout of the program's own thread.
  virtual LayoutHandle OwnLayout() = 0;
  // The user switched the layout off in the settings.
  virtual bool IsLayoutDisabled(LayoutHandle layout) = 0;
  virtual bool ForegroundIsIE() = 0;
  virtual bool IsVistaOrLater() = 0;
  // 1175 to the foreground window, for the hook library.
  virtual void PostSetLayoutRequest(LayoutHandle layout) = 0;
  // The model and the program's thread follow the foreground layout.
  virtual void ApplyForegroundLayout(LayoutHandle layout) = 0;
  // WM_INPUTLANGCHANGEREQUEST to the foreground window.
  virtual void SendLanguageChangeRequest(LayoutHandle layout) = 0;
  // Processes messages until `done` holds or `ms` have passed; whether it held.
  virtual bool PumpUntil(std::uint32_t ms, const std::function<bool()>& done) = 0;
};

// Tries at most this many "next" steps to get past disabled layouts.
inline constexpr int kNextLayoutTries = 10;
inline constexpr std::uint32_t kLayoutAnswerWaitMs = 100;
inline constexpr std::uint32_t kLayoutFollowWaitMs = 200;

// Switches the foreground application to `layout` (kNextLayout: the next
// layout not switched off). The model follows through the layout messages.
// Returns the layout asked of the foreground window.
LayoutHandle SwitchKeyboardLayout(LayoutSwitchPorts& ports, const TQvKeyboard& model, LayoutHandle layout);

}  // namespace snibbet
