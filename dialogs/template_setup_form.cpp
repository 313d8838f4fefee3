#include "dialogs/template_setup_form.h"

#include <windows.h>

#include <algorithm>

#include "core/app_ini.h"
#include "core/debug_log.h"
#include "core/form_activation.h"
#include "core/form_help.h"
#include "core/lang_table.h"
#include "core/message_boxes.h"
#include "core/preset.h"
#include "core/wait_form.h"
#include "core/window_helpers.h"
#include "dialogs/template_editor_files.h"
#include "templates/template_text.h"
#include "templates/template_view_form.h"
#include "ui/file_dialog.h"
#include "ui/monitor.h"
#include "ui/scroll_bar_paint.h"
#include "visual/color_swatch_painters.h"
#include "visual/picture_files.h"

namespace snibbet {
namespace {

constexpr wchar_t kGridWidthValue[] = L"TemplateSetupFormgridTemplatesWidth";
constexpr int kDefaultGridWidth = 200;
constexpr int kMargin = 4;
constexpr int kSplitterWidth = 4;
constexpr int kTextToolBarHeight = 24;

ui::FormParams EditorParams() {
  ui::FormParams params;
  params.className = TTemplateSetupForm::kClassName;
  params.border = ui::BorderStyle::Sizeable;
  // Centred when it is made, then placed where the user left it: a rule
  // applied on showing would move it from there.
  params.position = ui::PositionRule::Designed;
  params.clientWidth = 790;
  params.clientHeight = 515;
  params.minWidth = 480;
  params.minHeight = 320;
  // Its own taskbar button: not owned by the application window.
  params.owner = ui::FormOwner::None;
  params.appWindow = true;
  params.fontFace = L"Tahoma";
  params.fontPointSize = 8;
  return params;
}

std::wstring WithShortcut(std::wstring caption, const wchar_t* keys) { return caption + L"\t" + keys; }

}  // namespace

TTemplateSetupForm::TTemplateSetupForm(const TemplateEditorParts& program)
    : TTemplateSetupForm(program.popup.Templates(), nullptr, &program) {
  program.openWindows.Enter(*this);
}

TTemplateSetupForm::TTemplateSetupForm(TemplateTable& table, TemplateFileSystem& files)
    : TTemplateSetupForm(table, &files, nullptr) {}

TTemplateSetupForm::TTemplateSetupForm(TemplateTable& table, TemplateFileSystem* files,
                                       const TemplateEditorParts* program)
    : TQvForm(EditorParams()),
      table_(table),
      popup_(program ? &program->popup : nullptr),
      settings_(program ? &program->settings : nullptr),
      store_(program ? &program->store : nullptr),
      openWindows_(program ? &program->openWindows : nullptr),
      ownFiles_(program ? std::make_unique<ProgramTemplateFiles>(*this, program->settings) : nullptr),
      files_(program ? *ownFiles_ : *files),
      document_(table, files_),
      tbMain_(*this, {.name = L"tbMain"}, /*showText=*/true),
      frmInfo_(*this, {.name = L"frmInfo"}),
      gridTemplates_(*this, {.name = L"gridTemplates", .style = LVS_EDITLABELS | LVS_NOSORTHEADER}, /*ownerData=*/true),
      splLeft_(*this, {.name = L"splLeft"}, gridTemplates_, 60, 200),
      pcTemplate_(*this, {.name = L"pcTemplate", .style = TCS_BUTTONS | TCS_FLATBUTTONS}),
      tbrText_(*this, {.name = L"tbrText"}, /*showText=*/true),
      memoTemplate_(*this, {.name = L"memoTemplate",
                            .style = ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL | WS_HSCROLL}),
      editor_(*this, {.name = L"Editor"}),
      tbrRtf_(*this, editor_, RtfToolbarOptions{.menuLook = MenuLookForSystem()}),
      lblPictureFileName_(*this, {.name = L"lblPictureFileName", .style = SS_NOPREFIX}),
      edtPictureFileName_(*this, {.name = L"edtPictureFileName"}),
      btnPictureFileName_(*this, {.name = L"btnPictureFileName", .text = L"..."}),
      lblPicture_(*this, {.name = L"lblPicture", .style = SS_NOPREFIX}),
      imgPicture_(*this, {.name = L"imgPicture"}),
      tagMenu_(std::make_unique<TemplateTagMenu>(static_cast<const TagPasteTarget&>(*this))) {
  SetHelpContext(kHelpContext);
  table_.AddLink(this);
  document_.onChange = [this] {
    RefreshCaption();
    RefreshSaveState();
  };
  document_.onFlushControls = [this] { FlushListEdit(); };

  gridTemplates_.onGetText = [this](int item, int) -> std::wstring_view {
    static thread_local std::wstring text;
    if (item < 0 || static_cast<std::size_t>(item) >= table_.VisibleCount()) return {};
    const auto current = static_cast<std::size_t>(item) == table_.CurrentPosition() ? table_.Current() : std::nullopt;
    text = TemplateTextToWide(current ? current->Name : table_.VisibleAt(static_cast<std::size_t>(item)).Name);
    return text;
  };
  gridTemplates_.onSelectionChanged = [this](int item) {
    if (updating_ || item < 0 || static_cast<std::size_t>(item) == table_.CurrentPosition()) return;
    table_.MoveTo(static_cast<std::size_t>(item));
  };
  splLeft_.onMoved = [this](int width) {
    gridWidth_ = width;
    Layout();
  };
  pcTemplate_.onChange = [this](int page) { ShowPage(page); };
  const int textPage = pcTemplate_.AddPage(L"tsText", L"");
  const int rtfPage = pcTemplate_.AddPage(L"tsRtf", L"");
  const int picturePage = pcTemplate_.AddPage(L"tsPicture", L"");
  pcTemplate_.AddToPage(textPage, tbrText_);
  pcTemplate_.AddToPage(textPage, memoTemplate_);
  pcTemplate_.AddToPage(rtfPage, editor_);
  for (ui::Control* control : tbrRtf_.Controls()) pcTemplate_.AddToPage(rtfPage, *control);
  for (ui::Control* control : std::initializer_list<ui::Control*>{&lblPictureFileName_, &edtPictureFileName_,
                                                                  &btnPictureFileName_, &lblPicture_, &imgPicture_})
    pcTemplate_.AddToPage(picturePage, *control);

  // Its own font, so a rich template typed from scratch is stored in it.
  editor_.SetDefaultFont({.face = L"Times New Roman", .pixelHeight = 16, .charset = GB2312_CHARSET});
  memoTemplate_.onChange = [this] { MemoChanged(); };
  editor_.onChange = [this] { EditorChanged(); };
  tbrRtf_.onFormatChange = [this] { EditorChanged(); };
  edtPictureFileName_.onChange = [this] { PictureFileNameChanged(); };
  btnPictureFileName_.onClick = [this] { ChoosePictureFile(); };
  imgPicture_.onPaint = [this](HDC dc, const RECT& client) {
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNSHADOW));
    RECT inside = client;
    InflateRect(&inside, -1, -1);
    picture_.Draw(dc, inside);
  };

  BuildMenu();
  BuildToolBars();
  shortcuts_.Add('O', ui::key_modifier::kCtrl, [this] { actOpenExecute(); });
  shortcuts_.Add('S', ui::key_modifier::kCtrl, [this] { actSaveExecute(); });
  shortcuts_.Add(VK_DELETE, ui::key_modifier::kCtrl, [this] { actDelExecute(); });
  shortcuts_.Add('X', ui::key_modifier::kAlt, [this] { miCloseClick(); });
  // Wine's list control walks every row of a virtual list to move its
  // selection by a key (some 50 ms at 65,535 templates): the table moves at
  // once and the list follows it.
  const auto move = [this](UINT key, auto target) {
    shortcuts_.Add(key, 0, [this, target] { MoveListTo(target()); }, &gridTemplates_);
  };
  move(VK_DOWN, [this] { return ListPositionBy(1); });
  move(VK_UP, [this] { return ListPositionBy(-1); });
  move(VK_NEXT, [this] { return ListPositionBy(ListPage()); });
  move(VK_PRIOR, [this] { return ListPositionBy(-ListPage()); });
  move(VK_HOME, [] { return std::size_t{0}; });
  move(VK_END, [this] { return table_.VisibleCount() - 1; });
}

