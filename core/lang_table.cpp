#include "core/lang_table.h"

#include <cstdlib>
#include <memory>

#include "core/file_bytes.h"
#include "core/lang_list.h"
#include "core/paths.h"
#include "core/program_folder.h"

namespace snibbet {
namespace {

constexpr wchar_t kEnglish[] = L"en";

TQvLang* g_lang = nullptr;  // created by InitializeLanguages

}  // namespace

std::wstring GetLanguageFolder() { return JoinPath(ProgramFolder(), L"Lang\\"); }

std::wstring GetLanguageFileName(const std::wstring& code) { return GetLanguageFolder() + code + L".txt"; }

TQvLang::TQvLang(std::wstring folder) : folder_(std::move(folder)) {}

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

std::wstring TQvLang::GetText(int32_t id, std::wstring_view fallback) const {
  const int index = IndexOfId(id);
  return index >= 0 ? entries_[static_cast<size_t>(index)].Text : std::wstring(fallback);
}

void TQvLang::SetText(int32_t id, std::wstring text) {
  const int index = IndexOfId(id);
  if (index >= 0) {
    entries_[static_cast<size_t>(index)].Text = std::move(text);
  } else {
    entries_.push_back({id, std::move(text)});
  }
}

int TQvLang::IndexOfId(int32_t id) const {
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].Id == id) return static_cast<int>(i);
  }
  return -1;
}

void InitializeLanguages() {
  if (g_lang) return;
  g_lang = new TQvLang(GetLanguageFolder());
  g_lang->Load(kEnglish);
}

void FinalizeLanguages() {
  ClearLanguageList();
  delete g_lang;
  g_lang = nullptr;
}

TQvLang& Lang() {
  if (!g_lang) std::abort();  // InitializeLanguages was not called: a start-up order fault
  return *g_lang;
}

TQvLang* LangOrNull() { return g_lang; }

std::wstring LangText(int32_t id, std::wstring_view fallback) {
  return g_lang ? g_lang->GetText(id, fallback) : std::wstring(fallback);
}

}  // namespace snibbet
