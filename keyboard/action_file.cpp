#include "keyboard/action_file.h"

#include <windows.h>

#include <cstdio>
#include <utility>

#include "keyboard/action_document.h"
#include "keyboard/binding_names.h"
#include "keyboard/action_shell.h"
#include "keyboard/actions.h"
#include "keyboard/xml_lite.h"
#include "ui/handles.h"

namespace snibbet {
namespace {

using Reason = ActionFileError::Reason;
using xml::ComRef;

constexpr wchar_t kRootName[] = L"QvActions";
constexpr wchar_t kEntryName[] = L"Action";
// A binding file holds a few hundred bindings at most; anything this large is not one.
constexpr LONGLONG kMaxFileBytes = 1024 * 1024;

ActionFileError Fail(Reason reason, std::wstring detail, unsigned line = 0) {
  return ActionFileError{reason, std::move(detail), line};
}

std::wstring HresultText(HRESULT hr) {
  wchar_t text[16];
  swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(hr));
  return text;
}

// ---- reading ----

ActionFileError ReadWholeFile(const std::wstring& fileName, std::string& bytes) {
  const ui::FileHandle file(CreateFileW(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return Fail(Reason::Unreadable, L"cannot open the file");
  LARGE_INTEGER size{};
  ActionFileError error;
  if (!GetFileSizeEx(file.Get(), &size)) {
    error = Fail(Reason::Unreadable, L"cannot read the file size");
  } else if (size.QuadPart > kMaxFileBytes) {
    error = Fail(Reason::Unreadable, L"the file is too large for a binding file");
  } else {
    bytes.assign(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
                           read != bytes.size())) {
      error = Fail(Reason::Unreadable, L"cannot read the file");
    }
  }
  return error;
}

unsigned LineOf(IXmlReader* reader) {
  UINT line = 0;
  reader->GetLineNumber(&line);
  return line;
}

// Where the reader stands; two nodes of a document never stand at the same place.
struct ReaderPlace {
  XmlNodeType node = XmlNodeType_None;
  UINT depth = 0, line = 0, position = 0;
  bool operator==(const ReaderPlace&) const = default;
};

ReaderPlace PlaceOf(IXmlReader* reader, XmlNodeType node) {
  ReaderPlace place;
  place.node = node;
  reader->GetDepth(&place.depth);
  reader->GetLineNumber(&place.line);
  reader->GetLinePosition(&place.position);
  return place;
}

// The elements of a document as XmlLite reads them.
class XmlLiteElements : public ActionXmlSource {
 public:
  // `maxNodes` bounds the walk: every node takes at least one character, and
  // Wine's XmlLite repeats the last node for ever at the end of an unclosed document.
  XmlLiteElements(IXmlReader* reader, std::size_t maxNodes) : reader_(reader), maxNodes_(maxNodes) {}

  bool NextElement(ActionXmlElement& element, ActionFileError& error) override {
    XmlNodeType node = XmlNodeType_None;
    HRESULT hr;
    while ((hr = reader_->Read(&node)) == S_OK) {
      const ReaderPlace place = PlaceOf(reader_, node);
      if (nodes_++ >= maxNodes_ || (nodes_ > 1 && place == previous_)) {
        error = Fail(Reason::Malformed, L"the document does not end", place.line);
        return false;
      }
      previous_ = place;
      if (node != XmlNodeType_Element) continue;
      element.depth = place.depth;
      element.line = place.line;
      const wchar_t* name = nullptr;
      const bool named = SUCCEEDED(reader_->GetQualifiedName(&name, nullptr));
      element.name = named && name ? name : L"";  // copied before the reader moves on to the attributes
      if (!named || !ReadAttributes(element)) {
        error = Fail(Reason::Malformed, L"unreadable element", place.line);
        return false;
      }
      return true;
    }
    if (FAILED(hr)) error = Fail(Reason::Malformed, L"not well-formed XML (" + HresultText(hr) + L")", LineOf(reader_));
    return false;
  }

 private:
  bool ReadAttributes(ActionXmlElement& element) {
    element.attributes.clear();
    for (HRESULT hr = reader_->MoveToFirstAttribute(); hr == S_OK; hr = reader_->MoveToNextAttribute()) {
      const wchar_t* name = nullptr;
      const wchar_t* value = nullptr;
      UINT length = 0;
      if (FAILED(reader_->GetQualifiedName(&name, nullptr)) || FAILED(reader_->GetValue(&value, &length))) return false;
      element.attributes.emplace_back(name ? name : L"", std::wstring(value ? value : L"", length));
    }
    reader_->MoveToElement();
    return true;
  }

  IXmlReader* reader_;
  std::size_t maxNodes_;
  std::size_t nodes_ = 0;
  ReaderPlace previous_;
};

// ---- writing ----

// Characters XML 1.0 can hold; a lone surrogate is not one.
bool IsStorableText(const std::wstring& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned c = static_cast<unsigned>(text[i]) & 0xFFFF;
    if (c < 0x20 && c != 0x09 && c != 0x0A && c != 0x0D) return false;
    if (c == 0xFFFE || c == 0xFFFF) return false;
    if (c >= 0xDC00 && c <= 0xDFFF) return false;
    if (c >= 0xD800 && c <= 0xDBFF) {
      const unsigned low = i + 1 < text.size() ? static_cast<unsigned>(text[i + 1]) & 0xFFFF : 0;
      if (low < 0xDC00 || low > 0xDFFF) return false;
      ++i;
    }
  }
  return true;
}

// For a writer that puts attribute values out as they are: markup and the
// white space that attribute-value normalisation would turn into blanks.
std::wstring EscapedAttribute(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    switch (c) {
      case L'&': out += L"&amp;"; break;
      case L'<': out += L"&lt;"; break;
      case L'>': out += L"&gt;"; break;
      case L'"': out += L"&quot;"; break;
      case L'\t': out += L"&#x9;"; break;
      case L'\n': out += L"&#xA;"; break;
      case L'\r': out += L"&#xD;"; break;
      default: out += c;
    }
  }
  return out;
}

