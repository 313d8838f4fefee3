#pragma once
// Shared by the template editor's tests: templates by name, and a file system
// of files held in memory whose setting reloads the table as the program's does.
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/template_editor_logic.h"

namespace snibbet {

inline TemplateRecord Named(std::string name, std::string content = "x") {
  TemplateRecord record;
  record.Name = std::move(name);
  record.Template = std::move(content);
  return record;
}

inline std::vector<std::string> Names(const TemplateTable& table) {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < table.RowCount(); ++i) names.emplace_back(table.RowAt(i).Name);
  return names;
}

// Files are tables of records by path; the setting reloads as the program's does.
class FakeFiles : public TemplateFileSystem {
 public:
  explicit FakeFiles(TemplateTable& table) : table_(table) {}

  std::map<std::wstring, std::vector<TemplateRecord>> files;
  std::wstring fileName = L"C:\\docs\\main.zqt";
  std::wstring titled = L"C:\\docs\\main.zqt";
  std::deque<Answer> answers;
  std::optional<std::wstring> chosen;
  std::vector<std::wstring> asked;  // questions and dialogs, in order
  std::vector<std::wstring> mailed, warnings;
  bool saveFails = false;

  Answer AskSaveChanges() override { return Next(L"save?"); }
  Answer AskSaveChangesOnClose() override { return Next(L"close?"); }
  bool AskConfirmDelete() override { return Next(L"delete?") == Answer::Yes; }
  std::optional<std::wstring> ChooseFileToOpen(const std::wstring& folder) override {
    asked.push_back(L"open in " + folder);
    return chosen;
  }
  std::optional<std::wstring> ChooseFileToSave(const std::wstring& folder) override {
    asked.push_back(L"save in " + folder);
    return chosen;
  }
  std::optional<std::wstring> ChooseFileToImport(const std::wstring& folder) override {
    asked.push_back(L"import from " + folder);
    return chosen;
  }
  std::wstring ImportFolder() override { return L"C:\\prog\\Templates\\"; }
  std::wstring FileName() override { return fileName; }
  void SetFileName(const std::wstring& name) override {
    fileName = name;
    if (!IsUntitledTemplatesFile(name)) titled = name;
    Load(table_, L"", false);
  }
  std::wstring TitledFileName() override { return titled; }
  bool Save(TemplateTable& table, const std::wstring& path) override {
    if (saveFails || IsUntitledTemplatesFile(path)) return false;
    table.Settle();
    table.SortByName();  // as a template file is written
    std::vector<TemplateRecord> rows;
    for (std::size_t i = 0; i < table.RowCount(); ++i) rows.push_back(table.RowAt(i).Owned());
    files[path] = rows;
    return true;
  }
  // A missing file leaves the table; a file named "bad" is damaged after its first record.
  bool Load(TemplateTable& table, const std::wstring& path, bool append) override {
    const std::wstring file = path.empty() ? fileName : path;
    const auto found = files.find(file);
    if (found == files.end()) {
      table.Open();
      return false;
    }
    if (!append) table.Close();
    table.Open();
    std::vector<TemplateRecordView> views;
    for (const TemplateRecord& r : found->second) views.push_back({r.Name, r.Date, r.Kind, r.Template});
    if (file.find(L"bad") != std::wstring::npos) {
      views.resize(1);
      table.MergeRecords(views);
      return false;
    }
    table.MergeRecords(views);
    return true;
  }
  bool FileExists(const std::wstring& path) override { return files.contains(path); }
  void Mail(const std::wstring& path) override { mailed.push_back(path); }
  void Warn(const std::wstring& text) override { warnings.push_back(text); }

 private:
  Answer Next(const wchar_t* question) {
    asked.push_back(question);
    if (answers.empty()) return Answer::Cancel;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  TemplateTable& table_;
};

}  // namespace snibbet
