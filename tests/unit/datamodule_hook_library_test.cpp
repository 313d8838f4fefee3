// Our hook library SnibbetH: it reports each new foreground window to the
// window handed to Hook until UnHook; its test builds lack one entry each.
// (The binding's failures are tested through the data module.)
#include <gtest/gtest.h>

#include "hub/hook_library.h"
#include "tests/unit/datamodule_test_support.h"

namespace snibbet {
namespace {

using test::ActivateNotingReports;
using test::ThreadWindow;

TEST(HookLibraryStandIn, ReportsEachNewForegroundWindowUntilUnHook) {
  HookLibrary library(test::StandInLibrary());
  ASSERT_EQ(library.Load(), HookLoadResult::Ready);
  ThreadWindow reportTo(false);
  ThreadWindow first(true, L"first");
  ThreadWindow second(true, L"second");
  ActivateNotingReports(first.Handle(), reportTo.Handle());

  library.Hook(reportTo.Handle());
  EXPECT_TRUE(library.Hooked());
  EXPECT_EQ(ActivateNotingReports(second.Handle(), reportTo.Handle()), std::vector<HWND>{second.Handle()});
  EXPECT_EQ(ActivateNotingReports(first.Handle(), reportTo.Handle()), std::vector<HWND>{first.Handle()});

  // A second Hook moves the reports to the new window.
  ThreadWindow otherReportTo(false);
  library.Hook(otherReportTo.Handle());
  EXPECT_EQ(ActivateNotingReports(second.Handle(), otherReportTo.Handle()), std::vector<HWND>{second.Handle()});

  ASSERT_TRUE(library.UnHook());
  EXPECT_FALSE(library.Hooked());
  EXPECT_TRUE(ActivateNotingReports(first.Handle(), otherReportTo.Handle()).empty());
  library.Free();
  EXPECT_FALSE(library.Loaded());
}

TEST(HookLibraryStandIn, ExportsExactlyTheTwoEntriesUndecorated) {
  struct Build {
    std::wstring path;
    bool hook;
    bool unhook;
  };
  for (const Build& build : {Build{test::StandInLibrary(), true, true}, Build{test::LibraryWithoutHook(), false, true},
                             Build{test::LibraryWithoutUnHook(), true, false}}) {
    HMODULE module = LoadLibraryW(build.path.c_str());
    ASSERT_NE(module, nullptr) << "cannot load " << std::string(build.path.begin(), build.path.end());
    EXPECT_EQ(GetProcAddress(module, "Hook") != nullptr, build.hook);
    EXPECT_EQ(GetProcAddress(module, "UnHook") != nullptr, build.unhook);
    EXPECT_EQ(GetProcAddress(module, "Hook@4"), nullptr);
    EXPECT_EQ(GetProcAddress(module, "_Hook@4"), nullptr);
    FreeLibrary(module);
  }
}

}  // namespace
}  // namespace snibbet
