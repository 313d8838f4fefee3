#include "clipboard/paste_offer.h"

#include <algorithm>

namespace snibbet {

PasteOffer::PasteOffer(RenderedHandler rendered)
    : rendered_(std::move(rendered)),
      owner_({.className = L"SnibbetPasteOffer"},
             [this](UINT message, WPARAM wParam, LPARAM lParam) { return HandleMessage(message, wParam, lParam); }) {}

PasteOffer::~PasteOffer() { RenderAll(); }

bool PasteOffer::Put(std::vector<ClipboardFormatBytes> formats) {
  ClipboardSession clipboard(owner_.Handle());
  if (!owner_.Handle() || !clipboard.IsOpen() || !EmptyClipboard()) return false;
  // The empty told the previous owner, this offer too, that its content is gone.
  pending_ = std::move(formats);
  onClipboard_ = true;
  bool all = true;
  for (const ClipboardFormatBytes& format : pending_) {
    // Without data the call answers null also when it worked.
    SetClipboardData(format.format, nullptr);
    all = IsClipboardFormatAvailable(format.format) && all;
  }
  return all;
}

void PasteOffer::RenderAll() {
  if (pending_.empty() || !owner_.Handle()) return;
  ClipboardSession clipboard(owner_.Handle());
  // Rendered into another content's clipboard, the formats would mix with it.
  if (!clipboard.IsOpen() || GetClipboardOwner() != owner_.Handle()) return;
  while (!pending_.empty()) Render(pending_.front().format, false);
}

// The clipboard is open (by the reader, or by RenderAll).
void PasteOffer::Render(UINT format, bool forReader) {
  const auto found = std::find_if(pending_.begin(), pending_.end(),
                                  [&](const ClipboardFormatBytes& offered) { return offered.format == format; });
  if (found == pending_.end()) return;
  const ClipboardFormatBytes offered = std::move(*found);
  pending_.erase(found);
  if (SetClipboardBytes(offered.format, offered.bytes) && forReader && rendered_) rendered_(GetOpenClipboardWindow());
}

std::optional<LRESULT> PasteOffer::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_RENDERFORMAT:
      Render(static_cast<UINT>(wParam), true);
      return 0;
    case WM_RENDERALLFORMATS:
      RenderAll();
      return 0;
    case WM_DESTROYCLIPBOARD:
      pending_.clear();
      onClipboard_ = false;
      return 0;
    default:
      return std::nullopt;
  }
}

}  // namespace snibbet
