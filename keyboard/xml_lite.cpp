// The only translation unit that defines XmlLite's interface ids.
#include <windows.h>
#include <initguid.h>
#include <xmllite.h>
#include <shlwapi.h>

#include <string>

#include "keyboard/xml_lite.h"

namespace snibbet::xml {
namespace {

using CreateFunction = HRESULT(WINAPI*)(REFIID, void**, IMalloc*);

struct XmlLiteDll {
  HMODULE module = nullptr;
  CreateFunction createReader = nullptr;
  CreateFunction createWriter = nullptr;

  XmlLiteDll() {
    module = LoadLibraryExW(L"xmllite.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module) module = LoadLibraryW(L"xmllite.dll");  // systems without the search flag
    if (!module) return;
    createReader = reinterpret_cast<CreateFunction>(GetProcAddress(module, "CreateXmlReader"));
    createWriter = reinterpret_cast<CreateFunction>(GetProcAddress(module, "CreateXmlWriter"));
  }
};

const XmlLiteDll& Dll() {
  static const XmlLiteDll dll;  // kept loaded for the life of the process
  return dll;
}

bool ProbeAttributeEscaping() {
  ComRef<IXmlWriter> writer;
  ComRef<IStream> stream;
  if (FAILED(CreateWriter(writer)) || FAILED(CreateMemoryStream(nullptr, 0, stream))) return true;
  writer->SetProperty(XmlWriterProperty_OmitXmlDeclaration, TRUE);
  writer->SetProperty(XmlWriterProperty_ByteOrderMark, FALSE);
  if (FAILED(writer->SetOutput(stream.Get())) || FAILED(writer->WriteStartElement(nullptr, L"p", nullptr)) ||
      FAILED(writer->WriteAttributeString(nullptr, L"a", nullptr, L"&")) || FAILED(writer->WriteEndDocument()) ||
      FAILED(writer->Flush())) {
    return true;
  }
  std::string bytes;
  StreamBytes(stream.Get(), bytes);
  return bytes.find("&amp;") != std::string::npos;
}

}  // namespace

HRESULT CreateReader(ComRef<IXmlReader>& reader) {
  if (!Dll().createReader) return HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
  return Dll().createReader(IID_IXmlReader, reinterpret_cast<void**>(reader.Out()), nullptr);
}

HRESULT CreateWriter(ComRef<IXmlWriter>& writer) {
  if (!Dll().createWriter) return HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
  return Dll().createWriter(IID_IXmlWriter, reinterpret_cast<void**>(writer.Out()), nullptr);
}

bool WriterEscapesAttributes() {
  static const bool escapes = ProbeAttributeEscaping();
  return escapes;
}

HRESULT CreateMemoryStream(const void* bytes, UINT size, ComRef<IStream>& stream) {
  *stream.Out() = SHCreateMemStream(static_cast<const BYTE*>(bytes), size);
  return stream ? S_OK : E_OUTOFMEMORY;
}

bool StreamBytes(IStream* stream, std::string& bytes) {
  STATSTG stat{};
  if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || stat.cbSize.QuadPart > 0x7FFFFFFF) return false;
  bytes.assign(static_cast<std::size_t>(stat.cbSize.QuadPart), '\0');
  LARGE_INTEGER start{};
  if (FAILED(stream->Seek(start, STREAM_SEEK_SET, nullptr))) return false;
  ULONG read = 0;
  if (!bytes.empty() && FAILED(stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read))) return false;
  bytes.resize(read);
  return true;
}

}  // namespace snibbet::xml
