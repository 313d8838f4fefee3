#include "testing/probe/process.h"

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
  if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      workDir.empty() ? nullptr : workDir.c_str(), &startup, &info)) {
    throw std::runtime_error("cannot start " + ToUtf8(path) + ": " + LastErrorText());
  }
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

}  // namespace probe
