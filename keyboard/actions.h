#pragma once
// Key bindings: `TQvAction` ties a key and a modifier set to something the
// program does; `TQvActions` keeps all of them sorted by key, then modifier
// set, with an index by key code so the keyboard hook finds a binding with a
// few comparisons. Window-free.
#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/control_set.h"

namespace snibbet {

class TQvActions;
class TQvKeyboard;

// A picture a binding can carry (an icon for kind 6); owned by the binding.
class ActionPicture {
 public:
  virtual ~ActionPicture() = default;
};

// Binding conditions.
enum ActionCondition : std::uint8_t {
  kConditionAlways = 0,
  kConditionFullScreenOnly = 1,
  kConditionNotFullScreen = 2,
};

class TQvAction {
 public:
  TQvAction() = default;
  TQvAction(const TQvAction&) = delete;
  TQvAction& operator=(const TQvAction&) = delete;

  std::uint8_t Kind() const { return kind_; }
  std::uint8_t Param() const { return param_; }
  const std::wstring& Text() const { return text_; }
  std::uint8_t Condition() const { return condition_; }
  std::uint8_t Key() const { return key_; }
  // The binding's modifier set (its ControlSet).
  ControlSet Modifiers() const { return controlSet_; }
  std::uint8_t Percent() const { return percent_; }
  std::int32_t Count() const { return count_; }
  std::chrono::system_clock::time_point ChangedAt() const { return changedAt_; }
  const ActionPicture* Picture() const { return picture_.get(); }

  // A new kind starts from a reset binding.
  void SetKind(std::uint8_t kind);
  void SetParam(std::uint8_t param);
  void SetText(const std::wstring& text);
  void SetCondition(std::uint8_t condition);
  void SetPercent(std::uint8_t percent);
  void SetCount(std::int32_t count);
  void SetPicture(std::unique_ptr<ActionPicture> picture) { picture_ = std::move(picture); }
  // Param 0, no text, no data, percent 10, count 1, no picture.
  void Reset();

  // Data of kind 7; its description counts it in groups of three bytes.
  std::vector<std::uint8_t> data;
  // Set by the hook: the binding fired on a key release.
  bool firedOnKeyUp = false;
  bool enabled = true;

  // The binding as the user sees it: its kind's (sub-)command name, or its
  // text for kinds 3 to 6, with a few details appended.
  std::wstring GetDescription() const;
  // The binding's key and modifier set as text ("Win+Space").
  std::wstring GetShortcutText() const;

 private:
  friend class TQvActions;
  void Touch();
  // The model of the list the binding is in; null outside a list.
  const TQvKeyboard* KeyModel() const;

  const TQvActions* list_ = nullptr;

  std::uint8_t kind_ = 0;
  std::uint8_t param_ = 0;
  std::wstring text_;
  std::chrono::system_clock::time_point changedAt_{};
  std::uint8_t percent_ = 0;
  std::int32_t count_ = 0;
  std::uint8_t condition_ = kConditionAlways;
  std::unique_ptr<ActionPicture> picture_;
  std::uint8_t key_ = 0;
  ControlSet controlSet_ = 0;
};

// What the binding list tells the parts that hold on to its bindings.
class BindingListPort {
 public:
  virtual ~BindingListPort() = default;
  // The list changed: a bindings menu must be rebuilt.
  virtual void ListChanged() = 0;
  // The cached picture of (key, set) is stale.
  virtual void PictureRemoved(std::uint8_t key, ControlSet set) = 0;
  // A binding is about to be freed: whoever holds it (the executor's pending
  // action) must let go.
  virtual void BindingFreed(const TQvAction& binding) = 0;
};

class TQvActions {
 public:
  // Index positions are 16-bit: a key without bindings holds this in both.
  static constexpr std::uint16_t kNoPosition = 65500;
  // The list never grows past the last position the index can hold.
  static constexpr std::size_t kMaxBindings = kNoPosition;

  using IndexEntry = std::pair<std::uint16_t, std::uint16_t>;  // first, last

  // Without a port nobody is told.
  explicit TQvActions(BindingListPort* port = nullptr);
  ~TQvActions();
  TQvActions(const TQvActions&) = delete;
  TQvActions& operator=(const TQvActions&) = delete;

  // The binding of (key, set), made when missing; none for key 0 with set 0
  // and when the list is full.
  TQvAction* Add(std::uint8_t key, ControlSet set);
  // Frees the binding of exactly (key, set); nothing when there is none.
  void Delete(std::uint8_t key, ControlSet set);
  void Clear();
  void Reindex();

  // The key's first binding whose set equals `set` or `sideLessSet`.
  TQvAction* Find(std::uint8_t key, ControlSet set, ControlSet sideLessSet) const;
  // The key's binding without modifiers.
  TQvAction* FindPlain(std::uint8_t key) const;
  TQvAction* FindByKind(std::uint8_t kind, std::uint8_t param) const;

  // `Sorted` := the bindings in display order (kind's catalogue position, then param).
  void BuildSortedList();
  void FreeSortedList() { sorted_.clear(); }
  const std::vector<TQvAction*>& Sorted() const { return sorted_; }

  // Binding files are neither loaded nor saved by this program: both report
  // success and leave the list as it is.
  bool LoadFromFile(const std::wstring& fileName);
  bool SaveToFile(const std::wstring& fileName);

  std::size_t Size() const { return items_.size(); }
  TQvAction& At(std::size_t position) const { return *items_[position]; }
  const IndexEntry& IndexOf(std::uint8_t key) const { return index_[key]; }

  // While set (a file is being read) Add neither reindexes nor reports a change.
  bool loading = false;

  // The port told from now on (null: nobody); answers the one before.
  BindingListPort* Connect(BindingListPort* port);
  // The key-state model whose key names and layouts the bindings' texts show
  // (null: the key-name table and no layout names); it outlives the connection.
  void ConnectKeyModel(const TQvKeyboard* model) { keyModel_ = model; }
  const TQvKeyboard* KeyModel() const { return keyModel_; }

 private:
  void Free(std::size_t position);
  std::pair<std::size_t, std::size_t> RangeOf(std::uint8_t key) const;

  std::array<IndexEntry, 256> index_{};
  std::vector<std::unique_ptr<TQvAction>> items_;
  std::vector<TQvAction*> sorted_;
  BindingListPort* port_ = nullptr;
  const TQvKeyboard* keyModel_ = nullptr;
};

// The process-wide binding list.
TQvActions& QvActions();

}  // namespace snibbet
