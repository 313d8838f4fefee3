#include "dialogs/rtf_toolbar.h"

#include <shellapi.h>

#include <algorithm>
#include <cwctype>

#include "core/lang_table.h"
#include "core/message_boxes.h"
#include "core/text_utils.h"
#include "ui/rich_edit_objects.h"
#include "dialogs/rtf_toolbar_pictures.h"
#include "dialogs/template_editor_logic.h"
#include "ui/choose_dialogs.h"
#include "ui/file_dialog.h"
#include "ui/form.h"
#include "visual/color_swatch_painters.h"
#include "visual/picture_files.h"

namespace snibbet {
namespace {

struct ColorName {
  const wchar_t* name;
  COLORREF color;
};

// The class library's colour names; the background menu adds "Automatic".
constexpr ColorName kNamedColors[] = {
    {L"Black", RGB(0, 0, 0)},         {L"Maroon", RGB(128, 0, 0)},   {L"Green", RGB(0, 128, 0)},
    {L"Olive", RGB(128, 128, 0)},     {L"Navy", RGB(0, 0, 128)},     {L"Purple", RGB(128, 0, 128)},
    {L"Teal", RGB(0, 128, 128)},      {L"Gray", RGB(128, 128, 128)}, {L"Silver", RGB(192, 192, 192)},
    {L"Red", RGB(255, 0, 0)},         {L"Lime", RGB(0, 255, 0)},     {L"Yellow", RGB(255, 255, 0)},
    {L"Blue", RGB(0, 0, 255)},        {L"Fuchsia", RGB(255, 0, 255)}, {L"Aqua", RGB(0, 255, 255)},
    {L"White", RGB(255, 255, 255)},
};

constexpr int kIndentStepPoints = 20;
constexpr int kFontListWidth = 150;
constexpr int kFontSizeWidth = 40;
constexpr int kColorListWidth = 110;

std::vector<ui::NamedColor> FontColors() {
  std::vector<ui::NamedColor> colors;
  for (const ColorName& c : kNamedColors) colors.push_back({c.name, c.color});
  return colors;
}

class ShellSystem final : public RtfToolbarSystem {
 public:
  void OpenLink(const std::wstring& address) override {
    ShellExecuteW(nullptr, nullptr, address.c_str(), nullptr, nullptr, SW_SHOW);
  }
  void ShowInformation(const std::wstring& text) override { ShowInfoMessage(text); }
};

// The box's number; 0 for anything else (a pasted text may hold anything).
int WholeNumber(std::wstring_view text) {
  if (text.empty() || text.size() > 4) return 0;
  int value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return 0;
    value = value * 10 + (c - L'0');
  }
  return value;
}

}  // namespace

RtfToolbarSystem& ShellRtfToolbarSystem() {
  static ShellSystem system;
  return system;
}

class RtfToolbar::UpdatingScope {
 public:
  explicit UpdatingScope(RtfToolbar& toolbar) : toolbar_(toolbar), was_(toolbar.updating_) { toolbar.updating_ = true; }
  ~UpdatingScope() { toolbar_.updating_ = was_; }
  UpdatingScope(const UpdatingScope&) = delete;
  UpdatingScope& operator=(const UpdatingScope&) = delete;

 private:
  RtfToolbar& toolbar_;
  bool was_;
};

