#include "core/lang_table.h"

#include <memory>

#include "core/file_bytes.h"
#include "core/lang_list.h"
#include "core/paths.h"
#include "core/program_folder.h"

namespace snibbet {
namespace {

constexpr wchar_t kEnglish[] = L"en";

}  // namespace

std::wstring GetLanguageFolder() { return JoinPath(ProgramFolder(), L"Lang\\"); }

std::wstring GetLanguageFileName(const std::wstring& code) { return GetLanguageFolder() + code + L".txt"; }

void TQvLang::Load(const std::wstring& code) {
  entries_.clear();
  AddFile(kEnglish);
  code_ = code;
  if (code != kEnglish) AddFile(code);
}

void TQvLang::AddFile(const std::wstring& code) {
  const auto bytes = ReadFileBytes(JoinPath(folder_, code + L".txt"));
  if (!bytes) return;
  for (auto& entry : ParseLanguageFile(*bytes)) SetText(entry.Id, std::move(entry.Text));
}

void InitializeLanguages() {
  if (LangOrNull()) return;
  auto table = std::make_unique<TQvLang>(GetLanguageFolder());
  table->Load(kEnglish);
  ExchangeLanguageTable(table.release());
}

void FinalizeLanguages() {
  ClearLanguageList();
  delete ExchangeLanguageTable(nullptr);
}

}  // namespace snibbet
