#include "templates/template_table.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace snibbet {
namespace {

constexpr std::size_t kMaxTemplateBytes = std::numeric_limits<std::uint32_t>::max();
static_assert(kMaxTemplateNameChars <= std::numeric_limits<std::uint8_t>::max());

}  // namespace

TemplateTable::RowBlocks::Block& TemplateTable::RowBlocks::Add(std::size_t size) {
  std::unique_ptr<char[]> bytes(new char[size]);
  const char* start = bytes.get();
  return blocks_.emplace(start, Block{std::move(bytes)}).first->second;
}

void TemplateTable::RowBlocks::Release(const char* rowBytes) {
  if (!rowBytes) return;
  auto it = blocks_.upper_bound(rowBytes);  // the block after the one holding the bytes
  if (it == blocks_.begin()) return;
  --it;
  if (--it->second.users == 0) blocks_.erase(it);
}

TemplateRecordView TemplateTable::ViewOf(const Row& row) {
  return TemplateRecordView{NameOf(row), row.date, row.kind, std::string_view(row.bytes + row.nameSize, row.contentSize)};
}

TemplateTable::Row TemplateTable::WriteRow(const TemplateRecordView& record, char* at) {
  Row row;
  // Every name reaches a row cut to kMaxTemplateNameChars (SetName, the merge).
  row.nameSize = static_cast<std::uint8_t>(record.Name.size());
  row.contentSize = static_cast<std::uint32_t>(record.Template.size());
  row.kind = record.Kind;
  row.date = record.Date;
  if (record.Name.empty() && record.Template.empty()) return row;
  std::copy(record.Template.begin(), record.Template.end(), std::copy(record.Name.begin(), record.Name.end(), at));
  row.bytes = at;
  return row;
}

void TemplateTable::ReplaceRow(std::size_t row, const TemplateRecord& record) {
  const std::size_t size = record.Name.size() + record.Template.size();
  const Row fresh = WriteRow(record.View(), size > 0 ? blocks_.Add(size).bytes.get() : nullptr);
  blocks_.Release(rows_[row].bytes);
  rows_[row] = fresh;
}

void TemplateTable::ReleaseRows(std::size_t begin, std::size_t end) {
  for (std::size_t row = begin; row < end; ++row) blocks_.Release(rows_[row].bytes);
}

TemplateTable::TemplateTable(NameFolding folding, Clock clock)
    : folding_(std::move(folding)), clock_(std::move(clock)) {}

void TemplateTable::Notify(const std::function<void(TemplateTableLink&)>& event) {
  if (disabledCount_ > 0) return;
  const std::vector<TemplateTableLink*> links = links_;  // a link may unhook itself
  for (TemplateTableLink* link : links) event(*link);
}

void TemplateTable::RequireActive() const {
  if (!active_) throw TemplateTableError("The template list is not open.");
}

void TemplateTable::RequireEditing() const {
  if (!Editing()) throw TemplateTableError("The template is not being edited.");
}

void TemplateTable::Open() {
  if (active_) return;
  active_ = true;
  state_ = TableState::Browse;
  rows_.clear();
  blocks_.Clear();
  sorted_ = true;
  RebuildView(npos);
  PlaceCursor(npos);
  Notify([](TemplateTableLink& l) { l.TableChanged(); });
}

void TemplateTable::Close() {
  if (!active_) return;
  DiscardEdit();
  active_ = false;
  state_ = TableState::Inactive;
  rows_.clear();
  blocks_.Clear();
  sorted_ = true;
  RebuildView(npos);
  PlaceCursor(npos);
  Notify([](TemplateTableLink& l) { l.TableChanged(); });
}

std::optional<TemplateRecordView> TemplateTable::Current() const {
  if (Editing()) return buffer_.View();
  if (cursor_ == npos) return std::nullopt;
  return ViewOf(rows_[RowOfPosition(cursor_)]);
}

std::size_t TemplateTable::CurrentRow() const { return cursor_ == npos ? npos : RowOfPosition(cursor_); }

void TemplateTable::PlaceCursor(std::size_t position) {
  const std::size_t count = VisibleCount();
  cursor_ = count == 0 ? npos : std::min(position, count - 1);
  bof_ = eof_ = count == 0;
}

void TemplateTable::First() {
  Settle();
  PlaceCursor(0);
  bof_ = true;
  Notify([](TemplateTableLink& l) { l.CurrentRowChanged(); });
}

void TemplateTable::Last() {
  Settle();
  PlaceCursor(npos);
  eof_ = true;
  Notify([](TemplateTableLink& l) { l.CurrentRowChanged(); });
}

void TemplateTable::Next() {
  Settle();
  if (cursor_ == npos || cursor_ + 1 >= VisibleCount()) {
    eof_ = true;
    return;
  }
  ++cursor_;
  bof_ = eof_ = false;
  Notify([](TemplateTableLink& l) { l.CurrentRowChanged(); });
}

void TemplateTable::Prior() {
  Settle();
  if (cursor_ == npos || cursor_ == 0) {
    bof_ = true;
    return;
  }
  --cursor_;
  bof_ = eof_ = false;
  Notify([](TemplateTableLink& l) { l.CurrentRowChanged(); });
}

