// Snibbet.exe carries its version information, manifest, icon and cursor.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ui/gdi.h"
#include "ui/handles.h"
#include "ui/image_list.h"

namespace {

std::wstring ProgramPath() {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self);
  path.resize(path.find_last_of(L'\\'));    // ...\tests
  path.resize(path.find_last_of(L'\\') + 1);  // ...\ (the build folder)
  return path + L"bin\\Snibbet.exe";
}

std::wstring VersionString(const std::vector<BYTE>& block, const wchar_t* key) {
  const std::wstring query = std::wstring(L"\\StringFileInfo\\040904E4\\") + key;
  wchar_t* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) || !value) return {};
  return std::wstring(value, length ? length - 1 : 0);
}

TEST(ResourcesTest, VersionInformationIsInTheUsEnglishBlock) {
  const std::wstring path = ProgramPath();
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  ASSERT_GT(size, 0u) << "no version resource in Snibbet.exe";
  std::vector<BYTE> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));
  EXPECT_EQ(VersionString(block, L"ProductName"), L"Orvane Paste");
  EXPECT_EQ(VersionString(block, L"CompanyName"), L"OrvaneSoftware");
  EXPECT_EQ(VersionString(block, L"FileVersion"), L"1.0.0.0");
  EXPECT_EQ(VersionString(block, L"ProductVersion"), L"1.0.0.0");

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 1));  // 1.0
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
}

std::vector<DWORD> PixelsOf(const ui::Bitmap& picture) {
  DIBSECTION section{};
  if (!picture || !GetObjectW(picture.Get(), sizeof section, &section)) return {};
  const auto* bits = static_cast<const DWORD*>(section.dsBm.bmBits);
  return std::vector<DWORD>(bits, bits + section.dsBm.bmWidth * section.dsBm.bmHeight);
}

// A strip made on first use, also after a move, shows what one made at once
// shows; one that is not there leaves the list empty.
TEST(ResourcesTest, AnImageStripMadeOnFirstUseHasTheStripsPictures) {
  ui::ModuleHandle program(
      LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  ASSERT_TRUE(program);
  ui::ImageList now(16, 16);
  ASSERT_EQ(now.AddStrip(program.Get(), L"IL_MAIN", CLR_NONE), 0);
  ui::ImageList deferred = ui::ImageList::StripOnFirstUse(16, 16, program.Get(), L"IL_MAIN", CLR_NONE);
  const ui::ImageList later = std::move(deferred);
  ASSERT_GT(now.Count(), 1);
  EXPECT_EQ(later.Count(), now.Count());
  const std::vector<DWORD> last = PixelsOf(now.ToAlphaBitmap(now.Count() - 1));
  ASSERT_FALSE(last.empty());
  EXPECT_EQ(PixelsOf(later.ToAlphaBitmap(now.Count() - 1)), last);
  EXPECT_EQ(ui::ImageList::StripOnFirstUse(16, 16, program.Get(), L"NO_SUCH_STRIP", CLR_NONE).Count(), 0);
}

TEST(ResourcesTest, ManifestAsksForCommonControls6DpiAwarenessAndNoElevation) {
  ui::ModuleHandle program(LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  ASSERT_TRUE(program);
  HRSRC resource = FindResourceW(program.Get(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_NE(resource, nullptr);
  const char* text = static_cast<const char*>(LockResource(LoadResource(program.Get(), resource)));
  const std::string manifest(text, SizeofResource(program.Get(), resource));
  EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
  EXPECT_NE(manifest.find("<dpiAware>true</dpiAware>"), std::string::npos);
}

TEST(ResourcesTest, ProgramIconLoadsInTheSizesTheShellAsksFor) {
  ui::ModuleHandle program(LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  ASSERT_TRUE(program);
  for (int size : {16, 32, 48}) {
    ui::IconHandle icon(static_cast<HICON>(LoadImageW(program.Get(), MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0)));
    EXPECT_TRUE(icon) << size;
  }
}

TEST(ResourcesTest, TheMagnifyCursorIsAWholeCursorWithItsHotSpotInside) {
  ui::ModuleHandle program(LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  ASSERT_TRUE(program);
  const HANDLE cursor = LoadImageW(program.Get(), L"Magnify", IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE);
  ASSERT_NE(cursor, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(static_cast<HICON>(cursor), &info));
  BITMAP mask{};
  GetObjectW(info.hbmMask, sizeof mask, &mask);
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(mask.bmWidth, 32);
  EXPECT_GT(info.xHotspot, 0u);
  EXPECT_LT(info.xHotspot, 32u);
  EXPECT_GT(info.yHotspot, 0u);
  EXPECT_LT(info.yHotspot, 32u);
  DeleteObject(info.hbmMask);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DestroyCursor(static_cast<HCURSOR>(cursor));
}

}  // namespace