HRESULT WriteEntry(IXmlWriter* writer, const ActionFileEntry& entry, bool escapeOurselves) {
  HRESULT hr = writer->WriteStartElement(nullptr, kEntryName, nullptr);
  const auto number = [&](const wchar_t* name, unsigned value) {
    if (SUCCEEDED(hr)) hr = writer->WriteAttributeString(nullptr, name, nullptr, std::to_wstring(value).c_str());
  };
  number(L"Key", entry.key);
  number(L"ControlSet", entry.controlSet);
  number(L"QVA", entry.kind);
  number(L"Kind", entry.param);
  if (SUCCEEDED(hr)) {
    const std::wstring text = escapeOurselves ? EscapedAttribute(entry.text) : entry.text;
    hr = writer->WriteAttributeString(nullptr, L"Text", nullptr, text.c_str());
  }
  if (SUCCEEDED(hr)) hr = writer->WriteEndElement();
  return hr;
}

ActionFileError Serialise(const std::vector<ActionFileEntry>& entries, std::string& bytes) {
  ComRef<IXmlWriter> writer;
  ComRef<IStream> stream;
  HRESULT hr = xml::CreateWriter(writer);
  if (FAILED(hr)) return Fail(Reason::Unwritable, L"XmlLite is not available (" + HresultText(hr) + L")");
  if (FAILED(hr = xml::CreateMemoryStream(nullptr, 0, stream))) return Fail(Reason::Unwritable, L"out of memory");
  const bool escapeOurselves = !xml::WriterEscapesAttributes();
  writer->SetProperty(XmlWriterProperty_ByteOrderMark, FALSE);
  writer->SetProperty(XmlWriterProperty_Indent, TRUE);
  if (SUCCEEDED(hr)) hr = writer->SetOutput(stream.Get());
  if (SUCCEEDED(hr)) hr = writer->WriteStartDocument(XmlStandalone_Omit);
  if (SUCCEEDED(hr)) hr = writer->WriteStartElement(nullptr, kRootName, nullptr);
  for (const ActionFileEntry& entry : entries) {
    if (SUCCEEDED(hr)) hr = WriteEntry(writer.Get(), entry, escapeOurselves);
  }
  if (SUCCEEDED(hr)) hr = writer->WriteEndDocument();
  if (SUCCEEDED(hr)) hr = writer->Flush();
  if (FAILED(hr)) return Fail(Reason::Unwritable, L"XmlLite failed (" + HresultText(hr) + L")");
  if (!xml::StreamBytes(stream.Get(), bytes)) return Fail(Reason::Unwritable, L"out of memory");
  bytes += "\r\n";
  return {};
}

