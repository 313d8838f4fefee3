// A tiny program for testing the probe itself. By its first argument:
//   exit N                      ends with exit code N
//   msgbox TEXT CAPTION [TYPE]  shows MessageBoxW(TEXT, CAPTION, TYPE) and ends with its answer
//   edit TITLE                  shows a window of class "ProbeTargetWindow" filled by an EDIT
//                               control, until it is closed
//   richedit TITLE              the same with a RichEdit control (RICHEDIT50W)
//   lateedit TITLE MS           the edit window, busy for MS milliseconds when Ctrl+V
//                               comes before it reads the clipboard
//   spawn TITLE                 starts "ProbeTarget edit TITLE" and ends at once
//   post CLASS TITLE MSG COUNT  posts MSG COUNT times (wParam 0, 1, ...) to the window
//                               CLASS/TITLE; exit code 3 when there is no such window
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

namespace {

constexpr wchar_t kWindowClass[] = L"ProbeTargetWindow";
constexpr int kEditId = 100;
const wchar_t* g_editClass = L"EDIT";
DWORD g_pasteDelayMs = 0;

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      CreateWindowExW(WS_EX_CLIENTEDGE, g_editClass, L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL, 0, 0,
                      0, 0, hwnd, reinterpret_cast<HMENU>(kEditId), nullptr, nullptr);
      return 0;
    case WM_SIZE:
      MoveWindow(GetDlgItem(hwnd, kEditId), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_SETFOCUS:
      SetFocus(GetDlgItem(hwnd, kEditId));
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

int ShowEditWindow(const wchar_t* title) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kWindowClass;
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(0, kWindowClass, title, WS_OVERLAPPEDWINDOW, 200, 200, 400, 240, nullptr, nullptr,
                              wc.hInstance, nullptr);
  if (!hwnd) return 2;
  ShowWindow(hwnd, SW_SHOWNORMAL);
  SetForegroundWindow(hwnd);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (g_pasteDelayMs && msg.message == WM_KEYDOWN && msg.wParam == 'V' && GetKeyState(VK_CONTROL) < 0)
      Sleep(g_pasteDelayMs);
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}

int Spawn(const wchar_t* title) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring commandLine = L"\"" + std::wstring(self) + L"\" edit \"" + title + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(self, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
    return 2;
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return 0;
}

int PostTo(const wchar_t* className, const wchar_t* title, UINT message, int count) {
  HWND target = FindWindowW(className, title);
  if (!target) return 3;
  for (int i = 0; i < count; ++i) PostMessageW(target, message, i, MAKELPARAM(17, 42));
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const std::wstring mode = argc > 1 ? argv[1] : L"";
  const wchar_t* arg2 = argc > 2 ? argv[2] : L"";
  const wchar_t* arg3 = argc > 3 ? argv[3] : L"";
  if (mode == L"exit") return _wtoi(arg2);
  if (mode == L"msgbox") return MessageBoxW(nullptr, arg2, arg3, argc > 4 ? std::wcstoul(argv[4], nullptr, 0) : MB_OK);
  if (mode == L"edit") return ShowEditWindow(arg2);
  if (mode == L"richedit") {
    if (!LoadLibraryW(L"msftedit.dll")) return 2;
    g_editClass = L"RICHEDIT50W";
    return ShowEditWindow(arg2);
  }
  if (mode == L"lateedit") {
    g_pasteDelayMs = std::wcstoul(arg3, nullptr, 10);
    return ShowEditWindow(arg2);
  }
  if (mode == L"spawn") return Spawn(arg2);
  if (mode == L"post" && argc > 5) return PostTo(arg2, arg3, _wtoi(argv[4]), _wtoi(argv[5]));
  return 1;
}
