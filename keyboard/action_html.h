#pragma once
// The HTML listing of all bindings: one table per kind, a row per binding with
// its shortcut, its picture and its description. Building the page is
// window-free; drawing the pictures and saving the files is in
// action_html_export.h.
#include <string>
#include <vector>

namespace snibbet {

class TQvActions;

struct ActionListingRow {
  int kindPosition = 0;  // the kind's catalogue position: a new table starts when it changes
  std::wstring kindName;
  std::wstring shortcut;
  std::wstring description;
};

struct ActionListing {
  std::wstring productAndVersion;  // "Orvane Paste 1.0.0"
  std::wstring heading;            // language text 522
  std::wstring keysColumn;         // language text 395
  std::wstring actionColumn;       // language text 25
  std::wstring productPage;        // footer links
  std::wstring makerPage;
  std::vector<ActionListingRow> rows;
};

// The rows of the list's `Sorted` order (build it first), numbered from 0.
std::vector<ActionListingRow> ListingRows(const TQvActions& list);

// The page. Binding n shows the picture "zqkeys/pic<n>.bmp".
std::wstring BuildActionsHtml(const ActionListing& listing);

// Text made safe for an HTML page: &, <, > and " as entities.
std::wstring HtmlEscape(const std::wstring& text);

}  // namespace snibbet
