// Shows the template editor's rich-text toolbar over a rich edit holding
// formatted text, for a look at it; with "menu", the background-colour menu
// opens with one item selected, with "find" the find dialog, with "object"
// the insert-object dialog.
// Usage: rtf_toolbar_look [xp|standard] [plain|menu|find|object] [seconds]
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

#include "dialogs/rtf_toolbar.h"
#include "ui/application.h"
#include "ui/form.h"
#include "ui/rich_edit.h"
#include "ui/timer.h"

namespace {

class LookForm : public ui::Form {
 public:
  explicit LookForm(snibbet::MenuLook look)
      : Form({.className = L"TRtfToolbarLookForm", .caption = L"Rich-text toolbar",
              .position = ui::PositionRule::DesktopCenter, .clientWidth = 560, .clientHeight = 300,
              .fontFace = L"Tahoma", .fontPointSize = 8}),
        toolbar(*this, Editor, {.menuLook = look}) {}

  ui::RichEdit Editor{*this, {.name = L"Editor", .width = 100, .height = 100}};
  snibbet::RtfToolbar toolbar;

 protected:
  void OnCreate() override {
    Editor.SetPlainText(L"Plain, bold, italic, on yellow and x2.\rA centred line\rA bulleted line\r"
                        L"See http://example.com/ for more.");
    Editor.SetSelection({0, -1});
    Editor.SetFontName(L"Tahoma");
    Editor.SetFontSize(10);
    auto select = [&](const wchar_t* part) {
      if (const auto found = Editor.Find(part, 0, {.matchCase = true})) Editor.SetSelection(*found);
    };
    select(L"bold");
    Editor.SetStyle(ui::TextStyle::Bold, true);
    select(L"italic");
    Editor.SetStyle(ui::TextStyle::Italic, true);
    select(L"on yellow");
    Editor.SetBackColor(RGB(255, 255, 0));
    if (const auto x = Editor.Find(L"x2", 0)) {
      Editor.SetSelection({x->start + 1, x->end});
      Editor.SetPosition(ui::VerticalPosition::Superscript);
    }
    select(L"A centred line");
    Editor.SetAlignment(ui::ParagraphAlignment::Center);
    select(L"A bulleted line");
    Editor.SetBullets(true);
    select(L"bold");
    Layout();
    toolbar.Refresh();
  }
  void ApplyLanguage() override { toolbar.ApplyLanguage(); }
  void OnSize(int, int) override { Layout(); }

 private:
  void Layout() {
    if (!Editor.IsCreated()) return;
    const RECT client = ClientRect();
    const int height = toolbar.Layout({0, 0, client.right, 0});
    Editor.SetBounds(0, height + 2, client.right, client.bottom - height - 2);
  }
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const bool xp = argc > 1 && std::wcscmp(argv[1], L"xp") == 0;
  const std::wstring mode = argc > 2 ? argv[2] : L"plain";
  const UINT seconds = argc > 3 ? static_cast<UINT>(_wtoi(argv[3])) : 6;
  LocalFree(argv);

  ui::Application& app = ui::Application::Create({.title = L"Rich-text toolbar"});
  LookForm& form = app.CreateForm<LookForm>(xp ? snibbet::MenuLook::Xp : snibbet::MenuLook::Standard);
  form.Show();
  ui::Timer open(1000, [&] {
    open.Stop();
    if (mode == L"find" || mode == L"object") {
      form.toolbar.tbrRtf.Click(mode == L"find" ? L"tbFindText" : L"tbInsertObject");
      return;
    }
    if (mode != L"menu") return;
    static ui::Timer select(300, [] {
      if (HWND menu = FindWindowW(L"#32768", nullptr)) {
        select.Stop();
        for (int i = 0; i < 3; ++i) {
          PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
          PostMessageW(menu, WM_KEYUP, VK_DOWN, 0xC0000000);
        }
      }
    });
    select.Start();
    form.toolbar.tbrRtf.Click(L"tbBackground");
  });
  ui::Timer end(seconds * 1000, [&] {
    EndMenu();
    PostQuitMessage(0);
  });
  open.Start();
  end.Start();
  app.Run();
  ui::Application::Destroy();
  return 0;
}
