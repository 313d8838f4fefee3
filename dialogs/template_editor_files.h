#pragma once
// The template editor's files and questions on the real system: message
// boxes, file dialogs, the setting TemplatesFileName and the template file
// operations, and the mail program.
#include <string>

#include "dialogs/template_editor_logic.h"
#include "ui/window.h"

namespace snibbet {

class TPreset;

// Where a shared template file is mailed.
inline constexpr wchar_t kSharedTemplatesMailbox[] = L"templates@orvanesoftware.com";

class ProgramTemplateFiles : public TemplateFileSystem {
 public:
  // The dialogs are owned by `owner`; the file's name is the setting of `settings`.
  ProgramTemplateFiles(const ui::Window& owner, TPreset& settings) : owner_(owner), settings_(settings) {}

  Answer AskSaveChanges() override;
  Answer AskSaveChangesOnClose() override;
  bool AskConfirmDelete() override;
  std::optional<std::wstring> ChooseFileToOpen(const std::wstring& folder) override;
  std::optional<std::wstring> ChooseFileToSave(const std::wstring& folder) override;
  std::optional<std::wstring> ChooseFileToImport(const std::wstring& folder) override;
  std::wstring ImportFolder() override;
  std::wstring FileName() override;
  void SetFileName(const std::wstring& name) override;
  std::wstring TitledFileName() override;
  bool Save(TemplateTable& table, const std::wstring& path) override;
  bool Load(TemplateTable& table, const std::wstring& path, bool append) override;
  bool FileExists(const std::wstring& path) override;
  void Mail(const std::wstring& path) override;
  void Warn(const std::wstring& text) override;

 private:
  const ui::Window& owner_;
  TPreset& settings_;
};

}  // namespace snibbet
