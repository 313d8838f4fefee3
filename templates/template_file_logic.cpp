#include "templates/template_file_logic.h"

#include <vector>

namespace snibbet {
namespace {

// Keeps bound controls quiet and the record filter off for one operation.
class TableOperation {
 public:
  explicit TableOperation(TemplateTable& table) : table_(table), wasFiltered_(table.Filtered()) {
    table_.DisableControls();
    table_.SetFiltered(false);  // settles a row in edit
  }
  ~TableOperation() {
    table_.SetFiltered(wasFiltered_);
    table_.EnableControls();
  }
  TableOperation(const TableOperation&) = delete;
  TableOperation& operator=(const TableOperation&) = delete;

 private:
  TemplateTable& table_;
  bool wasFiltered_;
};

}  // namespace

ZqtReadStatus LoadTemplatesFromBytes(TemplateTable& table, std::string_view bytes, bool append) {
  if (!append) table.Close();
  table.Open();
  TableOperation operation(table);
  ZqtReadResult file = ReadZqt(bytes);
  table.MergeRecords(file.Records);
  return file.Status;
}

ZqtReadStatus RemoveTemplatesOfBytes(TemplateTable& table, std::string_view bytes) {
  TableOperation operation(table);
  ZqtReadResult file = ReadZqt(bytes);
  table.RemoveNamed(file.Records);
  return file.Status;
}

std::optional<std::string> TemplatesToBytes(TemplateTable& table) {
  const auto current = table.Current();
  const std::string currentName = current ? std::string(current->Name) : std::string();
  std::optional<std::string> bytes;
  {
    TableOperation operation(table);
    if (table.RowCount() <= kZqtMaxRecords) {
      table.SortByName();
      std::vector<TemplateRecordView> rows;
      rows.reserve(table.RowCount());
      for (std::size_t row = 0; row < table.RowCount(); ++row) rows.push_back(table.RowAt(row));
      bytes = WriteZqt(rows);
    }
  }
  if (!currentName.empty()) table.LocateName(currentName);
  return bytes;
}

bool HasSampleTemplate(const TemplateTable& table) {
  for (std::size_t row = 0; row < table.RowCount(); ++row) {
    if (table.RowAt(row).Name == kSampleTemplateName) return true;
  }
  return false;
}

void AppendBuiltInSampleTemplate(TemplateTable& table) {
  const std::string rule(24, '=');
  table.Append();
  table.SetName(kSampleTemplateName);
  table.SetTemplate(rule + "\r\ntext text text text text  ;-)\r\n" + rule + "\r\n");
  table.Post();
}

}  // namespace snibbet
