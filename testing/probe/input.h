#pragma once
// Synthetic input through SendInput: it reaches the foreground window and carries
// LLKHF_INJECTED / LLMHF_INJECTED in low-level hooks. For physical input see xdotool.h.
#include <windows.h>

#include <initializer_list>
#include <string>

namespace probe {

enum class MouseButton { Left, Right, Middle };

void SendKeyDown(WORD vk);
void SendKeyUp(WORD vk);
void SendKeyTap(WORD vk);
// Presses the keys in order and releases them in reverse order, e.g. {VK_CONTROL, 'V'}.
void SendKeyChord(std::initializer_list<WORD> keys);
// Each character as KEYEVENTF_UNICODE down and up (VK_PACKET in hooks).
void SendUnicodeText(const std::wstring& text);

void SendMouseMove(POINT screen);
void SendMouseClick(POINT screen, MouseButton button = MouseButton::Left);
void SendMouseWheel(int delta);   // WHEEL_DELTA steps, positive = away from the user

}  // namespace probe