TTemplateSetupForm::~TTemplateSetupForm() {
  table_.RemoveLink(this);
  if (openWindows_) openWindows_->Leave(*this);
}

// ---- design ----

void TTemplateSetupForm::BuildMenu() {
  ui::MenuItem& file = mmMain_.Add(L"miFile", L"");
  file.Add(L"miNew", L"", [this] { actNewExecute(); });
  file.Add(L"miOpen", L"", [this] { actOpenExecute(); });
  file.Add(L"miSave", L"", [this] { actSaveExecute(); });
  file.Add(L"miSaveAs", L"", [this] { actSaveAsExecute(); });
  file.AddSeparator();
  file.Add(L"miImport", L"", [this] { actImportExecute(); });
  file.AddSeparator();
  file.Add(L"miClose", L"", [this] { miCloseClick(); });
  ui::MenuItem& editor = mmMain_.Add(L"miEditor", L"");
  editor.Add(L"miAdd", L"", [this] { actAddExecute(); });
  editor.Add(L"miDel", L"", [this] { actDelExecute(); });
  ui::MenuItem& help = mmMain_.Add(L"miHelp", L"");
  help.Add(L"miHelpRun", L"", [] { ShowActiveFormHelp(); });
}

void TTemplateSetupForm::BuildToolBars() {
  tbMain_.Add({.name = L"tbOpen", .onClick = [this] { actOpenExecute(); }});
  tbMain_.Add({.name = L"tbSave", .onClick = [this] { actSaveExecute(); }});
  tbMain_.Add({.name = L"tbSep1", .kind = ui::ToolButtonKind::Separator});
  tbMain_.Add({.name = L"tbAdd", .onClick = [this] { actAddExecute(); }});
  tbMain_.Add({.name = L"tbDel", .onClick = [this] { actDelExecute(); }});
  tbMain_.Add({.name = L"tbSep2", .kind = ui::ToolButtonKind::Separator});
  tbMain_.Add({.name = L"tbMail", .onClick = [this] { actMailExecute(); }});
  tbMain_.Add({.name = L"tbHelp", .onClick = [] { ShowActiveFormHelp(); }});
  tbrText_.Add({.name = L"tbInsertTag", .onClick = [this] { tbInsertTagClick(); }});
}

