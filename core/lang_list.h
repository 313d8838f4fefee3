#pragma once
// The installed languages: one language file per code in the language folder.
#include <cstdint>
#include <string>
#include <vector>

namespace snibbet {

struct LanguageRecord {
  std::wstring Code;         // file name without ".txt"
  int32_t LangId = 0;        // text 100001 of the file
  uint8_t FlagIndex = 0;     // flag picture of the tray menu
  std::wstring DisplayName;  // text 100000 of the file
};

// The languages whose files in `folder` carry a display name and a language
// number, in the order the file system lists them.
std::vector<LanguageRecord> ReadLanguageRecords(const std::wstring& folder);

// Builds LanguageList from the language folder. When no language is found it
// shows "Cannot load language data!", asks the application to terminate and
// returns false: start-up must then stop at once.
bool EnumerateLanguages();
bool EnumerateLanguages(const std::wstring& folder);

const std::vector<LanguageRecord>& LanguageList();
void ClearLanguageList();  // part of FinalizeLanguages

}  // namespace snibbet
