#pragma once
// Small utilities for driving the real SnibbetCm.exe from a test (or benchmark)
// process under Wine + Xvfb: physical input through xdotool, injected input
// through SendInput, the helper as a separate process, and stand-in windows.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace snibbet::helper_e2e {

// --- Message pump -----------------------------------------------------------

// A message this thread retrieved that tests look at: keyboard messages,
// WM_MOUSEWHEEL and the helper's relays.
struct Seen {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;  // the message's own time stamp
};

// Everything seen since the last Clear(), in order.
std::vector<Seen>& SeenMessages();
std::vector<Seen> SeenOf(UINT message, HWND window = nullptr);

void PumpFor(DWORD ms);
// Pumps until `done` answers true or `timeoutMs` passes; answers `done`'s last answer.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

// --- Input ------------------------------------------------------------------

// Runs /usr/bin/xdotool with `args` on the Linux side, pumping this thread's
// messages meanwhile (our windows must take the X events). True on exit status 0.
bool Xdotool(const std::string& args, DWORD timeoutMs = 20000);

void InjectKey(WORD vk, bool release, bool extended = false);
bool KeyHeld(int vk);

// --- Processes --------------------------------------------------------------

// Windows path of the program folder (where SnibbetCm.exe is built).
std::wstring ProgramFolder();

// A process started from an exe path with arguments; ended in the destructor if still running.
class ChildProcess {
 public:
  ChildProcess(const std::wstring& exe, const std::wstring& arguments = L"");
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return info_.hProcess != nullptr; }
  // Why it did not start (GetLastError of the start); 0 when it did.
  DWORD StartError() const { return startError_; }
  DWORD Id() const { return info_.dwProcessId; }
  // True once ended within `ms` (pumping meanwhile); its exit code in `exitCode`.
  bool WaitForExit(DWORD ms, DWORD* exitCode = nullptr);
  void Kill();

 private:
  PROCESS_INFORMATION info_{};
  DWORD startError_ = 0;
};

// The real SnibbetCm.exe, started fresh, with its hidden window found by class, title and process.
class HelperProcess {
 public:
  HelperProcess();
  // Ends it as the main program does (WM_DESTROY), killing it if it does not end.
  ~HelperProcess();
  HWND Window() const { return window_; }
  // Sends like the main program does; false when the helper did not answer in time.
  bool Send(UINT message);
  void Post(UINT message);
  bool WaitForExit(DWORD ms, DWORD* exitCode) { return process_.WaitForExit(ms, exitCode); }
  ChildProcess& Process() { return process_; }

 private:
  ChildProcess process_;
  HWND window_ = nullptr;
};

// helper_peer.exe, a stand-in main program that sends WM_HELPER_BLOCK_INPUT to
// `helper` and then stops responding; with `withMainWindow` it first makes the
// main program's hidden window, which goes with its process. Answers the peer
// once its block is on, null when it did not get that far.
std::unique_ptr<ChildProcess> StartBlockingPeer(HWND helper, bool withMainWindow);

// --- Windows ----------------------------------------------------------------

// A visible top-level window with an EDIT control along its top that holds the focus.
class TargetWindow {
 public:
  explicit TargetWindow(RECT screenRect = {100, 100, 600, 400});
  ~TargetWindow();
  TargetWindow(const TargetWindow&) = delete;
  TargetWindow& operator=(const TargetWindow&) = delete;

  HWND Frame() const { return frame_; }
  HWND Edit() const { return edit_; }
  std::wstring Text() const;
  void ClearText();
  // Brings it to the front with the focus in the EDIT and the X pointer over it.
  bool Activate();
  POINT Center() const;

 private:
  HWND frame_ = nullptr;
  HWND edit_ = nullptr;
};

// Stands in for the main program's hidden main window (class TFirstForm,
// title "SnibbetFirstForm"), with or without an owner window.
class MainWindowStandIn {
 public:
  explicit MainWindowStandIn(bool withOwner);
  ~MainWindowStandIn();
  MainWindowStandIn(const MainWindowStandIn&) = delete;
  MainWindowStandIn& operator=(const MainWindowStandIn&) = delete;

  HWND Window() const { return window_; }

 private:
  HWND owner_ = nullptr;
  HWND window_ = nullptr;
};

}  // namespace snibbet::helper_e2e
