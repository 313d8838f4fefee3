#include "templates/popup_layout.h"

#include <algorithm>

#include "ui/splitter_width.h"

namespace snibbet {
namespace {

constexpr int kFrame = 1;  // the black margin around the panels
constexpr int kSplitter = 3;
constexpr int kBottomBar = 28;
constexpr int kButtonWidth = 100, kButtonHeight = 24, kButtonGap = 4;

}  // namespace

int PopupListWidth(int clientWidth, int wantedListWidth) {
  // The splitter's own rule; the preview's least width is counted with the frame on its right.
  return ui::SplitterClampedWidth(wantedListWidth, kPopupLeastPane, clientWidth - kFrame - kSplitter,
                                  kPopupLeastPane + kFrame);
}

PopupLayout LayOutPopup(int clientWidth, int clientHeight, int wantedListWidth, int gripWidth, int gripHeight) {
  PopupLayout layout;
  const int listWidth = PopupListWidth(clientWidth, wantedListWidth);
  const int body = std::max(0, clientHeight - kBottomBar - kFrame);  // the bottom of the panels above the bar
  layout.list = {kFrame, kFrame, kFrame + listWidth, body};
  layout.splitter = {layout.list.right, kFrame, layout.list.right + kSplitter, body};
  layout.preview = {layout.splitter.right, kFrame, std::max(layout.splitter.right, clientWidth - kFrame), body};
  layout.bottomBar = {kFrame, clientHeight - kBottomBar, clientWidth - kFrame, clientHeight - kFrame};
  const int buttonTop = clientHeight - kBottomBar + (kBottomBar - kButtonHeight) / 2;
  int left = kButtonGap;
  for (PopupArea& button : layout.buttons) {
    button = {left, buttonTop, left + kButtonWidth, buttonTop + kButtonHeight};
    left += kButtonWidth + kButtonGap;
  }
  layout.grip = {clientWidth - kFrame - gripWidth, clientHeight - kFrame - gripHeight, clientWidth - kFrame,
                 clientHeight - kFrame};
  return layout;
}

}  // namespace snibbet
