#include "keyboard/action_html_export.h"

#include <windows.h>

#include "core/paths.h"
#include "core/tray_lookups.h"
#include "core/utf8.h"
#include "keyboard/action_html.h"
#include "keyboard/action_icon.h"
#include "keyboard/binding_names.h"
#include "ui/gdi.h"
#include "ui/handles.h"

namespace snibbet {
namespace {

constexpr wchar_t kPictureFolder[] = L"zqkeys";

class SortedListGuard {
 public:
  explicit SortedListGuard(TQvActions& list) : list_(list) { list_.BuildSortedList(); }
  ~SortedListGuard() { list_.FreeSortedList(); }
  SortedListGuard(const SortedListGuard&) = delete;
  SortedListGuard& operator=(const SortedListGuard&) = delete;

 private:
  TQvActions& list_;
};

void SavePictures(const TQvActions& list, const std::wstring& folder, BindingShell& shell) {
  const ui::Bitmap bitmap(CreateCompatibleBitmap(ui::WindowDC(nullptr).Get(), kActionIconSize, kActionIconSize));
  if (!bitmap) return;
  for (std::size_t n = 0; n < list.Sorted().size(); ++n) {
    DrawActionIcon(*list.Sorted()[n], bitmap.Get(), RGB(255, 255, 255), shell);
    SaveBitmapFile(bitmap.Get(), folder + L"\\pic" + std::to_wstring(n) + L".bmp");
  }
}

bool WriteUtf8File(const std::wstring& fileName, const std::string& bytes) {
  const ui::FileHandle file(
      CreateFileW(fileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

ActionListing MakeListing(const TQvActions& list, BindingShell& shell) {
  ActionListing listing;
  listing.productAndVersion = L"Orvane Paste " + shell.ProductVersion();
  listing.heading = LanguageText(522);
  listing.keysColumn = LanguageText(395);
  listing.actionColumn = LanguageText(25);
  listing.productPage = shell.LocalizeWebAddress(kProductPageAddress);
  listing.makerPage = shell.LocalizeWebAddress(kMakerPageAddress);
  listing.rows = ListingRows(list);
  return listing;
}

}  // namespace

bool ExportActionsToHtml(TQvActions& list, BindingShell& shell) {
  BusyCursorGuard busy(shell);
  SortedListGuard sorted(list);
  const std::wstring documents = shell.DocumentsFolder();
  const std::wstring pictures = JoinPath(documents, kPictureFolder);
  CreateDirectoryW(pictures.c_str(), nullptr);  // may exist already
  SavePictures(list, pictures, shell);
  const std::wstring page = JoinPath(documents, std::wstring(kPictureFolder) + L".htm");
  if (!WriteUtf8File(page, WideToUtf8(BuildActionsHtml(MakeListing(list, shell))))) return false;
  shell.OpenDocument(page);
  return true;
}

}  // namespace snibbet
