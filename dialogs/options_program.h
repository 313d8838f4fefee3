#pragma once
// The options program Varnock.exe beside Snibbet.exe: it switches
// start-with-Windows and the shell extension machine-wide, which needs
// administrator rights. The settings window learns what it did only from the
// registry, so it polls the two states after starting it.
#include <windows.h>

#include <exception>
#include <string>

namespace snibbet {

inline constexpr wchar_t kOptionsProgramFile[] = L"Varnock.exe";

// What the shell extension switch of the command line may say.
enum class ShellExtensionSwitch { Unregister = 0, Register = 1, Unchanged = 2 };

// The options program's command line: the quoted full file name of Snibbet,
// then 1 or 0 for start-with-Windows, then the shell extension's switch.
std::wstring OptionsProgramParameters(const std::wstring& programFile, bool startWithWindows,
                                      ShellExtensionSwitch shellExtension);

// Whether the shell extension's class key exists; opened only for reading,
// so a user without rights on the class registry still gets the answer.
bool IsShellExtensionRegistered();

// The two machine-wide states.
struct OptionsStates {
  bool startWithWindows = false;
  bool shellExtension = false;
  bool operator==(const OptionsStates&) const = default;
};

// What running the options program needs of the system; tests hand in fakes.
class OptionsProgramSystem {
 public:
  virtual ~OptionsProgramSystem() = default;
  // Starts the program elevated; throws with the system's message when that
  // fails or the user refuses.
  virtual void RunElevated(const std::wstring& file, const std::wstring& parameters) = 0;
  virtual OptionsStates ReadOptionsStates() = 0;
  // Waits while processing messages; false when the program is ending.
  virtual bool Wait(DWORD ms) = 0;
};

// Starts the options program for `wanted` and waits, 100 ms at a time and at
// most about 2.2 s, until the registry shows it; returns the states found
// then, whatever the program did. Errors of the start pass on.
OptionsStates RunOptionsProgram(OptionsProgramSystem& system, const std::wstring& programFolder,
                                const std::wstring& programFile, const OptionsStates& wanted);

// Switches start-with-Windows alone, the shell extension left as it is, and
// waits in the same way until the registry shows it; returns the state found
// then. Errors of the start pass on.
bool RunOptionsProgramForStartWithWindows(OptionsProgramSystem& system, const std::wstring& programFolder,
                                          const std::wstring& programFile, bool startWithWindows);

// Marks a window's run of the options program from construction to
// destruction: while it waits the window ignores its buttons and refuses to
// close, so nothing frees it under the running handler.
class OptionsProgramRun {
 public:
  explicit OptionsProgramRun(bool& running) : running_(running) { running_ = true; }
  ~OptionsProgramRun() { running_ = false; }
  OptionsProgramRun(const OptionsProgramRun&) = delete;
  OptionsProgramRun& operator=(const OptionsProgramRun&) = delete;

 private:
  bool& running_;
};

// The text of a failed start for an error box: the system's message for its
// error code, else the error's own text.
std::wstring ErrorMessageOf(const std::exception& error);

}  // namespace snibbet