void TTemplateSetupForm::ApplyLanguage() {
  TQvForm::ApplyLanguage();
  tbrRtf_.ApplyLanguage();
  const std::wstring newText = LangText(411, L"New"), openText = LangText(407, L"Open"),
                     saveText = LangText(340, L"Save"), saveAsText = LangText(409, L"Save as"),
                     addText = LangText(446, L"Add"), delText = LangText(447, L"Delete"),
                     mailText = LangText(410, L"Mail"), importText = LangText(412, L"Import"),
                     helpText = LangText(406, L"Help");
  mmMain_.Item(L"miFile").caption = LangText(405, L"File");
  mmMain_.Item(L"miNew").caption = newText;
  mmMain_.Item(L"miOpen").caption = WithShortcut(openText, L"Ctrl+O");
  mmMain_.Item(L"miSave").caption = WithShortcut(saveText, L"Ctrl+S");
  mmMain_.Item(L"miSaveAs").caption = saveAsText;
  mmMain_.Item(L"miImport").caption = importText;
  mmMain_.Item(L"miClose").caption = WithShortcut(LangText(105, L"Close"), L"Alt+X");
  mmMain_.Item(L"miEditor").caption = LangText(449, L"Editor");
  mmMain_.Item(L"miAdd").caption = addText;
  mmMain_.Item(L"miDel").caption = WithShortcut(delText, L"Ctrl+Del");
  mmMain_.Item(L"miHelp").caption = helpText;
  mmMain_.Item(L"miHelpRun").caption = helpText;
  const std::pair<const wchar_t*, const std::wstring*> buttons[] = {
      {L"tbOpen", &openText}, {L"tbSave", &saveText}, {L"tbAdd", &addText},
      {L"tbDel", &delText},   {L"tbMail", &mailText}, {L"tbHelp", &helpText}};
  for (const auto& [name, text] : buttons) {
    tbMain_.SetText(name, *text);
    tbMain_.SetHint(name, *text);
  }
  const std::wstring insertTag = LangText(532, L"Insert tag");
  tbrText_.SetText(L"tbInsertTag", insertTag);
  tbrText_.SetHint(L"tbInsertTag", insertTag);
  frmInfo_.SetInfoText(LangText(55, kNoText));
  gridTemplates_.SetColumnText(0, LangText(478, L"Name"));
  pcTemplate_.SetCaption(kTextPage, LangText(479, L"Text"));
  pcTemplate_.SetCaption(kRtfPage, LangText(480, L"Rich text"));
  pcTemplate_.SetCaption(kPicturePage, LangText(481, L"Picture"));
  lblPictureFileName_.SetText(LangText(482, L"Picture file"));
  lblPicture_.SetText(LangText(483, L"Preview"));
  tagMenu_->ApplyLanguage();
  RefreshCaption();
  RefreshSaveState();  // rebuilds the menu bar with the new captions
  Layout();
}

