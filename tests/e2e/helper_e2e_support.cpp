#include "tests/e2e/helper_e2e_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "helper/helper_protocol.h"

namespace snibbet::helper_e2e {
namespace {

bool IsRecorded(UINT message) {
  return (message >= WM_KEYFIRST && message <= WM_KEYLAST) || message == WM_MOUSEWHEEL ||
         (message >= WM_HELPER_MOUSE_TRACK && message <= WM_HELPER_MOUSE_WHEEL);
}

void PumpPending() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (IsRecorded(m.message)) SeenMessages().push_back({m.hwnd, m.message, m.wParam, m.lParam, m.time});
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

std::wstring Widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

LRESULT CALLBACK TargetFrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETFOCUS) {
    if (HWND edit = GetWindow(window, GW_CHILD)) SetFocus(edit);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterClassOnce(const wchar_t* name, WNDPROC procedure) {
  WNDCLASSW windowClass{};
  if (GetClassInfoW(GetModuleHandleW(nullptr), name, &windowClass)) return;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = name;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassW(&windowClass);
}

HWND FindHelperWindowOf(DWORD processId) {
  HWND candidate = nullptr;
  while ((candidate = FindWindowExW(nullptr, candidate, kHelperWindowClass, kHelperWindowTitle)) != nullptr) {
    DWORD owner = 0;
    GetWindowThreadProcessId(candidate, &owner);
    if (owner == processId) return candidate;
  }
  return nullptr;
}

}  // namespace

std::vector<Seen>& SeenMessages() {
  static std::vector<Seen> seen;
  return seen;
}

std::vector<Seen> SeenOf(UINT message, HWND window) {
  std::vector<Seen> matching;
  for (const Seen& s : SeenMessages()) {
    if (s.message == message && (window == nullptr || s.window == window)) matching.push_back(s);
  }
  return matching;
}

void PumpFor(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    PumpPending();
    if (done()) return true;
    const DWORD elapsed = GetTickCount() - start;
    if (elapsed >= timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(timeoutMs - elapsed, 5), QS_ALLINPUT);
  }
}

bool Xdotool(const std::string& args, DWORD timeoutMs) {
  // A Linux program started from Wine gives no process handle to wait on: it
  // writes its exit status to a marker file that we wait for instead.
  // Wine sessions side by side number their processes alike: the display keeps them apart.
  static int sequence = 0;
  const char* display = std::getenv("DISPLAY");
  std::string session = display ? display : "";
  std::replace(session.begin(), session.end(), ':', 'd');
  std::replace(session.begin(), session.end(), '.', '-');
  const std::string marker = "/tmp/snibbet-xdotool-" + session + "-" + std::to_string(GetCurrentProcessId()) + "-" +
                             std::to_string(++sequence);
  const std::string markerDos = "Z:" + marker;
  std::string dosPath = markerDos;
  std::replace(dosPath.begin(), dosPath.end(), '/', '\\');
  std::wstring command = Widen("/bin/sh -c \"/usr/bin/xdotool " + args + "; echo $? > " + marker + ".tmp && mv " +
                               marker + ".tmp " + marker + "\"");
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(L"Z:\\bin\\sh", command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return false;
  }
  if (info.hProcess) CloseHandle(info.hProcess);
  if (info.hThread) CloseHandle(info.hThread);
  if (!PumpUntil([&] { return FileExists(dosPath); }, timeoutMs)) return false;
  int status = -1;
  if (FILE* file = std::fopen(dosPath.c_str(), "r")) {
    if (std::fscanf(file, "%d", &status) != 1) status = -1;
    std::fclose(file);
  }
  DeleteFileA(dosPath.c_str());
  return status == 0;
}

void InjectKey(WORD vk, bool release, bool extended) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.dwFlags = (release ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
  SendInput(1, &input, sizeof(INPUT));
}

bool KeyHeld(int vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; }

std::wstring ProgramFolder() {
  wchar_t buffer[MAX_PATH * 2];
  const DWORD length = GetEnvironmentVariableW(L"SNIBBET_PROGRAM_DIR", buffer, MAX_PATH * 2);
  if (length > 0 && length < MAX_PATH * 2) {
    std::wstring folder = L"Z:" + std::wstring(buffer, length);
    std::replace(folder.begin(), folder.end(), L'/', L'\\');
    return folder + L"\\";
  }
  // Without the variable: the build's program folder beside our own folder.
  GetModuleFileNameW(nullptr, buffer, MAX_PATH * 2);
  std::wstring folder(buffer);
  folder.resize(folder.find_last_of(L'\\'));
  folder.resize(folder.find_last_of(L'\\') + 1);
  return folder + L"bin\\";
}

ChildProcess::ChildProcess(const std::wstring& exe, const std::wstring& arguments) {
  std::wstring command = L"\"" + exe + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_)) {
    startError_ = GetLastError();
    info_ = {};
  }
}

