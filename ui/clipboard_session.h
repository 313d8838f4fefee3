#pragma once
// OpenClipboard / CloseClipboard. Opening fails while another program holds
// the clipboard; callers check IsOpen() and decide whether to try again.
#include <windows.h>

namespace ui {

class ClipboardSession {
 public:
  explicit ClipboardSession(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ~ClipboardSession() {
    if (open_) CloseClipboard();
  }
  ClipboardSession(const ClipboardSession&) = delete;
  ClipboardSession& operator=(const ClipboardSession&) = delete;
  bool IsOpen() const { return open_; }

 private:
  bool open_;
};

}  // namespace ui
