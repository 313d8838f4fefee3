// libFuzzer target: the language-file reader must take any bytes without
// crashing, reading out of bounds or hanging.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/lang_file.h"
#include "core/text_utils.h"
#include "core/utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (const auto& entry : snibbet::ParseLanguageFile(bytes)) {
    // Language texts end up in FormatText; placeholders in them must be harmless too.
    (void)snibbet::FormatText(entry.Text, {L"a", L"%1"});
  }
  (void)snibbet::ReadLanguageHeader(bytes);
  (void)snibbet::WideToUtf8(snibbet::Utf8ToWide(bytes));
  return 0;
}
