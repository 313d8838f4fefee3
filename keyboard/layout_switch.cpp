#include "keyboard/layout_switch.h"

#include "keyboard/key_model.h"

namespace snibbet {
namespace {

bool g_layoutSwitchAcknowledged = true;

// Once the switch is over no answer is outstanding: a layout change the user
// makes later must empty the key history again, even when the hook library
// never answered (or was never asked).
class OutstandingAnswer {
 public:
  OutstandingAnswer() { AwaitLayoutSwitchAnswer(); }
  ~OutstandingAnswer() { LayoutSwitchAnswered(); }
  OutstandingAnswer(const OutstandingAnswer&) = delete;
  OutstandingAnswer& operator=(const OutstandingAnswer&) = delete;
};

// The next layout that is not switched off; after the last try, whatever was reached.
LayoutHandle StepToNextLayout(LayoutSwitchPorts& ports, LayoutHandle old) {
  ports.ActivateLayout(old);
  LayoutHandle reached = old;
  for (int i = 0; i < kNextLayoutTries; ++i) {
    ports.ActivateNextLayout();
    reached = ports.OwnLayout();
    if (!ports.IsLayoutDisabled(reached)) break;
  }
  return reached;
}

}  // namespace

bool LayoutSwitchAcknowledged() { return g_layoutSwitchAcknowledged; }
void LayoutSwitchAnswered() { g_layoutSwitchAcknowledged = true; }
void AwaitLayoutSwitchAnswer() { g_layoutSwitchAcknowledged = false; }

LayoutHandle SwitchKeyboardLayout(LayoutSwitchPorts& ports, const TQvKeyboard& model, LayoutHandle layout) {
  const LayoutHandle old = model.CurrentLayout();
  const OutstandingAnswer outstanding;
  const bool next = layout == kNextLayout;
  LayoutHandle target = layout;
  if (next) {
    target = StepToNextLayout(ports, old);
  } else {
    ports.ActivateLayout(layout);
    target = ports.OwnLayout();
  }
  const bool internetExplorer = ports.ForegroundIsIE();
  const bool vista = ports.IsVistaOrLater();
  // The library cannot switch Internet Explorer, and since Vista it cannot
  // step to the next layout; there the window is asked directly.
  if (!internetExplorer && !(vista && next)) {
    ports.PostSetLayoutRequest(target);
    if (ports.PumpUntil(kLayoutAnswerWaitMs, [] { return LayoutSwitchAcknowledged(); })) return target;
  }
  if (vista) ports.ApplyForegroundLayout(target);
  ports.SendLanguageChangeRequest(target);
  if (!internetExplorer) ports.PumpUntil(kLayoutFollowWaitMs, [&] { return model.CurrentLayout() != old; });
  return target;
}

}  // namespace snibbet
