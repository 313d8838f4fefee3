#pragma once
// CoInitializeEx / CoUninitialize for one thread (apartment-threaded: the GUI
// thread hosts shell dialogs and rich edits).
#include <objbase.h>

namespace ui {

class ComInit {
 public:
  explicit ComInit(DWORD model = COINIT_APARTMENTTHREADED) : result_(CoInitializeEx(nullptr, model)) {}
  ~ComInit() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComInit(const ComInit&) = delete;
  ComInit& operator=(const ComInit&) = delete;
  // S_FALSE (already initialised on this thread) counts as success.
  bool Succeeded() const { return SUCCEEDED(result_); }
  HRESULT Result() const { return result_; }

 private:
  HRESULT result_;
};

}  // namespace ui
