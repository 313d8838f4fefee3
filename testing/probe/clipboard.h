#pragma once
// Reading and filling the whole clipboard, format by format.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace probe {

struct ClipboardItem {
  UINT format = 0;
  std::wstring name;               // "CF_UNICODETEXT" or the registered name
  std::vector<uint8_t> bytes;      // empty for GDI-handle formats (bitmap, palette, metafiles)
};

std::wstring ClipboardFormatName(UINT format);
UINT RegisterFormat(const std::wstring& name);

// Every format on the clipboard with its bytes. Throws std::runtime_error when the
// clipboard stays locked by another process for more than a second.
std::vector<ClipboardItem> DumpClipboard();
// The CF_UNICODETEXT text (without the terminating zero), if there is any.
std::optional<std::wstring> ClipboardText();
// Empties the clipboard and puts `text` on it as CF_UNICODETEXT.
void SetClipboardText(const std::wstring& text);
// Empties the clipboard and puts every item (format + bytes) on it.
void SetClipboardItems(const std::vector<ClipboardItem>& items);
void EmptyTheClipboard();
DWORD ClipboardSequence();

// Bytes of a string including its terminating zero, handy for text formats.
std::vector<uint8_t> TextBytes(const std::wstring& text);
std::vector<uint8_t> TextBytes(const std::string& text);

}  // namespace probe
