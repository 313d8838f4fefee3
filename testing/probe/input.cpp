#include "testing/probe/input.h"

#include <stdexcept>
#include <vector>

#include "testing/probe/text.h"

namespace probe {
namespace {

bool IsExtendedKey(WORD vk) {
  switch (vk) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_PRIOR: case VK_NEXT:
    case VK_HOME: case VK_END: case VK_INSERT: case VK_DELETE: case VK_RCONTROL: case VK_RMENU:
    case VK_LWIN: case VK_RWIN: case VK_APPS: case VK_DIVIDE: case VK_NUMLOCK:
      return true;
    default:
      return false;
  }
}

INPUT KeyInput(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0) | (IsExtendedKey(vk) ? KEYEVENTF_EXTENDEDKEY : 0);
  return input;
}

void Send(std::vector<INPUT> inputs) {
  if (inputs.empty()) return;
  const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  if (sent != inputs.size()) throw std::runtime_error("SendInput failed: " + LastErrorText());
}

// Absolute mouse coordinates are 0..65535 over the primary screen.
INPUT MouseAt(POINT screen, DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  input.mi.dx = static_cast<LONG>((screen.x * 65535LL + width / 2) / (width - 1));
  input.mi.dy = static_cast<LONG>((screen.y * 65535LL + height / 2) / (height - 1));
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
  return input;
}

}  // namespace

void SendKeyDown(WORD vk) { Send({KeyInput(vk, false)}); }
void SendKeyUp(WORD vk) { Send({KeyInput(vk, true)}); }
void SendKeyTap(WORD vk) { Send({KeyInput(vk, false), KeyInput(vk, true)}); }

void SendKeyChord(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (WORD vk : keys) inputs.push_back(KeyInput(vk, false));
  for (auto it = std::rbegin(keys); it != std::rend(keys); ++it) inputs.push_back(KeyInput(*it, true));
  Send(std::move(inputs));
}

void SendUnicodeText(const std::wstring& text) {
  std::vector<INPUT> inputs;
  for (wchar_t c : text) {
    for (DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wScan = c;
      input.ki.dwFlags = KEYEVENTF_UNICODE | up;
      inputs.push_back(input);
    }
  }
  Send(std::move(inputs));
}

void SendMouseMove(POINT screen) { Send({MouseAt(screen, MOUSEEVENTF_MOVE)}); }

void SendMouseClick(POINT screen, MouseButton button) {
  DWORD down = MOUSEEVENTF_LEFTDOWN, up = MOUSEEVENTF_LEFTUP;
  if (button == MouseButton::Right) down = MOUSEEVENTF_RIGHTDOWN, up = MOUSEEVENTF_RIGHTUP;
  if (button == MouseButton::Middle) down = MOUSEEVENTF_MIDDLEDOWN, up = MOUSEEVENTF_MIDDLEUP;
  Send({MouseAt(screen, MOUSEEVENTF_MOVE), MouseAt(screen, down), MouseAt(screen, up)});
}

void SendMouseWheel(int delta) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.mouseData = static_cast<DWORD>(delta);
  input.mi.dwFlags = MOUSEEVENTF_WHEEL;
  Send({input});
}

}  // namespace probe