RtfToolbar::RtfToolbar(ui::Form& owner, ui::RichEdit& editor, RtfToolbarOptions options)
    : pictures_(MakeRtfToolbarPictures()),
      tbrRtf(owner, {.name = L"tbrRtf", .width = 500, .height = 52}),
      cbFontName(owner, {.name = L"cbFontName", .width = kFontListWidth, .height = 300}),
      edtFontSize(owner, {.name = L"edtFontSize", .width = kFontSizeWidth, .height = 21, .style = ES_NUMBER}),
      cbFontColor(owner, {.name = L"cbFontColor", .width = kColorListWidth, .height = 300}, FontColors(),
                  L"Custom..."),
      BackgroundMenu(&owner, L"BackgroundMenu"),
      owner_(owner),
      editor_(editor),
      options_(std::move(options)),
      system_(options_.system ? *options_.system : ShellRtfToolbarSystem()),
      findDialog_(owner) {
  tbrRtf.SetImages(&pictures_);
  AddButtons();
  FillBackgroundMenu();
  BackgroundMenu.SetPainter(MakeColorMenuItemPainter(options_.menuLook));
  BackgroundMenu.onPopup = [this] { CheckCurrentBackground(); };

  const bool version2 = options_.richEditVersion >= 2;
  tbrRtf.SetEnabled(L"tbSuperscript", version2);
  tbrRtf.SetEnabled(L"tbSubscript", version2);
  tbrRtf.SetEnabled(L"tbBackground", version2);
  tbrRtf.SetEnabled(L"tbJustify", options_.richEditVersion >= 3);

  cbFontName.onChange = [this] { cbFontNameChange(); };
  edtFontSize.onChange = [this] { edtFontSizeChange(); };
  cbFontColor.onChange = [this] { cbFontColorChange(); };
  findDialog_.onFindNext = [this](const ui::FindRequest& request) { FindNext(request); };
  editor_.onSelectionChange = [this] { Refresh(); };
  editor_.onLinkClick = [this](const std::wstring& address) { LinkClick(address); };

  if (owner_.IsCreated()) {  // made after the form's window: the controls are not made with it
    for (ui::Control* control : Controls()) control->Realize();
  }
}

RtfToolbar::~RtfToolbar() {
  // The rich edit may outlive the toolbar.
  editor_.onSelectionChange = nullptr;
  editor_.onLinkClick = nullptr;
}

void RtfToolbar::AddButtons() {
  using Kind = ui::ToolButtonKind;
  auto check = [](const wchar_t* name, int picture, std::function<void()> click) {
    return ui::ToolButton{.name = name, .kind = Kind::Check, .imageIndex = picture, .onClick = std::move(click)};
  };
  auto button = [](const wchar_t* name, int picture, std::function<void()> click) {
    return ui::ToolButton{.name = name, .imageIndex = picture, .onClick = std::move(click)};
  };
  auto separator = [](const wchar_t* name) { return ui::ToolButton{.name = name, .kind = Kind::Separator}; };

  // First row: the font.
  tbrRtf.Add(button(L"tbFont", kPictureFont, [this] { tbFontClick(); }));
  tbrRtf.Add({.name = L"phFontName", .kind = Kind::Placeholder, .width = kFontListWidth + 2});
  tbrRtf.Add({.name = L"phFontSize", .kind = Kind::Placeholder, .width = kFontSizeWidth + 2});
  tbrRtf.Add(separator(L"sepFont"));
  tbrRtf.Add(check(L"tbBold", kPictureBold, [this] { StyleClick(L"tbBold", ui::TextStyle::Bold); }));
  tbrRtf.Add(check(L"tbItalic", kPictureItalic, [this] { StyleClick(L"tbItalic", ui::TextStyle::Italic); }));
  tbrRtf.Add(check(L"tbUnderline", kPictureUnderline, [this] { StyleClick(L"tbUnderline", ui::TextStyle::Underline); }));
  tbrRtf.Add(separator(L"sepStyle"));
  tbrRtf.Add({.name = L"phFontColor", .kind = Kind::Placeholder, .width = kColorListWidth + 2});
  tbrRtf.Add({.name = L"tbBackground", .kind = Kind::DropDown, .imageIndex = kPictureBackground, .wrapAfter = true,
              .onDropDown = [this](const RECT& r) { BackgroundMenu.Popup({r.left, r.bottom}, owner_.Handle()); }});
  // Second row: the paragraph, then what goes into the text.
  tbrRtf.Add(check(L"tbLeft", kPictureAlignLeft, [this] { AlignClick(0); }));
  tbrRtf.Add(check(L"tbCenter", kPictureAlignCenter, [this] { AlignClick(2); }));
  tbrRtf.Add(check(L"tbRight", kPictureAlignRight, [this] { AlignClick(1); }));
  tbrRtf.Add(check(L"tbJustify", kPictureJustify, [this] { AlignClick(3); }));
  tbrRtf.Add(separator(L"sepAlign"));
  tbrRtf.Add(check(L"tbBullets", kPictureBullets, [this] { tbBulletsClick(); }));
  tbrRtf.Add(button(L"tbLeftInd", kPictureIndentLess, [this] { IndentClick(-kIndentStepPoints); }));
  tbrRtf.Add(button(L"tbRightInd", kPictureIndentMore, [this] { IndentClick(kIndentStepPoints); }));
  tbrRtf.Add(separator(L"sepIndent"));
  tbrRtf.Add(check(L"tbSuperscript", kPictureSuperscript, [this] {
    PositionClick(L"tbSuperscript", L"tbSubscript", ui::VerticalPosition::Superscript, ui::VerticalPosition::Subscript);
  }));
  tbrRtf.Add(check(L"tbSubscript", kPictureSubscript, [this] {
    PositionClick(L"tbSubscript", L"tbSuperscript", ui::VerticalPosition::Subscript, ui::VerticalPosition::Superscript);
  }));
  tbrRtf.Add(separator(L"sepPosition"));
  tbrRtf.Add(button(L"tbInsertPicture", kPictureInsertPicture, [this] { tbInsertPictureClick(); }));
  tbrRtf.Add(button(L"tbInsertObject", kPictureInsertObject, [this] { tbInsertObjectClick(); }));
  tbrRtf.Add(button(L"tbFindText", kPictureFind, [this] { tbFindTextClick(); }));
}