void TTemplateSetupForm::RefreshCaption() {
  SetText(LangText(47, L"Template editor") + L" - [" + files_.FileName() + L"]");
}

void TTemplateSetupForm::RefreshSaveState() {
  const bool modified = document_.Modified();
  tbMain_.SetEnabled(L"tbSave", modified);
  mmMain_.Item(L"miSave").enabled = modified;
  mmMain_.Refresh();
}

// ---- creation, showing, closing ----

void TTemplateSetupForm::OnCreate() {
  DebugLog(L"TemplateSetupForm");
  tbrRtf_.Refresh();
  gridTemplates_.AddColumn(LangText(478, L"Name"), 144);
  gridTemplates_.SetRowHeight(ui::ScaleToDpi(kListRowHeight));
  TAppIni::CenterFormOnMonitor(Handle());
  try {
    if (store_) {
      store_->LoadFormPlacement(Handle(), false);
      gridWidth_ = store_->ReadIntegerDef(kGridWidthValue, kDefaultGridWidth);
    }
  } catch (...) {
    // A stored value of another type: the designed placement stays.
    HideWaitMessage();
  }
  // The form itself too: it has the focus when the window is activated with
  // no control focused, as when it is first shown.
  for (const ui::Window* control : std::initializer_list<const ui::Window*>{
           this, &gridTemplates_, &memoTemplate_, &editor_, &edtPictureFileName_, &tbMain_, &tbrText_, &pcTemplate_})
    shortcuts_.Watch(*control);
  for (const ui::Control* control : tbrRtf_.Controls()) shortcuts_.Watch(*control);
  SyncListToTable();
  RecordChanged();
  Layout();
}

void TTemplateSetupForm::OnShow() {
  KeepFormOnMonitor(Handle());
  ForceForegroundWindow(Handle(), false);
  // Every template listed: the pop-up's search is let go.
  if (popup_) popup_->SetSearch(L"");
  else table_.SetFiltered(false);
  document_.Shown();
  RefreshCaption();
  RefreshSaveState();
  HideWaitMessage();
}

bool TTemplateSetupForm::CanClose() { return document_.CanClose(); }

bool TTemplateSetupForm::AllowProgramExit() {
  // The question belongs to this window: it comes to the front first.
  if (IsVisible()) BringToFront();
  return document_.CanClose();
}

void TTemplateSetupForm::OnClose(ui::CloseAction& action) { action = ui::CloseAction::Free; }

void TTemplateSetupForm::OnDestroy() {
  if (openWindows_) openWindows_->Leave(*this);
  // A run that ended before the settings were read writes nothing.
  if (!settings_ || !settings_->Loaded() || !store_) return;
  store_->SaveFormPlacement(Handle(), false);
  try {
    store_->WriteInteger(kGridWidthValue, gridWidth_);
  } catch (...) {
    // The width is a convenience; a failed write loses nothing else.
  }
}

bool TTemplateSetupForm::EditorIsActiveForm() const {
  return Handle() && (GetActiveWindow() == Handle() || GetForegroundWindow() == Handle());
}

// ---- layout ----

RECT TTemplateSetupForm::RtfToolbarArea() const {
  RECT area = pcTemplate_.PageArea();
  area.bottom = std::min<LONG>(area.bottom, area.top + ui::ScaleToDpi(kRtfToolbarBand));
  return area;
}

void TTemplateSetupForm::OnSize(int, int) { Layout(); }

