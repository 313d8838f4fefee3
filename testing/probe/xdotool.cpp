#include "testing/probe/xdotool.h"

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "testing/probe/process.h"
#include "testing/probe/text.h"
#include "testing/probe/wine.h"

namespace probe {
namespace {

// Delay between keys: X keeps the order anyway; a few ms let Wine keep up.
constexpr const char* kKeyDelayMs = "4";

std::wstring TempFolder() {
  wchar_t folder[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, folder);
  return folder;
}

std::string ReadWholeFile(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool UnixFileExists(const std::string& path) {
  return GetFileAttributesW(WindowsPathOf(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The exit code file is complete once its line ends.
std::optional<int> ReadExitCode(const std::wstring& path) {
  const std::string text = ReadWholeFile(path);
  if (text.empty() || text.back() != '\n') return std::nullopt;
  return std::atoi(text.c_str());
}

std::string Number(long value) { return std::to_string(value); }

}  // namespace

std::optional<UnixRun> RunUnixProgram(const std::string& program, const std::vector<std::string>& arguments,
                                      milliseconds timeout) {
  static std::atomic<unsigned> counter{0};
  // Wine reuses pids soon: the tick count keeps names of earlier processes apart.
  const std::wstring name = L"snibbet-probe-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                            std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(counter++);
  const std::wstring resultPath = TempFolder() + name;
  const auto unixResult = UnixPathOf(resultPath);
  if (!unixResult) throw std::runtime_error("native programs can only be started under Wine");

  // $0 is the result file, $1 the time-out in seconds, then the program and its arguments.
  // Nothing may keep the test's output pipes open (CTest waits for them), and a
  // program that overstays is ended by `timeout`.
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(timeout).count() + 1;
  std::vector<std::wstring> argv = {
      L"sh", L"-c",
      L"exec </dev/null 2>/dev/null; t=$1; shift; timeout -k 1 \"$t\" \"$@\" >\"$0.out\" 2>&1; echo $? >\"$0.rc\"",
      FromUtf8(*unixResult), std::to_wstring(seconds), FromUtf8(program)};
  for (const auto& argument : arguments) argv.push_back(FromUtf8(argument));
  std::wstring commandLine = JoinArguments(argv);

  const std::wstring rcPath = resultPath + L".rc", outPath = resultPath + L".out";
  DeleteFileW(rcPath.c_str());
  const std::wstring shell = WindowsPathOf("/bin/sh");
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;   // invalid handles: Wine gives the child /dev/null
  startup.hStdInput = startup.hStdOutput = startup.hStdError = INVALID_HANDLE_VALUE;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(shell.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      nullptr, &startup, &info)) {
    throw std::runtime_error("cannot start /bin/sh: " + LastErrorText());
  }
  // Wine gives no handles for a Unix child; close any it might give.
  if (info.hThread) CloseHandle(info.hThread);
  if (info.hProcess) CloseHandle(info.hProcess);

  std::optional<int> exitCode;
  if (!WaitUntil([&] { return (exitCode = ReadExitCode(rcPath)).has_value(); }, timeout, 1ms))
    return std::nullopt;
  UnixRun run{*exitCode, ReadWholeFile(outPath)};
  DeleteFileW(rcPath.c_str());
  DeleteFileW(outPath.c_str());
  return run;
}

std::string XdotoolPath() {
  if (const char* configured = std::getenv("SNIBBET_XDOTOOL"); configured && *configured) return configured;
  for (const char* candidate : {"/usr/bin/xdotool", "/usr/local/bin/xdotool", "/bin/xdotool"})
    if (UnixFileExists(candidate)) return candidate;
  return {};
}

bool XdotoolAvailable() { return RunningUnderWine() && !XdotoolPath().empty(); }

std::string Xdotool(const std::vector<std::string>& arguments, milliseconds timeout) {
  static const std::string path = XdotoolPath();
  if (path.empty()) throw std::runtime_error("xdotool is not installed");
  const auto run = RunUnixProgram(path, arguments, timeout);
  std::string command = "xdotool";
  for (const auto& argument : arguments) command += " " + argument;
  if (!run) throw std::runtime_error(command + ": no answer within the time-out");
  if (run->exitCode != 0)
    throw std::runtime_error(command + ": exit code " + Number(run->exitCode) + ": " + run->output);
  return run->output;
}

void PhysicalPointAt(POINT screen) {
  // No --sync: it waits forever when the pointer is already there. The X server
  // handles the move before any later request, and Wine sees it at once.
  Xdotool({"mousemove", Number(screen.x), Number(screen.y)});
  POINT seen{};
  const bool arrived = WaitUntil(
      [&] { return GetCursorPos(&seen) && seen.x == screen.x && seen.y == screen.y; }, 2000ms, 2ms);
  if (!arrived)
    throw std::runtime_error("pointer not at " + Number(screen.x) + "," + Number(screen.y) + " but at " +
                             Number(seen.x) + "," + Number(seen.y));
}

void PhysicalFocus(HWND window) {
  HWND top = GetAncestor(window, GA_ROOT);
  if (!top) throw std::runtime_error("no such window");
  if (GetForegroundWindow() != top) {
    SetForegroundWindow(top);
    if (!WaitUntil([&] { return GetForegroundWindow() == top; }, 2000ms, 2ms))
      throw std::runtime_error("cannot make the window the foreground window");
  }
  // Without a window manager nothing moves the X keyboard focus to a window
  // that became the foreground from a program not in front; it is moved here
  // as one would.
  if (const auto xWindow = reinterpret_cast<UINT_PTR>(GetPropW(top, L"__wine_x11_whole_window")))
    Xdotool({"windowfocus", "--sync", std::to_string(xWindow)});
  RECT rect{};
  GetWindowRect(window, &rect);
  PhysicalPointAt({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

void PhysicalKeys(const std::vector<std::string>& keys) {
  std::vector<std::string> arguments = {"key", "--delay", kKeyDelayMs};
  arguments.insert(arguments.end(), keys.begin(), keys.end());
  Xdotool(arguments);
}

void PhysicalChord(const std::vector<std::string>& keys) {
  std::vector<std::string> arguments;
  for (const auto& key : keys) arguments.insert(arguments.end(), {"keydown", "--delay", kKeyDelayMs, key});
  for (auto key = keys.rbegin(); key != keys.rend(); ++key)
    arguments.insert(arguments.end(), {"keyup", "--delay", kKeyDelayMs, *key});
  Xdotool(arguments);
}

void PhysicalKeyDown(const std::string& key) { Xdotool({"keydown", key}); }
void PhysicalKeyUp(const std::string& key) { Xdotool({"keyup", key}); }

void PhysicalType(const std::string& text) { Xdotool({"type", "--delay", kKeyDelayMs, "--", text}); }

void PhysicalClick(POINT screen, int button) {
  PhysicalPointAt(screen);
  Xdotool({"click", Number(button)});
}

void PhysicalWheel(POINT screen, int clicks) {
  PhysicalPointAt(screen);
  Xdotool({"click", "--repeat", Number(clicks < 0 ? -clicks : clicks), "--delay", kKeyDelayMs,
           clicks < 0 ? "5" : "4"});
}

}  // namespace probe
