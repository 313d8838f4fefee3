// libFuzzer target: the mapping from a binding file's elements to bindings
// must take any element sequence a reader could hand over, keep every number
// within a byte, and leave nothing behind after a fault. The bytes are read
// as elements: a depth byte (0xFF: the reader fails here), a name, then
// attributes, each a name picked from those the files use and a value.
#include <cstddef>
#include <cstdint>
#include <cwctype>
#include <string>
#include <vector>

#include "keyboard/action_document.h"

namespace {

using namespace snibbet;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

class Bytes {
 public:
  Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool Empty() const { return at_ >= size_; }
  uint8_t Next() { return at_ < size_ ? data_[at_++] : 0; }
  std::wstring Text() {
    std::wstring text;
    for (uint8_t length = Next() % 24; length > 0 && !Empty(); --length) text.push_back(static_cast<wchar_t>(Next()));
    return text;
  }

 private:
  const uint8_t* data_;
  size_t size_, at_ = 0;
};

class FuzzedElements : public ActionXmlSource {
 public:
  explicit FuzzedElements(Bytes& bytes) : bytes_(bytes) {}
  bool NextElement(ActionXmlElement& element, ActionFileError& error) override {
    if (bytes_.Empty()) return false;
    const uint8_t depth = bytes_.Next();
    if (depth == 0xFF) {
      error = {ActionFileError::Reason::Malformed, L"fuzzed fault", 1};
      return false;
    }
    static const wchar_t* const kNames[] = {L"Key", L"ControlSet", L"QVA", L"Kind", L"Text", L"Other"};
    element = {};
    element.depth = depth % 4;
    element.name = (bytes_.Next() & 1) ? L"QvActions" : bytes_.Text();
    for (uint8_t count = bytes_.Next() % 8; count > 0 && !bytes_.Empty(); --count) {
      element.attributes.emplace_back(kNames[bytes_.Next() % 6], bytes_.Text());
    }
    seen.push_back(element);
    return true;
  }
  std::vector<ActionXmlElement> seen;

 private:
  Bytes& bytes_;
};

const std::wstring* First(const ActionXmlElement& element, const wchar_t* name) {
  for (const auto& [attribute, value] : element.attributes) {
    if (attribute == name) return &value;
  }
  return nullptr;
}

// An accepted number, as written, is its value with blanks and leading zeros around it.
void CheckNumber(const ActionXmlElement& element, const wchar_t* name, unsigned value) {
  const std::wstring* text = First(element, name);
  if (!text) return Check(value == 0);
  std::wstring digits;
  for (wchar_t c : *text) {
    if (!std::iswspace(c)) digits.push_back(c);
  }
  while (digits.size() > 1 && digits.front() == L'0') digits.erase(digits.begin());
  Check(digits == std::to_wstring(value));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Bytes bytes(data, size);
  FuzzedElements source(bytes);
  std::vector<ActionFileEntry> entries;
  const ActionFileError error = ReadActionEntries(source, entries);
  if (error) {
    Check(entries.empty());
    return 0;
  }
  size_t children = 0;
  for (const ActionXmlElement& element : source.seen) {
    if (element.depth != 1) continue;
    ++children;
    const std::optional<ActionFileEntry> entry = EntryFromElement(element);
    if (!entry) continue;
    Check(entry->controlSet <= 255);
    CheckNumber(element, L"Key", entry->key);
    CheckNumber(element, L"ControlSet", entry->controlSet);
    CheckNumber(element, L"QVA", entry->kind);
    CheckNumber(element, L"Kind", entry->param);
  }
  Check(entries.size() <= children);
  return 0;
}
