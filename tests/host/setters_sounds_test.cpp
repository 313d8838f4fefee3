// Which file a sound entry names.
#include <gtest/gtest.h>

#include <set>

#include "core/sounds.h"

namespace snibbet {
namespace {

const std::wstring kFolder = L"C:\\Program\\Sound\\";

class SoundFiles : public ::testing::Test {
 protected:
  std::wstring Resolve(const std::wstring& entry) {
    return ResolveSoundFile(entry, kFolder, [this](const std::wstring& path) {
      asked.push_back(path);
      return existing.count(path) > 0;
    });
  }
  std::set<std::wstring> existing = {kFolder + L"click.wav", L"D:\\Media\\DING.WAV", kFolder + L"tone.mp3.wav",
                                     L"D:/Media/bell.wav"};
  std::vector<std::wstring> asked;
};

TEST_F(SoundFiles, BareNameLiesInTheSoundFolderAndGetsItsExtension) {
  EXPECT_EQ(Resolve(L"click"), kFolder + L"click.wav");
  EXPECT_EQ(Resolve(L"click.wav"), kFolder + L"click.wav");
  EXPECT_EQ(Resolve(L"click.WaV"), L"");  // asked as typed, and no such file
  EXPECT_EQ(asked.back(), kFolder + L"click.WaV");
}

TEST_F(SoundFiles, FullPathsAreKeptWithTheirExtensionInAnyCase) {
  EXPECT_EQ(Resolve(L"D:\\Media\\DING.WAV"), L"D:\\Media\\DING.WAV");
  EXPECT_EQ(Resolve(L"D:/Media/bell"), L"D:/Media/bell.wav");
}

TEST_F(SoundFiles, AnotherExtensionGetsWavAfterIt) {
  EXPECT_EQ(Resolve(L"tone.mp3"), kFolder + L"tone.mp3.wav");
  EXPECT_EQ(Resolve(L"beep.mp3"), L"");
  EXPECT_EQ(asked.back(), kFolder + L"beep.mp3.wav");
}

TEST_F(SoundFiles, EmptyEntriesAndMissingFilesGiveNoFile) {
  EXPECT_EQ(Resolve(L""), L"");
  EXPECT_TRUE(asked.empty());  // nothing to look for
  EXPECT_EQ(Resolve(L"wav"), L"");
  EXPECT_EQ(asked.back(), kFolder + L"wav.wav");
  EXPECT_EQ(ResolveSoundFile(L"click", kFolder, {}), L"");
}

}  // namespace
}  // namespace snibbet
