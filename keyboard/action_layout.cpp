// The layout actions: switching the layout, retyping the last word under the
// next layout, and the layout conversion of a text.
#include "keyboard/action_layout.h"

#include <cstdint>
#include <optional>
#include <utility>

#include "keyboard/actions.h"
#include "keyboard/key_history.h"
#include "keyboard/key_model.h"
#include "keyboard/layout_switch.h"
#include "keyboard/scope_exit.h"

namespace snibbet {
namespace {

bool IsCaseMode(int mode) { return mode >= kCaseUpper && mode <= kCaseWords; }

// Digits of `text` in `base`; none when a character is not one or the value
// needs more than 32 bits.
std::optional<std::uint64_t> ParseDigits(std::wstring_view text, unsigned base) {
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (const wchar_t c : text) {
    unsigned digit = base;
    if (c >= L'0' && c <= L'9') digit = static_cast<unsigned>(c - L'0');
    if (c >= L'a' && c <= L'f') digit = static_cast<unsigned>(c - L'a' + 10);
    if (c >= L'A' && c <= L'F') digit = static_cast<unsigned>(c - L'A' + 10);
    if (digit >= base) return std::nullopt;
    value = value * base + digit;
    if (value > 0xFFFFFFFFu) return std::nullopt;
  }
  return value;
}

}  // namespace

LayoutHandle LayoutOfBindingText(std::wstring_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == L'-' || text.front() == L'+')) {
    negative = text.front() == L'-';
    text.remove_prefix(1);
  }
  std::optional<std::uint64_t> value;
  if (text.starts_with(L"$")) {
    value = ParseDigits(text.substr(1), 16);
  } else if (text.starts_with(L"0x") || text.starts_with(L"0X")) {
    value = ParseDigits(text.substr(2), 16);
  } else {
    value = ParseDigits(text, 10);
  }
  if (!value) return 0;
  // Layout handles are 32-bit values, sign-extended where handles are wider.
  auto handle = static_cast<std::int32_t>(static_cast<std::uint32_t>(*value));
  if (negative) handle = static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(handle));
  return static_cast<LayoutHandle>(static_cast<std::intptr_t>(handle));
}

LayoutActions::LayoutActions(TQvKeyboard& model, TKeyHistory& history, ClipboardPasteSteps& clipboard,
                             SelectionCutter& cutter, LayoutSwitcher& switcher, LayoutCharService& chars,
                             CaseMapping caseMapping)
    : model_(model), history_(history), clipboard_(clipboard), cutter_(cutter), switcher_(switcher), chars_(chars),
      caseMapping_(std::move(caseMapping)) {}

void LayoutActions::ExecuteLayoutAction(const TQvAction& binding) {
  const int param = binding.Param();
  // A given layout is switched to whatever is installed; every other action
  // belongs to switching between layouts and waits for a second one.
  if (param == kLayoutGiven) {
    if (const LayoutHandle layout = LayoutOfBindingText(binding.Text())) switcher_.Switch(layout);
    return;
  }
  if (switcher_.CountLayouts() <= 1) return;
  if (IsCaseMode(param)) return ConvertSelectedText(param);
  switch (param) {
    case kLayoutRetypeWord:
      RetypeLastWord();
      break;
    case kLayoutRemapSelection:
      ConvertSelectedText(kLayoutRemapSelection);
      break;
    case kLayoutNext:
      switcher_.Switch(kNextLayout);
      break;
    default:
      break;
  }
}

// The keys of the word just typed are typed again, each on the same physical
// key, after the next layout took over; the word's characters are erased first.
void LayoutActions::RetypeLastWord() {
  if (history_.Locked()) return;
  const bool painting = model_.Painting();
  bool keysReleased = false;
  model_.SetPainting(false);
  history_.SetLocked(true);
  const ScopeExit unlock([&] {
    if (keysReleased) model_.RestoreHeldKeys(true);
    history_.SetLocked(false);
    model_.SetPainting(painting);
  });

  history_.CloseWithReleases(model_);
  model_.SaveHeldKeys();
  model_.ReleaseHeldKeys();
  keysReleased = true;
  KeyInputPort& input = model_.Input();
  for (int i = 0; i < history_.TypedChars(); ++i) {
    input.SendKey(kVkBack, false, false);
    input.SendKey(kVkBack, true, false);
  }
  switcher_.Switch(kNextLayout);
  for (int i = 0; i < history_.Count(); ++i) {
    const KeyHistoryRecord& record = history_.At(i);
    const std::uint8_t code = model_.LinkedKeyMap(record.code);
    if (code != 0) input.SendKey(code, record.keyUp != 0, record.extended != 0);
  }
  input.ReleaseEscKey();
}

std::wstring LayoutActions::RemapLayoutText(std::wstring_view text) {
  // The physical place (as a US English code) of every key before the switch.
  KeyCodeMap usPlace{};
  for (int code = kFirstKeyCode; code <= kLastKeyCode; ++code) {
    const TQvBtn* key = model_.Button(code);
    usPlace[static_cast<std::size_t>(code)] =
        key && key->Linked() ? key->Linked()->Code() : static_cast<std::uint8_t>(code);
  }
  const LayoutHandle from = model_.CurrentLayout();
  switcher_.Switch(kNextLayout);
  const LayoutHandle to = model_.CurrentLayout();
  KeyCodeMap keyMap{};
  for (int code = kFirstKeyCode; code <= kLastKeyCode; ++code) {
    const std::uint8_t now = model_.LinkedKeyMap(usPlace[static_cast<std::size_t>(code)]);
    keyMap[static_cast<std::size_t>(code)] = now ? now : static_cast<std::uint8_t>(code);
  }
  return RemapLayoutChars(text, keyMap, from, to, chars_);
}

}  // namespace snibbet
