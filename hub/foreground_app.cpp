#include "hub/foreground_app.h"

#include "core/process_idle.h"

namespace snibbet {
namespace {

constexpr int kMaxClassName = 256;

bool FieldMatches(std::wstring_view field, std::wstring_view value) { return field.empty() || field == value; }

std::wstring FileNameOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::wstring UpperCaseText(std::wstring text) {
  if (!text.empty()) CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

std::optional<std::size_t> FindForegroundAppRow(std::span<const ForegroundAppRow> rows,
                                                std::wstring_view executable, std::wstring_view windowClass) {
  const std::wstring exe = UpperCaseText(std::wstring(executable));
  const std::wstring cls = UpperCaseText(std::wstring(windowClass));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (FieldMatches(rows[i].executable, exe) && FieldMatches(rows[i].windowClass, cls)) return i;
  }
  return std::nullopt;
}

ForegroundAppKind ClassifyApp(std::wstring_view executable, std::wstring_view windowClass) {
  return {
      .isIE = FindForegroundAppRow(kInternetExplorerApps, executable, windowClass).has_value(),
      .inPasteTable = FindForegroundAppRow(kSlowPasteTargetApps, executable, windowClass).has_value(),
  };
}

std::optional<ForegroundApp> ReadForegroundApp(HWND window) {
  DWORD processId = 0;
  if (!window || !GetWindowThreadProcessId(window, &processId) || processId == 0) return std::nullopt;
  const std::wstring path = GetProcessImageName(processId);
  if (path.empty()) return std::nullopt;
  wchar_t windowClass[kMaxClassName + 1] = {};
  const UINT length = RealGetWindowClassW(window, windowClass, kMaxClassName);
  return ForegroundApp{FileNameOf(path), std::wstring(windowClass, length)};
}

bool IsOwnProcessWindow(HWND window) {
  DWORD processId = 0;
  return window && GetWindowThreadProcessId(window, &processId) && processId == GetCurrentProcessId();
}

}  // namespace snibbet
