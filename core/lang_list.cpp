#include "core/lang_list.h"

#include <windows.h>

#include "core/file_bytes.h"
#include "core/lang_file.h"
#include "core/lang_flag.h"
#include "core/lang_table.h"
#include "core/paths.h"
#include "ui/application.h"
#include "ui/handles.h"

namespace snibbet {
namespace {

std::vector<LanguageRecord>* g_languages = nullptr;

bool HasTxtExtension(const std::wstring& name) {
  return name.size() > 4 && _wcsicmp(name.c_str() + name.size() - 4, L".txt") == 0;
}

}  // namespace

std::vector<LanguageRecord> ReadLanguageRecords(const std::wstring& folder) {
  std::vector<LanguageRecord> records;
  WIN32_FIND_DATAW found{};
  ui::FindHandle find(FindFirstFileW(JoinPath(folder, L"*.txt").c_str(), &found));
  if (!find) return records;
  do {
    const std::wstring name = found.cFileName;
    // "*.txt" also matches longer extensions through the short names.
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !HasTxtExtension(name)) continue;
    const auto bytes = ReadFileBytes(JoinPath(folder, name));
    if (!bytes) continue;
    const LanguageHeader header = ReadLanguageHeader(*bytes);
    LanguageRecord record{name.substr(0, name.size() - 4), header.LangId, 0, header.DisplayName};
    if (record.Code.empty() || record.DisplayName.empty() || record.LangId == 0) continue;
    record.FlagIndex = LanguageFlagIndex(record.LangId);
    records.push_back(std::move(record));
  } while (FindNextFileW(find.Get(), &found));
  return records;
}

bool EnumerateLanguages() { return EnumerateLanguages(GetLanguageFolder()); }

bool EnumerateLanguages(const std::wstring& folder) {
  if (!g_languages) g_languages = new std::vector<LanguageRecord>;
  *g_languages = ReadLanguageRecords(folder);
  if (!g_languages->empty()) return true;
  MessageBoxW(ui::ApplicationWindow(), L"Cannot load language data!\r\n\r\nCheck folder 'Lang'.", L"Error",
              MB_OK | MB_ICONERROR | MB_TASKMODAL);
  ui::Terminate();
  return false;
}

const std::vector<LanguageRecord>& LanguageList() {
  static const std::vector<LanguageRecord> kNone;
  return g_languages ? *g_languages : kNone;
}

void ClearLanguageList() {
  delete g_languages;
  g_languages = nullptr;
}

}  // namespace snibbet
