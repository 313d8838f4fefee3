#include "app/bug_report_adapter.h"

#include "hub/program_switch.h"
#include "keyboard/key_model.h"
#include "ui/application.h"

namespace snibbet {

bool BugReportAdapter::ProgramActive() { return switch_.Active(); }

void BugReportAdapter::SetProgramActive(bool active) { switch_.SetActive(active); }

void BugReportAdapter::ExitProgram() {
  switch_.Stop();
  ui::Terminate();
}

HKL BugReportAdapter::KeyboardLayout() {
  // The layout the hook types and reads keys in, which the report is about.
  if (model_) return reinterpret_cast<HKL>(model_->CurrentLayout());
  return DefaultBugReportPort::KeyboardLayout();
}

}  // namespace snibbet
