#pragma once
// Reading and writing the real clipboard directly, for the clipboard tests.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace snibbet::testing {

using Bytes = std::vector<std::uint8_t>;

inline Bytes ToBytes(const void* data, std::size_t size) {
  const auto* p = static_cast<const std::uint8_t*>(data);
  return Bytes(p, p + size);
}

inline Bytes TextBytes(const std::string& text) { return ToBytes(text.c_str(), text.size() + 1); }

inline Bytes WideBytes(const std::wstring& text) {
  return ToBytes(text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

struct Format {
  UINT id;
  Bytes bytes;
};

// Replaces the clipboard by `formats`, opening it with the calling thread.
inline void SetClipboardDirectly(const std::vector<Format>& formats) {
  for (int i = 0; i < 50 && !OpenClipboard(nullptr); ++i) Sleep(10);
  EmptyClipboard();
  for (const Format& f : formats) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, f.bytes.size());
    std::memcpy(GlobalLock(block), f.bytes.data(), f.bytes.size());
    GlobalUnlock(block);
    SetClipboardData(f.id, block);
  }
  CloseClipboard();
}

// The whole block of `format`; empty when the format is missing.
inline Bytes ClipboardBytes(UINT format) {
  Bytes bytes;
  for (int i = 0; i < 50 && !OpenClipboard(nullptr); ++i) Sleep(10);
  if (HANDLE h = GetClipboardData(format)) {
    if (void* p = GlobalLock(h)) {
      bytes = ToBytes(p, GlobalSize(h));
      GlobalUnlock(h);
    }
  }
  CloseClipboard();
  return bytes;
}

// The formats on the clipboard in enumeration order.
inline std::vector<UINT> ClipboardFormats() {
  std::vector<UINT> formats;
  for (int i = 0; i < 50 && !OpenClipboard(nullptr); ++i) Sleep(10);
  for (UINT f = EnumClipboardFormats(0); f != 0; f = EnumClipboardFormats(f)) formats.push_back(f);
  CloseClipboard();
  return formats;
}

}  // namespace snibbet::testing
