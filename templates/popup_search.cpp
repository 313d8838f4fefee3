#include "templates/popup_search.h"

#include <algorithm>

namespace snibbet {

namespace {

class ControlsDisabled {
 public:
  explicit ControlsDisabled(TemplateTable& table) : table_(table) { table_.DisableControls(); }
  ~ControlsDisabled() { table_.EnableControls(); }
  ControlsDisabled(const ControlsDisabled&) = delete;
  ControlsDisabled& operator=(const ControlsDisabled&) = delete;

 private:
  TemplateTable& table_;
};

}  // namespace

void ApplyPopupSearch(TemplateTable& table, const EncodedSearch& search) {
  const ControlsDisabled quiet(table);
  table.SetFiltered(false);
  if (!search.bytes.empty() || !search.complete) {
    // No stored name is longer than kMaxTemplateNameChars, so a longer filter
    // lets nothing through.
    table.SetFilterText(search.complete ? search.bytes : std::string(kMaxTemplateNameChars + 1, '\x7f'));
    table.SetFiltered(true);
  }
}

std::wstring_view MatchedPrefix(std::wstring_view name, std::wstring_view search) {
  if (name.empty()) return search;
  return name.substr(0, std::min(name.size(), search.size()));
}

}  // namespace snibbet
