#pragma once
// The program's own content for a paste, put on the clipboard by format only
// and rendered when a reader asks for it (delayed rendering). That a reader
// asked is how the monitor learns that the target took the template. Before
// the offer gives up the clipboard (its end, the owner window's end) it
// renders every format still offered, so nothing of it is lost.
// GUI thread only.
#include <windows.h>

#include <functional>
#include <optional>
#include <vector>

#include "core/clipboard_access.h"
#include "ui/message_window.h"

namespace snibbet {

class PasteOffer {
 public:
  // Told after a format was rendered for a reader, with the window that holds
  // the clipboard open (null when the reader opened it without one).
  using RenderedHandler = std::function<void(HWND reader)>;

  explicit PasteOffer(RenderedHandler rendered);
  ~PasteOffer();
  PasteOffer(const PasteOffer&) = delete;
  PasteOffer& operator=(const PasteOffer&) = delete;

  // Replaces the clipboard by the formats, none of them rendered yet. False
  // when the clipboard could not be opened or refused a format.
  bool Put(std::vector<ClipboardFormatBytes> formats);
  // Nobody has emptied the clipboard since the last Put.
  bool OnClipboard() const { return onClipboard_; }
  // Renders every format not asked for yet, while the clipboard is still the offer's.
  void RenderAll();

 private:
  std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Render(UINT format, bool forReader);

  RenderedHandler rendered_;
  std::vector<ClipboardFormatBytes> pending_;  // offered, not rendered yet
  bool onClipboard_ = false;
  // Last: destroyed first, while what it renders from still exists.
  ui::MessageWindow owner_;
};

}  // namespace snibbet
