#include "testing/probe/clipboard.h"

#include <cstring>
#include <stdexcept>

#include "testing/probe/text.h"
#include "testing/probe/wait.h"

namespace probe {
namespace {

// Another process (the program under test, another test) may hold the clipboard briefly.
class OpenedClipboard {
 public:
  OpenedClipboard() {
    if (!WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 1000ms, 5ms))
      throw std::runtime_error("clipboard stays locked: " + LastErrorText());
  }
  ~OpenedClipboard() { CloseClipboard(); }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
};

bool IsGdiHandleFormat(UINT format) {
  switch (format) {
    case CF_BITMAP: case CF_PALETTE: case CF_ENHMETAFILE: case CF_METAFILEPICT:
    case CF_OWNERDISPLAY: case CF_DSPBITMAP: case CF_DSPENHMETAFILE: case CF_DSPMETAFILEPICT:
      return true;
    default:
      return false;
  }
}

std::vector<uint8_t> GlobalBytes(HANDLE handle) {
  if (!handle) return {};
  const SIZE_T size = GlobalSize(handle);
  const void* data = GlobalLock(handle);
  if (!data) return {};
  std::vector<uint8_t> bytes(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
  GlobalUnlock(handle);
  return bytes;
}

void PutItem(const ClipboardItem& item) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, item.bytes.empty() ? 1 : item.bytes.size());
  if (!memory) throw std::runtime_error("out of memory for the clipboard");
  if (!item.bytes.empty()) {
    std::memcpy(GlobalLock(memory), item.bytes.data(), item.bytes.size());
    GlobalUnlock(memory);
  }
  if (!SetClipboardData(item.format, memory)) {
    GlobalFree(memory);
    throw std::runtime_error("cannot set clipboard format " + std::to_string(item.format) + ": " + LastErrorText());
  }
}

}  // namespace

std::wstring ClipboardFormatName(UINT format) {
  static const struct { UINT format; const wchar_t* name; } kStandard[] = {
      {CF_TEXT, L"CF_TEXT"}, {CF_BITMAP, L"CF_BITMAP"}, {CF_METAFILEPICT, L"CF_METAFILEPICT"},
      {CF_SYLK, L"CF_SYLK"}, {CF_DIF, L"CF_DIF"}, {CF_TIFF, L"CF_TIFF"}, {CF_OEMTEXT, L"CF_OEMTEXT"},
      {CF_DIB, L"CF_DIB"}, {CF_PALETTE, L"CF_PALETTE"}, {CF_PENDATA, L"CF_PENDATA"},
      {CF_RIFF, L"CF_RIFF"}, {CF_WAVE, L"CF_WAVE"}, {CF_UNICODETEXT, L"CF_UNICODETEXT"},
      {CF_ENHMETAFILE, L"CF_ENHMETAFILE"}, {CF_HDROP, L"CF_HDROP"}, {CF_LOCALE, L"CF_LOCALE"},
      {CF_DIBV5, L"CF_DIBV5"}};
  for (const auto& entry : kStandard)
    if (entry.format == format) return entry.name;
  wchar_t name[256] = {};
  const int n = GetClipboardFormatNameW(format, name, 256);
  return n > 0 ? std::wstring(name, n) : L"#" + std::to_wstring(format);
}

UINT RegisterFormat(const std::wstring& name) { return RegisterClipboardFormatW(name.c_str()); }

std::vector<ClipboardItem> DumpClipboard() {
  OpenedClipboard open;
  std::vector<ClipboardItem> items;
  for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
    ClipboardItem item{format, ClipboardFormatName(format), {}};
    if (!IsGdiHandleFormat(format)) item.bytes = GlobalBytes(GetClipboardData(format));
    items.push_back(std::move(item));
  }
  return items;
}

std::optional<std::wstring> ClipboardText() {
  OpenedClipboard open;
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT)) return std::nullopt;
  const auto bytes = GlobalBytes(GetClipboardData(CF_UNICODETEXT));
  std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
  return text.substr(0, text.find(L'\0'));
}

void SetClipboardText(const std::wstring& text) {
  SetClipboardItems({{CF_UNICODETEXT, L"CF_UNICODETEXT", TextBytes(text)}});
}

void SetClipboardItems(const std::vector<ClipboardItem>& items) {
  OpenedClipboard open;
  EmptyClipboard();
  for (const auto& item : items) PutItem(item);
}

void EmptyTheClipboard() {
  OpenedClipboard open;
  EmptyClipboard();
}

DWORD ClipboardSequence() { return GetClipboardSequenceNumber(); }

std::vector<uint8_t> TextBytes(const std::wstring& text) {
  const auto* begin = reinterpret_cast<const uint8_t*>(text.c_str());
  return std::vector<uint8_t>(begin, begin + (text.size() + 1) * sizeof(wchar_t));
}

std::vector<uint8_t> TextBytes(const std::string& text) {
  const auto* begin = reinterpret_cast<const uint8_t*>(text.c_str());
  return std::vector<uint8_t>(begin, begin + text.size() + 1);
}

}  // namespace probe
