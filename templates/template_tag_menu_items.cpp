#include "templates/template_tag_menu_items.h"

#include <array>

namespace snibbet {
namespace {

constexpr std::array kDateItems{
    TagMenuItem{L"pmid1", kLongDateTag, L"Long Default Format"},
    TagMenuItem{L"pmid2", kShortDateTag, L"Short Default Format"},
    TagMenuItem{L"pmid3", 103, L"mm/dd/yyyy"},
    TagMenuItem{L"pmid4", 104, L"m/d/yyyy"},
    TagMenuItem{L"pmid5", 105, L"mm/dd/yy"},
    TagMenuItem{L"pmid6", 106, L"m/d/yy"},
    TagMenuItem{L"pmid7", 107, L"dd.mm.yyyy"},
    TagMenuItem{L"pmid8", 108, L"d.m.yyyy"},
    TagMenuItem{L"pmid9", 109, L"dd.mm.yy"},
    TagMenuItem{L"pmid10", 110, L"d.m.yy"},
};
constexpr std::array kTimeItems{
    TagMenuItem{L"pmit1", kLongTimeTag, L"Default Format"},
    TagMenuItem{L"pmit2", 202, L"hh:mm"},
    TagMenuItem{L"pmit3", 203, L"h:mm"},
    TagMenuItem{L"pmit4", 204, L"hh:mm am/pm"},
    TagMenuItem{L"pmit5", 205, L"h:mm am/pm"},
    TagMenuItem{L"pmit6", 206, L"hh:mm:ss.zzz"},
};
constexpr std::array kDateTimeItems{
    TagMenuItem{L"pmidt1", kLongDateTimeTag, L"Long Default Format"},
    TagMenuItem{L"pmidt2", 302, L"Short Default Format"},
};
// The captions are the keys' usual names; the tags use the key-name table's.
constexpr std::array kKeyItems{
    TagMenuItem{L"pmik1", 401, L"Tab"},       TagMenuItem{L"pmik2", 402, L"Enter"},
    TagMenuItem{L"pmik3", 403, L"Ctrl+Enter"}, TagMenuItem{L"pmik4", 404, L"Backspace"},
    TagMenuItem{L"pmik5", 405, L"Delete"},    TagMenuItem{L"pmik6", 406, L"Ctrl+A"},
    TagMenuItem{L"pmik7", 407, L"Space"},
};

// The text inside the tag; null for an unknown tag.
const wchar_t* FixedTagText(int tag) {
  switch (tag) {
    // The fixed date formats quote "/": the written slash, not the locale's separator.
    case 103: return L"mm'/'dd'/'yyyy";
    case 104: return L"m'/'d'/'yyyy";
    case 105: return L"mm'/'dd'/'yy";
    case 106: return L"m'/'d'/'yy";
    case 107: return L"dd.mm.yyyy";
    case 108: return L"d.m.yyyy";
    case 109: return L"dd.mm.yy";
    case 110: return L"d.m.yy";
    case 202: return L"hh:mm";
    case 203: return L"h:mm";
    case 204: return L"hh:mm am/pm";
    case 205: return L"h:mm am/pm";
    case 206: return L"hh:mm:ss.zzz";
    case kLongDateTimeTag: return L"";  // the tag's own default: long date and long time
    case 302: return L"c";
    case 401: return L"Tab";
    case 402: return L"Enter";
    case 403: return L"Ctrl+Enter";
    case 404: return L"Back";
    case 405: return L"Del";
    case 406: return L"Ctrl+A";
    case 407: return L"$20";
    case 500: return L"<SOMEOF><QV>1</QV><QV>2</QV></SOMEOF>";
    case 600: return L"<FILE >";
    case 700: return L"<SELECTION>";
    case 800: return L"<CLIPBOARD>";
    default: return nullptr;
  }
}

}  // namespace

std::span<const TagMenuItem> TagMenuDateItems() { return kDateItems; }
std::span<const TagMenuItem> TagMenuTimeItems() { return kTimeItems; }
std::span<const TagMenuItem> TagMenuDateTimeItems() { return kDateTimeItems; }
std::span<const TagMenuItem> TagMenuKeyItems() { return kKeyItems; }

std::wstring TagMenuText(int tag, const SystemTagPatterns& system) {
  std::wstring text;
  switch (tag) {
    case kLongDateTag: text = system.longDate; break;
    case kShortDateTag: text = system.shortDate; break;
    case kLongTimeTag: text = system.longTime; break;
    default:
      if (const wchar_t* fixed = FixedTagText(tag)) text = fixed;
      else return {};
  }
  if (tag < 400) return L"<DATETIME " + text + L">";
  if (tag < 500) return L"<KEY " + text + L">";
  return text;
}

std::wstring TagMenuSampleFormat(int tag, const SystemTagPatterns& system) {
  if (tag == kLongDateTimeTag) return system.longDate + L" " + system.longTime;
  if (tag >= 400) return {};
  switch (tag) {
    case kLongDateTag: return system.longDate;
    case kShortDateTag: return system.shortDate;
    case kLongTimeTag: return system.longTime;
    default: {
      const wchar_t* fixed = FixedTagText(tag);
      return fixed ? fixed : L"";
    }
  }
}

std::wstring CaptionWithSample(std::wstring_view caption, std::wstring_view sample) {
  const std::size_t earlier = caption.find(L" (");
  if (earlier != std::wstring_view::npos && earlier > 0) caption = caption.substr(0, earlier);
  return std::wstring(caption) + L" (" + std::wstring(sample) + L")";
}

}  // namespace snibbet
