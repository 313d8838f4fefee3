// A top-level window of a given class in a process of its own:
//   dispatch_window_host CLASS
// Copied under another program's file name, it stands in for that program's
// main window in the data module's foreground tests. Ends when its window is
// closed or the process is killed.
#include <windows.h>
#include <shellapi.h>

namespace {

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc < 2) return 2;
  WNDCLASSW wc{};
  wc.lpfnWndProc = HostProc;
  wc.hInstance = instance;
  wc.lpszClassName = argv[1];
  if (!RegisterClassW(&wc)) return 3;
  HWND window = CreateWindowExW(0, argv[1], L"dispatch window host", WS_OVERLAPPEDWINDOW, 200, 200, 240, 120,
                                nullptr, nullptr, instance, nullptr);
  if (!window) return 4;
  ShowWindow(window, SW_SHOWNORMAL);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  LocalFree(argv);
  return 0;
}