ChildProcess::~ChildProcess() {
  Kill();
  if (info_.hProcess) CloseHandle(info_.hProcess);
  if (info_.hThread) CloseHandle(info_.hThread);
}

bool ChildProcess::WaitForExit(DWORD ms, DWORD* exitCode) {
  if (!info_.hProcess) return false;
  const bool ended = PumpUntil([&] { return WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0; }, ms);
  if (ended && exitCode) GetExitCodeProcess(info_.hProcess, exitCode);
  return ended;
}

void ChildProcess::Kill() {
  if (!info_.hProcess || WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0) return;
  TerminateProcess(info_.hProcess, 1);
  WaitForSingleObject(info_.hProcess, 5000);
}

HelperProcess::HelperProcess() : process_(ProgramFolder() + L"SnibbetCm.exe") {
  if (!process_.Started()) return;
  // Generous: a loaded machine can take long over a first start, and nothing here times it.
  PumpUntil([&] { return (window_ = FindHelperWindowOf(process_.Id())) != nullptr; }, 30000);
}

HelperProcess::~HelperProcess() {
  if (window_ && process_.Started() && !process_.WaitForExit(0)) {
    Send(WM_DESTROY);
    process_.WaitForExit(3000);
  }
}

bool HelperProcess::Send(UINT message) {
  DWORD_PTR result = 0;
  return window_ && SendMessageTimeoutW(window_, message, 0, 0, SMTO_NORMAL, 10000, &result) != 0;
}

void HelperProcess::Post(UINT message) { PostMessageW(window_, message, 0, 0); }

std::unique_ptr<ChildProcess> StartBlockingPeer(HWND helper, bool withMainWindow) {
  wchar_t eventName[64];
  std::swprintf(eventName, 64, L"SnibbetHelperPeerBlocked-%lu", GetCurrentProcessId());
  HANDLE blocked = CreateEventW(nullptr, TRUE, FALSE, eventName);
  if (blocked == nullptr) return nullptr;
  ResetEvent(blocked);
  wchar_t arguments[128];
  std::swprintf(arguments, 128, L"%llx %ls%ls", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(helper)),
                eventName, withMainWindow ? L" main" : L"");
  // Built beside the tests, not in the program folder.
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring peerPath(self);
  peerPath.resize(peerPath.find_last_of(L'\\') + 1);
  auto peer = std::make_unique<ChildProcess>(peerPath + L"helper_peer.exe", arguments);
  const bool peerBlocked =
      peer->Started() && PumpUntil([&] { return WaitForSingleObject(blocked, 0) == WAIT_OBJECT_0; }, 10000);
  CloseHandle(blocked);
  return peerBlocked ? std::move(peer) : nullptr;
}

TargetWindow::TargetWindow(RECT r) {
  RegisterClassOnce(L"HelperTestTarget", TargetFrameProc);
  frame_ = CreateWindowExW(0, L"HelperTestTarget", L"Helper test target", WS_POPUP | WS_VISIBLE, r.left, r.top,
                           r.right - r.left, r.bottom - r.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  // The EDIT takes the top strip only: clicks below it land on the plain frame.
  edit_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 0, 0,
                          r.right - r.left, 30, frame_, nullptr, GetModuleHandleW(nullptr), nullptr);
  PumpFor(100);
}

TargetWindow::~TargetWindow() {
  if (frame_) DestroyWindow(frame_);
  PumpFor(50);
}

std::wstring TargetWindow::Text() const {
  wchar_t buffer[512];
  const int length = GetWindowTextW(edit_, buffer, 512);
  return std::wstring(buffer, length);
}

void TargetWindow::ClearText() { SetWindowTextW(edit_, L""); }

POINT TargetWindow::Center() const {
  RECT r;
  GetWindowRect(frame_, &r);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

bool TargetWindow::Activate() {
  const POINT center = Center();
  if (!Xdotool("mousemove " + std::to_string(center.x) + " " + std::to_string(center.y))) return false;
  SetForegroundWindow(frame_);
  SetFocus(edit_);
  return PumpUntil([&] { return GetForegroundWindow() == frame_ && GetFocus() == edit_; }, 2000);
}

MainWindowStandIn::MainWindowStandIn(bool withOwner) {
  RegisterClassOnce(kMainWindowClass, DefWindowProcW);
  if (withOwner) {
    RegisterClassOnce(L"HelperTestOwner", DefWindowProcW);
    owner_ = CreateWindowExW(0, L"HelperTestOwner", L"Owner", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  }
  window_ = CreateWindowExW(0, kMainWindowClass, kMainWindowTitle, WS_POPUP, 0, 0, 1, 1, owner_, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
}

MainWindowStandIn::~MainWindowStandIn() {
  if (window_) DestroyWindow(window_);
  if (owner_) DestroyWindow(owner_);
}

}  // namespace snibbet::helper_e2e
