// The floor of the road benchmark's pop-up figures: a bare pop-up with no
// program around it. A low-level keyboard hook takes left Win+Space, starts
// a 10 ms timer as the program's executor does, and the timer fills a
// 9-row list and a one-line preview while the window is hidden, shows it
// topmost without activation and paints it in the same step. Esc hides it.
// Started by road_bench.exe; its hidden window's title is the command line.
#include <windows.h>
#include <commctrl.h>

#include <string>

namespace {

constexpr wchar_t kClass[] = L"RoadBenchBarePopup";
constexpr int kRows = 9;
constexpr UINT_PTR kShowTimer = 1;
constexpr UINT kTickMs = 10;  // as the program's executor

HWND g_window = nullptr;
HWND g_list = nullptr;
HWND g_preview = nullptr;
HHOOK g_hook = nullptr;
bool g_winDown = false;
wchar_t g_cell[32];

LRESULT CALLBACK KeyProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto& key = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    const bool down = (key.flags & LLKHF_UP) == 0;
    if (key.vkCode == VK_LWIN) g_winDown = down;
    if (key.vkCode == VK_SPACE && g_winDown) {
      if (down && !IsWindowVisible(g_window)) SetTimer(g_window, kShowTimer, kTickMs, nullptr);
      return 1;
    }
    if (key.vkCode == VK_ESCAPE && IsWindowVisible(g_window)) {
      if (down) ShowWindow(g_window, SW_HIDE);
      return 1;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

void ShowFilled() {
  SendMessageW(g_list, LVM_SETITEMCOUNT, 0, 0);
  SendMessageW(g_list, LVM_SETITEMCOUNT, kRows, LVSICF_NOSCROLL);
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = item.stateMask;
  SendMessageW(g_list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
  SetWindowTextW(g_preview, L"Hello number 1");
  SetWindowPos(g_window, HWND_TOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  RedrawWindow(g_window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      KillTimer(window, kShowTimer);
      ShowFilled();
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->hwndFrom == g_list && header->code == LVN_GETDISPINFOW) {
        auto& info = *reinterpret_cast<NMLVDISPINFOW*>(lParam);
        if (info.item.mask & LVIF_TEXT) {
          wsprintfW(g_cell, L"he%d", info.item.iItem + 1);
          info.item.pszText = g_cell;
        }
      }
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kClass;
  RegisterClassW(&windowClass);
  // The program's pop-up's size, at the place the target's caret gives it.
  g_window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kClass, commandLine, WS_POPUP,
                             100, 100, 459, 282, nullptr, nullptr, instance, nullptr);
  const HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  g_list = CreateWindowExW(0, WC_LISTVIEWW, L"",
                           WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SINGLESEL,
                           1, 1, 148, 252, g_window, nullptr, instance, nullptr);
  SendMessageW(g_list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SendMessageW(g_list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER,
               LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.cx = 140;
  column.pszText = const_cast<wchar_t*>(L"Name");
  SendMessageW(g_list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
  g_preview = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY, 152, 1, 306,
                              252, g_window, nullptr, instance, nullptr);
  SendMessageW(g_preview, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  g_hook = SetWindowsHookExW(WH_KEYBOARD_LL, KeyProc, instance, 0);
  if (!g_window || !g_list || !g_preview || !g_hook) return 1;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  UnhookWindowsHookEx(g_hook);
  return 0;
}