void RtfToolbar::FillBackgroundMenu() {
  BackgroundMenu.Clear();
  auto add = [this](const wchar_t* name, COLORREF color) {
    ui::MenuItem& item = BackgroundMenu.Add(std::wstring(L"miBack") + name, name);
    item.radio = true;
    item.tag = static_cast<std::intptr_t>(color);
    item.onClick = [this, &item] { BackgroundClick(item); };
  };
  for (const ColorName& c : kNamedColors) add(c.name, c.color);
  add(L"Automatic", kAutomaticBackground);
}

std::vector<ui::Control*> RtfToolbar::Controls() { return {&tbrRtf, &cbFontName, &edtFontSize, &cbFontColor}; }

int RtfToolbar::Layout(const RECT& band) {
  if (!tbrRtf.IsCreated()) return 0;
  const int width = band.right - band.left;
  tbrRtf.SetBounds(band.left, band.top, width, tbrRtf.Height());
  const int height = tbrRtf.RowsHeight();
  tbrRtf.SetBounds(band.left, band.top, width, height);
  tbrRtf.PlaceOver(L"phFontName", cbFontName);
  tbrRtf.PlaceOver(L"phFontSize", edtFontSize);
  tbrRtf.PlaceOver(L"phFontColor", cbFontColor);
  return height;
}

void RtfToolbar::ApplyLanguage() {
  tbrRtf.SetHint(L"tbFont", LangText(488, L"Font"));
  hints_.SetHint(owner_, cbFontName, LangText(489, L"Font name"));
  hints_.SetHint(owner_, edtFontSize, LangText(490, L"Font size"));
  tbrRtf.SetHint(L"tbBold", LangText(491, L"Bold"));
  tbrRtf.SetHint(L"tbItalic", LangText(492, L"Italic"));
  tbrRtf.SetHint(L"tbUnderline", LangText(493, L"Underline"));
  tbrRtf.SetHint(L"tbLeft", LangText(494, L"Align left"));
  tbrRtf.SetHint(L"tbCenter", LangText(495, L"Centre"));
  tbrRtf.SetHint(L"tbRight", LangText(496, L"Align right"));
  tbrRtf.SetHint(L"tbJustify", LangText(497, L"Justify"));
  hints_.SetHint(owner_, cbFontColor, LangText(498, L"Font colour"));
  tbrRtf.SetHint(L"tbBackground", LangText(499, L"Background colour"));
  tbrRtf.SetHint(L"tbBullets", LangText(500, L"Bullets"));
  tbrRtf.SetHint(L"tbLeftInd", LangText(501, L"Decrease indent"));
  tbrRtf.SetHint(L"tbRightInd", LangText(502, L"Increase indent"));
  tbrRtf.SetHint(L"tbSuperscript", LangText(503, L"Superscript"));
  tbrRtf.SetHint(L"tbSubscript", LangText(504, L"Subscript"));
  tbrRtf.SetHint(L"tbInsertPicture", LangText(505, L"Insert a picture"));
  tbrRtf.SetHint(L"tbInsertObject", LangText(506, L"Insert an object"));
  tbrRtf.SetHint(L"tbFindText", LangText(507, L"Find text"));
}

