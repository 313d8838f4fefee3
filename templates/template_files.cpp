#include "templates/template_files.h"

#include <windows.h>

#include <utility>

#include "core/file_bytes.h"
#include "core/lang_table.h"
#include "core/message_boxes.h"
#include "core/paths.h"
#include "core/program_folder.h"
#include "core/text_utils.h"
#include "templates/atomic_file.h"
#include "templates/template_file_logic.h"

namespace snibbet {
namespace {

TemplateErrorSink& ErrorSink() {
  static TemplateErrorSink sink;
  return sink;
}

void ReportError(const std::wstring& text) {
  if (ErrorSink()) ErrorSink()(text); else ShowErrorMessage(text);
}

// A bare name (no folder) stands for an untitled file, never for one in the
// working folder.
bool HasFolder(const std::wstring& path) { return path.find_first_of(L"\\/:") != std::wstring::npos; }

bool FileExists(const std::wstring& path) {
  if (!HasFolder(path)) return false;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void ReportNotTemplateFile(const std::wstring& path) {
  ReportError(FormatText(LangText(7, L"The file \"%1\" is damaged or is not a file of Orvane Paste."), {path}));
}

// The file's bytes, or nothing after reporting why not.
std::optional<std::string> ReadTemplateFile(const std::wstring& path) {
  std::optional<std::string> bytes = ReadFileBytes(path);
  if (!bytes) {
    const DWORD error = GetLastError();
    ReportError(FormatText(LangText(713, L"Cannot read the file \"%1\".\r\n%2"), {path, SystemErrorText(error)}));
  }
  return bytes;
}

}  // namespace

std::wstring TemplatesFolder() { return JoinPath(ProgramFolder(), L"Templates\\"); }

std::wstring SampleTemplatesFileName() { return JoinPath(ProgramFolder(), L"Templates\\Test.zqt"); }

bool SaveTemplatesToFile(TemplateTable& table, const std::wstring& path) {
  const std::optional<std::string> bytes = TemplatesToBytes(table);
  if (!bytes) {
    ReportError(FormatText(LangText(711, L"The template file \"%1\" can hold at most 65,535 templates, but there are %2.\r\n"
                                     L"Nothing was saved: please delete some templates and save again."),
                           {path, std::to_wstring(table.RowCount())}));
    return false;
  }
  const DWORD error = HasFolder(path) ? ReplaceFileContents(path, *bytes) : ERROR_INVALID_NAME;
  if (error != ERROR_SUCCESS) {
    ReportError(FormatText(LangText(712, L"Cannot save the templates to \"%1\".\r\n%2"), {path, SystemErrorText(error)}));
    return false;
  }
  return true;
}

bool LoadTemplatesFromFile(TemplateTable& table, const std::wstring& path, bool append) {
  if (!FileExists(path)) {
    table.Open();
    return false;
  }
  if (!append) table.Close();
  table.Open();
  const std::optional<std::string> bytes = ReadTemplateFile(path);
  if (!bytes) return false;
  if (LoadTemplatesFromBytes(table, *bytes, true) != ZqtReadStatus::Complete) {
    ReportNotTemplateFile(path);
    return false;
  }
  return true;
}

bool RemoveTemplatesOfFile(TemplateTable& table, const std::wstring& path) {
  if (!FileExists(path)) return false;
  const std::optional<std::string> bytes = ReadTemplateFile(path);
  if (!bytes) return false;
  if (RemoveTemplatesOfBytes(table, *bytes) != ZqtReadStatus::Complete) {
    ReportNotTemplateFile(path);
    return false;
  }
  return true;
}

void CreateSampleTemplates(TemplateTable& table) { CreateSampleTemplates(table, SampleTemplatesFileName()); }

void CreateSampleTemplates(TemplateTable& table, const std::wstring& sampleFile) {
  if (!table.Active() || HasSampleTemplate(table)) return;
  if (FileExists(sampleFile)) {
    LoadTemplatesFromFile(table, sampleFile, true);
  } else {
    AppendBuiltInSampleTemplate(table);
  }
}

void SetTemplateErrorSink(TemplateErrorSink sink) { ErrorSink() = std::move(sink); }

}  // namespace snibbet