void TTemplateSetupForm::Layout() {
  if (!gridTemplates_.IsCreated()) return;
  const int width = ClientWidth(), height = ClientHeight();
  const int margin = ui::ScaleToDpi(kMargin);
  const int toolBarHeight = std::max(tbMain_.RowsHeight(), ui::ScaleToDpi(22)) + 2;
  tbMain_.SetBounds(0, 0, width, toolBarHeight);
  const int infoHeight = ui::ScaleToDpi(TInfoFrame::kDesignHeight);
  frmInfo_.SetBounds(margin, toolBarHeight + 2, std::max(0, width - 2 * margin), infoHeight);
  const int top = toolBarHeight + 2 + infoHeight + margin;
  const int bodyHeight = std::max(0, height - top - ui::ScaleToDpi(16));
  const int splitter = ui::ScaleToDpi(kSplitterWidth);
  const int minRest = ui::ScaleToDpi(200);
  const int available = std::max(0, width - 2 * margin - splitter);
  const int gridWidth = ui::SplitterClampedWidth(gridWidth_, ui::ScaleToDpi(60), available, minRest);
  gridTemplates_.SetBounds(margin, top, gridWidth, bodyHeight);
  gridTemplates_.SetColumnWidth(0, LVSCW_AUTOSIZE_USEHEADER);
  splLeft_.SetBounds(margin + gridWidth, top, splitter, bodyHeight);
  const int pagesLeft = margin + gridWidth + splitter;
  pcTemplate_.SetBounds(pagesLeft, top, std::max(0, width - margin - pagesLeft), bodyHeight);

  const RECT area = pcTemplate_.PageArea();
  const int areaWidth = std::max<int>(0, area.right - area.left), areaHeight = std::max<int>(0, area.bottom - area.top);
  const int textBar = ui::ScaleToDpi(kTextToolBarHeight);
  tbrText_.SetBounds(area.left, area.top, areaWidth, textBar);
  memoTemplate_.SetBounds(area.left, area.top + textBar, areaWidth, std::max(0, areaHeight - textBar));
  // The rich-text toolbar takes its rows' height, at least the band's.
  const RECT band = RtfToolbarArea();
  const int editorTop = std::max<int>(band.bottom, band.top + tbrRtf_.Layout(band));
  editor_.SetBounds(area.left, editorTop, areaWidth, std::max<int>(0, area.bottom - editorTop));

  const int inner = std::max(0, areaWidth - 2 * margin);
  const int label = ui::ScaleToDpi(16), edit = ui::ScaleToDpi(21), button = ui::ScaleToDpi(24);
  int y = area.top + margin;
  lblPictureFileName_.SetBounds(area.left + margin, y, inner, label);
  y += label + 2;
  edtPictureFileName_.SetBounds(area.left + margin, y, std::max(0, inner - button - 2), edit);
  btnPictureFileName_.SetBounds(area.left + margin + std::max(0, inner - button), y, button, edit);
  y += edit + margin;
  lblPicture_.SetBounds(area.left + margin, y, inner, label);
  y += label + 2;
  imgPicture_.SetBounds(area.left + margin, y, inner, std::max<int>(0, area.bottom - margin - y));
  SetWindowPos(sizeGrip_.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// ---- the list ----

void TTemplateSetupForm::SyncListToTable() {
  if (!gridTemplates_.IsCreated()) return;
  const bool was = updating_;
  updating_ = true;
  gridTemplates_.SetItemCount(static_cast<int>(table_.VisibleCount()));
  const std::size_t position = table_.CurrentPosition();
  gridTemplates_.Select(position == TemplateTable::npos ? -1 : static_cast<int>(position));
  updating_ = was;
}

int TTemplateSetupForm::ListPage() const {
  return std::max(1, static_cast<int>(SendMessageW(gridTemplates_.Handle(), LVM_GETCOUNTPERPAGE, 0, 0)) - 1);
}

std::size_t TTemplateSetupForm::ListPositionBy(int rows) const {
  const std::size_t position = table_.CurrentPosition();
  if (position == TemplateTable::npos) return 0;
  const long long moved = static_cast<long long>(position) + rows;
  return static_cast<std::size_t>(std::clamp<long long>(moved, 0, static_cast<long long>(table_.VisibleCount()) - 1));
}

void TTemplateSetupForm::MoveListTo(std::size_t position) {
  if (table_.VisibleCount() == 0 || position == table_.CurrentPosition()) return;
  table_.MoveTo(position);  // the list follows the table, into view
}

void TTemplateSetupForm::LocateTemplate(const std::wstring& name) {
  if (!name.empty()) table_.LocateName(WideToTemplateText(name));
}

void TTemplateSetupForm::actAddExecute() {
  FlushListEdit();
  try {
    table_.Append();
  } catch (const TemplateTableError& error) {
    Warn(error);
    return;
  }
  document_.MarkModified();
  SyncListToTable();
  const std::size_t position = table_.CurrentPosition();
  if (position == TemplateTable::npos || !gridTemplates_.IsCreated()) return;
  SetFocus(gridTemplates_.Handle());
  ListView_EditLabel(gridTemplates_.Handle(), static_cast<int>(position));
}

void TTemplateSetupForm::actDelExecute() {
  FlushListEdit();
  if (!table_.Active() || table_.IsEmpty()) return;
  if (!files_.AskConfirmDelete()) return;
  try {
    table_.Delete();
  } catch (const TemplateTableError& error) {
    Warn(error);
    return;
  }
  document_.MarkModified();
}

void TTemplateSetupForm::RenameCurrent(const std::wstring& name) {
  if (!table_.Current()) return;
  try {
    const bool was = updating_;
    updating_ = true;
    table_.Edit();
    table_.SetName(WideToTemplateText(name));
    updating_ = was;
    table_.Post();
  } catch (const TemplateTableError& error) {
    updating_ = false;
    Warn(error);
  }
  SyncListToTable();
}

// A name still being typed is taken as typed; then the edit box goes.
void TTemplateSetupForm::FlushListEdit() {
  if (!gridTemplates_.IsCreated()) return;
  HWND edit = ListView_GetEditControl(gridTemplates_.Handle());
  if (!edit) return;
  const int length = GetWindowTextLengthW(edit);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  GetWindowTextW(edit, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  ListView_CancelEditLabel(gridTemplates_.Handle());
  RenameCurrent(text);
}

bool TTemplateSetupForm::OnNotify(NMHDR& header, LRESULT& result) {
  if (header.hwndFrom != gridTemplates_.Handle()) return false;
  switch (header.code) {
    case LVN_BEGINLABELEDITW:
      result = table_.Current() ? FALSE : TRUE;  // TRUE refuses
      return true;
    case LVN_ENDLABELEDITW: {
      const auto& info = reinterpret_cast<NMLVDISPINFOW&>(header);
      // No text: the edit was cancelled (Esc), and the old name stays.
      if (info.item.pszText) RenameCurrent(info.item.pszText);
      result = FALSE;  // the list asks for its texts again
      return true;
    }
    case LVN_KEYDOWN: {
      const auto& key = reinterpret_cast<NMLVKEYDOWN&>(header);
      if (key.wVKey == VK_F2 && table_.Current()) {
        ListView_EditLabel(gridTemplates_.Handle(), static_cast<int>(table_.CurrentPosition()));
        return true;
      }
      return false;
    }
    default:
      return false;
  }
}

// ---- the dataset's events ----

void TTemplateSetupForm::TableChanged() {
  SyncListToTable();
  RecordChanged();
}

void TTemplateSetupForm::CurrentRowChanged() {
  SyncListToTable();
  RecordChanged();
}

void TTemplateSetupForm::StateChanged() {
  gridTemplates_.RedrawItems(0, static_cast<int>(table_.VisibleCount()));
  RecordChanged();
}

void TTemplateSetupForm::FieldChanged(TemplateField field) {
  if (field == TemplateField::Name && table_.CurrentPosition() != TemplateTable::npos) {
    const int position = static_cast<int>(table_.CurrentPosition());
    gridTemplates_.RedrawItems(position, position);
  }
}

void TTemplateSetupForm::RecordChanged() {
  if (updating_) return;  // the form changes the record itself and looks after its controls
  caches_.Clear();
  if (!pcTemplate_.IsCreated()) return;
  const auto record = table_.Current();
  const int page = record ? std::min<int>(record->Kind, kPicturePage) : pcTemplate_.ActivePage();
  updating_ = true;
  if (pcTemplate_.ActivePage() != page) pcTemplate_.SetActivePage(page);
  LoadControls();
  updating_ = false;
}

// The active page's control shows the current template; the others are let go.
void TTemplateSetupForm::LoadControls() {
  const auto record = table_.Current();
  const int page = pcTemplate_.ActivePage();
  const std::string_view content = record && record->Kind == page ? record->Template : std::string_view();
  const std::wstring memoText = page == kTextPage ? TemplateTextToWide(content) : std::wstring();
  // Both text controls keep their scroll bars; a new text would paint them on
  // the spot, which under Wine costs more than the rest of a move together.
  if (memoTemplate_.Text() != memoText) {
    const ui::ScrollBarsPaintedOnChange quiet(memoTemplate_.Handle());
    memoTemplate_.SetText(memoText);
  }
  const std::string rtf = page == kRtfPage ? std::string(content) : std::string();
  if (rtf != loadedRtf_ || (rtf.empty() && !editor_.PlainText().empty())) {
    const ui::ScrollBarsPaintedOnChange quiet(editor_.Handle());
    if (rtf.empty()) editor_.SetPlainText(L"");
    else editor_.SetRtf(rtf);
    loadedRtf_ = rtf;
    // The new document's attributes at the caret, which no selection change reports.
    tbrRtf_.Refresh();
  }
  const std::wstring file = page == kPicturePage ? TemplateTextToWide(content) : std::wstring();
  if (edtPictureFileName_.Text() != file) edtPictureFileName_.SetText(file);
  LoadPreview(file);
}

void TTemplateSetupForm::LoadPreview(const std::wstring& file) {
  // A missing or unreadable picture leaves the preview empty, without a message.
  picture_.Load(file);
  imgPicture_.Invalidate(false);
}

void TTemplateSetupForm::ChoosePage(int page) {
  pcTemplate_.SetActivePage(page);
  ShowPage(page);
}

void TTemplateSetupForm::ShowPage(int page) {
  if (updating_) return;
  updating_ = true;
  const auto record = table_.Current();
  if (record && record->Kind != page) {
    try {
      caches_.SwitchKind(table_, static_cast<std::uint16_t>(page));
    } catch (const TemplateTableError& error) {
      Warn(error);
    }
  }
  LoadControls();
  updating_ = false;
}

bool TTemplateSetupForm::EditForControl() {
  try {
    if (!table_.Active()) return false;
    table_.Edit();
    return table_.Current().has_value();
  } catch (const TemplateTableError& error) {
    Warn(error);
    return false;
  }
}

void TTemplateSetupForm::MemoChanged() {
  if (updating_) return;
  updating_ = true;
  if (EditForControl()) {
    if (table_.Current()->Kind != kTemplateText) table_.SetKind(kTemplateText);
    table_.SetTemplate(WideToTemplateText(memoTemplate_.Text()));
  }
  updating_ = false;
}

void TTemplateSetupForm::EditorChanged() {
  if (updating_) return;
  updating_ = true;
  if (EditForControl()) {
    if (table_.Current()->Kind != kTemplateRichText) table_.SetKind(kTemplateRichText);
    loadedRtf_ = editor_.Rtf();
    table_.SetTemplate(loadedRtf_);
  }
  updating_ = false;
}

void TTemplateSetupForm::PictureFileNameChanged() {
  if (updating_) return;
  updating_ = true;
  const std::wstring file = edtPictureFileName_.Text();
  if (EditForControl()) {
    if (table_.Current()->Kind != kTemplatePicture) table_.SetKind(kTemplatePicture);
    table_.SetTemplate(WideToTemplateText(file));
  }
  LoadPreview(file);
  updating_ = false;
}

void TTemplateSetupForm::ChoosePictureFile() {
  ui::FileDialogOptions options;
  options.filter = PictureOpenFilter();
  const std::wstring current = edtPictureFileName_.Text();
  options.initialFolder = FolderOfPath(current);
  const std::optional<ui::FileDialogResult> chosen = ui::ShowOpenFileDialog(options, Handle());
  if (chosen) edtPictureFileName_.SetText(chosen->path);  // its change stores it
}

void TTemplateSetupForm::tbInsertTagClick() {
  const RECT button = tbrText_.ButtonScreenRect(L"tbInsertTag");
  SetFocus(memoTemplate_.Handle());
  tagMenu_->Menu().Popup({button.left, button.bottom}, Handle());
}

void TTemplateSetupForm::Warn(const TemplateTableError& error) {
  const std::string what = error.what();
  ShowWarningMessage(std::wstring(what.begin(), what.end()));
}

// ---- opening ----

void ShowTemplateEditor(const TemplateEditorParts& program, const std::wstring& templateName) {
  ShowWaitMessageFmt(LangText(47, L"Template editor"));
  TTemplateSetupForm* editor = nullptr;
  try {
    editor = ShowFormOnce<TTemplateSetupForm>(program);
  } catch (...) {
    HideWaitMessage();
    throw;
  }
  if (editor) editor->LocateTemplate(templateName);
  HideWaitMessage();
}

}  // namespace snibbet
