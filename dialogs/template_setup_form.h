#pragma once
// The template editor: the names of the current template file's templates on
// the left, one page per kind of template on the right, and the file
// commands. It keeps no templates of its own: the list and the pages edit the
// pop-up's dataset, so the pop-up offers every change at once.
#include <windows.h>

#include <memory>
#include <string>

#include "core/info_frame.h"
#include "core/qv_form.h"
#include "dialogs/dialog_parts.h"
#include "dialogs/rtf_toolbar.h"
#include "dialogs/template_editor_logic.h"
#include "templates/popup_preview.h"
#include "templates/template_tag_menu.h"
#include "templates/template_table.h"
#include "ui/button.h"
#include "ui/edit.h"
#include "ui/key_shortcuts.h"
#include "ui/label.h"
#include "ui/list_view.h"
#include "ui/main_menu.h"
#include "ui/paint_box.h"
#include "ui/rich_edit.h"
#include "ui/size_grip.h"
#include "ui/splitter.h"
#include "ui/tab_pages.h"
#include "ui/tool_bar.h"

namespace snibbet {

class TAppIni;
class TTemplateViewForm;

// What the program's editor works on, handed down from the program's start:
// the pop-up whose dataset it edits and whose search it lets go, the
// settings (the template file's name), the settings store (its placement and
// list width) and the record it names itself in while it exists.
struct TemplateEditorParts {
  TTemplateViewForm& popup;
  TPreset& settings;
  TAppIni& store;
  OpenWindows& openWindows;
};

// The pages, in the order of the kinds they edit.
enum TemplatePage { kTextPage = 0, kRtfPage = 1, kPicturePage = 2 };

class TTemplateSetupForm : public TQvForm, private TemplateTableLink, private TagPasteTarget {
 public:
  static constexpr const wchar_t* kClassName = L"TTemplateSetupForm";
  // Its topic in the help file; its Help items show the active form's topic.
  static constexpr int kHelpContext = 170;
  // The height of the band at the top of the rich-text page that its toolbar fills.
  static constexpr int kRtfToolbarBand = 52;
  static constexpr int kListRowHeight = 17;

  // Edits the pop-up's dataset with the program's files and settings.
  explicit TTemplateSetupForm(const TemplateEditorParts& program);
  // A window of its own on `table`: named nowhere, its placement not kept.
  TTemplateSetupForm(TemplateTable& table, TemplateFileSystem& files);
  ~TTemplateSetupForm() override;

  void ApplyLanguage() override;

  // Makes the template of that name (case ignored) the current one.
  void LocateTemplate(const std::wstring& name);

  // The commands of the menu, the toolbar and the keys.
  void actNewExecute() { document_.New(); }
  void actOpenExecute() { document_.Open(); }
  void actSaveExecute() { document_.Save(); }
  void actSaveAsExecute() { document_.SaveAs(); }
  void actImportExecute() { document_.Import(); }
  void actMailExecute() { document_.Mail(); }
  void actAddExecute();
  void actDelExecute();
  void miCloseClick() { Close(); }
  void tbInsertTagClick();

  TemplateEditorDocument& Document() { return document_; }
  ui::ListView& Grid() { return gridTemplates_; }
  ui::TabPages& Pages() { return pcTemplate_; }
  ui::Edit& Memo() { return memoTemplate_; }
  ui::RichEdit& Editor() { return editor_; }
  ui::Edit& PictureFileName() { return edtPictureFileName_; }
  const PreviewPicture& Picture() const { return picture_; }
  ui::ToolBar& MainToolBar() { return tbMain_; }
  ui::MainMenu& MainMenu() { return mmMain_; }
  TemplateTagMenu& TagMenu() { return *tagMenu_; }
  // The band of the rich-text page left for its toolbar, in client coordinates.
  RECT RtfToolbarArea() const;
  // The user chose a page (its tab), as a click does.
  void ChoosePage(int page);
  // A name typed in place into the list for the current template.
  void RenameCurrent(const std::wstring& name);
  // The program is about to end: asks about unsaved changes as closing does
  // (No throws them away); false keeps the program running.
  bool AllowProgramExit();

 protected:
  void OnCreate() override;
  void OnShow() override;
  void OnSize(int clientWidth, int clientHeight) override;
  bool CanClose() override;
  void OnClose(ui::CloseAction& action) override;
  void OnDestroy() override;
  bool OnNotify(NMHDR& header, LRESULT& result) override;

 private:
  // Without `program`, `files` are given.
  TTemplateSetupForm(TemplateTable& table, TemplateFileSystem* files, const TemplateEditorParts* program);

  // TemplateTableLink
  void TableChanged() override;
  void CurrentRowChanged() override;
  void StateChanged() override;
  void FieldChanged(TemplateField field) override;
  // TagPasteTarget
  HWND EditorMemo() const override { return memoTemplate_.Handle(); }
  bool EditorIsActiveForm() const override;

  void BuildMenu();
  void BuildToolBars();
  void Layout();
  void RefreshCaption();
  void RefreshSaveState();
  void SyncListToTable();
  // The list's moves by key, made on the table.
  int ListPage() const;
  std::size_t ListPositionBy(int rows) const;
  void MoveListTo(std::size_t position);
  // The record changed as a whole: caches forgotten (unless the form did it),
  // the page of its kind shown and the controls loaded.
  void RecordChanged();
  void LoadControls();
  void LoadPreview(const std::wstring& file);
  void ShowPage(int page);
  void MemoChanged();
  void EditorChanged();
  void PictureFileNameChanged();
  void ChoosePictureFile();
  void FlushListEdit();
  // Puts the current template into edit for a change from a control (an
  // empty list gets a new template); false when the table refuses.
  bool EditForControl();
  void Warn(const TemplateTableError& error);

  TemplateTable& table_;
  // Null for a window of its own.
  TTemplateViewForm* popup_ = nullptr;
  const TPreset* settings_ = nullptr;
  TAppIni* store_ = nullptr;
  OpenWindows* openWindows_ = nullptr;
  std::unique_ptr<TemplateFileSystem> ownFiles_;
  TemplateFileSystem& files_;
  TemplateEditorDocument document_;
  TemplateKindCaches caches_;
  bool updating_ = false;
  std::string loadedRtf_;  // the document last put into Editor
  int gridWidth_ = 200;

  ui::MainMenu mmMain_{*this, L"mmMain"};
  ui::ToolBar tbMain_;
  TInfoFrame frmInfo_;
  ui::ListView gridTemplates_;
  ui::Splitter splLeft_;
  ui::TabPages pcTemplate_;
  ui::ToolBar tbrText_;
  ui::Edit memoTemplate_;
  ui::RichEdit editor_;
  RtfToolbar tbrRtf_;  // after the rich edit it works on
  ui::Label lblPictureFileName_;
  ui::Edit edtPictureFileName_;
  ui::Button btnPictureFileName_;
  ui::Label lblPicture_;
  ui::PaintBox imgPicture_;
  ui::SizeGrip sizeGrip_{*this};
  PreviewPicture picture_;
  std::unique_ptr<TemplateTagMenu> tagMenu_;
  ui::KeyShortcuts shortcuts_;
};

// Opens the editor (or brings the open one to the front) on the template of
// that name, with the wait message showing meanwhile.
void ShowTemplateEditor(const TemplateEditorParts& program, const std::wstring& templateName);

}  // namespace snibbet