void TemplateTable::MoveTo(std::size_t position) {
  Settle();
  PlaceCursor(position);
  Notify([](TemplateTableLink& l) { l.CurrentRowChanged(); });
}

bool TemplateTable::LocateName(std::string_view name) {
  Settle();
  std::size_t found = npos;
  if (sorted_ && viewKind_ != ViewKind::List) {
    // In name order the first equal name is where the name would be inserted.
    const std::size_t count = VisibleCount();
    std::size_t low = 0, high = count;
    while (low < high) {
      const std::size_t mid = low + (high - low) / 2;
      if (folding_.Less(VisibleAt(mid).Name, name)) low = mid + 1; else high = mid;
    }
    if (low < count && folding_.Equal(VisibleAt(low).Name, name)) found = low;
  } else {
    for (std::size_t p = 0, count = VisibleCount(); p < count && found == npos; ++p) {
      if (folding_.Equal(VisibleAt(p).Name, name)) found = p;
    }
  }
  if (found == npos) return false;
  cursor_ = found;
  bof_ = eof_ = false;
  Notify([](TemplateTableLink& l) { l.CurrentRowChanged(); });
  return true;
}

void TemplateTable::Edit() {
  RequireActive();
  if (Editing()) return;
  if (IsEmpty()) {
    Append();
    return;
  }
  editRow_ = CurrentRow();
  buffer_ = ViewOf(rows_[editRow_]).Owned();
  buffer_.Date = clock_();
  modified_ = false;
  state_ = TableState::Edit;
  Notify([](TemplateTableLink& l) { l.StateChanged(); });
}

void TemplateTable::Append() {
  RequireActive();
  Settle();
  buffer_ = TemplateRecord{};
  buffer_.Date = clock_();
  Row place;  // holds the row's place in the list until it is posted
  place.date = buffer_.Date;
  rows_.push_back(place);
  editRow_ = rows_.size() - 1;
  modified_ = false;
  state_ = TableState::Insert;
  RebuildView(editRow_);
  Notify([](TemplateTableLink& l) { l.TableChanged(); });
  Notify([](TemplateTableLink& l) { l.StateChanged(); });
}

void TemplateTable::SetName(std::string_view name) {
  RequireEditing();
  buffer_.Name = StoredTemplateName(name);
  modified_ = true;
  Notify([](TemplateTableLink& l) { l.FieldChanged(TemplateField::Name); });
}

void TemplateTable::SetKind(std::uint16_t kind) {
  RequireEditing();
  buffer_.Kind = kind;
  modified_ = true;
  Notify([](TemplateTableLink& l) { l.FieldChanged(TemplateField::Kind); });
}

void TemplateTable::SetTemplate(std::string content) {
  RequireEditing();
  if (content.size() > kMaxTemplateBytes) throw std::length_error("template of 4 GB or more");
  buffer_.Template = std::move(content);
  modified_ = true;
  Notify([](TemplateTableLink& l) { l.FieldChanged(TemplateField::Template); });
}

void TemplateTable::Post() {
  RequireEditing();
  const std::size_t row = editRow_;
  ReplaceRow(row, buffer_);
  buffer_ = TemplateRecord{};
  sorted_ = sorted_ && RowInOrder(row);
  state_ = TableState::Browse;
  editRow_ = npos;
  modified_ = false;
  RebuildView(row);
  Notify([](TemplateTableLink& l) { l.StateChanged(); });
  Notify([](TemplateTableLink& l) { l.TableChanged(); });
}

void TemplateTable::DiscardEdit() {
  if (state_ == TableState::Insert) {
    ReleaseRows(editRow_, editRow_ + 1);
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(editRow_));
  }
  if (Editing()) state_ = TableState::Browse;
  buffer_ = TemplateRecord{};
  editRow_ = npos;
  modified_ = false;
}

void TemplateTable::Cancel() {
  if (!Editing()) return;
  const bool inserting = state_ == TableState::Insert;
  const std::size_t row = editRow_;
  DiscardEdit();
  if (inserting) RebuildView(row);  // the rows after it moved up: the nearest one stays current
  Notify([](TemplateTableLink& l) { l.StateChanged(); });
  Notify([](TemplateTableLink& l) { l.TableChanged(); });
}

void TemplateTable::Settle() {
  if (!Editing()) return;
  if (modified_) Post(); else Cancel();
}

void TemplateTable::Delete() {
  RequireActive();
  if (state_ == TableState::Insert) {
    Cancel();
    return;
  }
  DiscardEdit();
  if (IsEmpty()) throw TemplateTableError("There is no template to delete.");
  const std::size_t row = CurrentRow();
  ReleaseRows(row, row + 1);
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
  RebuildView(row);  // the row that moved into its place becomes current
  Notify([](TemplateTableLink& l) { l.TableChanged(); });
}

void TemplateTable::AddLink(TemplateTableLink* link) {
  if (std::find(links_.begin(), links_.end(), link) == links_.end()) links_.push_back(link);
}

void TemplateTable::RemoveLink(TemplateTableLink* link) { std::erase(links_, link); }

void TemplateTable::DisableControls() { ++disabledCount_; }

void TemplateTable::EnableControls() {
  if (disabledCount_ == 0) return;
  if (--disabledCount_ == 0) Notify([](TemplateTableLink& l) { l.TableChanged(); });
}

}  // namespace snibbet
