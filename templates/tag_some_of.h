#pragma once
// The random-choice tag: "<SOMEOF>" items "</SOMEOF>", each item written
// "<QV>" text "</QV>"; both may nest. Window-free.
#include <string>
#include <string_view>

namespace snibbet {

// Where random choices come from; tests give a scripted one.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // A number from 0 to count - 1, uniformly; count is at least 1.
  virtual int RandomBelow(int count) = 0;
};

// One of the complete items of `inner`, chosen at random; the whole inner
// text when it holds no complete item.
std::wstring ChooseOneOf(std::wstring_view inner, RandomSource& random);

// Replaces the first random-choice tag (through its closing tag, or to the end
// of the text when it has none) by one of its items. False when there is none.
// The chosen item is scanned again by the next call, so nested tags expand
// after the outer choice. Every call shortens the text, so repeating it ends.
bool ExpandSomeOfTag(std::wstring& text, RandomSource& random);

}  // namespace snibbet
