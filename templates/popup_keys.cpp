#include "templates/popup_keys.h"

namespace snibbet {
namespace {

constexpr std::uint8_t kBackspace = 8, kEnter = 13, kEsc = 27, kPageUp = 33, kPageDown = 34, kEnd = 35,
                       kHome = 36, kUp = 38, kDown = 40, kLeftWin = 91, kRightWin = 92;

bool InRange(std::uint8_t vk, int low, int high) { return vk >= low && vk <= high; }

void TypeChar(PopupKeyTarget& target, std::uint8_t vk) {
  const std::wstring ch = target.KeyText(vk);
  const bool substitute = ch.size() == 1 && ch[0] == kSubstituteChar;
  if (!substitute && target.IsWordChar(ch)) {
    target.SetSearchText(target.SearchText() + ch);
    target.Resend(vk);
  } else {
    target.Hide();
    target.ResendAsTyping(vk);
  }
}

void Backspace(PopupKeyTarget& target) {
  std::wstring search = target.SearchText();
  if (search.empty()) {
    target.Hide();
    target.ResendAsTyping(kBackspace);
  } else {
    search.pop_back();
    target.SetSearchText(std::move(search));
    target.Resend(kBackspace);
  }
}

}  // namespace

bool IsPopupPrintableKey(std::uint8_t vk) {
  return vk == 32 || InRange(vk, 48, 90) || InRange(vk, 96, 111) || InRange(vk, 186, 192) ||
         InRange(vk, 219, 226);
}

PopupKeyEffect ClassifyPopupKey(std::uint8_t vk, bool ctrlShortcut) {
  if (IsPopupPrintableKey(vk)) return ctrlShortcut ? PopupKeyEffect::CloseAndResend : PopupKeyEffect::TypeChar;
  if (vk == kLeftWin || vk == kRightWin || InRange(vk, 160, 165)) return PopupKeyEffect::PassModifier;
  switch (vk) {
    case kBackspace: return PopupKeyEffect::Backspace;
    case kEnter: return PopupKeyEffect::Paste;
    case kEsc: return PopupKeyEffect::Close;
    case kPageUp: return PopupKeyEffect::PageUp;
    case kPageDown: return PopupKeyEffect::PageDown;
    case kEnd: return PopupKeyEffect::Last;
    case kHome: return PopupKeyEffect::First;
    case kUp: return PopupKeyEffect::Prior;
    case kDown: return PopupKeyEffect::Next;
    default: return PopupKeyEffect::CloseAndResend;
  }
}

void HandlePopupKey(PopupKeyTarget& target, std::uint8_t vk) {
  switch (ClassifyPopupKey(vk, target.CtrlShortcutHeld(vk))) {
    case PopupKeyEffect::TypeChar: TypeChar(target, vk); break;
    case PopupKeyEffect::PassModifier: target.Resend(vk); break;
    case PopupKeyEffect::Backspace: Backspace(target); break;
    case PopupKeyEffect::Paste: target.Paste(); break;
    case PopupKeyEffect::Close: target.Hide(); break;
    case PopupKeyEffect::PageUp: target.Move(PopupMove::PageUp); break;
    case PopupKeyEffect::PageDown: target.Move(PopupMove::PageDown); break;
    case PopupKeyEffect::Last: target.Move(PopupMove::Last); break;
    case PopupKeyEffect::First: target.Move(PopupMove::First); break;
    case PopupKeyEffect::Prior: target.Move(PopupMove::Prior); break;
    case PopupKeyEffect::Next: target.Move(PopupMove::Next); break;
    case PopupKeyEffect::CloseAndResend:
      target.Hide();
      target.ResendAsTyping(vk);
      break;
  }
}

std::uint8_t PopupKeyQueue::Pop() {
  const std::uint8_t vk = keys_.front();
  keys_.pop_front();
  return vk;
}

void DrainPopupKeys(PopupKeyQueue& queue, PopupKeyTarget& target) {
  while (!queue.Empty() && target.Shown()) HandlePopupKey(target, queue.Pop());
  while (!queue.Empty()) target.ResendAsTyping(queue.Pop());
}

}  // namespace snibbet
