#pragma once
// Theme library entry points of the tests' own: visual styles that can be
// switched on and off, handles that are counted, and a chosen style name.
#include <windows.h>

#include <string>
#include <vector>

#include "visual/theme_binding.h"

namespace snibbet::testing {

struct FakeThemeLibrary {
  static inline bool active = true;
  static inline bool failOpen = false;
  static inline bool failName = false;
  static inline std::wstring file = L"C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.msstyles";
  static inline std::wstring color = L"NormalColor";
  static inline std::vector<std::wstring> opened;  // class names, in order
  static inline std::vector<HTHEME> closed;
  static inline std::uintptr_t nextHandle = 0x1000;

  static void Reset() {
    active = true;
    failOpen = failName = false;
    file = L"C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.msstyles";
    color = L"NormalColor";
    opened.clear();
    closed.clear();
  }

  static HTHEME WINAPI Open(HWND, LPCWSTR name) {
    if (failOpen) return nullptr;
    opened.emplace_back(name);
    return reinterpret_cast<HTHEME>(nextHandle += 8);
  }
  static HRESULT WINAPI Close(HTHEME theme) {
    closed.push_back(theme);
    return S_OK;
  }
  static BOOL WINAPI IsActive() { return active; }
  static HRESULT WINAPI CurrentName(LPWSTR fileOut, int fileLength, LPWSTR colorOut, int colorLength, LPWSTR sizeOut,
                                    int sizeLength) {
    if (failName) return E_FAIL;
    lstrcpynW(fileOut, file.c_str(), fileLength);
    lstrcpynW(colorOut, color.c_str(), colorLength);
    lstrcpynW(sizeOut, L"NormalSize", sizeLength);
    return S_OK;
  }

  static const ThemeApi& Api() {
    static const ThemeApi api{Open, Close, IsActive, CurrentName};
    return api;
  }
  static ThemeLibrarySource Source() {
    ThemeLibrarySource source;
    source.replacement = &Api();
    return source;
  }
};

}  // namespace snibbet::testing
