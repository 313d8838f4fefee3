#include "templates/tag_some_of.h"

#include <vector>

#include "templates/tag_text.h"

namespace snibbet {
namespace {

struct Span {
  std::size_t begin;
  std::size_t end;
};

std::vector<Span> CompleteItems(std::wstring_view inner) {
  std::vector<Span> items;
  int depth = 0;
  bool started = false;
  std::size_t start = 0;
  for (std::size_t i = 0; i < inner.size();) {
    if (TagWordAt(inner, i, kItemOpen)) {
      i += kItemOpen.size();
      if (++depth == 1) {
        start = i;
        started = true;
      }
    } else if (TagWordAt(inner, i, kItemClose)) {
      if (--depth == 0 && started) {
        items.push_back({start, i});
        started = false;
      }
      i += kItemClose.size();
    } else {
      ++i;
    }
  }
  return items;
}

}  // namespace

std::wstring ChooseOneOf(std::wstring_view inner, RandomSource& random) {
  const std::vector<Span> items = CompleteItems(inner);
  if (items.empty()) return std::wstring(inner);
  int pick = random.RandomBelow(static_cast<int>(items.size()));
  if (pick < 0 || pick >= static_cast<int>(items.size())) pick = 0;  // a source out of range
  const Span& item = items[static_cast<std::size_t>(pick)];
  return std::wstring(inner.substr(item.begin, item.end - item.begin));
}

bool ExpandSomeOfTag(std::wstring& text, RandomSource& random) {
  const std::size_t open = FindTagWord(text, kSomeOfOpen);
  if (open == std::wstring::npos) return false;
  const std::size_t innerBegin = open + kSomeOfOpen.size();
  std::size_t innerEnd = text.size();
  std::size_t tagEnd = text.size();
  int depth = 1;
  for (std::size_t i = innerBegin; i < text.size();) {
    if (TagWordAt(text, i, kSomeOfOpen)) {
      ++depth;
      i += kSomeOfOpen.size();
    } else if (TagWordAt(text, i, kSomeOfClose)) {
      if (--depth == 0) {
        innerEnd = i;
        tagEnd = i + kSomeOfClose.size();
        break;
      }
      i += kSomeOfClose.size();
    } else {
      ++i;
    }
  }
  const std::wstring chosen =
      ChooseOneOf(std::wstring_view(text).substr(innerBegin, innerEnd - innerBegin), random);
  text.replace(open, tagEnd - open, chosen);
  return true;
}

}  // namespace snibbet
