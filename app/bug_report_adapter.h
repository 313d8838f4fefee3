#pragma once
// The error report's port, answered by the hub's switch: the report switches
// the program off around the mail dialog and leaves through the same path as
// the tray's Exit. The layout it names is the key model's.
#include "core/bug_report.h"

namespace snibbet {

class ProgramSwitch;

class BugReportAdapter final : public DefaultBugReportPort {
 public:
  explicit BugReportAdapter(ProgramSwitch& programSwitch) : switch_(programSwitch) {}
  bool ProgramActive() override;
  void SetProgramActive(bool active) override;
  void ExitProgram() override;
  HKL KeyboardLayout() override;

 private:
  ProgramSwitch& switch_;
};

}  // namespace snibbet
