#pragma once
// From the elements of a binding file to bindings, apart from the XML reader
// that finds the elements: the reader (XmlLite on Windows) hands over one
// element at a time through ActionXmlSource, and everything it hands over is
// checked here. Window-free.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "keyboard/action_file.h"

namespace snibbet {

// One element of the document as the reader found it.
struct ActionXmlElement {
  unsigned depth = 0;  // 0 for the root element
  std::wstring name;
  std::vector<std::pair<std::wstring, std::wstring>> attributes;  // in document order, values decoded
  unsigned line = 0;                                              // 1-based; 0 when unknown
};

class ActionXmlSource {
 public:
  virtual ~ActionXmlSource() = default;
  // The next element in document order. False at the end of a well-formed
  // document (error left empty) and on any fault (error set).
  virtual bool NextElement(ActionXmlElement& element, ActionFileError& error) = 0;
};

// The binding an element of the root names. None when its "Key", "ControlSet",
// "QVA" or "Kind" is present but not a decimal number from 0 to 255: such an
// element cannot name a binding and is skipped. Absent numbers are 0; of
// repeated attributes the first counts.
std::optional<ActionFileEntry> EntryFromElement(const ActionXmlElement& element);

// Every binding the document names, in document order. The root must be
// "QvActions"; elements below the root's children are ignored. On any fault
// the entries are left empty.
ActionFileError ReadActionEntries(ActionXmlSource& source, std::vector<ActionFileEntry>& entries);

}  // namespace snibbet
