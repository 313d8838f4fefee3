#include "clipboard/format_listener_api.h"

namespace snibbet {

FormatListenerApi LookUpFormatListenerApi() {
  FormatListenerApi api;
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  if (!user32) return api;
  api.add = reinterpret_cast<FormatListenerApi::Entry>(GetProcAddress(user32, "AddClipboardFormatListener"));
  api.remove = reinterpret_cast<FormatListenerApi::Entry>(GetProcAddress(user32, "RemoveClipboardFormatListener"));
  return api;
}

}  // namespace snibbet
