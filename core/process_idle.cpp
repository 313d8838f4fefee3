#include "core/process_idle.h"

#include <psapi.h>

#include <algorithm>
#include <chrono>

#include "core/message_pump.h"
#include "ui/handles.h"

namespace snibbet {
namespace {

constexpr DWORD kMinStepMs = 10;
constexpr double kIdlePercentOfOneCpu = 0.1;

double FileTimeToMs(const FILETIME& t) {
  const ULONGLONG ticks = (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  return static_cast<double>(ticks) / 10000.0;  // 100 ns units
}

// Enough even for elevated programs. Null when the window has no process
// that can be opened.
ui::KernelHandle OpenWindowProcess(HWND window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId == 0) return ui::KernelHandle();
  return ui::KernelHandle(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
}

double ProcessCpuMs(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!process || !GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  return FileTimeToMs(kernel) + FileTimeToMs(user);
}

}  // namespace

std::wstring GetProcessImageName(DWORD processId) {
  const ui::KernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
  if (!process) return {};
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameExW(process.Get(), nullptr, path, MAX_PATH);
  return std::wstring(path, length);
}

double GetWindowProcessCpuMs(HWND window) { return ProcessCpuMs(OpenWindowProcess(window).Get()); }

// A step runs from one reading of the process's time to the next, so the
// readings are part of the step rather than added to it, and the share is
// taken over the time that really passed. The process is opened once: the
// reading after a step then costs one call.
void WaitForWindowProcessIdle(HWND window, DWORD stepMs, DWORD timeoutMs) {
  if (!window) return;
  const ui::KernelHandle process = OpenWindowProcess(window);
  const auto step = std::chrono::milliseconds(std::max(stepMs, kMinStepMs));
  const WaitClock::time_point start = WaitClock::now();
  const WaitClock::time_point end = start + std::chrono::milliseconds(timeoutMs);
  WaitClock::time_point stepStart = start;
  double before = ProcessCpuMs(process.Get());
  while (WaitClock::now() < end) {
    if (!PumpMessagesTill(stepStart + step)) return;
    const WaitClock::time_point now = WaitClock::now();
    const double after = ProcessCpuMs(process.Get());
    const double passedMs = std::chrono::duration<double, std::milli>(now - stepStart).count();
    if ((after - before) * 100.0 / passedMs < kIdlePercentOfOneCpu) return;
    before = after;
    stepStart = now;
  }
}

void WaitForProcessIdle(DWORD stepMs, DWORD timeoutMs) {
  WaitForWindowProcessIdle(GetForegroundWindow(), stepMs, timeoutMs);
}

}  // namespace snibbet
