#pragma once
// Binding files (".zqa"): an XML document whose root element is "QvActions";
// each child element of the root is one binding with the attributes "Key"
// (virtual-key code), "ControlSet" (modifier set), "QVA" (the binding's kind),
// "Kind" (the binding's parameter) and "Text", all numbers in decimal from 0
// to 255; an element with another number names no binding and is skipped.
// The entries and the removal of a binding set are window-free; reading and
// writing the XML (through XmlLite) are Windows only.
#include <cstdint>
#include <string>
#include <vector>

#include "core/control_set.h"

namespace snibbet {

class TQvActions;

struct ActionFileEntry {
  std::uint8_t key = 0;
  ControlSet controlSet = 0;
  std::uint8_t kind = 0;   // attribute "QVA"
  std::uint8_t param = 0;  // attribute "Kind"
  std::wstring text;

  bool operator==(const ActionFileEntry&) const = default;
};

struct ActionFileError {
  enum class Reason { None, Unreadable, Malformed, WrongRoot, Unwritable };
  Reason reason = Reason::None;
  std::wstring detail;  // for the log and for tests, not for the user
  unsigned line = 0;    // 1-based line of the fault in the file, 0 when unknown

  explicit operator bool() const { return reason != Reason::None; }
};

// Deletes every binding of `list` that an entry names by key and exact set
// and that matches the entry's kind, parameter and text. Returns how many went.
std::size_t RemoveListedBindings(TQvActions& list, const std::vector<ActionFileEntry>& entries);

// A decimal attribute value within 0..maxValue; false for anything else
// (blanks around the digits are allowed).
bool ParseDecimalAttribute(const std::wstring& value, std::uint32_t maxValue, std::uint32_t& result);

}  // namespace snibbet

#ifdef _WIN32
#include "keyboard/action_shell.h"

namespace snibbet {

// Reads the whole file; on any fault the entries are left empty and the error
// says why. Elements that name no binding are skipped (see action_document.h).
ActionFileError ReadActionFile(const std::wstring& fileName, std::vector<ActionFileEntry>& entries);
// Writes the file in full or not at all (an existing file is replaced only
// once the new one is complete). Refuses what reading would not give back:
// texts XML cannot hold, modifier sets beyond a byte.
ActionFileError WriteActionFile(const std::wstring& fileName, const std::vector<ActionFileEntry>& entries);

// The removal of a binding set: false when the file does not exist or cannot
// be read (then the error box shows language text 7 with the file name and no
// binding is removed), true once the bindings it names are gone.
bool RemoveActionsFromFile(TQvActions& list, const std::wstring& fileName, BindingShell& shell = ProgramShell());

}  // namespace snibbet
#endif
