// Sorting, merging and removing many rows of the template table at once.
#include <algorithm>
#include <limits>
#include <numeric>

#include "templates/template_table.h"

namespace snibbet {
namespace {

// Rows by name, case ignored: open addressing over row numbers in one block,
// rather than a heap node and a folded copy per name.
class NameIndex {
 public:
  static constexpr std::uint32_t kEmpty = std::numeric_limits<std::uint32_t>::max();

  NameIndex(const NameFolding& folding, std::size_t names) : folding_(folding) {
    std::size_t size = 16;
    while (size < 2 * names) size *= 2;  // at most half full
    slots_.assign(size, kEmpty);
  }

  // The row noted for a name equal to `name`, or kEmpty for the caller to fill.
  template <class NameOfRow>
  std::uint32_t& Slot(std::string_view name, const NameOfRow& nameOfRow) {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = Hash(name) & mask;; i = (i + 1) & mask) {
      std::uint32_t& slot = slots_[i];
      if (slot == kEmpty || folding_.Equal(nameOfRow(slot), name)) return slot;
    }
  }

 private:
  std::size_t Hash(std::string_view name) const {
    std::uint64_t hash = 14695981039346656037u;  // FNV-1a over the folded bytes
    for (const char c : name) hash = (hash ^ folding_.Fold(c)) * 1099511628211u;
    return static_cast<std::size_t>(hash ^ (hash >> 32));
  }

  const NameFolding& folding_;
  std::vector<std::uint32_t> slots_;
};

}  // namespace

void TemplateTable::SortByName() {
  Settle();
  const std::size_t current = CurrentRow();
  std::vector<std::size_t> order(rows_.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return folding_.Less(NameOf(rows_[a]), NameOf(rows_[b])); });
  std::vector<Row> sorted;
  sorted.reserve(rows_.size());
  std::size_t newCurrent = npos;
  for (std::size_t i = 0; i < order.size(); ++i) {
    if (order[i] == current) newCurrent = i;
    sorted.push_back(rows_[order[i]]);
  }
  rows_ = std::move(sorted);
  sorted_ = true;
  RebuildView(newCurrent);
  Notify([](TemplateTableLink& l) { l.TableChanged(); });
}

void TemplateTable::MergeRecords(const std::vector<TemplateRecordView>& records) {
  if (!active_) Open();
  Settle();
  // One block takes every record's name and content in record order; a record
  // that finds its row and brings no content leaves its place unused.
  std::size_t bytes = 0;
  for (const TemplateRecordView& record : records) {
    if (record.Template.size() > std::numeric_limits<std::uint32_t>::max()) {
      throw std::length_error("template of 4 GB or more");
    }
    bytes += StoredTemplateName(record.Name).size() + record.Template.size();
  }
  RowBlocks::Block* const block = bytes > 0 ? &blocks_.Add(bytes) : nullptr;
  char* at = block ? block->bytes.get() : nullptr;
  // The merge's own hold on the block, let go however it ends: a block no row took goes then.
  struct Hold {
    RowBlocks& blocks;
    const char* bytes;
    ~Hold() { blocks.Release(bytes); }
  } const hold{blocks_, at};
  const auto write = [&](const TemplateRecordView& fields) {
    const Row row = WriteRow(fields, at);
    if (row.bytes) {
      at += fields.Name.size() + fields.Template.size();
      ++block->users;
    }
    return row;
  };

  const bool wasEmpty = rows_.empty();
  const std::size_t current = CurrentRow();
  const auto nameOfRow = [this](std::uint32_t row) { return NameOf(rows_[row]); };
  NameIndex firstRowOfName(folding_, rows_.size() + records.size());
  for (std::size_t row = 0; row < rows_.size(); ++row) {
    std::uint32_t& first = firstRowOfName.Slot(NameOf(rows_[row]), nameOfRow);
    if (first == NameIndex::kEmpty) first = static_cast<std::uint32_t>(row);
  }
  if (wasEmpty) rows_.reserve(records.size());

  for (const TemplateRecordView& record : records) {
    const std::string_view name = StoredTemplateName(record.Name);
    std::uint32_t& first = firstRowOfName.Slot(name, nameOfRow);
    if (first == NameIndex::kEmpty) {
      sorted_ = sorted_ && (rows_.empty() || !folding_.Less(name, NameOf(rows_.back())));
      rows_.push_back(write({name, record.Date, record.Kind, record.Template}));
      first = static_cast<std::uint32_t>(rows_.size() - 1);
      continue;
    }
    // It keeps its own spelling of the name, as long as the record's: names
    // fold byte by byte, so the block has room for it.
    Row& row = rows_[first];
    row.date = record.Date;
    row.kind = record.Kind;
    if (record.Template.empty()) continue;
    const Row updated = write({NameOf(row), row.date, row.kind, record.Template});
    blocks_.Release(row.bytes);
    row = updated;
  }
  RebuildView(wasEmpty ? 0 : current);
  Notify([](TemplateTableLink& l) { l.TableChanged(); });
}

std::size_t TemplateTable::RemoveNamed(const std::vector<TemplateRecordView>& records) {
  if (!active_ || records.empty()) return 0;
  Settle();
  // Each name's first row, after each row the next one of its name, and for
  // each name the first of its rows not yet taken.
  const auto nameOfRow = [this](std::uint32_t row) { return NameOf(rows_[row]); };
  NameIndex firstRowOfName(folding_, rows_.size());
  std::vector<std::uint32_t> nextOfName(rows_.size());
  std::vector<std::uint32_t> untaken(rows_.size());
  for (std::size_t row = rows_.size(); row-- > 0;) {
    std::uint32_t& first = firstRowOfName.Slot(NameOf(rows_[row]), nameOfRow);
    nextOfName[row] = first;
    first = untaken[row] = static_cast<std::uint32_t>(row);
  }

  std::vector<bool> doomed(rows_.size(), false);
  std::size_t removed = 0;
  for (const TemplateRecordView& record : records) {
    const std::uint32_t first = firstRowOfName.Slot(StoredTemplateName(record.Name), nameOfRow);
    if (first == NameIndex::kEmpty || untaken[first] == NameIndex::kEmpty) continue;
    doomed[untaken[first]] = true;
    untaken[first] = nextOfName[untaken[first]];
    ++removed;
  }
  if (removed == 0) return 0;

  const std::size_t current = CurrentRow();
  std::size_t newCurrent = npos;  // the current row, or the first kept row after it
  std::size_t kept = 0;
  for (std::size_t row = 0; row < rows_.size(); ++row) {
    if (doomed[row]) {
      blocks_.Release(rows_[row].bytes);
      continue;
    }
    if (newCurrent == npos && current != npos && row >= current) newCurrent = kept;
    if (kept != row) rows_[kept] = rows_[row];
    ++kept;
  }
  rows_.resize(kept);
  RebuildView(newCurrent != npos ? newCurrent : kept);
  Notify([](TemplateTableLink& l) { l.TableChanged(); });
  return removed;
}

}  // namespace snibbet
