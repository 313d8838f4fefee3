#include "core/clipboard_access.h"

#include <cstring>
#include <string>

#include "core/message_pump.h"
#include "ui/handles.h"
#include "ui/message_window.h"

namespace snibbet {
namespace {

// Clipboard managers and remote-desktop clipboard sync hold it for some
// hundred milliseconds; a second outlasts them.
constexpr DWORD kOpenRetryMs = 1000;
constexpr DWORD kOpenRetryPauseMs = 10;
constexpr UINT kSharedMovable = GMEM_MOVEABLE | GMEM_DDESHARE;  // 0x2002

// A window belongs to its thread, so each thread gets its own owner.
HWND OwnerWindow() {
  thread_local const ui::MessageWindow window({.className = L"SnibbetClipboardOwner"});
  return window.Handle();
}

// A session of this thread is open: messages processed inside it must not
// open (and so close) the clipboard under it.
thread_local bool g_sessionOpen = false;

// The clipboard's text in `format` with the open clipboard, bounded by its block.
template <typename Char>
std::basic_string<Char> ReadTerminatedText(UINT format) {
  LockedGlobalBlock block(GetClipboardData(format));
  if (!block.Data()) return {};
  const auto* chars = static_cast<const Char*>(block.Data());
  const std::size_t capacity = block.Size() / sizeof(Char);
  std::size_t length = 0;
  while (length < capacity && chars[length] != 0) ++length;
  return std::basic_string<Char>(chars, length);
}

std::wstring WidenFromSystemCodePage(const std::string& text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

// The text in the system code page with its terminating zero byte.
std::string NarrowWithTerminator(std::wstring_view text) {
  std::string narrow;
  if (!text.empty()) {
    const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    narrow.resize(static_cast<std::size_t>(n));
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), narrow.data(), n, nullptr,
                        nullptr);
  }
  narrow.push_back('\0');
  return narrow;
}

std::span<const std::uint8_t> AsBytes(const void* data, std::size_t size) {
  return {static_cast<const std::uint8_t*>(data), size};
}

}  // namespace

void RegisterClipboardFormats() {
  RtfClipboardFormat();
  HtmlClipboardFormat();
}

UINT RtfClipboardFormat() {
  static const UINT format = RegisterClipboardFormatW(L"Rich Text Format");
  return format;
}

UINT HtmlClipboardFormat() {
  static const UINT format = RegisterClipboardFormatW(L"HTML Format");
  return format;
}

ClipboardSession::ClipboardSession() : ClipboardSession(OwnerWindow()) {}

ClipboardSession::ClipboardSession(HWND owner) {
  if (g_sessionOpen) return;
  const DWORD start = GetTickCount();
  bool pumping = true;
  for (;;) {
    if (OpenClipboard(owner)) {
      open_ = g_sessionOpen = true;
      return;
    }
    if (GetTickCount() - start >= kOpenRetryMs) return;
    // A failed open can cost the user's clipboard: wait it out, but keep this
    // thread's windows answering. After a WM_QUIT (left queued for the main
    // loop) waiting for messages would return at once, so only sleep then.
    if (pumping) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, kOpenRetryPauseMs, QS_ALLINPUT);
      pumping = ProcessPendingMessages();
    } else {
      Sleep(kOpenRetryPauseMs);
    }
  }
}

ClipboardSession::~ClipboardSession() {
  if (!open_) return;
  CloseClipboard();
  g_sessionOpen = false;
}

HGLOBAL CopyToSharedBlock(std::span<const std::uint8_t> bytes) {
  ui::GlobalMemory block(GlobalAlloc(kSharedMovable, bytes.empty() ? 1 : bytes.size()));
  if (!block) return nullptr;
  void* target = GlobalLock(block.Get());
  if (!target) return nullptr;
  if (bytes.empty()) {
    static_cast<std::uint8_t*>(target)[0] = 0;
  } else {
    std::memcpy(target, bytes.data(), bytes.size());
  }
  GlobalUnlock(block.Get());  // the clipboard must get it unlocked
  return block.Release();
}

bool SetClipboardBytes(UINT format, std::span<const std::uint8_t> bytes) {
  ui::GlobalMemory block(CopyToSharedBlock(bytes));
  if (!block) return false;
  if (!SetClipboardData(format & 0xFFFF, block.Get())) return false;  // freed: only a taken block is the clipboard's
  block.Release();
  return true;
}

bool PutClipboardData(UINT format, const void* data, std::size_t size, bool emptyFirst) {
  ClipboardSession clipboard;
  if (!clipboard.IsOpen()) return false;
  if (emptyFirst && !EmptyClipboard()) return false;
  return SetClipboardBytes(format, AsBytes(data, size));
}

std::vector<ClipboardFormatBytes> TextClipboardFormats(std::wstring_view text) {
  const std::string narrow = NarrowWithTerminator(text);
  std::wstring wide(text);
  wide.push_back(L'\0');
  const auto wideBytes = AsBytes(wide.data(), wide.size() * sizeof(wchar_t));
  const auto narrowBytes = AsBytes(narrow.data(), narrow.size());
  return {{CF_TEXT, {narrowBytes.begin(), narrowBytes.end()}}, {CF_UNICODETEXT, {wideBytes.begin(), wideBytes.end()}}};
}

bool PutClipboardFormats(const std::vector<ClipboardFormatBytes>& formats) {
  // One session: other programs never see only some of the formats.
  ClipboardSession clipboard;
  if (!clipboard.IsOpen() || !EmptyClipboard()) return false;
  bool all = true;
  for (const ClipboardFormatBytes& format : formats) all = SetClipboardBytes(format.format, format.bytes) && all;
  return all;
}

bool PutClipboardText(std::wstring_view text) { return PutClipboardFormats(TextClipboardFormats(text)); }

std::wstring GetClipboardTextW() {
  ClipboardSession clipboard;
  if (!clipboard.IsOpen()) return {};
  if (IsClipboardFormatAvailable(CF_UNICODETEXT)) return ReadTerminatedText<wchar_t>(CF_UNICODETEXT);
  if (IsClipboardFormatAvailable(CF_TEXT)) return WidenFromSystemCodePage(ReadTerminatedText<char>(CF_TEXT));
  return {};
}

bool ClearClipboard() {
  ClipboardSession clipboard;
  return clipboard.IsOpen() && EmptyClipboard();
}

}  // namespace snibbet
