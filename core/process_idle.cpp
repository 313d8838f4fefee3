#include "core/process_idle.h"

#include <psapi.h>

#include <algorithm>

#include "core/message_pump.h"

namespace snibbet {
namespace {

constexpr DWORD kMinStepMs = 10;
constexpr double kIdlePercentOfOneCpu = 0.1;

class ProcessHandle {
 public:
  ProcessHandle(DWORD access, DWORD processId) : handle_(OpenProcess(access, FALSE, processId)) {}
  ~ProcessHandle() { if (handle_) CloseHandle(handle_); }
  ProcessHandle(const ProcessHandle&) = delete;
  ProcessHandle& operator=(const ProcessHandle&) = delete;
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};

double FileTimeToMs(const FILETIME& t) {
  const ULONGLONG ticks = (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  return static_cast<double>(ticks) / 10000.0;  // 100 ns units
}

}  // namespace

std::wstring GetProcessImageName(DWORD processId) {
  ProcessHandle process(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, processId);
  if (!process.Get()) return {};
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameExW(process.Get(), nullptr, path, MAX_PATH);
  return std::wstring(path, length);
}

double GetWindowProcessCpuMs(HWND window) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId == 0) return 0;
  ProcessHandle process(PROCESS_QUERY_LIMITED_INFORMATION, processId);  // enough even for elevated programs
  FILETIME created, exited, kernel, user;
  if (!process.Get() || !GetProcessTimes(process.Get(), &created, &exited, &kernel, &user)) return 0;
  return FileTimeToMs(kernel) + FileTimeToMs(user);
}

void WaitForWindowProcessIdle(HWND window, DWORD stepMs, DWORD timeoutMs) {
  if (!window) return;
  const DWORD step = std::max(stepMs, kMinStepMs);
  double before = GetWindowProcessCpuMs(window);
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs) {
    if (!PumpMessagesFor(step)) return;
    const double after = GetWindowProcessCpuMs(window);
    if ((after - before) * 100.0 / step < kIdlePercentOfOneCpu) return;
    before = after;
  }
}

void WaitForProcessIdle(DWORD stepMs, DWORD timeoutMs) {
  WaitForWindowProcessIdle(GetForegroundWindow(), stepMs, timeoutMs);
}

}  // namespace snibbet
