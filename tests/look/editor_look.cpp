// Shows the template editor on a few templates of its own, the rich-text one
// current, for a look at its menu, toolbars, list, pages and rich-text toolbar.
// Usage: editor_look [text|rtf|picture] [seconds]
#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <string>

#include "dialogs/template_setup_form.h"
#include "tests/unit/editor_test_support.h"
#include "ui/application.h"
#include "ui/timer.h"

int wmain(int argc, wchar_t** argv) {
  using namespace snibbet;
  const std::wstring page = argc > 1 ? argv[1] : L"rtf";
  const int seconds = argc > 2 ? std::max(1, _wtoi(argv[2])) : 6;
  ui::Application& app = ui::Application::Create({.title = L"Editor look"});
  TemplateTable table;
  FakeFiles files(table);
  files.files[L"C:\\docs\\main.zqt"] = {
      Named("Address", "Main Street 1\r\nSpringfield"),
      {"Letter", {}, kTemplateRichText,
       "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red200\\green0\\blue0;}\\f0\\fs24 Dear "
       "\\b Sir\\b0 ,\\par\\qc\\cf1 centred words\\cf0\\par}"},
      {"Logo", {}, kTemplatePicture, "C:\\missing.bmp"}};
  files.Load(table, L"", false);
  TTemplateSetupForm form(table, files);
  form.Create();
  form.Show();
  table.LocateName(page == L"text" ? "Address" : page == L"picture" ? "Logo" : "Letter");
  ui::Timer end(seconds * 1000, [] { PostQuitMessage(0); });
  end.Start();
  app.Run();
  form.Destroy();
  ui::Application::Destroy();
  return 0;
}
