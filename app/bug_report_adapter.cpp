#include "app/bug_report_adapter.h"

#include "core/data_module.h"
#include "ui/application.h"

namespace snibbet {

bool BugReportAdapter::ProgramActive() { return dataModule_.Active(); }

void BugReportAdapter::SetProgramActive(bool active) { dataModule_.SetActive(active); }

void BugReportAdapter::ExitProgram() {
  dataModule_.Stop();
  ui::Terminate();
}

}  // namespace snibbet
