#include "dialogs/wizard_form.h"

#include <shlobj.h>

#include <exception>

#include "core/app_ini.h"
#include "core/busy_cursor.h"
#include "core/form_help.h"
#include "core/lang_captions.h"
#include "core/lang_table.h"
#include "core/preset.h"
#include "core/product_name.h"
#include "core/program_folder.h"
#include "core/text_utils.h"
#include "core/version_info.h"
#include "core/window_helpers.h"
#include "dialogs/language_combo.h"
#include "dialogs/options_program.h"
#include "dialogs/settings_form_texts.h"
#include "keyboard/actions.h"
#include "keyboard/key_history.h"
#include "templates/template_files.h"
#include "templates/template_table.h"
#include "visual/office11_colors.h"

namespace snibbet {
namespace {

constexpr UINT kBringToFrontMessage = WM_APP + 0x120;

// The step list of the design: Welcome, the hotkey proposals, the keys kept
// from full-screen programs, the keyboard kind, the layout switcher, the
// templates, the clipboard and Finish. Only three are offered.
constexpr int kDesignStepCount = 8;

// The texts of the offered steps, by their place.
constexpr int kStepTexts[TWizardForm::kStepCount] = {LangId(384), LangId(388), LangId(390)};

// The kinds and parameters of the bindings the demo texts name.
struct DemoBinding {
  std::uint8_t kind, param;
};
constexpr DemoBinding kSwitcherBinding{9, 0}, kTemplateBinding{8, 1}, kClipboardBinding{8, 0};

// The step pictures: a grey dot not yet visited, a blue arrow for the step
// shown, a green tick for a visited one, a grey cross for one that is locked.
ui::ImageList MakeStepImages() {
  constexpr int kSize = 16;
  ui::ImageList images(kSize, kSize, 4);
  const HDC screen = GetDC(nullptr);
  for (int image = 0; image < 4; ++image) {
    ui::Bitmap picture(CreateCompatibleBitmap(screen, kSize, kSize));
    {
      ui::MemoryDC dc(screen);
      ui::SelectedObject selected(dc, picture.Get());
      const RECT all{0, 0, kSize, kSize};
      ui::Brush mask(CreateSolidBrush(RGB(255, 0, 255)));
      FillRect(dc, &all, mask.Get());
      const COLORREF colours[4] = {RGB(160, 160, 160), RGB(30, 100, 200), RGB(40, 150, 60), RGB(150, 150, 150)};
      ui::Pen pen(CreatePen(PS_SOLID, 2, colours[image]));
      ui::Brush fill(CreateSolidBrush(colours[image]));
      ui::SelectedObject selectedPen(dc, pen.Get());
      switch (image) {
        case kStepNotVisited: {
          ui::SelectedObject selectedBrush(dc, fill.Get());
          Ellipse(dc, 5, 5, 11, 11);
          break;
        }
        case kStepCurrent: {
          ui::SelectedObject selectedBrush(dc, fill.Get());
          const POINT arrow[3] = {{5, 3}, {12, 8}, {5, 13}};
          Polygon(dc, arrow, 3);
          break;
        }
        case kStepVisited: {
          const POINT tick[3] = {{3, 8}, {7, 12}, {13, 4}};
          Polyline(dc, tick, 3);
          break;
        }
        default: {
          MoveToEx(dc, 4, 4, nullptr);
          LineTo(dc, 12, 12);
          MoveToEx(dc, 12, 4, nullptr);
          LineTo(dc, 4, 12);
          break;
        }
      }
    }
    ImageList_AddMasked(images.Get(), picture.Get(), RGB(255, 0, 255));
  }
  ReleaseDC(nullptr, screen);
  return images;
}

std::wstring ShellFolder(int folder) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, folder, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return path;
}

}  // namespace

TWizardForm& ShowWizard(WizardPort& program, const DialogParts& parts, SettingsFormSystem& system) {
  TWizardForm* form = parts.openWindows.Wizard();
  if (!form) form = &ui::Application::Get().CreateForm<TWizardForm>(program, parts, system);
  if (!form->IsVisible()) form->Show();
  form->Restore();
  ForceForegroundWindow(form->Handle(), true);
  form->BringToFront();
  return *form;
}

