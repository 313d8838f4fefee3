#pragma once
// The system's visual-style library, bound at run time so that the program
// still starts where it is missing, with one open theme handle per theme
// class and a hidden window that hears of visual-style changes.
// Process-wide; GUI thread only.
#include <windows.h>
#include <uxtheme.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace snibbet {

enum class ThemeClass : int {
  Button, Clock, ComboBox, Edit, ExplorerBar, Header, ListView, Menu, Page, Progress, Rebar, ScrollBar,
  Spin, StartPanel, Status, Tab, TaskBand, TaskBar, ToolBar, ToolTip, TrackBar, TrayNotify, TreeView, Window,
};
inline constexpr int kThemeClassCount = 24;

// A set of theme classes, one bit per class.
using ThemeClassSet = std::uint32_t;
constexpr ThemeClassSet ThemeClassBit(ThemeClass c) { return 1u << static_cast<int>(c); }

// The library's entry points that the program calls; each may be missing.
struct ThemeApi {
  decltype(&::OpenThemeData) openThemeData = nullptr;
  decltype(&::CloseThemeData) closeThemeData = nullptr;
  decltype(&::IsThemeActive) isThemeActive = nullptr;
  decltype(&::GetCurrentThemeName) getCurrentThemeName = nullptr;
};

// Where the library comes from: the system's by name, or (for tests) another
// name, such as one that does not exist, or entry points given directly.
struct ThemeLibrarySource {
  std::wstring libraryName = L"UxTheme.dll";
  const ThemeApi* replacement = nullptr;
};

// Binds the library and starts the theme manager (the common controls are
// initialised in every case). Call once at start-up before the first window,
// and StopThemeManager at exit; starting again restarts.
void StartThemeManager(const ThemeLibrarySource& source = {});
void StopThemeManager();

bool ThemeApiAvailable();  // Windows XP or later
bool IsUxThemeLoaded();
bool ThemesActive();       // the last answer of IsThemeActive; false once stopped

// Themes are on and the library is loaded, and every class of `classes`
// (in index order) can be opened.
bool AreThemesUsable(ThemeClassSet classes = 0);

// The open theme handle of a class: an open handle is reused when no name is
// given or the name is the one it was opened with (in any case); a new name
// closes it first. Without a name the last name used, else the class's own.
// Null when themes are not usable or the system refuses.
HTHEME OpenThemeHandle(ThemeClass themeClass, std::wstring_view name = {});

// CloseThemeData's result, 0 when nothing was open, 1 when themes are not
// usable (nothing done). The name it was opened with stays for the next open.
HRESULT CloseThemeHandle(ThemeClass themeClass);
void CloseAllThemeHandles();

struct ThemeNames {
  std::wstring file, color, size;
};
// The current visual style's file, colour and size names; false when the
// library cannot tell.
bool GetCurrentThemeNames(ThemeNames& names);

// Called after a visual-style change, once the handles are closed and
// ThemesActive is up to date. Listeners run in the order they were added.
using ThemeChangeListener = std::function<void()>;
// Returns an id for removal; 0 (and the listener is never called) while the
// library is not loaded, as no visual style can change then.
int AddThemeChangeListener(ThemeChangeListener listener);
void RemoveThemeChangeListener(int id);

// The hidden top-level window that receives WM_THEMECHANGED; null while the
// library is not loaded.
HWND ThemeChangeWindow();

}  // namespace snibbet
