#include "templates/popup_placement.h"

namespace snibbet {

PopupOrigin PlacePopup(const std::optional<PopupCaret>& caret, const PopupArea& monitor, int width, int height) {
  PopupOrigin at;
  if (caret) {
    at = {caret->x, caret->y + caret->height};
  } else {
    at = {monitor.left + (monitor.Width() - width) / 2, monitor.top + (monitor.Height() - height) / 2};
  }
  if (at.left < monitor.left) at.left = monitor.left;
  if (at.left + width > monitor.right) at.left = monitor.right - width;
  if (at.top < monitor.top) at.top = monitor.top;
  if (at.top + height > monitor.bottom) at.top = caret ? caret->y - height : monitor.bottom - height;
  return at;
}

}  // namespace snibbet