TWizardForm::TWizardForm(WizardPort& program, const DialogParts& parts, SettingsFormSystem& system)
    : TQvForm({.className = kClassName,
               .border = ui::BorderStyle::Dialog,
               .borderIcons = ui::border_icon::kSystemMenu | ui::border_icon::kMinimize,
               .position = ui::PositionRule::MonitorCenter,
               .clientWidth = 620,
               .clientHeight = 430,
               // Its own taskbar button: the desktop is its parent.
               .owner = ui::FormOwner::None,
               .appWindow = true,
               .keyboardNavigation = true,
               .fontFace = L"Tahoma",
               .fontPointSize = 8}),
      program_(program),
      parts_(parts),
      preset_(parts.preset),
      bindings_(parts.bindings),
      system_(system) {
  Office11ColorsAddRef();
  tvList.onChanging = [this](ui::TreeView::Node node) { return tvListChanging(node); };
  tvList.onChange = [this](ui::TreeView::Node node) { tvListChange(node); };
  btnNext.onClick = [this] { btnNextClick(); };
  btnPrior.onClick = [this] { btnPriorClick(); };
  btnClose.onClick = [this] { btnCloseClick(); };
  btnSettings.onClick = [this] { btnSettingsClick(); };
  btnHelp.onClick = [this] { btnHelpClick(); };
  cbLanguage.onChange = [this] { cbLanguageChange(); };
  chkStartWithWindows.onClick = [this] { chkStartWithWindowsClick(); };
  btnCheckNewVersion.onClick = [this] { btnCheckNewVersionClick(); };
  chkKeyboardAutoHide.onClick = [this] {
    if (!loading_) preset_.SetKeyboardAutoHide(chkKeyboardAutoHide.Checked());
  };
  imgLogo.onPaint = [this](HDC dc, const RECT& client) { PaintLogo(dc, client); };
  imgSecurity1.onPaint = [](HDC dc, const RECT& client) {
    if (HICON shield = LoadIconW(nullptr, IDI_SHIELD))
      DrawIconEx(dc, 0, 0, shield, client.right, client.bottom, 0, nullptr, DI_NORMAL);
  };
}

TWizardForm::~TWizardForm() {
  parts_.openWindows.Leave(*this);
  Office11ColorsRelease();
}

