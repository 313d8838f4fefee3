#pragma once
// Opening the clipboard safely and putting or reading single formats.
// GUI thread only.
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace snibbet {

// The registered formats "Rich Text Format" and "HTML Format". Registering is
// idempotent; the accessors register on first use, so the order of start-up
// does not matter.
void RegisterClipboardFormats();
UINT RtfClipboardFormat();
UINT HtmlClipboardFormat();

// The clipboard held open for one scope. Another program may hold it for a
// moment, so opening is retried for about a second, processing this thread's
// messages meanwhile (the holder may be waiting on one of our windows);
// IsOpen() says whether it worked. The clipboard's owner is a hidden window of this module. A session
// started while another of the same thread is open (from messages processed
// inside it) does not open: closing it would pull the clipboard from under
// the outer one.
class ClipboardSession {
 public:
  ClipboardSession();
  // Opened for `owner`, which an EmptyClipboard inside makes the clipboard's owner.
  explicit ClipboardSession(HWND owner);
  ~ClipboardSession();
  ClipboardSession(const ClipboardSession&) = delete;
  ClipboardSession& operator=(const ClipboardSession&) = delete;

  bool IsOpen() const { return open_; }

 private:
  bool open_ = false;
};

// A global memory block locked for reading, unlocked at scope end. Data() is
// null when the handle is null or not a lockable global block.
class LockedGlobalBlock {
 public:
  explicit LockedGlobalBlock(HANDLE handle)
      : handle_(handle), data_(handle ? GlobalLock(handle) : nullptr),
        size_(data_ ? GlobalSize(handle) : 0) {}
  ~LockedGlobalBlock() { if (data_) GlobalUnlock(handle_); }
  LockedGlobalBlock(const LockedGlobalBlock&) = delete;
  LockedGlobalBlock& operator=(const LockedGlobalBlock&) = delete;

  const void* Data() const { return data_; }
  std::size_t Size() const { return size_; }  // the allocated size, maybe above the data's

 private:
  HANDLE handle_;
  void* data_;
  std::size_t size_;
};

// A new movable, shareable global block holding a copy of `bytes`, unlocked,
// ready for SetClipboardData; null when it cannot be made. An empty copy gets
// one zero byte, as a zero-byte block cannot be locked.
HGLOBAL CopyToSharedBlock(std::span<const std::uint8_t> bytes);

// Requires an open clipboard: puts a copy of `bytes` under `format` in a new
// movable, shareable global block. False, with nothing leaked, when the block
// cannot be made or the clipboard refuses it.
bool SetClipboardBytes(UINT format, std::span<const std::uint8_t> bytes);

// One clipboard format's data.
struct ClipboardFormatBytes {
  UINT format = 0;
  std::vector<std::uint8_t> bytes;
};

// `text` as CF_TEXT (system code page) and CF_UNICODETEXT, each with its
// terminating zero.
std::vector<ClipboardFormatBytes> TextClipboardFormats(std::wstring_view text);

// Replaces the clipboard by the formats, all in one session. False on any failure.
bool PutClipboardFormats(const std::vector<ClipboardFormatBytes>& formats);

// Puts one block of bytes on the clipboard as `format`; with emptyFirst the
// clipboard is emptied first, otherwise the formats on it stay.
// False when the clipboard could not be opened or the data was not taken.
bool PutClipboardData(UINT format, const void* data, std::size_t size, bool emptyFirst);

// Replaces the clipboard by TextClipboardFormats(text). False on any failure.
bool PutClipboardText(std::wstring_view text);

// CF_UNICODETEXT when present, else CF_TEXT widened from the system code page,
// else "". Never reads beyond the data block, even when it lacks its zero.
std::wstring GetClipboardTextW();

// Empties the clipboard; false when it could not be opened.
bool ClearClipboard();

}  // namespace snibbet
