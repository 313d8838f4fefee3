#pragma once
// The first-run wizard's rules that need no window: how the steps are walked
// and the table of hotkeys it would propose. Window-free.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/control_set.h"

namespace snibbet {

class TQvActions;

// A step's picture in the step list, which also says what the step may do.
enum WizardStepImage : int {
  kStepNotVisited = 0,
  kStepCurrent = 1,  // the first step's design picture, and the selected step's
  kStepVisited = 2,
  kStepLocked = 3,  // cannot be entered
};

// Language texts of the Next button: on the last step it finishes.
inline constexpr int kNextCaptionText = 382;
inline constexpr int kFinishCaptionText = 383;

// `images` holds each step's picture, in list order.
bool CanEnterStep(std::span<const int> images, int step);
// The nearest step after (before) `from` that may be entered; none at the end.
std::optional<int> NextEnterableStep(std::span<const int> images, int from);
std::optional<int> PriorEnterableStep(std::span<const int> images, int from);
bool IsLastStep(std::span<const int> images, int step);
// The Prior button shows on every step but the first.
bool PriorVisibleOn(int step);
// Closing before the last step asks first; the last step closes at once.
bool CloseAsksOn(std::span<const int> images, int step);
int NextCaptionTextOn(std::span<const int> images, int step);

// A hotkey the wizard would propose, and whether it counts as chosen.
struct WizardProposal {
  std::uint8_t key = 0;
  ControlSet controlSet = 0;
  std::uint8_t kind = 0;
  std::uint8_t param = 0;
  std::uint8_t condition = 0;
  bool selectedByDefault = true;
  std::wstring text;
  bool chosen = false;
};

// What the proposals depend on besides the bindings.
struct ProposalContext {
  bool vistaOrLater = true;  // switching windows with LAlt+Tab is the system's own there
  std::wstring documentsFolder;
  std::wstring desktopFolder;
};

// The 41 proposals, each chosen when a binding of its key and modifier set
// exists, or (with `selectAll`) when it is selected by default. Reads the
// bindings only: the user's bindings are never rewritten to match.
std::vector<WizardProposal> BuildProposals(const TQvActions& bindings, bool selectAll, const ProposalContext& context);

}  // namespace snibbet
