// Shows the template pop-up with a few templates, the second one selected,
// for a look at its list, splitter, preview, buttons and size grip. It is
// shown twice, as the hotkey shows it from its second press on: the second
// showing paints some of it from what the first one drew.
// Usage: popup_look [seconds]
#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <string>

#include "core/foreground_state.h"
#include "templates/template_view_form.h"
#include "ui/application.h"
#include "ui/timer.h"

int wmain(int argc, wchar_t** argv) {
  const int seconds = argc > 1 ? std::max(1, _wtoi(argv[1])) : 6;
  ui::Application& app = ui::Application::Create({.title = L"Pop-up look"});
  snibbet::TTemplateViewForm& form =
      app.CreateForm<snibbet::TTemplateViewForm>(snibbet::PopupProgramParts{.foreground = snibbet::Foreground()});
  snibbet::TemplateTable& table = form.Templates();
  for (const char* name : {"Address", "Best regards", "Greeting", "Signature with a rather long name", "Thanks"}) {
    table.Append();
    table.SetName(name);
    table.SetTemplate(std::string("Text of the template \"") + name + "\".\r\nA second line.");
    table.Post();
  }
  table.SortByName();
  form.ShowTemplateView();
  form.ShowTemplateView();
  table.Next();
  ui::Timer end(seconds * 1000, [] { PostQuitMessage(0); });
  end.Start();
  app.Run();
  ui::Application::Destroy();
  return 0;
}
