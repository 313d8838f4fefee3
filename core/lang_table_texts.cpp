// The language table's look-ups and the process-wide table, window-free: the
// binding list's texts come from here in native builds too.
#include <cstdlib>

#include "core/lang_table.h"

namespace snibbet {
namespace {

TQvLang* g_lang = nullptr;  // created by InitializeLanguages

}  // namespace

TQvLang::TQvLang(std::wstring folder) : folder_(std::move(folder)) {}

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

TQvLang* ExchangeLanguageTable(TQvLang* table) {
  TQvLang* previous = g_lang;
  g_lang = table;
  return previous;
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
