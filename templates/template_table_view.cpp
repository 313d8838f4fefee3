// The record filter and the visible rows of the template table.
#include <algorithm>

#include "templates/template_table.h"

namespace snibbet {

void TemplateTable::SetFilterText(std::string text) {
  if (text == filterText_) return;
  filterText_ = std::move(text);
  if (!filtered_) return;
  Settle();
  RebuildView(0);  // a new filter starts at its first row
  Notify([](TemplateTableLink& l) { l.TableChanged(); });
}

void TemplateTable::SetFiltered(bool on) {
  Settle();
  if (on == filtered_) return;
  filtered_ = on;
  RebuildView(0);
  Notify([](TemplateTableLink& l) { l.TableChanged(); });
}

bool TemplateTable::RowMatchesFilter(std::size_t row) const {
  return folding_.StartsWith(NameOf(rows_[row]), filterText_);
}

bool TemplateTable::RowInOrder(std::size_t row) const {
  const std::string_view name = NameOf(rows_[row]);
  return (row == 0 || !folding_.Less(name, NameOf(rows_[row - 1]))) &&
         (row + 1 >= rows_.size() || !folding_.Less(NameOf(rows_[row + 1]), name));
}

std::size_t TemplateTable::VisibleCount() const {
  switch (viewKind_) {
    case ViewKind::All: return rows_.size();
    case ViewKind::Range: return rangeEnd_ - rangeBegin_;
    case ViewKind::List: return listRows_.size();
  }
  return 0;
}

std::size_t TemplateTable::RowOfPosition(std::size_t position) const {
  if (position >= VisibleCount()) throw std::out_of_range("template list position");
  switch (viewKind_) {
    case ViewKind::All: return position;
    case ViewKind::Range: return rangeBegin_ + position;
    case ViewKind::List: return listRows_[position];
  }
  return position;
}

std::size_t TemplateTable::PositionOfRow(std::size_t row) const {
  if (row == npos) return npos;
  switch (viewKind_) {
    case ViewKind::All: return row < rows_.size() ? row : npos;
    case ViewKind::Range: return row >= rangeBegin_ && row < rangeEnd_ ? row - rangeBegin_ : npos;
    case ViewKind::List: {
      const auto it = std::lower_bound(listRows_.begin(), listRows_.end(), row);
      return it != listRows_.end() && *it == row ? static_cast<std::size_t>(it - listRows_.begin()) : npos;
    }
  }
  return npos;
}

// The visible row at or after `row` in table order, else the last one.
std::size_t TemplateTable::NearestPosition(std::size_t row) const {
  const std::size_t count = VisibleCount();
  if (count == 0 || row == npos) return 0;
  switch (viewKind_) {
    case ViewKind::All: return std::min(row, count - 1);
    case ViewKind::Range: return row <= rangeBegin_ ? 0 : std::min(row - rangeBegin_, count - 1);
    case ViewKind::List: {
      const auto it = std::lower_bound(listRows_.begin(), listRows_.end(), row);
      return std::min(static_cast<std::size_t>(it - listRows_.begin()), count - 1);
    }
  }
  return 0;
}

void TemplateTable::RebuildView(std::size_t keepRow) {
  listRows_.clear();
  if (!filtered_) {
    viewKind_ = ViewKind::All;
  } else if (sorted_ && state_ != TableState::Insert) {
    // Names starting with the text lie together in name order: after every
    // name that sorts below the text, and up to the first that no longer starts with it.
    viewKind_ = ViewKind::Range;
    const auto begin = rows_.begin();
    const auto low = std::partition_point(
        begin, rows_.end(), [&](const Row& r) { return folding_.Less(NameOf(r), filterText_); });
    const auto high = std::partition_point(
        low, rows_.end(), [&](const Row& r) { return folding_.StartsWith(NameOf(r), filterText_); });
    rangeBegin_ = static_cast<std::size_t>(low - begin);
    rangeEnd_ = static_cast<std::size_t>(high - begin);
  } else {
    viewKind_ = ViewKind::List;
    for (std::size_t row = 0; row < rows_.size(); ++row) {
      // A row being inserted stays in sight until it is posted.
      if (RowMatchesFilter(row) || (state_ == TableState::Insert && row == editRow_)) {
        listRows_.push_back(static_cast<std::uint32_t>(row));
      }
    }
  }
  const std::size_t position = PositionOfRow(keepRow);
  PlaceCursor(position != npos ? position : NearestPosition(keepRow));
}

}  // namespace snibbet
