#pragma once
// The common open and save file dialogs.
#include <windows.h>

#include <optional>
#include <string>

namespace ui {

struct FileDialogOptions {
  std::wstring title{};
  // Pairs of description and pattern separated by '|', as in
  // L"Pictures (*.bmp;*.png)|*.bmp;*.png|All files (*.*)|*.*".
  std::wstring filter{};
  int filterIndex = 1;  // 1-based
  std::wstring defaultExtension{};  // without the dot
  std::wstring initialFolder{};
  std::wstring fileName{};
  bool overwritePrompt = true;  // save: asks before an existing file is overwritten
};

struct FileDialogResult {
  std::wstring path{};
  int filterIndex = 1;
};

// Nothing when the user cancels. The owner defaults to the application window.
std::optional<FileDialogResult> ShowOpenFileDialog(const FileDialogOptions& options, HWND owner = nullptr);
// Asks before overwriting an existing file, unless the options say otherwise.
std::optional<FileDialogResult> ShowSaveFileDialog(const FileDialogOptions& options, HWND owner = nullptr);

// L"a|b|c|d" -> "a\0b\0c\0d\0\0", the form the dialogs take.
std::wstring FileDialogFilter(const std::wstring& filter);

}  // namespace ui
