#include "keyboard/actions.h"

#include <algorithm>

#include "keyboard/action_kinds.h"
#include "keyboard/binding_names.h"

namespace snibbet {

// ---- TQvAction ----

void TQvAction::Touch() { changedAt_ = std::chrono::system_clock::now(); }

void TQvAction::Reset() {
  param_ = 0;
  text_.clear();
  data.clear();
  percent_ = 10;
  count_ = 1;
  picture_.reset();
}

void TQvAction::SetKind(std::uint8_t kind) {
  if (kind == kind_) return;
  Reset();
  kind_ = kind;
  Touch();
}

void TQvAction::SetParam(std::uint8_t param) {
  if (param == param_) return;
  param_ = param;
  Touch();
}

void TQvAction::SetText(const std::wstring& text) {
  if (text == text_) return;
  text_ = text;
  Touch();
}

void TQvAction::SetCondition(std::uint8_t condition) { condition_ = condition; }

void TQvAction::SetPercent(std::uint8_t percent) {
  if (percent == percent_) return;
  percent_ = percent;
  Touch();
}

void TQvAction::SetCount(std::int32_t count) {
  if (count == count_) return;
  count_ = count;
  Touch();
}

const TQvKeyboard* TQvAction::KeyModel() const { return list_ ? list_->KeyModel() : nullptr; }

std::wstring TQvAction::GetShortcutText() const {
  const TQvKeyboard* model = KeyModel();
  return ShortcutToText(key_, controlSet_, [model](int vk) { return BindingKeyName(model, vk); }, LanguageText(6));
}

// ---- TQvActions ----

TQvActions::TQvActions(BindingListPort* port) : port_(port) { Reindex(); }

BindingListPort* TQvActions::Connect(BindingListPort* port) {
  BindingListPort* previous = port_;
  port_ = port;
  return previous;
}

// At exit nobody is left to tell, so the bindings are simply released.
TQvActions::~TQvActions() = default;

void TQvActions::Reindex() {
  index_.fill({kNoPosition, kNoPosition});
  for (std::size_t i = 0; i < items_.size(); ++i) {
    IndexEntry& entry = index_[items_[i]->key_];
    if (entry.first == kNoPosition) entry.first = static_cast<std::uint16_t>(i);
    entry.second = static_cast<std::uint16_t>(i);
  }
}

std::pair<std::size_t, std::size_t> TQvActions::RangeOf(std::uint8_t key) const {
  const auto [first, last] = index_[key];
  if (first == kNoPosition || last < first || items_.empty()) return {1, 0};
  // While a file is read the index may trail the list: never step past its end.
  return {first, std::min<std::size_t>(last, items_.size() - 1)};
}

TQvAction* TQvActions::Add(std::uint8_t key, ControlSet set) {
  if (key == 0 && set == 0) return nullptr;
  const auto at = std::lower_bound(items_.begin(), items_.end(), std::make_pair(key, set),
                                   [](const std::unique_ptr<TQvAction>& a, const std::pair<std::uint8_t, ControlSet>& k) {
                                     return std::make_pair(a->key_, a->controlSet_) < k;
                                   });
  TQvAction* binding = nullptr;
  if (at != items_.end() && (*at)->key_ == key && (*at)->controlSet_ == set) {
    binding = at->get();
  } else {
    if (items_.size() >= kMaxBindings) return nullptr;
    auto fresh = std::make_unique<TQvAction>();
    fresh->key_ = key;
    fresh->controlSet_ = set;
    fresh->list_ = this;
    binding = fresh.get();
    items_.insert(at, std::move(fresh));
  }
  if (!loading) {
    if (port_) port_->ListChanged();
    Reindex();
  }
  return binding;
}

void TQvActions::Free(std::size_t position) {
  TQvAction* binding = items_[position].get();
  if (port_) port_->BindingFreed(*binding);
  std::erase(sorted_, binding);
  items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(position));
}

void TQvActions::Delete(std::uint8_t key, ControlSet set) {
  const auto [first, last] = RangeOf(key);
  for (std::size_t i = first; i <= last && i < items_.size(); ++i) {
    if (items_[i]->key_ != key || items_[i]->controlSet_ != set) continue;
    Free(i);
    Reindex();
    if (port_) port_->PictureRemoved(key, set);
    return;
  }
}

void TQvActions::Clear() {
  while (!items_.empty()) Free(items_.size() - 1);
  sorted_.clear();
  Reindex();
}

TQvAction* TQvActions::Find(std::uint8_t key, ControlSet set, ControlSet sideLessSet) const {
  const auto [first, last] = RangeOf(key);
  for (std::size_t i = first; i <= last; ++i) {
    const ControlSet own = items_[i]->controlSet_;
    if (own == set || own == sideLessSet) return items_[i].get();
  }
  return nullptr;
}

TQvAction* TQvActions::FindPlain(std::uint8_t key) const {
  const auto [first, last] = RangeOf(key);
  if (first > last) return nullptr;
  TQvAction* binding = items_[first].get();
  return binding->controlSet_ == 0 ? binding : nullptr;
}

TQvAction* TQvActions::FindByKind(std::uint8_t kind, std::uint8_t param) const {
  for (const auto& binding : items_) {
    if (binding->kind_ == kind && binding->param_ == param) return binding.get();
  }
  return nullptr;
}

void TQvActions::BuildSortedList() {
  sorted_.clear();
  for (const auto& binding : items_) sorted_.push_back(binding.get());
  const auto less = [](const TQvAction* a, const TQvAction* b) {
    return std::make_pair(ActionKindOrder(a->kind_), a->param_) < std::make_pair(ActionKindOrder(b->kind_), b->param_);
  };
  // Selection sort, so that bindings of equal rank come out in the order the
  // listing and the menu have always shown them.
  for (std::size_t i = 0; i < sorted_.size(); ++i) {
    std::size_t smallest = i;
    for (std::size_t j = i + 1; j < sorted_.size(); ++j) {
      if (less(sorted_[j], sorted_[smallest])) smallest = j;
    }
    std::swap(sorted_[i], sorted_[smallest]);
  }
}

bool TQvActions::LoadFromFile(const std::wstring&) { return true; }
bool TQvActions::SaveToFile(const std::wstring&) { return true; }

TQvActions& QvActions() {
  static TQvActions actions;
  return actions;
}

}  // namespace snibbet
