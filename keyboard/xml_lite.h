#pragma once
// XmlLite, loaded from xmllite.dll at run time (MinGW ships no import library
// for it), and a small owning reference for its COM objects.
#include <windows.h>
#include <xmllite.h>

#include <string>
#include <utility>

namespace snibbet::xml {

template <class T>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() { Reset(); }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  ComRef(ComRef&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}

  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  T** Out() {
    Reset();
    return &p_;
  }
  explicit operator bool() const { return p_ != nullptr; }
  void Reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }

 private:
  T* p_ = nullptr;
};

// A reader or writer; E_NOINTERFACE-like failure when xmllite.dll is missing.
HRESULT CreateReader(ComRef<IXmlReader>& reader);
HRESULT CreateWriter(ComRef<IXmlWriter>& writer);

// Whether this XmlLite escapes markup characters in attribute values. Wine's
// writer (8.x and later at the time of writing) writes them as they are,
// which yields broken XML; Windows' writer escapes them.
bool WriterEscapesAttributes();

// A stream over a copy of the bytes.
HRESULT CreateMemoryStream(const void* bytes, UINT size, ComRef<IStream>& stream);
// All bytes written to a memory stream so far.
bool StreamBytes(IStream* stream, std::string& bytes);

}  // namespace snibbet::xml