void RtfToolbar::Refresh() {
  if (updating_ || !editor_.IsCreated() || !tbrRtf.IsCreated()) return;
  UpdatingScope updating(*this);
  tbrRtf.SetDown(L"tbBold", editor_.HasStyle(ui::TextStyle::Bold));
  tbrRtf.SetDown(L"tbItalic", editor_.HasStyle(ui::TextStyle::Italic));
  tbrRtf.SetDown(L"tbUnderline", editor_.HasStyle(ui::TextStyle::Underline));
  tbrRtf.SetDown(L"tbBullets", editor_.Bullets());
  const ui::VerticalPosition position = editor_.Position();
  tbrRtf.SetDown(L"tbSuperscript", position == ui::VerticalPosition::Superscript);
  tbrRtf.SetDown(L"tbSubscript", position == ui::VerticalPosition::Subscript);
  edtFontSize.SetText(std::to_wstring(editor_.FontSize()));
  cbFontName.SetFontName(editor_.FontName());
  cbFontColor.SetColor(editor_.TextColor());
  const ui::ParagraphAlignment alignment = editor_.Alignment();
  tbrRtf.SetDown(L"tbLeft", alignment == ui::ParagraphAlignment::Left);
  tbrRtf.SetDown(L"tbRight", alignment == ui::ParagraphAlignment::Right);
  tbrRtf.SetDown(L"tbCenter", alignment == ui::ParagraphAlignment::Center);
  tbrRtf.SetDown(L"tbJustify", alignment == ui::ParagraphAlignment::Justify);
}

// --- the font ------------------------------------------------------------------

void RtfToolbar::tbFontClick() {
  const CHARFORMAT2W current = editor_.CharFormat();
  ui::FontChoice initial;
  std::copy_n(current.szFaceName, LF_FACESIZE, initial.font.lfFaceName);
  initial.font.lfWeight = (current.dwEffects & CFE_BOLD) ? FW_BOLD : FW_NORMAL;
  initial.font.lfItalic = (current.dwEffects & CFE_ITALIC) ? TRUE : FALSE;
  initial.font.lfUnderline = (current.dwEffects & CFE_UNDERLINE) ? TRUE : FALSE;
  initial.font.lfStrikeOut = (current.dwEffects & CFE_STRIKEOUT) ? TRUE : FALSE;
  initial.font.lfCharSet = current.bCharSet;
  initial.pointSize = editor_.FontSize();
  initial.color = editor_.TextColor();
  const std::optional<ui::FontChoice> chosen = ui::ChooseFontDialog(initial, owner_.Handle());
  if (chosen) {
    CHARFORMAT2W format{};
    format.dwMask = CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_COLOR | CFM_CHARSET;
    std::copy_n(chosen->font.lfFaceName, LF_FACESIZE, format.szFaceName);
    format.yHeight = chosen->pointSize * 20;  // twips
    format.dwEffects = (chosen->font.lfWeight >= FW_BOLD ? CFE_BOLD : 0) | (chosen->font.lfItalic ? CFE_ITALIC : 0) |
                       (chosen->font.lfUnderline ? CFE_UNDERLINE : 0) | (chosen->font.lfStrikeOut ? CFE_STRIKEOUT : 0);
    format.crTextColor = chosen->color;
    format.bCharSet = chosen->font.lfCharSet;
    editor_.ApplyCharFormat(format, ui::FormatScope::SelectionOrWord);
    Formatted();
    Refresh();
  }
  if (editor_.IsVisible() && editor_.IsEnabled()) editor_.Focus();
}

void RtfToolbar::cbFontNameChange() {
  if (updating_) return;
  const int index = cbFontName.ItemIndex();
  const std::wstring name = index >= 0 ? cbFontName.ItemText(index) : cbFontName.FontName();
  if (name.empty()) return;
  editor_.SetFontName(name, ui::FormatScope::SelectionOrWord);
  Formatted();
}

void RtfToolbar::edtFontSizeChange() {
  if (updating_) return;
  const int points = WholeNumber(edtFontSize.Text());
  if (points <= 0) return;
  editor_.SetFontSize(points, ui::FormatScope::SelectionOrWord);
  Formatted();
}

