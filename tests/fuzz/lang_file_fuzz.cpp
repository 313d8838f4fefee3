// libFuzzer target: the language-file reader must take any bytes without
// crashing, reading out of bounds or hanging.
#include <cstddef>
#include <cstdint>
#include <string>
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
  // Decoding is stable: what it gives back encodes and decodes to itself.
  const std::wstring wide = snibbet::Utf8ToWide(bytes);
  if (snibbet::Utf8ToWide(snibbet::WideToUtf8(wide)) != wide) __builtin_trap();
  return 0;
}
