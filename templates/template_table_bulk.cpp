// Sorting, merging and removing many rows of the template table at once.
#include <algorithm>
#include <numeric>
#include <unordered_map>

#include "templates/template_table.h"

namespace snibbet {

void TemplateTable::SortByName() {
  Settle();
  const std::size_t current = CurrentRow();
  std::vector<std::size_t> order(rows_.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return folding_.Less(rows_[a].Name, rows_[b].Name); });
  std::vector<TemplateRecord> sorted;
  sorted.reserve(rows_.size());
  std::size_t newCurrent = npos;
  for (std::size_t i = 0; i < order.size(); ++i) {
    if (order[i] == current) newCurrent = i;
    sorted.push_back(std::move(rows_[order[i]]));
  }
  rows_ = std::move(sorted);
  sorted_ = true;
  RebuildView(newCurrent);
  Notify([](TemplateTableLink& l) { l.TableChanged(); });
}

void TemplateTable::MergeRecords(const std::vector<TemplateRecordView>& records) {
  if (!active_) Open();
  Settle();
  const bool wasEmpty = rows_.empty();
  const std::size_t current = CurrentRow();
  std::unordered_map<std::string, std::size_t> rowOfName;  // folded name -> first row with it
  rowOfName.reserve(rows_.size() + records.size());
  if (wasEmpty) rows_.reserve(records.size());
  for (std::size_t row = 0; row < rows_.size(); ++row) rowOfName.emplace(folding_.Folded(rows_[row].Name), row);

  for (const TemplateRecordView& record : records) {
    const std::string_view name = StoredTemplateName(record.Name);
    const auto [it, added] = rowOfName.emplace(folding_.Folded(name), rows_.size());
    if (added) {
      sorted_ = sorted_ && (rows_.empty() || !folding_.Less(name, rows_.back().Name));
      rows_.push_back(TemplateRecord{std::string(name), record.Date, record.Kind, std::string(record.Template)});
      continue;
    }
    TemplateRecord& row = rows_[it->second];  // keeps its own spelling of the name
    row.Date = record.Date;
    row.Kind = record.Kind;
    if (!record.Template.empty()) row.Template.assign(record.Template);
  }
  RebuildView(wasEmpty ? 0 : current);
  Notify([](TemplateTableLink& l) { l.TableChanged(); });
}

std::size_t TemplateTable::RemoveNamed(const std::vector<TemplateRecordView>& records) {
  if (!active_ || records.empty()) return 0;
  Settle();
  // Folded name -> its rows in table order, and how many of them are taken.
  struct Rows {
    std::vector<std::size_t> rows;
    std::size_t taken = 0;
  };
  std::unordered_map<std::string, Rows> rowsOfName;
  for (std::size_t row = 0; row < rows_.size(); ++row) rowsOfName[folding_.Folded(rows_[row].Name)].rows.push_back(row);

  std::vector<bool> doomed(rows_.size(), false);
  std::size_t removed = 0;
  for (const TemplateRecordView& record : records) {
    const auto it = rowsOfName.find(folding_.Folded(StoredTemplateName(record.Name)));
    if (it == rowsOfName.end() || it->second.taken == it->second.rows.size()) continue;
    doomed[it->second.rows[it->second.taken++]] = true;
    ++removed;
  }
  if (removed == 0) return 0;

  const std::size_t current = CurrentRow();
  std::size_t newCurrent = npos;  // the current row, or the first kept row after it
  std::size_t kept = 0;
  for (std::size_t row = 0; row < rows_.size(); ++row) {
    if (doomed[row]) continue;
    if (newCurrent == npos && current != npos && row >= current) newCurrent = kept;
    if (kept != row) rows_[kept] = std::move(rows_[row]);
    ++kept;
  }
  rows_.resize(kept);
  RebuildView(newCurrent != npos ? newCurrent : kept);
  Notify([](TemplateTableLink& l) { l.TableChanged(); });
  return removed;
}

}  // namespace snibbet
