#pragma once
// The clipboard format listener of Windows Vista and later, looked up by name
// so that the program still starts where it is missing.
#include <windows.h>

namespace snibbet {

struct FormatListenerApi {
  using Entry = BOOL(WINAPI*)(HWND);
  Entry add = nullptr;     // AddClipboardFormatListener
  Entry remove = nullptr;  // RemoveClipboardFormatListener

  bool Complete() const { return add != nullptr && remove != nullptr; }
};

// Both entry points from "user32.dll"; either is null when missing.
FormatListenerApi LookUpFormatListenerApi();

}  // namespace snibbet
