#pragma once
// The in-memory template dataset (the pop-up's mdTemplates): rows of
// templates in table order, a current row, editing through a row buffer
// with post and cancel, a record filter on the beginning of the name, sorting
// by name, and links that keep bound controls up to date. Window-free.
//
// A file may hold 65,535 templates, so a row is small (24 bytes): it points at
// its name and content, which lie side by side in a block shared by every row
// one merge brought in (a posted row gets a block of its own); a block is freed
// with its last row. Rows are read as views, valid until that row changes.
//
// The filter is built for a list of tens of thousands of templates narrowed on
// every typed character: while the table is in name order (as every template
// file is, and as every save leaves it) the rows that start with the filter
// text are one run, found by binary search; out of order, one linear pass.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "templates/name_folding.h"
#include "templates/template_record.h"

namespace snibbet {

enum class TableState { Inactive, Browse, Edit, Insert };
enum class TemplateField { Name, Date, Kind, Template };

// A request the table's state does not allow (editing a closed table, posting
// with nothing in edit, deleting from an empty list). Its text is for a warning box.
class TemplateTableError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What a bound control hears. Nothing is heard while the controls are disabled;
// enabling them again reports one TableChanged.
class TemplateTableLink {
 public:
  virtual ~TemplateTableLink() = default;
  // Rows, their order, the filter or the open state changed: show everything anew.
  virtual void TableChanged() {}
  // Another row became current.
  virtual void CurrentRowChanged() {}
  // The current row went into edit or insert, or was posted or cancelled.
  virtual void StateChanged() {}
  // One field of the row in edit changed.
  virtual void FieldChanged(TemplateField /*field*/) {}
};

class TemplateTable {
 public:
  using Clock = std::function<OleDate()>;
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

  explicit TemplateTable(NameFolding folding = NameFolding(), Clock clock = OleDate::Now);
  TemplateTable(const TemplateTable&) = delete;
  TemplateTable& operator=(const TemplateTable&) = delete;

  const NameFolding& Folding() const { return folding_; }

  // Closing throws every row away (and a pending edit); a closed table is empty.
  bool Active() const { return active_; }
  void Open();
  void Close();
  TableState State() const { return state_; }
  bool Editing() const { return state_ == TableState::Edit || state_ == TableState::Insert; }

  // Every row in table order, whatever the filter lets through.
  std::size_t RowCount() const { return rows_.size(); }
  TemplateRecordView RowAt(std::size_t row) const { return ViewOf(rows_.at(row)); }
  bool SortedByName() const { return sorted_; }

  // The record filter: names that start with the text, case ignored. Switching
  // it on or off settles a pending edit.
  void SetFilterText(std::string text);
  const std::string& FilterText() const { return filterText_; }
  void SetFiltered(bool on);
  bool Filtered() const { return filtered_; }

  // The rows the filter lets through, in table order; "positions" count them.
  std::size_t VisibleCount() const;
  std::size_t RowOfPosition(std::size_t position) const;
  TemplateRecordView VisibleAt(std::size_t position) const { return RowAt(RowOfPosition(position)); }
  bool IsEmpty() const { return VisibleCount() == 0; }

  // The current row (as edited, while in edit: then valid until the next
  // change of a field), nothing when none is visible.
  std::optional<TemplateRecordView> Current() const;
  std::size_t CurrentPosition() const { return cursor_; }  // npos when none
  std::size_t CurrentRow() const;                          // npos when none
  // Set by a move that met the beginning or the end (and on an empty list).
  bool Bof() const { return bof_; }
  bool Eof() const { return eof_; }

  // Moves settle a pending edit first.
  void First();
  void Last();
  void Next();   // at the last row: Eof, no move
  void Prior();  // at the first row: Bof, no move
  void MoveTo(std::size_t position);
  // The first visible row whose name equals `name`, case ignored; false (no move) when none.
  bool LocateName(std::string_view name);

