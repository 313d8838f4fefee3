#pragma once
// The hidden main window. It is never shown; other processes find the running
// program by its class and title (the input helper for its mouse messages, a
// second start for WM_SECOND_INSTANCE). It carries the program's one help
// router, which every help request of the program reaches.
#include "ui/form.h"
#include "ui/help_router.h"

namespace snibbet {

class TMainKeyboardForm;

class TFirstForm : public ui::Form {
 public:
  TFirstForm();

  ui::HelpRouter& HelpRouter() { return hrMain_; }
  // The keyboard window that follows a display change; none until connected,
  // and disconnected before it goes.
  void ConnectKeyboardWindow(TMainKeyboardForm* window) { keyboardWindow_ = window; }

 protected:
  void OnCreate() override;
  void OnClose(ui::CloseAction& action) override;
  void OnDestroy() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  ui::HelpRouter hrMain_;
  TMainKeyboardForm* keyboardWindow_ = nullptr;
};

// The one instance while it exists (the application's main form).
TFirstForm* FirstForm();

}  // namespace snibbet
