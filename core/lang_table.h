#pragma once
// The language table: every text of the user interface, looked up by number.
//
// How code asks for a language text (tests/host/lang_texts_shipped_test.cpp
// finds the numbers this way and checks each one is in data/Lang/en.txt):
//   - write the number as a decimal literal, as the FIRST argument of
//     LangText(N, ...), Lang().GetText(N, ...), SetControlText(N, ...) or
//     SetMenuItemCaption(N, ...);
//   - a number kept in a table or passed on is written LangId(N);
//   - never compute a number or hide it behind a named constant.
// Every new number gets an English text in data/Lang/en.txt, e.g.
//   LangText(8, L"Cannot create folder %1")  needs  000008=Cannot create folder "%1".
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/lang_file.h"

namespace snibbet {

// Marks a language-text number kept in a table or handed on to a helper.
constexpr int32_t LangId(int32_t id) { return id; }

inline constexpr std::wstring_view kNoText = L"No text";

// "<program folder>Lang\" and "<that folder><code>.txt".
std::wstring GetLanguageFolder();
std::wstring GetLanguageFileName(const std::wstring& code);

class TQvLang {
 public:
  // Language files are read from `folder` (ending in "\").
  explicit TQvLang(std::wstring folder);

  const std::wstring& Code() const { return code_; }
  const std::vector<LangEntry>& Entries() const { return entries_; }
  const std::wstring& Folder() const { return folder_; }
  // The `Language` setting the texts are for, which gives the forms' fonts
  // their character set; none until the settings name one.
  std::optional<int> LanguageSetting() const { return languageSetting_; }
  void SetLanguageSetting(int language) { languageSetting_ = language; }

  // Fills the table with English and, unless code is "en", lays the language
  // `code` over it. A missing file leaves English (or nothing, for "en").
  void Load(const std::wstring& code);

  std::wstring GetText(int32_t id, std::wstring_view fallback = kNoText) const;
  void SetText(int32_t id, std::wstring text);  // adds, or replaces the text of a present id
  int IndexOfId(int32_t id) const;               // -1 when absent

 private:
  void AddFile(const std::wstring& code);

  std::wstring folder_;
  std::wstring code_;
  std::optional<int> languageSetting_;
  std::vector<LangEntry> entries_;
};

// The process-wide table, loaded with English. The program entry calls these
// in order: settings store, settings object, InitializeLanguages, utilities;
// finalisation runs in reverse.
void InitializeLanguages();
void FinalizeLanguages();
TQvLang& Lang();  // valid between the two calls above
TQvLang* LangOrNull();  // null outside them
// Makes `table` (not owned) the process-wide one and answers the one before.
TQvLang* ExchangeLanguageTable(TQvLang* table);

// Lang().GetText(id, fallback); the fallback also before InitializeLanguages.
std::wstring LangText(int32_t id, std::wstring_view fallback = kNoText);

}  // namespace snibbet
