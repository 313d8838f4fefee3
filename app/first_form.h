#pragma once
// The hidden main window. It is never shown; other processes find the running
// program by its class and title (the input helper for its mouse messages, a
// second start for WM_SECOND_INSTANCE).
#include "ui/form.h"

namespace snibbet {

class TFirstForm : public ui::Form {
 public:
  TFirstForm();

 protected:
  void OnCreate() override;
  void OnClose(ui::CloseAction& action) override;
  void OnDestroy() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// The one instance while it exists (the application's main form).
TFirstForm* FirstForm();

}  // namespace snibbet
