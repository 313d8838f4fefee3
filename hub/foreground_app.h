#pragma once
// What kind of application is in front. Two flags of the foreground state come
// from here: Internet Explorer in front, and one of the slow paste targets in
// front (they read a pasted clipboard late, so the user's clipboard goes back
// later).
#include <windows.h>

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace snibbet {

// Upper-case executable file name and upper-case window class; an empty
// field matches anything.
struct ForegroundAppRow {
  std::wstring_view executable;
  std::wstring_view windowClass;
};

inline constexpr ForegroundAppRow kInternetExplorerApps[] = {
    {L"IEXPLORE.EXE", L"IEFRAME"},
};
inline constexpr ForegroundAppRow kSlowPasteTargetApps[] = {
    {L"IEXPLORE.EXE", L"IEFRAME"},
    {L"WINWORD.EXE", L"OPUSAPP"},
    {L"OUTLOOK.EXE", L"RCTRL_RENWND32"},
    {L"VISIO.EXE", L"VISIOA"},
};

std::wstring UpperCaseText(std::wstring text);

// The index of the first row that matches the two values (upper-cased here);
// none when no row does.
std::optional<std::size_t> FindForegroundAppRow(std::span<const ForegroundAppRow> rows,
                                                std::wstring_view executable, std::wstring_view windowClass);

struct ForegroundAppKind {
  bool isIE = false;
  bool inPasteTable = false;
};
ForegroundAppKind ClassifyApp(std::wstring_view executable, std::wstring_view windowClass);

// The executable's file name and the window's real class.
struct ForegroundApp {
  std::wstring executable;
  std::wstring windowClass;
};
// None when the window's process or its executable cannot be read (a dead
// window, a process we may not open).
std::optional<ForegroundApp> ReadForegroundApp(HWND window);

// Whether a window belongs to this program's own process.
bool IsOwnProcessWindow(HWND window);

}  // namespace snibbet