  // Editing. Edit puts the current row into edit and dates it now (an empty
  // list appends instead); Append adds a row at the end with Kind 0 and the
  // date now. Neither counts as a change: Settle cancels a row nobody touched.
  void Edit();
  void Append();
  void SetName(std::string_view name);  // cut to 100 characters
  void SetKind(std::uint16_t kind);
  void SetTemplate(std::string content);  // std::length_error from 4 GB on
  bool Modified() const { return modified_; }
  void Post();
  void Cancel();
  void Settle();  // post a changed row, cancel an untouched one
  void Delete();  // the current row; in insert it cancels

  // Table order := name order, case ignored; names equal but for case keep
  // their order. The current row stays current.
  void SortByName();

  // Merges records in their order: a record whose name (cut to 100 characters)
  // equals a row's, case ignored, gives the first such row its date and kind,
  // and its content unless the record's is empty; the others become rows at
  // the end. A closed table is opened first.
  void MergeRecords(const std::vector<TemplateRecordView>& records);
  // For each record, deletes the first row not yet deleted whose name equals
  // the record's (cut to 100 characters), case ignored. Returns how many went.
  std::size_t RemoveNamed(const std::vector<TemplateRecordView>& records);

  void AddLink(TemplateTableLink* link);
  void RemoveLink(TemplateTableLink* link);
  void DisableControls();
  void EnableControls();
  bool ControlsDisabled() const { return disabledCount_ > 0; }

 private:
  enum class ViewKind { All, Range, List };

  // A row's name and then its content, in one of the blocks.
  struct Row {
    const char* bytes = nullptr;  // none when both are empty
    std::uint32_t contentSize = 0;
    std::uint16_t kind = kTemplateText;
    std::uint8_t nameSize = 0;
    OleDate date;
  };
  static_assert(sizeof(void*) != 8 || sizeof(Row) == 24, "one row per template: keep it small");

  // The blocks the rows point into, each with how many rows do.
  class RowBlocks {
   public:
    struct Block {
      std::unique_ptr<char[]> bytes;
      std::size_t users = 1;
    };
    // A new block with one user: the row written to it, or the caller, who
    // counts each row it writes there and lets go with Release(bytes).
    Block& Add(std::size_t size);
    void Release(const char* rowBytes);  // a user of the block holding these bytes is gone
    void Clear() { blocks_.clear(); }

   private:
    std::map<const char*, Block> blocks_;  // by address, to find a row's block
  };

  static TemplateRecordView ViewOf(const Row& row);
  // A row of the record's fields, its name and content copied to `at`.
  static Row WriteRow(const TemplateRecordView& record, char* at);
  void ReplaceRow(std::size_t row, const TemplateRecord& record);
  void ReleaseRows(std::size_t begin, std::size_t end);
  static std::string_view NameOf(const Row& row) { return {row.bytes, row.nameSize}; }

  void RequireActive() const;
  void RequireEditing() const;
  bool RowMatchesFilter(std::size_t row) const;
  bool RowInOrder(std::size_t row) const;
  void RebuildView(std::size_t keepRow);
  std::size_t PositionOfRow(std::size_t row) const;  // npos when not visible
  std::size_t NearestPosition(std::size_t row) const;
  void PlaceCursor(std::size_t position);
  void DiscardEdit();
  void Notify(const std::function<void(TemplateTableLink&)>& event);

  NameFolding folding_;
  Clock clock_;
  bool active_ = false;
  TableState state_ = TableState::Inactive;
  std::vector<Row> rows_;
  RowBlocks blocks_;
  bool sorted_ = true;  // table order is name order (the row in insert aside)

  std::string filterText_;
  bool filtered_ = false;
  ViewKind viewKind_ = ViewKind::All;
  std::size_t rangeBegin_ = 0;
  std::size_t rangeEnd_ = 0;
  std::vector<std::uint32_t> listRows_;  // ascending

  std::size_t cursor_ = npos;
  bool bof_ = true;
  bool eof_ = true;

  std::size_t editRow_ = npos;
  TemplateRecord buffer_;
  bool modified_ = false;

  std::vector<TemplateTableLink*> links_;
  int disabledCount_ = 0;
};

}  // namespace snibbet
