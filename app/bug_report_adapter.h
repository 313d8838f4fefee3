#pragma once
// The error report's port, answered by the hub's switch: the report switches
// the program off around the mail dialog and leaves through the same path as
// the tray's Exit. The layout it names is the key model's.
#include "core/bug_report.h"

namespace snibbet {

class ProgramSwitch;
class TQvKeyboard;

class BugReportAdapter final : public DefaultBugReportPort {
 public:
  explicit BugReportAdapter(ProgramSwitch& programSwitch) : switch_(programSwitch) {}
  // The key model, once it exists (it is made after the report is connected);
  // without one the report names the system's layout.
  void SetKeyModel(const TQvKeyboard* model) { model_ = model; }
  bool ProgramActive() override;
  void SetProgramActive(bool active) override;
  void ExitProgram() override;
  HKL KeyboardLayout() override;

 private:
  ProgramSwitch& switch_;
  const TQvKeyboard* model_ = nullptr;
};

}  // namespace snibbet