void RtfToolbar::StyleClick(std::wstring_view button, ui::TextStyle style) {
  if (updating_) return;
  editor_.SetStyle(style, tbrRtf.IsDown(button), ui::FormatScope::SelectionOrWord);
  Formatted();
}

void RtfToolbar::cbFontColorChange() {
  if (updating_) return;
  editor_.SetTextColor(cbFontColor.Color(), ui::FormatScope::SelectionOrWord);
  Formatted();
}

void RtfToolbar::BackgroundClick(ui::MenuItem& item) {
  for (const auto& other : BackgroundMenu.Items()) other->checked = other.get() == &item;
  const auto color = static_cast<COLORREF>(item.tag);
  if (color == kAutomaticBackground) {
    editor_.SetAutoBackColor(ui::FormatScope::SelectionOrWord);
  } else {
    editor_.SetBackColor(color, ui::FormatScope::SelectionOrWord);
  }
  Formatted();
}

void RtfToolbar::CheckCurrentBackground() {
  const COLORREF current = editor_.HasAutoBackColor() ? kAutomaticBackground : editor_.BackColor();
  for (const auto& item : BackgroundMenu.Items()) item->checked = static_cast<COLORREF>(item->tag) == current;
}

void RtfToolbar::Formatted() {
  if (onFormatChange) onFormatChange();
}

// --- the paragraph ----------------------------------------------------------------

void RtfToolbar::AlignClick(int tag) {
  if (updating_) return;
  for (const wchar_t* name : {L"tbLeft", L"tbRight", L"tbCenter", L"tbJustify"}) tbrRtf.SetDown(name, false);
  editor_.SetAlignment(static_cast<ui::ParagraphAlignment>(tag));  // 0 left, 1 right, 2 centre, 3 justified
  Formatted();
  Refresh();
}

void RtfToolbar::tbBulletsClick() {
  if (updating_) return;
  editor_.SetBullets(tbrRtf.IsDown(L"tbBullets"));
  Formatted();
}

void RtfToolbar::IndentClick(int byPoints) {
  editor_.SetLeftIndent(std::max(editor_.LeftIndent() + byPoints, 0));
  Formatted();
}

void RtfToolbar::PositionClick(std::wstring_view clicked, std::wstring_view other, ui::VerticalPosition position,
                               ui::VerticalPosition otherPosition) {
  if (updating_) return;
  if (tbrRtf.IsDown(clicked)) {
    tbrRtf.SetDown(other, false);
    editor_.SetPosition(position, ui::FormatScope::SelectionOrWord);
  } else if (tbrRtf.IsDown(other)) {
    editor_.SetPosition(otherPosition, ui::FormatScope::SelectionOrWord);
  } else {
    editor_.SetPosition(ui::VerticalPosition::Normal, ui::FormatScope::SelectionOrWord);
  }
  Formatted();
  Refresh();
}

// --- what goes into the text ---------------------------------------------------------

void RtfToolbar::tbInsertPictureClick() {
  const std::wstring filter = options_.pictureFilter.empty() ? PictureOpenFilter() : options_.pictureFilter;
  const auto file = ui::ShowOpenFileDialog({.filter = filter}, owner_.Handle());
  if (!file) return;
  const ui::Bitmap picture = LoadPictureBitmap(file->path);
  if (picture) editor_.PastePicture(picture.Get());
}

void RtfToolbar::tbInsertObjectClick() { ShowInsertObjectDialog(editor_, owner_.Handle()); }

void RtfToolbar::tbFindTextClick() { findDialog_.Show(editor_.SelectedText()); }

void RtfToolbar::FindNext(const ui::FindRequest& request) {
  if (request.text.empty()) return;
  const std::optional<ui::TextRange> found =
      editor_.Find(request.text, editor_.Selection().end, {.matchCase = request.matchCase, .wholeWord = request.wholeWord});
  if (!found) {
    system_.ShowInformation(FormatText(LangText(66, L"Cannot find \"%1\"."), {request.text}));
    return;
  }
  editor_.SetSelection(*found);
  editor_.Send(EM_SCROLLCARET);
}

void RtfToolbar::LinkClick(const std::wstring& address) {
  if (IsOpenableLink(address)) system_.OpenLink(address);
}

}  // namespace snibbet
