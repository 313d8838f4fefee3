#include "app/bug_report_adapter.h"

#include "hub/data_module.h"
#include "keyboard/key_model.h"
#include "ui/application.h"

namespace snibbet {

bool BugReportAdapter::ProgramActive() { return dataModule_.Active(); }

void BugReportAdapter::SetProgramActive(bool active) { dataModule_.SetActive(active); }

void BugReportAdapter::ExitProgram() {
  dataModule_.Stop();
  ui::Terminate();
}

HKL BugReportAdapter::KeyboardLayout() {
  // The layout the hook types and reads keys in, which the report is about.
  if (const TQvKeyboard* model = QvKeyboard()) return reinterpret_cast<HKL>(model->CurrentLayout());
  return DefaultBugReportPort::KeyboardLayout();
}

}  // namespace snibbet
