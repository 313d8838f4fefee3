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

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
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

std::string ToUtf8(const std::wstring& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = static_cast<char32_t>(text[i]);
    if constexpr (sizeof(wchar_t) == 2) {
      c &= 0xFFFF;
      if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
        const char32_t low = static_cast<char32_t>(text[i + 1]) & 0xFFFF;
        if (low >= 0xDC00 && low <= 0xDFFF) {
          c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
          ++i;
        }
      }
    }
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = 0xFFFD;
    AppendUtf8(out, c);
  }
  return out;
}

}  // namespace snibbet
