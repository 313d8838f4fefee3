#include "core/synthetic_input.h"

#include <array>
#include <chrono>

#include "core/message_pump.h"
#include "helper/helper_protocol.h"

namespace snibbet {
namespace {

constexpr std::chrono::milliseconds kChordPause{10};
constexpr UINT kFirstOemKey = 186;

// By virtual-key code: pressed by us and not released by us since, with the
// extended flag of that press.
struct ProgramPress {
  bool down = false;
  bool extended = false;
};
std::array<ProgramPress, 256> g_pressedByProgram{};

// A pause between two of our keys runs from the moment the first was sent.
// SendInput returns only once every low-level hook has seen the key, and the
// next key goes the same way through them, so the target still gets the two
// a whole pause apart; a pause from the return would add the hooks' time.
void PauseSince(WaitClock::time_point sent) { SleepTill(sent + kChordPause); }

bool SendCtrlChord(BYTE letter) {
  PauseSince(WaitClock::now());
  const WaitClock::time_point ctrlSent = WaitClock::now();
  const bool ctrlDown = SendKey(VK_CONTROL, false, false);
  PauseSince(ctrlSent);
  const bool letterDown = ctrlDown && SendKey(letter, false, false);
  const WaitClock::time_point letterUpSent = WaitClock::now();
  const bool letterSent = letterDown && SendKey(letter, true, false);
  PauseSince(letterUpSent);
  const WaitClock::time_point ctrlUpSent = WaitClock::now();
  const bool ctrlUp = SendKey(VK_CONTROL, true, false);
  PauseSince(ctrlUpSent);
  return letterSent && ctrlUp;
}

bool IsBlankOrControl(wchar_t c) { return c <= L' '; }

// The buffer without leading and trailing blanks and control characters.
std::wstring Trimmed(const wchar_t* buffer, int length) {
  int first = 0, last = length;
  while (first < last && IsBlankOrControl(buffer[first])) ++first;
  while (last > first && IsBlankOrControl(buffer[last - 1])) --last;
  return std::wstring(buffer + first, static_cast<std::size_t>(last - first));
}

}  // namespace

INPUT OwnKeyInput(BYTE virtualKey, bool keyUp, bool extended) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = (keyUp ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
  input.ki.dwExtraInfo = kSnibbetInputMarker;
  return input;
}

bool SendKey(BYTE virtualKey, bool keyUp, bool extended) {
  INPUT input = OwnKeyInput(virtualKey, keyUp, extended);
  const bool sent = SendInput(1, &input, sizeof(INPUT)) == 1;
  if (sent) g_pressedByProgram[virtualKey] = {!keyUp, extended};
  return sent;
}

bool SystemHoldsKey(BYTE virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

void ReleaseKeysLeftDown(const std::function<bool(BYTE)>& userHolds) {
  for (int code = 1; code < 256; ++code) {
    const auto key = static_cast<BYTE>(code);
    const ProgramPress press = g_pressedByProgram[key];
    if (!press.down || userHolds(key)) continue;
    // Cleared first: if the system refuses the key-up there is nothing more we can do.
    g_pressedByProgram[key] = {};
    SendKey(key, true, press.extended);
  }
}

bool SendKeyPress(BYTE virtualKey, bool extended) {
  const bool down = SendKey(virtualKey, false, extended);
  const bool up = SendKey(virtualKey, true, extended);
  return down && up;
}

void ReleaseEscKey() {
  const WaitClock::time_point sent = WaitClock::now();
  SendKey(VK_ESCAPE, true, false);
  PauseSince(sent);
}

bool SendCtrlX() { return SendCtrlChord('X'); }
bool SendCtrlC() { return SendCtrlChord('C'); }
bool SendCtrlV() { return SendCtrlChord('V'); }
bool SendCtrlZ() { return SendCtrlChord('Z'); }

std::wstring KeyToUnicodeString(UINT virtualKey, KeyState keyState, HKL layout) {
  wchar_t buffer[2] = {L' ', L' '};
  const UINT scanCode = MapVirtualKeyExW(virtualKey, MAPVK_VK_TO_VSC, layout);
  const int result = ToUnicodeEx(virtualKey, scanCode, keyState.data(), buffer, 2, 0, layout);
  if (result <= 0) return {};  // no character, or a dead key waiting for the next
  const std::wstring text = Trimmed(buffer, 2);
  if (text.empty()) return {};
  return std::wstring(1, result == 1 ? text.front() : text.back());
}

wchar_t KeyToChar(UINT virtualKey, KeyState keyState, HKL layout) {
  std::wstring text = KeyToUnicodeString(virtualKey, keyState, layout);
  // Asking again completes a dead key with itself, which clears it.
  if (virtualKey >= kFirstOemKey) text = KeyToUnicodeString(virtualKey, keyState, layout);
  return text.empty() ? L' ' : text.front();
}

}  // namespace snibbet