// Writes a sibling file first and moves it over the old one, so a failure
// leaves the old file as it was.
ActionFileError ReplaceFile(const std::wstring& fileName, const std::string& bytes) {
  const std::wstring temporary = fileName + L".new";
  ui::FileHandle file(
      CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return Fail(Reason::Unwritable, L"cannot create the file");
  DWORD written = 0;
  const bool complete = WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                        written == bytes.size() && FlushFileBuffers(file.Get());
  file.Reset();  // closed before the move
  if (!complete || !MoveFileExW(temporary.c_str(), fileName.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temporary.c_str());
    return Fail(Reason::Unwritable, L"cannot write the file");
  }
  return {};
}

bool IsExistingFile(const std::wstring& fileName) {
  const DWORD attributes = GetFileAttributesW(fileName.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

ActionFileError ReadActionFile(const std::wstring& fileName, std::vector<ActionFileEntry>& entries) {
  entries.clear();
  std::string bytes;
  if (ActionFileError error = ReadWholeFile(fileName, bytes)) return error;
  ComRef<IXmlReader> reader;
  ComRef<IStream> stream;
  HRESULT hr = xml::CreateReader(reader);
  if (FAILED(hr)) return Fail(Reason::Unreadable, L"XmlLite is not available (" + HresultText(hr) + L")");
  if (FAILED(xml::CreateMemoryStream(bytes.data(), static_cast<UINT>(bytes.size()), stream))) {
    return Fail(Reason::Unreadable, L"out of memory");
  }
  reader->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit);
  if (FAILED(hr = reader->SetInput(stream.Get()))) return Fail(Reason::Unreadable, L"XmlLite refused the input");
  XmlLiteElements elements(reader.Get(), bytes.size() + 2);
  return ReadActionEntries(elements, entries);
}

ActionFileError WriteActionFile(const std::wstring& fileName, const std::vector<ActionFileEntry>& entries) {
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (!IsStorableText(entries[i].text)) {
      return Fail(Reason::Unwritable, L"binding " + std::to_wstring(i) + L" has a text XML cannot hold");
    }
    // Read back, a set beyond a byte would be skipped: the file would lose the binding.
    if (entries[i].controlSet > 0xFF) {
      return Fail(Reason::Unwritable, L"binding " + std::to_wstring(i) + L" has a modifier set beyond a byte");
    }
  }
  std::string bytes;
  if (ActionFileError error = Serialise(entries, bytes)) return error;
  return ReplaceFile(fileName, bytes);
}

bool RemoveActionsFromFile(TQvActions& list, const std::wstring& fileName, BindingShell& shell) {
  if (!IsExistingFile(fileName)) return false;
  list.loading = true;
  bool removed = false;
  {
    BusyCursorGuard busy(shell);
    std::vector<ActionFileEntry> entries;
    // The whole file is read before anything is removed: a broken file removes nothing.
    if (ActionFileError error = ReadActionFile(fileName, entries)) {
      std::wstring message = LanguageText(7);
      const auto at = message.find(L"%1");
      if (at != std::wstring::npos) message.replace(at, 2, fileName);
      shell.ShowError(message);
    } else {
      RemoveListedBindings(list, entries);
      removed = true;
    }
  }
  list.loading = false;
  return removed;
}

}  // namespace snibbet
