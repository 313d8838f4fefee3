#include "dialogs/template_editor_files.h"

#include <vector>

#include "core/lang_table.h"
#include "core/mapi_mail.h"
#include "core/preset.h"
#include "core/product_name.h"
#include "core/text_utils.h"
#include "templates/template_files.h"
#include "ui/file_dialog.h"

namespace snibbet {
namespace {

std::wstring TemplateFileFilter() {
  return FormatText(LangText(487, L"%1 templates (*.zqt)|*.zqt|All files (*.*)|*.*"), {kProductName});
}

std::optional<std::wstring> Choose(const ui::Window& owner, const std::wstring& folder, bool save) {
  ui::FileDialogOptions options;
  options.filter = TemplateFileFilter();
  options.initialFolder = folder;
  options.overwritePrompt = false;  // the save replaces the file whole, or not at all
  const std::optional<ui::FileDialogResult> chosen =
      save ? ui::ShowSaveFileDialog(options, owner.Handle()) : ui::ShowOpenFileDialog(options, owner.Handle());
  if (!chosen) return std::nullopt;
  return chosen->path;
}

}  // namespace

Answer ProgramTemplateFiles::AskSaveChanges() { return snibbet::AskSaveChanges(); }
Answer ProgramTemplateFiles::AskSaveChangesOnClose() { return snibbet::AskSaveChangesOnClose(); }
bool ProgramTemplateFiles::AskConfirmDelete() { return snibbet::AskConfirmDelete(); }

std::optional<std::wstring> ProgramTemplateFiles::ChooseFileToOpen(const std::wstring& folder) {
  return Choose(owner_, folder, false);
}
std::optional<std::wstring> ProgramTemplateFiles::ChooseFileToSave(const std::wstring& folder) {
  return Choose(owner_, folder, true);
}
std::optional<std::wstring> ProgramTemplateFiles::ChooseFileToImport(const std::wstring& folder) {
  return Choose(owner_, folder, false);
}

std::wstring ProgramTemplateFiles::ImportFolder() { return TemplatesFolder(); }

std::wstring ProgramTemplateFiles::FileName() { return settings_.TemplatesFileName(); }

void ProgramTemplateFiles::SetFileName(const std::wstring& name) { settings_.SetTemplatesFileName(name); }

std::wstring ProgramTemplateFiles::TitledFileName() { return settings_.TitledTemplatesFileName(); }

bool ProgramTemplateFiles::Save(TemplateTable& table, const std::wstring& path) {
  return SaveTemplatesToFile(table, path);
}

bool ProgramTemplateFiles::Load(TemplateTable& table, const std::wstring& path, bool append) {
  return LoadTemplatesFromFile(table, path, append);
}

bool ProgramTemplateFiles::FileExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void ProgramTemplateFiles::Mail(const std::wstring& path) {
  SendMailMapi(kSharedTemplatesMailbox, std::wstring(L"Templates ") + kProductName, L"Here is some useful Templates.",
               {path});
}

void ProgramTemplateFiles::Warn(const std::wstring& text) { ShowWarningMessage(text); }

}  // namespace snibbet
