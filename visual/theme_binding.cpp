#include "visual/theme_binding.h"

#include <commctrl.h>

#include <array>
#include <memory>

#include "visual/system_version.h"
#include "visual/theme_change_receiver.h"
#include "ui/handles.h"

namespace snibbet {
namespace {

constexpr std::array<const wchar_t*, kThemeClassCount> kDefaultClassNames = {
    L"Button", L"Clock",    L"ComboBox", L"Edit",    L"ExplorerBar", L"Header",  L"ListView", L"Menu",
    L"Page",   L"Progress", L"Rebar",    L"ScrollBar", L"Spin",      L"StartPanel", L"Status", L"Tab",
    L"TaskBand", L"TaskBar", L"ToolBar", L"ToolTip", L"TrackBar",    L"TrayNotify", L"TreeView", L"Window",
};
constexpr int kThemeNameLength = 1024;

struct ThemeClassEntry {
  HTHEME handle = nullptr;
  std::wstring openedName;  // empty when never opened
};

struct ThemeManagerState {
  bool apiAvailable = false;
  ui::ModuleHandle library;
  bool loaded = false;        // the library, or a replacement, is bound
  ThemeApi api;
  bool themesActive = false;
  std::array<ThemeClassEntry, kThemeClassCount> classes;
  std::unique_ptr<ThemeChangeReceiver> receiver;
};

ThemeManagerState& State() {
  static ThemeManagerState state;
  return state;
}

template <class F>
void Bind(HMODULE library, const char* name, F& pointer) {
  pointer = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

bool AskThemeActive() {
  const ThemeApi& api = State().api;
  return api.isThemeActive && api.isThemeActive() != FALSE;
}

bool SameName(std::wstring_view a, std::wstring_view b) {
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

void BindLibrary(const ThemeLibrarySource& source) {
  ThemeManagerState& s = State();
  if (source.replacement) {
    s.api = *source.replacement;
    s.loaded = true;
    return;
  }
  s.library.Reset(LoadLibraryW(source.libraryName.c_str()));
  if (!s.library) return;
  s.loaded = true;
  Bind(s.library.Get(), "OpenThemeData", s.api.openThemeData);
  Bind(s.library.Get(), "CloseThemeData", s.api.closeThemeData);
  Bind(s.library.Get(), "IsThemeActive", s.api.isThemeActive);
  Bind(s.library.Get(), "GetCurrentThemeName", s.api.getCurrentThemeName);
}

// Closes a handle whatever the theme state: used where the handles must go.
HRESULT CloseEntry(ThemeClassEntry& entry) {
  if (!entry.handle) return 0;
  const ThemeApi& api = State().api;
  const HRESULT result = api.closeThemeData ? api.closeThemeData(entry.handle) : E_FAIL;
  entry.handle = nullptr;
  return result;
}

ThemeClassEntry* EntryOf(ThemeClass themeClass) {
  const int index = static_cast<int>(themeClass);
  if (index < 0 || index >= kThemeClassCount) return nullptr;
  return &State().classes[static_cast<std::size_t>(index)];
}

}  // namespace

void StartThemeManager(const ThemeLibrarySource& source) {
  StopThemeManager();
  ThemeManagerState& s = State();
  const SystemVersion version = RunningSystemVersion();
  s.apiAvailable = version.major >= 6 || (version.major == 5 && version.minor >= 1);
  InitCommonControls();
  if (s.apiAvailable) BindLibrary(source);
  if (!s.loaded) return;
  s.themesActive = AskThemeActive();
  s.receiver = std::make_unique<ThemeChangeReceiver>([] { CloseAllThemeHandles(); },
                                                     [] { State().themesActive = AskThemeActive(); });
}

void StopThemeManager() {
  ThemeManagerState& s = State();
  // The handles go first: once themes count as off, closing them would be skipped.
  for (ThemeClassEntry& entry : s.classes) CloseEntry(entry);
  s.receiver.reset();
  s.themesActive = false;
  s.classes = {};
  s.api = {};
  s.loaded = false;
  s.library.Reset();
}

bool ThemeApiAvailable() { return State().apiAvailable; }
bool IsUxThemeLoaded() { return State().loaded; }
bool ThemesActive() { return State().themesActive; }

bool AreThemesUsable(ThemeClassSet classes) {
  if (!State().themesActive || !State().loaded) return false;
  for (int index = 0; index < kThemeClassCount; ++index) {
    if ((classes & (1u << index)) && !OpenThemeHandle(static_cast<ThemeClass>(index))) return false;
  }
  return true;
}

HTHEME OpenThemeHandle(ThemeClass themeClass, std::wstring_view name) {
  ThemeClassEntry* entry = EntryOf(themeClass);
  if (!entry || !AreThemesUsable()) return nullptr;
  if (entry->handle) {
    if (name.empty() || SameName(name, entry->openedName)) return entry->handle;
    CloseThemeHandle(themeClass);
  }
  std::wstring className(name);
  if (className.empty()) {
    className = entry->openedName.empty() ? kDefaultClassNames[static_cast<std::size_t>(themeClass)]
                                          : entry->openedName;
  }
  const ThemeApi& api = State().api;
  entry->handle = api.openThemeData ? api.openThemeData(nullptr, className.c_str()) : nullptr;
  entry->openedName = entry->handle ? className : std::wstring();
  return entry->handle;
}

HRESULT CloseThemeHandle(ThemeClass themeClass) {
  if (!AreThemesUsable()) return 1;
  ThemeClassEntry* entry = EntryOf(themeClass);
  return entry ? CloseEntry(*entry) : 0;
}

void CloseAllThemeHandles() {
  for (int index = 0; index < kThemeClassCount; ++index) CloseThemeHandle(static_cast<ThemeClass>(index));
}

bool GetCurrentThemeNames(ThemeNames& names) {
  const ThemeApi& api = State().api;
  if (!State().loaded || !api.getCurrentThemeName) return false;
  wchar_t file[kThemeNameLength] = {}, color[kThemeNameLength] = {}, size[kThemeNameLength] = {};
  if (FAILED(api.getCurrentThemeName(file, kThemeNameLength, color, kThemeNameLength, size, kThemeNameLength))) {
    return false;
  }
  file[kThemeNameLength - 1] = color[kThemeNameLength - 1] = size[kThemeNameLength - 1] = L'\0';
  names = {file, color, size};
  return true;
}

int AddThemeChangeListener(ThemeChangeListener listener) {
  return State().receiver ? State().receiver->AddListener(std::move(listener)) : 0;
}

void RemoveThemeChangeListener(int id) {
  if (State().receiver) State().receiver->RemoveListener(id);
}

HWND ThemeChangeWindow() { return State().receiver ? State().receiver->Window() : nullptr; }

}  // namespace snibbet
