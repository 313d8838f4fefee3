// A second start while another copy holds the start-up claim but has no main
// window yet (a box of its start-up still up) ends instead of running beside
// it, also when that copy holds the claim with rights this process lacks.
#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

#include "app/single_instance.h"

namespace snibbet {
namespace {

TEST(SingleInstance, AStartWhileAnotherCopyStartsWithoutAWindowEndsAndRunsOnlyOnceThatCopyIsGone) {
  for (const bool foreignRights : {false, true}) {
    SCOPED_TRACE(foreignRights ? "claim held with rights we lack" : "claim held");
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    // The other copy, on a thread of its own: a mutex is its owner thread's.
    std::thread otherCopy([&] {
      SECURITY_DESCRIPTOR descriptor;
      ACL noAccess;
      InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
      InitializeAcl(&noAccess, sizeof noAccess, ACL_REVISION);
      SetSecurityDescriptorDacl(&descriptor, TRUE, &noAccess, FALSE);
      SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, FALSE};
      HANDLE claim = CreateMutexW(foreignRights ? &attributes : nullptr, TRUE, kInstanceMutexName);
      SetEvent(ready);
      WaitForSingleObject(done, INFINITE);
      ReleaseMutex(claim);
      CloseHandle(claim);
    });
    WaitForSingleObject(ready, INFINITE);
    {
      SingleInstance second;
      EXPECT_FALSE(second.Claim()) << "a second copy would run";
    }
    SetEvent(done);
    otherCopy.join();
    SingleInstance later;
    EXPECT_TRUE(later.Claim()) << "no copy runs, yet the start does not go on";
    CloseHandle(ready);
    CloseHandle(done);
  }
}

}  // namespace
}  // namespace snibbet
