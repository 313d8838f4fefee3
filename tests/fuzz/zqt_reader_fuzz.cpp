// Fuzz target: the template file reader and the table it fills must take any
// bytes without crashing, reading out of bounds, allocating wildly or hanging,
// and what they make of them must save and load again unchanged.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "templates/template_file_logic.h"
#include "templates/template_table.h"
#include "templates/zqt_codec.h"

namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace snibbet;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const ZqtReadResult file = ReadZqt(bytes);
  Check(file.Status != ZqtReadStatus::BadMagic || file.Records.empty());

  TemplateTable table(NameFolding(), [] { return OleDate::FromValue(1.5); });
  table.Open();
  LoadTemplatesFromBytes(table, bytes, false);
  for (std::size_t row = 0; row < table.RowCount(); ++row) Check(table.RowAt(row).Name.size() <= kMaxTemplateNameChars);

  // Merging the same file again adds nothing.
  const std::size_t rows = table.RowCount();
  LoadTemplatesFromBytes(table, bytes, true);
  Check(table.RowCount() == rows);

  // What was read saves, and the saved file reads back to the same bytes.
  const auto saved = TemplatesToBytes(table);
  Check(saved.has_value());
  TemplateTable reread(NameFolding(), [] { return OleDate::FromValue(2.5); });
  Check(LoadTemplatesFromBytes(reread, *saved, false) == ZqtReadStatus::Complete);
  Check(TemplatesToBytes(reread) == saved);

  // A set removes what it holds, and nothing of a table loaded from it stays.
  RemoveTemplatesOfBytes(table, bytes);
  Check(table.RowCount() == 0);
  return 0;
}
