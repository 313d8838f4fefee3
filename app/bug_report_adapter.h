#pragma once
// The error report's port, answered by the data module: the report switches
// the program off around the mail dialog and leaves through the same path as
// the tray's Exit. The layout it names is the key model's.
#include "core/bug_report.h"

namespace snibbet {

class TDataDM;
class TQvKeyboard;

class BugReportAdapter final : public DefaultBugReportPort {
 public:
  explicit BugReportAdapter(TDataDM& dataModule) : dataModule_(dataModule) {}
  // The key model, once it exists (it is made after the report is connected);
  // without one the report names the system's layout.
  void SetKeyModel(const TQvKeyboard* model) { model_ = model; }
  bool ProgramActive() override;
  void SetProgramActive(bool active) override;
  void ExitProgram() override;
  HKL KeyboardLayout() override;

 private:
  TDataDM& dataModule_;
  const TQvKeyboard* model_ = nullptr;
};

}  // namespace snibbet
