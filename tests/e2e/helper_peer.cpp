// Stands in for a main program that blocks input and then stops responding:
//   helper_peer.exe <helper window, hex> <event name> [main]
// sends WM_HELPER_BLOCK_INPUT, signals the named event and waits to be killed.
// With "main" it first makes the main program's hidden window, which goes
// with the process.
#include <windows.h>

#include <cwchar>

#include "helper/helper_protocol.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 3 && argc != 4) return 2;
  if (argc == 4) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = snibbet::kMainWindowClass;
    if (!RegisterClassW(&windowClass) ||
        !CreateWindowExW(0, snibbet::kMainWindowClass, snibbet::kMainWindowTitle, WS_POPUP, 0, 0, 1, 1, nullptr,
                         nullptr, windowClass.hInstance, nullptr)) {
      return 3;
    }
  }
  const auto window = reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::wcstoull(argv[1], nullptr, 16)));
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, snibbet::WM_HELPER_BLOCK_INPUT, 0, 0, SMTO_NORMAL, 10000, &result)) return 1;
  if (HANDLE blocked = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2])) {
    SetEvent(blocked);
    CloseHandle(blocked);
  }
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
