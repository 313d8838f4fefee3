#pragma once
// What the template pop-up does with the keys the keyboard hook hands it.
// The hook only queues each key-down (it must return at once); the pop-up's
// timer then works through the queue in order. Window-free: the pop-up and
// the system sit behind PopupKeyTarget.
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace snibbet {


enum class PopupKeyEffect {
  TypeChar,        // a printable key, no Ctrl shortcut: the search grows, or a break closes
  PassModifier,    // Win, Shift, Ctrl, Alt: re-sent, the pop-up stays
  Backspace,       // drops the search's last character; on an empty search closes
  Paste,           // Enter
  Close,           // Esc: closes, not re-sent
  PageUp,
  PageDown,
  Last,            // End
  First,           // Home
  Prior,           // Up
  Next,            // Down
  CloseAndResend,  // any other key (Tab, arrows left and right, Ctrl shortcuts, ...)
};

// Keys that type a character: Space, digits and letters, the keypad's
// operators and digits, and the punctuation (OEM) keys.
bool IsPopupPrintableKey(std::uint8_t vk);
// `ctrlShortcut`: Ctrl is held and makes the key a shortcut.
PopupKeyEffect ClassifyPopupKey(std::uint8_t vk, bool ctrlShortcut);

enum class PopupMove { First, Last, Prior, Next, PageUp, PageDown };

// The pop-up and the system as the key handling sees them.
class PopupKeyTarget {
 public:
  virtual ~PopupKeyTarget() = default;
  // The character the key types under the keys held now ("" for none).
  virtual std::wstring KeyText(std::uint8_t vk) = 0;
  virtual bool CtrlShortcutHeld(std::uint8_t vk) = 0;
  // The key-down goes to the target application after all, while the pop-up
  // still shows (a search character, a modifier).
  virtual void Resend(std::uint8_t vk) = 0;
  // The pop-up no longer shows: the key-down reaches the target as the
  // user's own typing, which the next hotkey reads as the typed word.
  virtual void ResendAsTyping(std::uint8_t vk) = 0;
  virtual bool IsWordChar(std::wstring_view ch) = 0;

  virtual bool Shown() = 0;
  virtual const std::wstring& SearchText() = 0;
  virtual void SetSearchText(std::wstring text) = 0;
  virtual void Hide() = 0;
  virtual void Paste() = 0;  // hides the pop-up first
  virtual void Move(PopupMove move) = 0;
};

inline constexpr wchar_t kSubstituteChar = 26;  // what some layouts give Ctrl+Z

// One key, by the first rule of ClassifyPopupKey that fits.
void HandlePopupKey(PopupKeyTarget& target, std::uint8_t vk);

// The keys waiting for the pop-up's timer, oldest first. Nothing is dropped:
// a key that arrives while others wait joins the end.
class PopupKeyQueue {
 public:
  void Push(std::uint8_t vk) { keys_.push_back(vk); }
  bool Empty() const { return keys_.empty(); }
  std::size_t Size() const { return keys_.size(); }
  std::uint8_t Pop();
  void Clear() { keys_.clear(); }

 private:
  std::deque<std::uint8_t> keys_;
};

// Handles the queued keys in order while the pop-up shows; once a key hid it,
// the keys still queued were meant for the target and are re-sent to it as
// typing, in order. The queue is empty afterwards.
void DrainPopupKeys(PopupKeyQueue& queue, PopupKeyTarget& target);

}  // namespace snibbet
