#include "ui/color_combo.h"

#include "ui/form.h"
#include "ui/gdi.h"

namespace ui {

ColorComboBox::ColorComboBox(Form& owner, ControlDesign design, std::vector<NamedColor> colors,
                             std::wstring customCaption)
    : Control(owner, std::move(design)), colors_(std::move(colors)), customCaption_(std::move(customCaption)) {
  dialogColors_.fill(RGB(255, 255, 255));
}

ColorComboBox::~ColorComboBox() { ownerDrawing_.Detach(); }

DWORD ColorComboBox::ControlStyle() const {
  return WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
}

void ColorComboBox::OnAttached() {
  for (const NamedColor& c : colors_) Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(c.name.c_str()));
  if (!customCaption_.empty()) Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(customCaption_.c_str()));
  // Items as high as the text and a little air; the system measured them before we could.
  {
    WindowDC dc(hwnd_);
    SelectedObject font(dc, reinterpret_cast<HGDIOBJ>(Send(WM_GETFONT)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    Send(CB_SETITEMHEIGHT, 0, metrics.tmHeight + 4);
    Send(CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), metrics.tmHeight + 4);
  }
  ownerDrawing_.Attach(Owner().Handle(), [this](UINT message, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
    if (message != WM_DRAWITEM || !hwnd_) return std::nullopt;
    const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (draw.hwndItem != hwnd_) return std::nullopt;
    DrawItem(draw);
    return TRUE;
  });
}

int ColorComboBox::CustomIndex() const { return customCaption_.empty() ? -1 : static_cast<int>(colors_.size()); }
int ColorComboBox::ItemIndex() const { return hwnd_ ? static_cast<int>(Send(CB_GETCURSEL)) : -1; }
int ColorComboBox::Count() const { return hwnd_ ? static_cast<int>(Send(CB_GETCOUNT)) : 0; }

std::wstring ColorComboBox::ItemText(int index) const {
  if (index >= 0 && index < static_cast<int>(colors_.size())) return colors_[static_cast<size_t>(index)].name;
  return index == CustomIndex() ? customCaption_ : std::wstring{};
}

COLORREF ColorComboBox::Color() const {
  const int index = ItemIndex();
  if (index >= 0 && index < static_cast<int>(colors_.size())) return colors_[static_cast<size_t>(index)].color;
  return customColor_;
}

void ColorComboBox::SetColor(COLORREF color) {
  int index = -1;
  for (size_t i = 0; i < colors_.size() && index < 0; ++i) {
    if (colors_[i].color == color) index = static_cast<int>(i);
  }
  if (index < 0) {
    customColor_ = color;
    index = CustomIndex();
  }
  lastIndex_ = index;
  Send(CB_SETCURSEL, static_cast<WPARAM>(index));
  Invalidate();
}

bool ColorComboBox::OnCommandReflected(WORD code) {
  if (code == CBN_SELENDOK && ItemIndex() == CustomIndex() && ItemIndex() >= 0) {
    ChooseCustom();
    return true;
  }
  if (code != CBN_SELCHANGE || ItemIndex() < 0 || ItemIndex() == CustomIndex()) return false;
  lastIndex_ = ItemIndex();
  if (onChange) onChange();
  return true;
}

void ColorComboBox::ChooseCustom() {
  const std::optional<COLORREF> chosen =
      chooseCustom ? chooseCustom(customColor_) : ChooseColorDialog(customColor_, dialogColors_, Owner().Handle());
  if (!chosen) {
    Send(CB_SETCURSEL, static_cast<WPARAM>(lastIndex_));
    return;
  }
  customColor_ = *chosen;
  lastIndex_ = CustomIndex();
  Invalidate();
  if (onChange) onChange();
}

void ColorComboBox::DrawItem(const DRAWITEMSTRUCT& draw) const {
  if (draw.itemID == static_cast<UINT>(-1)) return;
  const int index = static_cast<int>(draw.itemID);
  HDC dc = draw.hDC;
  const bool selected = (draw.itemState & ODS_SELECTED) != 0;
  RECT r = draw.rcItem;
  FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  const COLORREF swatchColor =
      index < static_cast<int>(colors_.size()) ? colors_[static_cast<size_t>(index)].color : customColor_;
  RECT swatch{r.left + 2, r.top + 2, r.left + 2 + (r.bottom - r.top - 4) * 3 / 2, r.bottom - 2};
  FrameRect(dc, &swatch, GetSysColorBrush(COLOR_WINDOWTEXT));
  InflateRect(&swatch, -1, -1);
  Brush fill(CreateSolidBrush(swatchColor));
  FillRect(dc, &swatch, fill.Get());
  RECT text = r;
  text.left = swatch.right + 5;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  SelectedObject font(dc, reinterpret_cast<HGDIOBJ>(Send(WM_GETFONT)));
  const std::wstring caption = ItemText(index);
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (draw.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
}

}  // namespace ui
