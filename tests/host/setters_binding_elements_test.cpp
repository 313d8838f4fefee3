// From the elements of a binding file to bindings, over a stand-in reader.
#include <gtest/gtest.h>

#include "keyboard/action_document.h"

namespace snibbet {

void PrintTo(const ActionFileEntry& e, std::ostream* os) {
  *os << "{key " << int(e.key) << ", set " << e.controlSet << ", kind " << int(e.kind) << ", param " << int(e.param)
      << "}";
}

namespace {

using Reason = ActionFileError::Reason;
using Attributes = std::vector<std::pair<std::wstring, std::wstring>>;

// Hands over the elements it was given, then ends or fails.
class ListedElements : public ActionXmlSource {
 public:
  std::vector<ActionXmlElement> elements;
  ActionFileError failure;  // reported after the last element

  void Add(unsigned depth, std::wstring name, Attributes attributes = {}) {
    elements.push_back({depth, std::move(name), std::move(attributes), static_cast<unsigned>(elements.size() + 1)});
  }
  bool NextElement(ActionXmlElement& element, ActionFileError& error) override {
    if (next_ < elements.size()) {
      element = elements[next_++];
      return true;
    }
    error = failure;
    return false;
  }

 private:
  std::size_t next_ = 0;
};

ActionXmlElement Element(Attributes attributes) { return {1, L"Action", std::move(attributes), 1}; }

TEST(BindingElements, NumbersAndTextOfAnElement) {
  const auto entry = EntryFromElement(
      Element({{L"Key", L"32"}, {L"ControlSet", L" 128 "}, {L"QVA", L"8"}, {L"Kind", L"1"}, {L"Text", L"a & b"}}));
  ASSERT_TRUE(entry);
  EXPECT_EQ(*entry, (ActionFileEntry{32, 0x80, 8, 1, L"a & b"}));
}

TEST(BindingElements, AbsentNumbersAreZeroAndTheFirstOfRepeatedAttributesCounts) {
  EXPECT_EQ(EntryFromElement(Element({})), (ActionFileEntry{}));
  EXPECT_EQ(EntryFromElement(Element({{L"Key", L"65"}, {L"Key", L"999"}, {L"Text", L"x"}, {L"Text", L"y"}})),
            (ActionFileEntry{65, 0, 0, 0, L"x"}));
  EXPECT_EQ(EntryFromElement(Element({{L"key", L"65"}, {L"Extra", L"1"}})), (ActionFileEntry{}));  // names are exact
}

TEST(BindingElements, ElementsWhoseNumbersAreNoByteNameNoBinding) {
  for (const auto& [name, value] : Attributes{{L"Key", L"256"},
                                              {L"Key", L"-1"},
                                              {L"Key", L"99999999999999999999"},
                                              {L"ControlSet", L"256"},
                                              {L"ControlSet", L"65535"},
                                              {L"ControlSet", L"-1"},
                                              {L"ControlSet", L"0x10"},
                                              {L"ControlSet", L""},
                                              {L"QVA", L"eight"},
                                              {L"Kind", L"1.0"}}) {
    EXPECT_FALSE(EntryFromElement(Element({{name, value}, {L"Key", L"1"}})))
        << std::string(name.begin(), name.end()) << "=" << std::string(value.begin(), value.end());
  }
  EXPECT_TRUE(EntryFromElement(Element({{L"Key", L"255"}, {L"ControlSet", L"255"}})));
}

TEST(BindingElements, DocumentGivesTheRootsChildrenInOrderSkippingUnusableOnes) {
  ListedElements source;
  source.Add(0, L"QvActions", {{L"Version", L"2"}});
  source.Add(1, L"Action", {{L"Key", L"32"}, {L"ControlSet", L"128"}});
  source.Add(2, L"Nested", {{L"Key", L"99"}});
  source.Add(1, L"Other", {{L"Key", L"300"}});
  source.Add(1, L"Action", {{L"Key", L"65"}, {L"ControlSet", L"32"}, {L"QVA", L"3"}});
  std::vector<ActionFileEntry> entries = {{9, 9, 9, 9, L"old"}};
  EXPECT_FALSE(ReadActionEntries(source, entries));
  EXPECT_EQ(entries, (std::vector<ActionFileEntry>{{32, 0x80, 0, 0, L""}, {65, 0x20, 3, 0, L""}}));
}

TEST(BindingElements, DocumentFaultsLeaveNoEntries) {
  struct Case {
    const char* what;
    std::vector<std::pair<unsigned, std::wstring>> elements;
    Reason reason;
  };
  const Case cases[] = {
      {"wrong root", {{0, L"Templates"}, {1, L"A"}}, Reason::WrongRoot},
      {"root in other case", {{0, L"qvactions"}}, Reason::WrongRoot},
      {"no root", {}, Reason::Malformed},
      {"second root", {{0, L"QvActions"}, {1, L"A"}, {0, L"QvActions"}}, Reason::Malformed},
      {"children without a root", {{1, L"A"}, {1, L"A"}}, Reason::Malformed},
  };
  for (const Case& c : cases) {
    ListedElements source;
    for (const auto& [depth, name] : c.elements) source.Add(depth, name, {{L"Key", L"1"}});
    std::vector<ActionFileEntry> entries;
    const ActionFileError error = ReadActionEntries(source, entries);
    EXPECT_EQ(error.reason, c.reason) << c.what;
    EXPECT_TRUE(entries.empty()) << c.what;
  }
}

TEST(BindingElements, ReaderFaultAfterGoodElementsLeavesNoEntries) {
  ListedElements source;
  source.Add(0, L"QvActions");
  source.Add(1, L"Action", {{L"Key", L"32"}});
  source.failure = {Reason::Malformed, L"not well-formed", 3};
  std::vector<ActionFileEntry> entries;
  const ActionFileError error = ReadActionEntries(source, entries);
  EXPECT_EQ(error.reason, Reason::Malformed);
  EXPECT_EQ(error.line, 3u);
  EXPECT_TRUE(entries.empty());
}

}  // namespace
}  // namespace snibbet
