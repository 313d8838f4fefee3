#pragma once
// Facts about other processes, and waiting until the one in front is idle
// before typing into it.
#include <windows.h>

#include <string>

namespace snibbet {

// Full path of the process's main module (at most 260 characters); "" when
// the process cannot be opened or read.
std::wstring GetProcessImageName(DWORD processId);

// Kernel plus user time of the process owning `window`, in milliseconds;
// 0 when it cannot be read.
double GetWindowProcessCpuMs(HWND window);

// Waits, processing messages in steps of `stepMs` (at least 10), until the
// process of the foreground window uses less than 0.1 % of one processor over
// a step, or `timeoutMs` have passed. Returns at once when nothing is in front.
void WaitForProcessIdle(DWORD stepMs, DWORD timeoutMs);

// The same for the process owning `window`.
void WaitForWindowProcessIdle(HWND window, DWORD stepMs, DWORD timeoutMs);

}  // namespace snibbet
