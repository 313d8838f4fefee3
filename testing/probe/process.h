#pragma once
// Programs started as separate processes, as a user would start them.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "testing/probe/wait.h"

namespace probe {

// Quotes one argument so that CommandLineToArgvW (and the C runtime) give it back unchanged.
std::wstring QuoteArgument(const std::wstring& argument);
std::wstring JoinArguments(const std::vector<std::wstring>& arguments);

struct LaunchOptions {
  LaunchOptions() = default;   // not an aggregate: a braced list means arguments
  std::wstring arguments;   // the command line after the program's own quoted path
  std::wstring workDir;     // empty: the program's own folder
  int show = SW_SHOWNORMAL;
};

// A started (or attached) process. Owns its handle; never kills on destruction
// (see ProcessGuard for that).
class Process {
 public:
  Process() = default;
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  ~Process();

  // Throws std::runtime_error when the program cannot be started.
  static Process Start(const std::wstring& path, const LaunchOptions& options = {});
  static Process Start(const std::wstring& path, const std::vector<std::wstring>& arguments);
  // A process someone else started (e.g. a helper the program under test started).
  // Throws std::runtime_error when it cannot be opened.
  static Process Attach(DWORD pid);

  bool Valid() const { return handle_ != nullptr; }
  HANDLE Handle() const { return handle_; }
  DWORD Pid() const { return pid_; }
  bool Running() const;
  // The exit code once the process has ended.
  std::optional<DWORD> ExitCode() const;
  // Waits up to `timeout` for the process to end; its exit code, or nothing on time-out.
  std::optional<DWORD> WaitExit(milliseconds timeout) const;
  // Waits until the process waits for input (its message loop runs).
  bool WaitIdle(milliseconds timeout) const;
  // Terminates the process (if running) and waits for it to be gone.
  bool Kill(DWORD exitCode = 0xDEAD) const;

 private:
  Process(HANDLE handle, DWORD pid) : handle_(handle), pid_(pid) {}
  HANDLE handle_ = nullptr;
  DWORD pid_ = 0;
};

struct ProcessEntry {
  DWORD pid = 0;
  DWORD parent = 0;   // the pid of the process that started it (that pid may be reused by now)
  std::wstring exe;   // file name, e.g. L"SnibbetCm.exe"
};

std::vector<ProcessEntry> ListProcesses();
// Pids of the running processes with this file name (case-insensitive).
std::vector<DWORD> ProcessesNamed(const std::wstring& exe);

// Kills a process that is still running when the guard goes out of scope.
class ProcessGuard {
 public:
  explicit ProcessGuard(Process process) : process_(std::move(process)) {}
  ProcessGuard(ProcessGuard&&) = default;
  ~ProcessGuard() { if (process_.Valid()) process_.Kill(); }
  Process& operator*() { return process_; }
  Process* operator->() { return &process_; }

 private:
  Process process_;
};

}  // namespace probe
