// The helper watches the process that started it only when that is the main
// program: the image's file name decides, whatever its folder or case.
#include <gtest/gtest.h>

#include "helper/main_program_image.h"

namespace snibbet::helper {
namespace {

TEST(HelperMainProgramImage, OnlyTheMainProgramsFileNameCountsWhateverItsFolderOrCase) {
  EXPECT_TRUE(IsMainProgramImage(L"\\\\?\\C:\\Users\\x\\AppData\\Local\\Temp\\copy 1\\SNIBBET.EXE"));
  EXPECT_TRUE(IsMainProgramImage(L"C:/Tools/snibbet.exe")) << "forward slashes";

  EXPECT_FALSE(IsMainProgramImage(L"C:\\Windows\\System32\\cmd.exe")) << "started by hand";
  EXPECT_FALSE(IsMainProgramImage(L"C:\\x\\NotSnibbet.exe"));
  EXPECT_FALSE(IsMainProgramImage(L"C:\\x\\Snibbet.exe.bak"));
  EXPECT_FALSE(IsMainProgramImage(L"C:\\Snibbet.exe\\SnibbetCm.exe")) << "the folder's name does not count";
  EXPECT_FALSE(IsMainProgramImage(L"")) << "no image name to be had";
}

}  // namespace
}  // namespace snibbet::helper
