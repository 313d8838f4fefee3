#include "keyboard/action_html.h"

#include "keyboard/action_kinds.h"
#include "keyboard/actions.h"

namespace snibbet {
namespace {

const wchar_t kStyleSheet[] =
    L"<STYLE TYPE=\"text/css\">\r\n"
    L".Style50 { font-family: 'MS Sans Serif'; font-size: 8pt; color: rgb(0,0,0); "
    L"background-color: rgb(236,233,216); }\r\n"
    L".Style0 { font-family: 'MS Sans Serif'; font-size: 8pt; color: rgb(0,0,0); "
    L"background-color: rgb(255,255,255); }\r\n"
    L"</STYLE>\r\n";

// Every line break (CR LF, LF or CR) becomes "<BR>".
std::wstring WithHtmlBreaks(const std::wstring& text) {
  std::wstring out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r') {
      if (i + 1 < text.size() && text[i + 1] == L'\n') ++i;
      out += L"<BR>";
    } else if (text[i] == L'\n') {
      out += L"<BR>";
    } else {
      out += text[i];
    }
  }
  return out;
}

std::wstring TableStart(const ActionListing& listing, const std::wstring& kindName) {
  return L"<H3>" + HtmlEscape(kindName) + L"</H3>" + L"\r\n<TABLE CELLSPACING=0 BORDER=1>" + L"<TR>" +
         L"<TD WIDTH=50 ALIGN=CENTER CLASS=Style50><B>" + HtmlEscape(listing.keysColumn) + L"</B></TD>" +
         L"<TD WIDTH=500 ALIGN=CENTER CLASS=Style50><B>" + HtmlEscape(listing.actionColumn) + L"</B></TD>" +
         L"</TR>\r\n";
}

std::wstring Row(const ActionListingRow& row, std::size_t number) {
  return L"<TR CLASS=Style0><TD ALIGN=LEFT>" + HtmlEscape(row.shortcut) + L"</TD>" +
         L"<TD ALIGN=LEFT><IMG src=\"zqkeys/pic" + std::to_wstring(number) + L".bmp\">&nbsp;&nbsp;" +
         WithHtmlBreaks(HtmlEscape(row.description)) + L"</TD></TR>\r\n";
}

std::wstring Footer(const ActionListing& listing) {
  return L"<BR><TABLE WIDTH=\"100%\" CELLSPACING=0 BORDER=0><TR><TD ALIGN=RIGHT BGCOLOR=\"#6699cc\">"
         L"<FONT FACE=\"Tahoma, Arial\" SIZE=1 COLOR=\"#FFFFFF\">" +
         HtmlEscape(listing.productAndVersion) + L" &copy; Orvane Software &nbsp; <A HREF=\"" +
         HtmlEscape(listing.productPage) + L"\"><FONT COLOR=\"#FFFFFF\">Orvane Paste</FONT></A> | <A HREF=\"" +
         HtmlEscape(listing.makerPage) + L"\"><FONT COLOR=\"#FFFFFF\">Orvane Software</FONT></A>" +
         L"</FONT></TD></TR></TABLE>\r\n";
}

}  // namespace

std::vector<ActionListingRow> ListingRows(const TQvActions& list) {
  std::vector<ActionListingRow> rows;
  for (const TQvAction* binding : list.Sorted()) {
    ActionListingRow row;
    row.kindPosition = ActionKindOrder(binding->Kind());
    const ActionKindRow* kind = KindCatalogue().RowOf(binding->Kind());
    if (kind) row.kindName = kind->name;
    row.shortcut = binding->GetShortcutText();
    row.description = binding->GetDescription();
    rows.push_back(std::move(row));
  }
  return rows;
}

std::wstring BuildActionsHtml(const ActionListing& listing) {
  std::wstring page = L"<HTML><HEAD><TITLE>" + HtmlEscape(listing.productAndVersion) + L"</TITLE>\r\n" +
                      L"<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\r\n" + kStyleSheet +
                      L"</HEAD><BODY><H2> " + HtmlEscape(listing.productAndVersion) + L" : " +
                      HtmlEscape(listing.heading) + L"</H2>\r\n";
  bool tableOpen = false;
  int currentKind = -1;
  for (std::size_t n = 0; n < listing.rows.size(); ++n) {
    const ActionListingRow& row = listing.rows[n];
    if (!tableOpen || row.kindPosition != currentKind) {
      if (tableOpen) page += L"</TABLE>\r\n";
      page += TableStart(listing, row.kindName);
      tableOpen = true;
      currentKind = row.kindPosition;
    }
    page += Row(row, n);
  }
  if (tableOpen) page += L"</TABLE>\r\n";
  page += Footer(listing);
  page += L"</BODY></HTML>\r\n";
  return page;
}

std::wstring HtmlEscape(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size());
  for (wchar_t c : text) {
    switch (c) {
      case L'&': out += L"&amp;"; break;
      case L'<': out += L"&lt;"; break;
      case L'>': out += L"&gt;"; break;
      case L'"': out += L"&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace snibbet
