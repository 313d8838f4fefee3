#include "templates/template_view_form.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <optional>

#include "core/app_ini.h"
#include "core/caret.h"
#include "core/foreground_state.h"
#include "core/debug_log.h"
#include "core/input_helper_link.h"
#include "core/lang_table.h"
#include "core/preset.h"
#include "core/synthetic_input.h"
#include "core/wait_form.h"
#include "visual/system_colors.h"
#include "helper/helper_protocol.h"
#include "keyboard/key_history.h"
#include "keyboard/key_model.h"
#include "templates/popup_placement.h"
#include "templates/popup_search.h"
#include "templates/template_text.h"
#include "ui/monitor.h"

namespace snibbet {
namespace {

TemplateEditorPort& NoEditor() {
  static NoTemplateEditor none;
  return none;
}

WizardWindowPort& NoWizard() {
  static NoWizardWindow none;
  return none;
}

constexpr UINT kCaretFixMs = 150;

constexpr wchar_t kListWidthValue[] = L"TemplateViewFormpnlLeftWidth";

ui::FormParams PopupParams() {
  ui::FormParams params;
  params.className = L"TTemplateViewForm";
  params.border = ui::BorderStyle::None;
  params.clientWidth = 459;
  params.clientHeight = 282;
  params.minWidth = 330;
  params.minHeight = 50;
  params.owner = ui::FormOwner::None;
  params.alwaysOnTop = true;
  params.noActivate = true;
  params.dropShadow = true;
  params.background = RGB(0, 0, 0);  // the panels' 1-pixel margins show as a black frame
  params.fontFace = L"Tahoma";
  params.fontPointSize = 8;
  params.extraExStyle = WS_EX_TOOLWINDOW;
  return params;
}

std::wstring LowerCase(std::wstring text) {
  if (!text.empty()) CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

EncodedSearch EncodeSearch(const std::wstring& search) {
  EncodedSearch encoded;
  if (search.empty()) return encoded;
  BOOL usedDefault = FALSE;
  const int size = static_cast<int>(search.size());
  const int n = WideCharToMultiByte(CP_ACP, 0, search.data(), size, nullptr, 0, nullptr, &usedDefault);
  encoded.bytes.resize(static_cast<std::size_t>(n > 0 ? n : 0));
  WideCharToMultiByte(CP_ACP, 0, search.data(), size, encoded.bytes.data(), n, nullptr, &usedDefault);
  encoded.complete = n > 0 && !usedDefault;
  return encoded;
}

std::optional<PopupCaret> CaretOfForeground() {
  POINT point{};
  int height = 0;
  if (!GetCaretScreenPos(point, height, false)) return std::nullopt;
  return PopupCaret{point.x, point.y, height};
}

PopupArea AreaOf(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

RECT RectOf(const PopupArea& a) { return {a.left, a.top, a.right, a.bottom}; }

class WaitMessageShown {
 public:
  explicit WaitMessageShown(std::wstring_view argument) { ShowWaitMessageFmt(argument); }
  ~WaitMessageShown() { HideWaitMessage(); }
  WaitMessageShown(const WaitMessageShown&) = delete;
  WaitMessageShown& operator=(const WaitMessageShown&) = delete;
};

}  // namespace

TTemplateViewForm::TTemplateViewForm(const PopupProgramParts& program)
    : TTemplateViewForm(program, NoEditor(), NoWizard()) {}

TTemplateViewForm::TTemplateViewForm(const PopupProgramParts& program, TemplateEditorPort& editor,
                                     WizardWindowPort& wizard)
    : TTemplateViewForm(std::make_unique<ProgramPopupSystem>(program), nullptr, program, editor, wizard) {}

TTemplateViewForm::TTemplateViewForm(PopupSystem& system, const PopupProgramParts& program, TemplateEditorPort& editor)
    : TTemplateViewForm(nullptr, &system, program, editor, NoWizard()) {}

TTemplateViewForm::TTemplateViewForm(std::unique_ptr<PopupSystem> own, PopupSystem* given,
                                     const PopupProgramParts& program, TemplateEditorPort& editor,
                                     WizardWindowPort& wizard)
    : TQvForm(PopupParams()),
      ownSystem_(std::move(own)),
      system_(given ? *given : *ownSystem_),
      program_(program),
      templateEditor_(editor),
      wizard_(wizard),
      mdTemplates_(SystemNameFolding()),
      gridTemplates_(*this, {.name = L"gridTemplates", .left = 1, .top = 1, .width = 148, .height = 252},
                     /*ownerData=*/true),
      memoTemplate_(*this, {.name = L"memoTemplate", .visible = false}),
      imgPicture_(*this, {.name = L"imgPicture", .visible = false}),
      btnOk_(*this, /*isDefault=*/true),
      btnClose_(*this),
      btnEdit_(*this),
      spltLeft_(*this, IDC_SIZEWE),
      // Borderless and never activated: the grip resizes the form itself.
      imgGrip_(*this, IDC_SIZENWSE),
      tmrAction_(this, L"tmrAction", 10),
      tmrFix_(this, L"tmrFix", kCaretFixMs) {
  mdTemplates_.Open();
  mdTemplates_.AddLink(this);
  tmrAction_.SetOnTimer([this] { RunQueuedKeys(); });
  tmrFix_.SetOnTimer([this] { tmrFixTimer(); });
  gridTemplates_.onGetText = [this](int item, int) -> std::wstring_view {
    if (item < 0 || static_cast<std::size_t>(item) >= mdTemplates_.VisibleCount()) return {};
    rowText_ = TemplateTextToWide(mdTemplates_.VisibleAt(static_cast<std::size_t>(item)).Name);
    return rowText_;
  };
  gridTemplates_.onSelectionChanged = [this](int item) {
    if (item < 0) return;
    mdTemplates_.MoveTo(static_cast<std::size_t>(item));
  };
  gridTemplates_.onDoubleClick = [this](int) { PasteWithInputBlocked(); };
  gridTemplates_.onCustomDraw = [this](NMLVCUSTOMDRAW& draw) { return DrawRow(draw); };
  imgPicture_.onPaint = [this](HDC dc, const RECT& client) { picture_.Draw(dc, client); };
  btnOk_.onClick = [this] { PasteWithInputBlocked(); };
  btnClose_.onClick = [this] { HideView(); };
  btnEdit_.onClick = [this] { btnEditClick(); };
  // The splitter is a gap in the black frame.
  spltLeft_.onStart = [this] { dragStartListWidth_ = gridTemplates_.Width(); };
  spltLeft_.onDrag = [this](int dx, int) {
    listWidth_ = PopupListWidth(ClientWidth(), dragStartListWidth_ + dx);
    OnSize(ClientWidth(), ClientHeight());
  };
  imgGrip_.onStart = [this] { dragStartSize_ = {Width(), Height()}; };
  imgGrip_.onDrag = [this](int dx, int dy) {
    ui::ResizeFormKeepingMinimum(Handle(), dragStartSize_.cx + dx, dragStartSize_.cy + dy);
  };
}

TTemplateViewForm::~TTemplateViewForm() {
  mdTemplates_.RemoveLink(this);
  if (wheelCaptured_) SendToInputHelper(WM_HELPER_WHEEL_CAPTURE_OFF);
  SetTemplateViewActive(false);
  if (wizardInFront_) {
    wizardInFront_ = false;
    tmrFix_.Start();
  }
}

void TTemplateViewForm::tmrFixTimer() {
  // Not while the user still holds keys down in the wizard.
  if (wizard_.WizardWindow()) {
    if (const TQvKeyboard* model = program_.KeyModel()) {
      for (int code = 1; code < 256; ++code)
        if (model->IsKeyPressed(code)) return;
    }
  }
  tmrFix_.Stop();
  // A caret move shows the wizard's caret again.
  SendKeyPress(VK_LEFT, true);
  SendKeyPress(VK_RIGHT, true);
}

void TTemplateViewForm::OnCreate() {
  DebugLog(L"TemplateViewForm");
  gridTemplates_.AddColumn(LangText(762, L"Name"), 140);
  if (TAppIni* store = program_.store) {
    try {
      store->LoadFormPlacement(Handle(), false);
      listWidth_ = store->ReadIntegerDef(kListWidthValue, listWidth_);
    } catch (...) {
      // A value of another type: the designed placement stays.
    }
  }
  OnSize(ClientWidth(), ClientHeight());
}

void TTemplateViewForm::OnDestroy() {
  // A run that ended before the settings were read writes nothing.
  const TPreset* preset = program_.settings;
  if (!preset || !preset->Loaded()) return;
  if (TAppIni* store = program_.store) {
    store->SaveFormPlacement(Handle(), false);
    try {
      store->WriteInteger(kListWidthValue, gridTemplates_.Width());
    } catch (...) {
      // The width is a convenience; a failed write loses nothing else.
    }
  }
}

void TTemplateViewForm::ApplyLanguage() {
  TQvForm::ApplyLanguage();
  btnOk_.SetText(LangText(560, L"Paste"));
  btnClose_.SetText(LangText(105, L"Close"));
  btnEdit_.SetText(LangText(449, L"Edit"));
  // The buttons are drawn, not windows whose texts another program could read.
  DebugLog(L"TemplateViewForm buttons " + btnOk_.Text() + L" | " + btnClose_.Text() + L" | " + btnEdit_.Text());
}

void TTemplateViewForm::OnSize(int width, int height) {
  if (!gridTemplates_.IsCreated()) return;
  layout_ = LayOutPopup(width, height, listWidth_, GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL));
  const PopupArea& list = layout_.list;
  gridTemplates_.SetBounds(list.left, list.top, list.Width(), list.Height());
  gridTemplates_.Send(LVM_SETCOLUMNWIDTH, 0, list.Width() - GetSystemMetrics(SM_CXVSCROLL) - 4);
  spltLeft_.SetBounds(RectOf(layout_.splitter));
  for (ui::Control* view : PreviewViews()) PlaceInPreviewPanel(*view);
  btnOk_.SetBounds(RectOf(layout_.Button(PopupButton::Paste)));
  btnClose_.SetBounds(RectOf(layout_.Button(PopupButton::Close)));
  btnEdit_.SetBounds(RectOf(layout_.Button(PopupButton::Edit)));
  imgGrip_.SetBounds(RectOf(layout_.grip));
  InvalidateRect(Handle(), nullptr, TRUE);  // the panels' colour moves with their edges
}

LRESULT TTemplateViewForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // A click on the pop-up must not take the focus from the target.
  if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
  if (message == WM_ERASEBKGND) {
    const LRESULT erased = TQvForm::HandleMessage(message, wParam, lParam);  // black: the panels' margins
    PaintPanels(reinterpret_cast<HDC>(wParam));
    return erased;
  }
  for (ui::DrawnPart* part : DrawnParts()) {
    if (const std::optional<LRESULT> taken = part->HandleMessage(message, wParam, lParam)) return *taken;
  }
  return TQvForm::HandleMessage(message, wParam, lParam);
}

std::array<ui::DrawnPart*, 5> TTemplateViewForm::DrawnParts() {
  return {&btnOk_, &btnClose_, &btnEdit_, &spltLeft_, &imgGrip_};
}

// The bottom bar and the preview (seen with no template shown) are panels of
// the button face colour; the black form shows only around them. The bar's
// buttons and grip are drawn on it.
void TTemplateViewForm::PaintPanels(HDC dc) {
  for (const PopupArea& panel : {layout_.preview, layout_.bottomBar}) {
    const RECT area = RectOf(panel);
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
  }
  for (ui::DrawnButton* button : {&btnOk_, &btnClose_, &btnEdit_}) button->Paint(dc);
  ui::PaintSizeGrip(Handle(), dc, RectOf(layout_.grip));
}

void TTemplateViewForm::ShowTemplateView() {
  Create();
  HideView();
  SetSearch(L"");
  mdTemplates_.First();
  if (const TQvKeyboard* model = program_.KeyModel())
    ActivateKeyboardLayout(reinterpret_cast<HKL>(model->CurrentLayout()), 0);
  SetTemplateViewActive(true);

  program_.foreground.SetPopupOpenedOver(GetForegroundWindow());
  const std::optional<PopupCaret> caret = CaretOfForeground();
  DebugLog(caret ? L"ShowTemplateView " + std::to_wstring(caret->x) + L"," + std::to_wstring(caret->y)
                 : std::wstring(L"ShowTemplateView"));
  const RECT monitor = caret ? ui::MonitorBoundsAt(POINT{caret->x, caret->y}) : ui::MonitorBounds(Handle());
  SetSearch(system_.TypedWord());
  const PopupOrigin at = PlacePopup(caret, AreaOf(monitor), Width(), Height());
  SetBounds(at.left, at.top, Width(), Height());

  if (!searchText_.empty() && mdTemplates_.VisibleCount() == 1) {
    // The only match is pasted at once; the pop-up lies above the screen meanwhile.
    SetTop(-Height());
    ShowView(/*seen=*/false);
    PasteWithInputBlocked();
    return;
  }
  mdTemplates_.First();
  ShowView(/*seen=*/true);
}

void TTemplateViewForm::ShowView(bool seen) {
  const TPreset* preset = program_.settings;
  // Fully opaque needs no layered window, which costs Wine milliseconds to show and hide.
  const BYTE alpha = preset ? preset->KeyboardAlphaBlend() : 255;
  SetAlphaBlend(alpha < 255, alpha);
  selectionColor_ = SoftBlendColor(RGB(255, 255, 255), GetSysColor(COLOR_HIGHLIGHT), true);
  // The selection and the preview are made ready while the window is hidden,
  // and it is painted, children included, in the step that shows it: its
  // first frame is complete, not a frame waiting for the message loop.
  SyncSelection();
  RefreshPreview();
  const bool overWizard = WizardInFront(wizard_);
  // Over the wizard's demo page the pop-up keeps its place among the topmost windows.
  SetWindowPos(Handle(), overWizard ? nullptr : HWND_TOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW | (overWizard ? SWP_NOZORDER : 0));
  if (seen) RedrawWindow(Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  if (overWizard) {
    // The wizard keeps the front.
    const HWND wizard = wizard_.WizardWindow();
    SetWindowPos(wizard, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(wizard);
    wizardInFront_ = true;
  }
  if (!wheelCaptured_) {
    wheelCaptured_ = true;
    SendToInputHelper(WM_HELPER_WHEEL_CAPTURE_ON);
  }
}

void TTemplateViewForm::HideView() {
  // A paste waits on the hide: the helper stops handing the pop-up the wheel
  // without an answer awaited, which nothing here needs.
  if (wheelCaptured_) {
    wheelCaptured_ = false;
    NotifyInputHelper(WM_HELPER_WHEEL_CAPTURE_OFF);
  }
  ui::Form::Hide();
  SetAlphaBlend(false);
  SetTransparentColor(false);
  OnHide();
}

void TTemplateViewForm::OnHide() {
  if (wheelCaptured_) {
    wheelCaptured_ = false;
    SendToInputHelper(WM_HELPER_WHEEL_CAPTURE_OFF);
  }
  SetTemplateViewActive(false);
}

bool TTemplateViewForm::QueuePopupKey(std::uint8_t vk) {
  if (!TemplateViewActive()) return false;
  queue_.Push(vk);
  if (!tmrAction_.Enabled()) tmrAction_.Start();
  return true;
}

void TTemplateViewForm::RunQueuedKeys() {
  tmrAction_.Stop();
  const PopupInputBlock block;
  DrainPopupKeys(queue_, *this);
}

void TTemplateViewForm::SetSearch(std::wstring text) {
  searchText_ = LowerCase(std::move(text));
  ApplyPopupSearch(mdTemplates_, EncodeSearch(searchText_));
}

void TTemplateViewForm::PasteWithInputBlocked() {
  const PopupInputBlock block;
  PasteSelectedTemplate();
}

void TTemplateViewForm::PasteSelectedTemplate() {
  HideView();
  const auto current = mdTemplates_.Current();
  if (!current) return;
  PopupPaste paste{{current->Owned(), searchText_, {}}, picture_, wizard_};
  if (paste.request.record.Kind == kTemplateRichText) paste.request.richText = RichPreview().PlainText();
  system_.PasteTemplate(paste);
}

void TTemplateViewForm::btnEditClick() {
  const WaitMessageShown wait(LangText(47, L"Template editor"));
  const auto current = mdTemplates_.Current();
  const std::string name = current ? std::string(current->Name) : std::string();
  HideView();
  templateEditor_.OpenTemplateEditor(TemplateTextToWide(name));
  // Once the editor shows, which lists every template again.
  if (!name.empty()) mdTemplates_.LocateName(name);
}

std::wstring TTemplateViewForm::KeyText(std::uint8_t vk) { return system_.KeyText(vk); }
bool TTemplateViewForm::CtrlShortcutHeld(std::uint8_t vk) { return system_.CtrlShortcutHeld(vk); }
void TTemplateViewForm::Resend(std::uint8_t vk) { system_.Resend(vk); }
void TTemplateViewForm::ResendAsTyping(std::uint8_t vk) { system_.ResendAsTyping(vk); }

bool TTemplateViewForm::IsWordChar(std::wstring_view ch) {
  const TPreset* preset = program_.settings;
  return snibbet::IsWordChar(ch, preset ? std::wstring_view(preset->TemplatesBreaks()) : std::wstring_view());
}

bool TTemplateViewForm::Shown() { return IsVisible(); }

void TTemplateViewForm::Move(PopupMove move) {
  switch (move) {
    case PopupMove::First: mdTemplates_.First(); break;
    case PopupMove::Last: mdTemplates_.Last(); break;
    case PopupMove::Prior: mdTemplates_.Prior(); break;
    case PopupMove::Next: mdTemplates_.Next(); break;
    case PopupMove::PageUp: gridTemplates_.Post(WM_KEYDOWN, VK_PRIOR, 0); break;
    case PopupMove::PageDown: gridTemplates_.Post(WM_KEYDOWN, VK_NEXT, 0); break;
  }
}

void TTemplateViewForm::TableChanged() {
  if (!gridTemplates_.IsCreated()) return;
  gridTemplates_.SetItemCount(static_cast<int>(mdTemplates_.VisibleCount()));  // repaints the rows
  SyncSelection();
  if (IsVisible()) RefreshPreview();
}

void TTemplateViewForm::CurrentRowChanged() {
  SyncSelection();
  if (IsVisible()) RefreshPreview();
}

void TTemplateViewForm::SyncSelection() {
  if (!gridTemplates_.IsCreated()) return;
  const std::size_t position = mdTemplates_.CurrentPosition();
  const int item = position == TemplateTable::npos ? -1 : static_cast<int>(position);
  // The handler is off while the program selects: the table already stands
  // on that row, and moving it there again would only repeat the refresh.
  auto handler = std::move(gridTemplates_.onSelectionChanged);
  gridTemplates_.onSelectionChanged = nullptr;
  gridTemplates_.Select(item);
  gridTemplates_.onSelectionChanged = std::move(handler);
}

void TTemplateViewForm::RefreshPreview() {
  const auto current = mdTemplates_.Current();
  if (!current) {
    memoTemplate_.ShowText(L"");
    return;
  }
  switch (current->Kind) {
    case kTemplateText:
      memoTemplate_.ShowText(TemplateTextToWide(current->Template));
      ShowOnlyPreview(memoTemplate_);
      picture_.Clear();
      break;
    case kTemplateRichText:
      RichPreview().ShowRtf(current->Template);
      ShowOnlyPreview(RichPreview());
      picture_.Clear();
      break;
    case kTemplatePicture:
      picture_.Load(TemplateTextToWide(current->Template));
      ShowOnlyPreview(imgPicture_);
      imgPicture_.Invalidate();
      break;
    default:
      break;
  }
}

void TTemplateViewForm::ShowOnlyPreview(ui::Control& shown) {
  // Showing or hiding a view that already is so still costs a round of window
  // messages, on every typed character.
  const auto showing = [](const ui::Control& view) {
    return (GetWindowLongPtrW(view.Handle(), GWL_STYLE) & WS_VISIBLE) != 0;
  };
  if (!showing(shown)) shown.SetVisible(true);
  for (ui::Control* view : PreviewViews()) {
    if (view != &shown && showing(*view)) view->SetVisible(false);
  }
}

std::vector<ui::Control*> TTemplateViewForm::PreviewViews() {
  std::vector<ui::Control*> views{&memoTemplate_, &imgPicture_};
  if (editor_) views.push_back(editor_.get());
  return views;
}

void TTemplateViewForm::PlaceInPreviewPanel(ui::Control& view) {
  const PopupArea& panel = layout_.preview;
  view.SetBounds(panel.left, panel.top, panel.Width(), panel.Height());
}

PreviewRichEdit& TTemplateViewForm::RichPreview() {
  if (!editor_) {
    editor_ = std::make_unique<PreviewRichEdit>(*this, ui::ControlDesign{.name = L"Editor", .visible = false});
    if (Handle()) {
      editor_->Realize();
      PlaceInPreviewPanel(*editor_);
    }
  }
  return *editor_;
}

LRESULT TTemplateViewForm::DrawRow(NMLVCUSTOMDRAW& draw) {
  if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
  const auto item = static_cast<std::size_t>(draw.nmcd.dwItemSpec);
  if (item >= mdTemplates_.VisibleCount()) return CDRF_DODEFAULT;
  HDC dc = draw.nmcd.hdc;
  // The list gives the row's bounds with the notification; asking for them
  // again costs a round of its own measuring per row.
  RECT cell = draw.nmcd.rc;
  if (IsRectEmpty(&cell)) ListView_GetItemRect(gridTemplates_.Handle(), static_cast<int>(item), &cell, LVIR_BOUNDS);
  const bool selected = ListView_GetItemState(gridTemplates_.Handle(), static_cast<int>(item), LVIS_SELECTED) != 0;
  const COLORREF back = selected ? selectionColor_ : GetSysColor(COLOR_WINDOW);
  SetBkColor(dc, back);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &cell, nullptr, 0, nullptr);
  const std::wstring name = TemplateTextToWide(mdTemplates_.VisibleAt(item).Name);
  RECT text{cell.left + 2, cell.top + 2, cell.right, cell.bottom};
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &text, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (!searchText_.empty()) {
    const std::wstring_view matched = MatchedPrefix(name, searchText_);
    SetTextColor(dc, RGB(255, 0, 0));
    DrawTextW(dc, matched.data(), static_cast<int>(matched.size()), &text, DT_SINGLELINE | DT_NOPREFIX);
  }
  SetBkMode(dc, oldMode);
  return CDRF_SKIPDEFAULT;
}

}  // namespace snibbet