void TWizardForm::OnCreate() {
  parts_.openWindows.Enter(*this);
  faceBrush_ = ui::Brush(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
  banner_.Reset(static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), L"WIZARDBANNER", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  stepImages_ = MakeStepImages();
  tvList.SetImages(&stepImages_);
  tvList.SetIndent(19);

  pages_[kWelcome] = {&imgLogo, &memoInfoStart, &lblLanguage, &cbLanguage, &imgSecurity1, &chkStartWithWindows,
                      &btnCheckNewVersion};
  pages_[kTemplatesDemo] = {&memoInfoTemplates, &rtfTemplates};
  pages_[kFinish] = {&memoInfoFinish};
  for (auto& page : pages_)
    for (ui::Control* control : page) control->SetVisible(false);

  // The design's steps; the first is the one shown.
  tvList.AddNode(nullptr, L"", kStepCurrent, kStepCurrent);
  for (int step = 1; step < kDesignStepCount; ++step) tvList.AddNode(nullptr, L"", kStepNotVisited, kStepCurrent);
  // The steps that are not offered go: the hotkey proposals, the full-screen
  // keys, the keyboard kind and the switcher (each at place 1 in turn), then
  // the clipboard (at place 2). Welcome, the templates and Finish stay.
  for (int i = 0; i < 4; ++i) tvList.DeleteNode(NodeAt(1));
  tvList.DeleteNode(NodeAt(2));
}

// --- showing -------------------------------------------------------------------

void TWizardForm::OnShow() {
  LoadStartPage();
  // To the front once the show is done: showing it again from here would
  // come back here.
  PostMessageW(Handle(), kBringToFrontMessage, 0, 0);
  // The settings as they are now are the ones stored; but an open settings
  // window keeps the store as the point its close without Apply returns to,
  // so its unapplied changes stay out of it.
  if (!parts_.openWindows.SettingsWindow()) preset_.Save();
  program_.BindingsChanged();
  // The step list opens on its first step.
  if (!tvList.Selected()) tvList.Select(tvList.FirstNode());
  else tvListChange(tvList.Selected());
  tvList.Focus();
}

void TWizardForm::LoadStartPage() {
  loading_ = true;
  FillLanguageCombo(cbLanguage, program_.LanguageFlags(), preset_.Language());
  cbColors.SetItemIndex(preset_.ColorScheme());
  chkKeyboardAutoHide.SetChecked(preset_.KeyboardAutoHide());
  loading_ = false;
  if (IsVistaOrLater()) {
    chkStartWithWindows.SetChecked(system_.ReadOptionsStates().startWithWindows);
  } else {
    // Older systems start with Windows unless the user says otherwise.
    chkStartWithWindows.SetChecked(true);
    chkStartWithWindowsClick();
  }
  if (TemplateTable* templates = program_.Templates()) {
    const std::size_t before = templates->RowCount();
    CreateSampleTemplates(*templates);
    // The samples reach the template file now, not only with a later save.
    if (templates->RowCount() != before) SaveTemplatesToFile(*templates, preset_.TemplatesFileName());
  }
}

// --- language ----------------------------------------------------------------

void TWizardForm::ApplyLanguage() {
  TQvForm::ApplyLanguage();
  SetText(LangText(380));
  btnSettings.SetText(LangText(316));
  btnPrior.SetText(LangText(381));
  btnClose.SetText(LangText(105));
  btnHelp.SetText(LangText(104));
  for (int step = 0; step < kStepCount; ++step)
    if (ui::TreeView::Node node = NodeAt(step)) tvList.SetNodeText(node, Lang().GetText(kStepTexts[step], kNoText));
  lblLanguage.SetText(LangText(335));
  chkStartWithWindows.SetText(WithProductName(LangId(336)));
  btnCheckNewVersion.SetText(LangText(321));
  lblName.SetText(LangText(350));
  lblKeyboardDescription.SetText(LangText(392));
  const bool wasLoading = loading_;
  loading_ = true;
  SetListLines(cbColors, BuildColorSchemeNames());
  loading_ = wasLoading;
  chkKeyboardAutoHide.SetText(LangText(521));
  btnSelectActionsAll.SetText(LangText(398));
  btnPrint.SetText(LangText(399));
  memoFullScreen.SetText(LangText(528));
  UpdateStepHeader();
  FillDemoTexts();
  FillProposals(false);
}

void TWizardForm::FillDemoTexts() {
  tvList.Invalidate(true);
  memoInfoStart.SetText(WithProductName(LangId(391)));
  auto fill = [&](ui::Label& memo, int text, DemoBinding binding) {
    // Without such a binding the memo keeps what it says.
    if (const TQvAction* action = bindings_.FindByKind(binding.kind, binding.param))
      memo.SetText(FormatText(Lang().GetText(text, kNoText), {action->GetShortcutText()}));
  };
  fill(memoInfoSwitcher, LangId(400), kSwitcherBinding);
  fill(memoInfoTemplates, LangId(401), kTemplateBinding);
  fill(memoInfoClipboard, LangId(402), kClipboardBinding);
  memoInfoFinish.SetText(LangText(403));
}

void TWizardForm::FillProposals(bool selectAll) {
  BusyCursorBegin();
  proposals_ = BuildProposals(bindings_, selectAll,
                              {.vistaOrLater = IsVistaOrLater(),
                               .documentsFolder = ShellFolder(CSIDL_PERSONAL),
                               .desktopFolder = ShellFolder(CSIDL_DESKTOPDIRECTORY)});
  FillDemoTexts();
  BusyCursorEnd();
}

// --- the steps -------------------------------------------------------------------

ui::TreeView::Node TWizardForm::NodeAt(int step) const {
  ui::TreeView::Node node = tvList.FirstNode();
  for (int i = 0; i < step && node; ++i) node = tvList.NextSibling(node);
  return node;
}

int TWizardForm::StepOf(ui::TreeView::Node node) const {
  int step = 0;
  for (ui::TreeView::Node walk = tvList.FirstNode(); walk; walk = tvList.NextSibling(walk), ++step)
    if (walk == node) return step;
  return -1;
}

int TWizardForm::CurrentStep() const { return StepOf(tvList.Selected()); }

std::vector<int> TWizardForm::StepImages() const {
  std::vector<int> images;
  for (ui::TreeView::Node node = tvList.FirstNode(); node; node = tvList.NextSibling(node))
    images.push_back(tvList.NodeImage(node));
  return images;
}

bool TWizardForm::tvListChanging(ui::TreeView::Node node) {
  if (node && !CanEnterStep(StepImages(), StepOf(node))) return false;
  if (ui::TreeView::Node leaving = tvList.Selected())
    tvList.SetNodeImages(leaving, kStepVisited, tvList.NodeSelectedImage(leaving));
  return true;
}

void TWizardForm::tvListChange(ui::TreeView::Node node) {
  const int step = StepOf(node);
  ShowStepPage(step);
  UpdateStepHeader();
  btnPrior.SetVisible(PriorVisibleOn(step));
}

void TWizardForm::ShowStepPage(int step) {
  for (auto& page : pages_)
    for (ui::Control* control : page) control->SetVisible(false);
  if (step < 0 || step >= kStepCount) return;
  for (ui::Control* control : pages_[static_cast<size_t>(step)]) control->SetVisible(true);
  // The first control of the page that takes the focus gets it.
  for (ui::Control* control : pages_[static_cast<size_t>(step)]) {
    const HWND window = control->Handle();
    if ((GetWindowLongW(window, GWL_STYLE) & WS_TABSTOP) && IsWindowEnabled(window)) {
      control->Focus();
      break;
    }
  }
}

void TWizardForm::UpdateStepHeader() {
  ui::TreeView::Node node = tvList.Selected();
  if (!node) return;
  pnlInfo.SetCaption(tvList.NodeText(node));
  btnNext.SetText(Lang().GetText(NextCaptionTextOn(StepImages(), StepOf(node)), kNoText));
}

void TWizardForm::btnNextClick() {
  const std::vector<int> images = StepImages();
  const int step = CurrentStep();
  if (IsLastStep(images, step)) {
    Close();
    return;
  }
  if (const std::optional<int> next = NextEnterableStep(images, step)) tvList.Select(NodeAt(*next));
}

void TWizardForm::btnPriorClick() {
  if (const std::optional<int> prior = PriorEnterableStep(StepImages(), CurrentStep())) tvList.Select(NodeAt(*prior));
}

void TWizardForm::btnCloseClick() { Close(); }

void TWizardForm::btnSettingsClick() {
  if (!system_.AskYesNo(LangText(311))) return;
  program_.OpenSettings();
  // The close asks again before the last step; No leaves both windows open.
  Close();
}

void TWizardForm::btnHelpClick() { ShowHelpContext(kHelpContext); }

void TWizardForm::btnCheckNewVersionClick() { program_.CheckNewVersion(); }

// --- closing -----------------------------------------------------------------

bool TWizardForm::CanClose() {
  // The options program is waited for on this window.
  if (optionsRunning_) return false;
  if (!CloseAsksOn(StepImages(), CurrentStep())) return true;
  return system_.AskYesNo(LangText(311));
}

void TWizardForm::OnClose(ui::CloseAction& action) {
  action = ui::CloseAction::Free;
  bindings_.SaveToFile(L"");
}

void TWizardForm::OnDestroy() {
  parts_.openWindows.Leave(*this);
  program_.EnableSettingsMenuItems(true);
}

// --- the Welcome page's choices --------------------------------------------------

void TWizardForm::cbLanguageChange() {
  if (loading_) return;
  const int colors = cbColors.ItemIndex();
  // Every window, this one too, takes the new texts at once.
  if (const int language = ChosenLanguage(cbLanguage)) preset_.SetLanguage(language);
  loading_ = true;
  cbColors.SetItemIndex(colors);
  loading_ = false;
}

void TWizardForm::chkStartWithWindowsClick() {
  // A click while the options program is waited for changes nothing: the box
  // shows what the system has once the wait ends.
  if (optionsRunning_) return;
  const bool wanted = chkStartWithWindows.Checked();
  if (wanted == system_.ReadOptionsStates().startWithWindows) return;
  const OptionsProgramRun running(optionsRunning_);
  BusyCursorBegin();
  try {
    const bool found = RunOptionsProgramForStartWithWindows(system_, ProgramFolder(), ProgramFileName(), wanted);
    BusyCursorEnd();
    chkStartWithWindows.SetChecked(found);
  } catch (const std::exception& error) {
    BusyCursorEnd();
    // The box shows what the system has; the user may try again.
    chkStartWithWindows.SetChecked(system_.ReadOptionsStates().startWithWindows);
    system_.ShowError(ErrorMessageOf(error));
  }
}

// --- the program's messages --------------------------------------------------------

void TWizardForm::WatchMessage(const MSG& msg) {
  switch (msg.message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (parts_.keyHistory) parts_.keyHistory->Reset();
      break;
    default:
      break;
  }
}

// --- painting ------------------------------------------------------------------

void TWizardForm::ApplyFrameColours() {
  const COLORREF start = Office11Color(kOffice11HeaderStartEntry), end = Office11Color(kOffice11HeaderEndEntry),
                 caption = Office11Color(kOffice11HeaderCaptionEntry);
  const ui::GradientHeaderLook& look = pnlInfo.Look();
  if (look.start != start || look.end != end) pnlInfo.SetColours(start, end);
  if (look.captionColour != caption) pnlInfo.SetCaptionColour(caption);
}

void TWizardForm::PaintFrame(HDC dc) {
  const RECT client = ClientRect();
  FillRect(dc, &client, faceBrush_.Get());
  // The step list and the page stand on panels of the scheme's colour.
  const RECT tree = tvList.Bounds(), header = pnlInfo.Bounds();
  const int margin = tree.left;
  const RECT panels{0, 0, client.right, tree.bottom + margin};
  ui::Brush frame(CreateSolidBrush(Office11Color(kOffice11FrameEntry)));
  FillRect(dc, &panels, frame.Get());
  const RECT page{header.left, header.bottom, header.right, tree.bottom};
  FillRect(dc, &page, faceBrush_.Get());
}

void TWizardForm::PaintLogo(HDC dc, const RECT& client) const {
  if (!banner_) {
    ui::Brush frame(CreateSolidBrush(Office11Color(kOffice11HeaderEndEntry)));
    FillRect(dc, &client, frame.Get());
    return;
  }
  BITMAP size{};
  GetObjectW(banner_.Get(), sizeof size, &size);
  ui::MemoryDC source(dc);
  ui::SelectedObject selected(source, banner_.Get());
  SetStretchBltMode(dc, HALFTONE);
  StretchBlt(dc, 0, 0, client.right, client.bottom, source, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
}

LRESULT TWizardForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kBringToFrontMessage:
      ForceForegroundWindow(Handle(), false);
      BringToFront();
      return 0;
    case WM_ERASEBKGND:
      if (faceBrush_) {
        PaintFrame(reinterpret_cast<HDC>(wParam));
        return 1;
      }
      break;
    case WM_PAINT:
      ApplyFrameColours();
      break;
    default:
      break;
  }
  return TQvForm::HandleMessage(message, wParam, lParam);
}

}  // namespace snibbet
