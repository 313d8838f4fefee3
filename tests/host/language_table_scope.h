#pragma once
// The process-wide language table replaced by a test's own for the scope's
// life; the table before comes back at its end.
#include <functional>
#include <string>

#include "core/lang_table.h"

namespace snibbet::testing {

class LanguageTableScope {
 public:
  LanguageTableScope() : previous_(ExchangeLanguageTable(&table_)) {}
  // Every text number from 0 to kLastNumber answers text(number).
  explicit LanguageTableScope(const std::function<std::wstring(int number)>& text) : LanguageTableScope() {
    for (int number = 0; number <= kLastNumber; ++number) table_.SetText(number, text(number));
  }
  ~LanguageTableScope() { ExchangeLanguageTable(previous_); }
  LanguageTableScope(const LanguageTableScope&) = delete;
  LanguageTableScope& operator=(const LanguageTableScope&) = delete;

  TQvLang& Table() { return table_; }

  static constexpr int kLastNumber = 999;

 private:
  TQvLang table_{L""};
  TQvLang* previous_;
};

}  // namespace snibbet::testing
