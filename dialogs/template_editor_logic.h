#pragma once
// The template editor's rules that need no window: the untitled file, the
// file name's extension, which links may open, the content a template had in
// the kinds the user switched it through, and the file commands with their
// questions and the unsaved-changes state.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/message_boxes.h"
#include "templates/template_table.h"

namespace snibbet {

// The name New gives the current template file: a bare name without a folder.
inline constexpr wchar_t kUntitledTemplatesFileName[] = L"New";

// A template file name without a folder stands for the untitled file.
bool IsUntitledTemplatesFile(std::wstring_view name);
// ".zqt" appended unless the name already ends in it, in any case of letters.
std::wstring WithTemplatesExtension(std::wstring name);
// The folder part of a path with its last "\" ("" without one).
std::wstring FolderOfPath(std::wstring_view path);
// Only web, mail and FTP addresses are handed to the shell: a link in a
// template could otherwise start any program or file.
bool IsOpenableLink(std::wstring_view link);

// The content the current template had as text, rich text and picture while
// the user switched its kind; forgotten whenever the record changes.
class TemplateKindCaches {
 public:
  void Clear() { cache_ = {}; }
  // Puts the current template into edit, keeps its content under its old kind
  // and gives it `kind` with what that kind held before (empty at first).
  // Throws TemplateTableError when the table cannot edit.
  void SwitchKind(TemplateTable& table, std::uint16_t kind);
  const std::string& Cached(std::uint16_t kind) const;

 private:
  std::array<std::string, 3> cache_;
};

// What the file commands ask of the user, the files and the settings.
class TemplateFileSystem {
 public:
  virtual ~TemplateFileSystem() = default;
  virtual Answer AskSaveChanges() = 0;
  virtual Answer AskSaveChangesOnClose() = 0;
  virtual bool AskConfirmDelete() = 0;
  // Nothing when the user cancels.
  virtual std::optional<std::wstring> ChooseFileToOpen(const std::wstring& folder) = 0;
  virtual std::optional<std::wstring> ChooseFileToSave(const std::wstring& folder) = 0;
  virtual std::optional<std::wstring> ChooseFileToImport(const std::wstring& folder) = 0;
  virtual std::wstring ImportFolder() = 0;
  // The setting TemplatesFileName; setting it reloads the table from that file.
  virtual std::wstring FileName() = 0;
  virtual void SetFileName(const std::wstring& name) = 0;
  // The last titled file name the settings keep.
  virtual std::wstring TitledFileName() = 0;
  // The template file operations; failures are reported by them and give false.
  virtual bool Save(TemplateTable& table, const std::wstring& path) = 0;
  virtual bool Load(TemplateTable& table, const std::wstring& path, bool append) = 0;
  virtual bool FileExists(const std::wstring& path) = 0;
  virtual void Mail(const std::wstring& path) = 0;
  virtual void Warn(const std::wstring& text) = 0;
};

// The editor's current template file: untitled or titled, changed or saved,
// and the commands on it. A command that fails leaves the table and the file
// as they were and keeps the changes marked unsaved.
class TemplateEditorDocument : private TemplateTableLink {
 public:
  TemplateEditorDocument(TemplateTable& table, TemplateFileSystem& system);
  ~TemplateEditorDocument() override;
  TemplateEditorDocument(const TemplateEditorDocument&) = delete;
  TemplateEditorDocument& operator=(const TemplateEditorDocument&) = delete;

  bool Untitled() const { return untitled_; }
  bool Modified() const { return modified_; }
  // The caption or the unsaved state may have changed.
  std::function<void()> onChange;
  // Runs before each command: the window's controls hand in what is still
  // being typed (a name in the list).
  std::function<void()> onFlushControls;

  // The window shows: nothing unsaved; untitled when the file has no folder.
  void Shown();
  void MarkModified();

  void New();
  void Open();
  bool Save();
  bool SaveAs();
  void Import();
  void Mail();
  // Whether the window may close: asks about unsaved changes; No throws them away.
  bool CanClose();

  // Posts the template in edit; a failure is shown as a warning.
  void PostEdit();

 private:
  void StateChanged() override;
  void TableChanged() override;

  // The question before a command that replaces or merges: false ends the command.
  bool SettleUnsaved(Answer answer);
  bool Prepare();  // flush, post
  bool Readable(const std::wstring& path);
  void SetState(bool untitled, bool modified);
  void Changed();

  TemplateTable& table_;
  TemplateFileSystem& system_;
  bool untitled_ = false;
  bool modified_ = false;
  bool running_ = false;  // a command changes the table: its events are the command's
  bool wasActive_ = false;
};

}  // namespace snibbet
