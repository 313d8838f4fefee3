#include "dialogs/wizard_logic.h"

#include <algorithm>

#include "keyboard/actions.h"

namespace snibbet {

bool CanEnterStep(std::span<const int> images, int step) {
  return step >= 0 && step < static_cast<int>(images.size()) && images[static_cast<size_t>(step)] != kStepLocked;
}

std::optional<int> NextEnterableStep(std::span<const int> images, int from) {
  for (int step = from + 1; step < static_cast<int>(images.size()); ++step)
    if (CanEnterStep(images, step)) return step;
  return std::nullopt;
}

std::optional<int> PriorEnterableStep(std::span<const int> images, int from) {
  for (int step = std::min(from, static_cast<int>(images.size())) - 1; step >= 0; --step)
    if (CanEnterStep(images, step)) return step;
  return std::nullopt;
}

bool IsLastStep(std::span<const int> images, int step) {
  return !images.empty() && step == static_cast<int>(images.size()) - 1;
}

bool PriorVisibleOn(int step) { return step > 0; }

bool CloseAsksOn(std::span<const int> images, int step) { return !IsLastStep(images, step); }

int NextCaptionTextOn(std::span<const int> images, int step) {
  return IsLastStep(images, step) ? kFinishCaptionText : kNextCaptionText;
}

namespace {

// Virtual-key codes of the proposed keys.
constexpr std::uint8_t kVkTab = 9, kVkCapital = 20, kVkSpace = 32, kVkLeft = 37, kVkUp = 38, kVkRight = 39,
                       kVkDown = 40, kVkInsert = 45, kVkApps = 93, kVkNumLock = 144;

constexpr ControlSet kLWin = kLeftWinBit, kLAlt = kLeftAltBit;
constexpr ControlSet kLWinLShift = kLeftWinBit | kLeftShiftBit, kLWinLCtrl = kLeftWinBit | kLeftCtrlBit;

WizardProposal Proposal(std::uint8_t key, ControlSet set, std::uint8_t kind, std::uint8_t param,
                        std::uint8_t condition = kConditionAlways, bool selectedByDefault = true) {
  WizardProposal proposal;
  proposal.key = key;
  proposal.controlSet = set;
  proposal.kind = kind;
  proposal.param = param;
  proposal.condition = condition;
  proposal.selectedByDefault = selectedByDefault;
  return proposal;
}

std::vector<WizardProposal> ProposalTable(const ProposalContext& context) {
  std::vector<WizardProposal> table = {
      Proposal(kVkInsert, kLWin, 8, 0),
      Proposal(kVkSpace, kLWin, 8, 1),
      Proposal(kVkTab, kLAlt, 8, 2, kConditionAlways, !context.vistaOrLater),
      Proposal(kVkCapital, 0, 8, 2, kConditionAlways, false),
      Proposal(kVkCapital, kLWin, 8, 3),
      Proposal(kVkApps, 0, 8, 4, kConditionNotFullScreen),
      Proposal(kVkNumLock, 0, 8, 5),
      Proposal('O', kLWin, 8, 7),
      Proposal(kVkRight, kLWin, 11, 0),
      Proposal(kVkLeft, kLWin, 11, 1),
      Proposal('V', kLWin, 11, 2),
      Proposal(kVkDown, kLWin, 10, 0),
      Proposal(kVkUp, kLWin, 10, 1),
      Proposal('X', kLWin, 10, 2),
      Proposal('H', kLWin, 10, 3),
      Proposal('S', kLWin, 10, 4),
      Proposal(kVkLeftShift, kLWinLShift, 9, 0),
      Proposal(kVkLeftCtrl, kLWinLCtrl, 9, 1),
      Proposal(kVkRightCtrl, kRightCtrlBit, 9, 2),
      Proposal(190, kLWin, 9, 4),
      Proposal(188, kLWin, 9, 5),
      Proposal('Q', kLWin, 5, 0),
      Proposal('W', kLWin, 5, 0),
  };
  table[21].text = context.documentsFolder;
  table[22].text = context.desktopFolder;
  for (std::uint8_t i = 0; i < 7; ++i) table.push_back(Proposal(static_cast<std::uint8_t>('1' + i), kLWin, 13, i));
  for (std::uint8_t i = 0; i < 4; ++i)
    table.push_back(Proposal(static_cast<std::uint8_t>('1' + i), kLWinLCtrl, 12, i));
  const std::uint8_t switchKeys[] = {'5', '6', '7', '8', '9', '0', 189};
  for (std::uint8_t i = 0; i < 7; ++i) table.push_back(Proposal(switchKeys[i], kLWinLCtrl, 14, i));
  return table;
}

}  // namespace

std::vector<WizardProposal> BuildProposals(const TQvActions& bindings, bool selectAll, const ProposalContext& context) {
  std::vector<WizardProposal> proposals = ProposalTable(context);
  for (WizardProposal& proposal : proposals) {
    // An exact match of key and set: a side-less binding is another key.
    const TQvAction* bound = bindings.Find(proposal.key, proposal.controlSet, proposal.controlSet);
    proposal.chosen = bound || (selectAll && proposal.selectedByDefault);
  }
  return proposals;
}

}  // namespace snibbet
