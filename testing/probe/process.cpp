#include "testing/probe/process.h"

#include <tlhelp32.h>

#include <stdexcept>

#include "testing/probe/text.h"

namespace probe {

std::wstring QuoteArgument(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) return argument;
  std::wstring out = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') { ++backslashes; continue; }
    // Backslashes are literal unless a quote follows them.
    out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(backslashes * 2, L'\\');
  return out + L"\"";
}

std::wstring JoinArguments(const std::vector<std::wstring>& arguments) {
  std::wstring out;
  for (const auto& argument : arguments) {
    if (!out.empty()) out += L' ';
    out += QuoteArgument(argument);
  }
  return out;
}

Process::Process(Process&& other) noexcept : handle_(other.handle_), pid_(other.pid_) {
  other.handle_ = nullptr;
  other.pid_ = 0;
}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    if (handle_) CloseHandle(handle_);
    handle_ = other.handle_;
    pid_ = other.pid_;
    other.handle_ = nullptr;
    other.pid_ = 0;
  }
  return *this;
}

Process::~Process() {
  if (handle_) CloseHandle(handle_);
}

Process Process::Start(const std::wstring& path, const LaunchOptions& options) {
  std::wstring commandLine = QuoteArgument(path);
  if (!options.arguments.empty()) commandLine += L" " + options.arguments;
  std::wstring workDir = options.workDir;
  if (workDir.empty()) {
    const auto slash = path.find_last_of(L"\\/");
    if (slash != std::wstring::npos) workDir = path.substr(0, slash + 1);
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(options.show);
  PROCESS_INFORMATION info{};
  const auto create = [&] {
    return CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          workDir.empty() ? nullptr : workDir.c_str(), &startup, &info) != FALSE;
  };
  // Under load Wine now and then fails a start with an internal error; a second try works.
  bool started = create();
  for (int retry = 0; !started && GetLastError() == ERROR_INTERNAL_ERROR && retry < 3; ++retry) {
    Sleep(50);
    started = create();
  }
  if (!started) throw std::runtime_error("cannot start " + ToUtf8(path) + ": " + LastErrorText());
  CloseHandle(info.hThread);
  return Process(info.hProcess, info.dwProcessId);
}

Process Process::Start(const std::wstring& path, const std::vector<std::wstring>& arguments) {
  LaunchOptions options;
  options.arguments = JoinArguments(arguments);
  return Start(path, options);
}

Process Process::Attach(DWORD pid) {
  const DWORD access = SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION;
  HANDLE handle = OpenProcess(access, FALSE, pid);
  if (!handle) throw std::runtime_error("cannot open process " + std::to_string(pid) + ": " + LastErrorText());
  return Process(handle, pid);
}

bool Process::Running() const {
  return handle_ && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Process::ExitCode() const {
  if (!handle_ || Running()) return std::nullopt;
  DWORD code = 0;
  if (!GetExitCodeProcess(handle_, &code)) return std::nullopt;
  return code;
}

std::optional<DWORD> Process::WaitExit(milliseconds timeout) const {
  if (!handle_) return std::nullopt;
  if (WaitForSingleObject(handle_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) return std::nullopt;
  return ExitCode();
}

bool Process::WaitIdle(milliseconds timeout) const {
  return handle_ && WaitForInputIdle(handle_, static_cast<DWORD>(timeout.count())) == 0;
}

bool Process::Kill(DWORD exitCode) const {
  if (!handle_) return false;
  if (!Running()) return true;
  TerminateProcess(handle_, exitCode);
  return WaitForSingleObject(handle_, 5000) == WAIT_OBJECT_0;
}

std::vector<ProcessEntry> ListProcesses() {
  std::vector<ProcessEntry> processes;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return processes;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
    processes.push_back({entry.th32ProcessID, entry.th32ParentProcessID, entry.szExeFile});
  CloseHandle(snapshot);
  return processes;
}

std::vector<DWORD> ProcessesNamed(const std::wstring& exe) {
  std::vector<DWORD> pids;
  for (const auto& process : ListProcesses())
    if (_wcsicmp(process.exe.c_str(), exe.c_str()) == 0) pids.push_back(process.pid);
  return pids;
}

}  // namespace probe
