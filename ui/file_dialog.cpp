#include "ui/file_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "ui/application.h"

namespace ui {

std::wstring FileDialogFilter(const std::wstring& filter) {
  std::wstring result = filter;
  std::replace(result.begin(), result.end(), L'|', L'\0');
  result.push_back(L'\0');
  result.push_back(L'\0');
  return result;
}

namespace {

std::optional<FileDialogResult> Run(const FileDialogOptions& options, HWND owner, bool save) {
  const std::wstring filter = FileDialogFilter(options.filter);
  std::vector<wchar_t> path(32768, L'\0');
  std::copy_n(options.fileName.begin(), std::min(options.fileName.size(), path.size() - 1), path.begin());

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner ? owner : ApplicationWindow();
  ofn.lpstrFilter = options.filter.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = static_cast<DWORD>(options.filterIndex);
  ofn.lpstrFile = path.data();
  ofn.nMaxFile = static_cast<DWORD>(path.size());
  ofn.lpstrInitialDir = options.initialFolder.empty() ? nullptr : options.initialFolder.c_str();
  ofn.lpstrTitle = options.title.empty() ? nullptr : options.title.c_str();
  ofn.lpstrDefExt = options.defaultExtension.empty() ? nullptr : options.defaultExtension.c_str();
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST |
              (save ? (options.overwritePrompt ? OFN_OVERWRITEPROMPT : 0) : OFN_FILEMUSTEXIST);
  const BOOL chosen = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  if (!chosen) return std::nullopt;
  return FileDialogResult{path.data(), static_cast<int>(ofn.nFilterIndex)};
}

}  // namespace

std::optional<FileDialogResult> ShowOpenFileDialog(const FileDialogOptions& options, HWND owner) {
  return Run(options, owner, false);
}

std::optional<FileDialogResult> ShowSaveFileDialog(const FileDialogOptions& options, HWND owner) {
  return Run(options, owner, true);
}

}  // namespace ui
