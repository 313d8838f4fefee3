#pragma once
// The items of the template-tag menu: each item's tag number, its caption and
// the tag text a click inserts, and the live sample in the captions of the
// date and time items. Window-free.
#include <span>
#include <string>
#include <string_view>

#include "templates/tag_pattern_formats.h"

namespace snibbet {

// One item of a submenu; its caption is fixed.
struct TagMenuItem {
  const wchar_t* name;
  int tag;
  const wchar_t* caption;
};

// Tag numbers by hundreds: 1xx date, 2xx time, 3xx date and time, 4xx keys,
// then the single tags.
inline constexpr int kLongDateTag = 101, kShortDateTag = 102, kLongTimeTag = 201;
inline constexpr int kLongDateTimeTag = 301;

std::span<const TagMenuItem> TagMenuDateItems();
std::span<const TagMenuItem> TagMenuTimeItems();
std::span<const TagMenuItem> TagMenuDateTimeItems();
std::span<const TagMenuItem> TagMenuKeyItems();

// The text a click on the item with `tag` inserts: below 400 as
// "<DATETIME " text ">", from 400 to 499 as "<KEY " text ">", the rest as it
// is; an unknown tag gives "". The system formats are the user's at the click.
std::wstring TagMenuText(int tag, const SystemTagPatterns& system);

// The date-and-time pattern of a date or time item's sample; "" for others.
std::wstring TagMenuSampleFormat(int tag, const SystemTagPatterns& system);

// The caption without an earlier sample (from a " (" after its first
// character on), then " (" sample ")".
std::wstring CaptionWithSample(std::wstring_view caption, std::wstring_view sample);

}  // namespace snibbet
