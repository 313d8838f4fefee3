// Shows the window pieces of the template editor together, for a look at
// them: two toolbars (one with text buttons, one in two rows with a font list
// laid over a placeholder), a list beside a splitter, pages with a rich editor
// holding formatted text, the size grip; then opens the background-colour
// menu with its colour swatches and moves the selection into it.
// Usage: editor_pieces_look [xp|standard] [seconds]
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

#include "ui/application.h"
#include "ui/combo_box.h"
#include "ui/edit.h"
#include "ui/form.h"
#include "ui/image_list.h"
#include "ui/label.h"
#include "ui/list_view.h"
#include "ui/menu.h"
#include "ui/rich_edit.h"
#include "ui/size_grip.h"
#include "ui/splitter.h"
#include "ui/tab_pages.h"
#include "ui/timer.h"
#include "ui/tool_bar.h"
#include "visual/color_swatch_painters.h"

namespace {

struct NamedColor {
  const wchar_t* name;
  std::uint32_t color;
};
constexpr NamedColor kColors[] = {
    {L"Black", 0x000000},  {L"Maroon", 0x000080}, {L"Green", 0x008000},   {L"Olive", 0x008080},
    {L"Navy", 0x800000},   {L"Purple", 0x800080}, {L"Teal", 0x808000},    {L"Gray", 0x808080},
    {L"Silver", 0xC0C0C0}, {L"Red", 0x0000FF},    {L"Lime", 0x00FF00},    {L"Yellow", 0x00FFFF},
    {L"Blue", 0xFF0000},   {L"Fuchsia", 0xFF00FF}, {L"Aqua", 0xFFFF00},   {L"White", 0xFFFFFF},
    {L"Automatic", 0xFF000000 | COLOR_WINDOW},
};

class LookForm : public ui::Form {
 public:
  explicit LookForm(snibbet::MenuLook look)
      : Form({.className = L"TLookForm", .caption = L"Editor pieces", .position = ui::PositionRule::DesktopCenter,
              .clientWidth = 790, .clientHeight = 515, .fontFace = L"Tahoma", .fontPointSize = 8}),
        look_(look) {
    for (HICON icon : {LoadIconW(nullptr, IDI_APPLICATION), LoadIconW(nullptr, IDI_INFORMATION),
                       LoadIconW(nullptr, IDI_WARNING), LoadIconW(nullptr, IDI_ERROR), LoadIconW(nullptr, IDI_QUESTION)}) {
      images_.AddIcon(icon);
    }
    tbMain.SetImages(&images_);
    tbMain.Add({.name = L"tbOpen", .imageIndex = 0, .text = L"Open", .hint = L"Open a file"});
    tbMain.Add({.name = L"tbSave", .imageIndex = 1, .text = L"Save", .hint = L"Save the file"});
    tbMain.Add({.name = L"sep1", .kind = ui::ToolButtonKind::Separator});
    tbMain.Add({.name = L"tbAdd", .imageIndex = 2, .text = L"Add", .hint = L"Add a template"});
    tbMain.Add({.name = L"tbDel", .imageIndex = 3, .text = L"Delete", .hint = L"Delete the template"});
    tbMain.Add({.name = L"tbHelp", .imageIndex = 4, .text = L"Help", .hint = L"Help"});

    tbrRtf.SetImages(&images_);
    tbrRtf.Add({.name = L"tbFont", .imageIndex = 0, .hint = L"Font"});
    tbrRtf.Add({.name = L"phFontName", .kind = ui::ToolButtonKind::Placeholder, .width = 150});
    tbrRtf.Add({.name = L"phFontSize", .kind = ui::ToolButtonKind::Placeholder, .width = 44, .wrapAfter = true});
    tbrRtf.Add({.name = L"tbBold", .kind = ui::ToolButtonKind::Check, .imageIndex = 1, .hint = L"Bold"});
    tbrRtf.Add({.name = L"tbItalic", .kind = ui::ToolButtonKind::Check, .imageIndex = 2, .hint = L"Italic"});
    tbrRtf.Add({.name = L"sep2", .kind = ui::ToolButtonKind::Separator});
    tbrRtf.Add({.name = L"tbLeft", .kind = ui::ToolButtonKind::CheckGroup, .imageIndex = 3, .hint = L"Left"});
    tbrRtf.Add({.name = L"tbCenter", .kind = ui::ToolButtonKind::CheckGroup, .imageIndex = 4, .hint = L"Centre"});
    tbrRtf.Add({.name = L"sep3", .kind = ui::ToolButtonKind::Separator});
    tbrRtf.Add({.name = L"tbBackground", .kind = ui::ToolButtonKind::DropDown, .imageIndex = 2,
                .hint = L"Background colour",
                .onDropDown = [this](const RECT& r) { BackgroundMenu.Popup({r.left, r.bottom}, Handle()); }});

    for (const NamedColor& c : kColors) {
      ui::MenuItem& item = BackgroundMenu.Add(c.name, c.name);
      item.radio = true;
      item.tag = static_cast<std::intptr_t>(c.color);
      item.checked = c.color == 0x00FFFF;
    }
    BackgroundMenu.Item(L"Gray").enabled = false;
    BackgroundMenu.SetPainter(snibbet::MakeColorMenuItemPainter(look_));
  }

  ui::ToolBar tbMain{*this, {.name = L"tbMain", .width = 790, .height = 40}, true};
  ui::ListView gridTemplates{*this, {.name = L"gridTemplates", .width = 200, .height = 400}};
  ui::Splitter splLeft{*this, {.name = L"splLeft", .width = 4, .height = 400}, gridTemplates, 60, 200};
  ui::TabPages pcTemplate{*this, {.name = L"pcTemplate", .width = 500, .height = 400}};
  ui::Edit memoTemplate{*this, {.name = L"memoTemplate", .width = 100, .height = 100,
                                .text = L"A plain template", .style = ES_MULTILINE | WS_VSCROLL}};
  ui::ToolBar tbrRtf{*this, {.name = L"tbrRtf", .width = 400, .height = 52}};
  ui::ComboBox cbFontName{*this, {.name = L"cbFontName", .width = 150, .height = 200, .style = CBS_DROPDOWN}};
  ui::Edit edtFontSize{*this, {.name = L"edtFontSize", .width = 44, .height = 21, .text = L"10"}};
  ui::RichEdit Editor{*this, {.name = L"Editor", .width = 100, .height = 100}};
  ui::Label lblPicture{*this, {.name = L"lblPicture", .width = 200, .height = 20, .text = L"Picture preview"}};
  ui::SizeGrip grip{*this};
  ui::PopupMenu BackgroundMenu{this, L"BackgroundMenu"};

 protected:
  void OnCreate() override {
    gridTemplates.AddColumn(L"Name", 144);
    for (const wchar_t* name : {L"Greeting", L"Signature", L"Address", L"Thanks"}) gridTemplates.AddItem(name);
    pcTemplate.AddPage(L"tsText", L"Text");
    pcTemplate.AddPage(L"tsRtf", L"Rich text");
    pcTemplate.AddPage(L"tsPicture", L"Picture");
    pcTemplate.AddToPage(0, memoTemplate);
    for (ui::Control* c : std::initializer_list<ui::Control*>{&tbrRtf, &cbFontName, &edtFontSize, &Editor}) {
      pcTemplate.AddToPage(1, *c);
    }
    pcTemplate.AddToPage(2, lblPicture);
    pcTemplate.SetActivePage(1);
    for (const wchar_t* face : {L"Tahoma", L"Times New Roman", L"Courier New"}) cbFontName.AddItem(face);
    cbFontName.SetText(L"Tahoma");
    splLeft.onMoved = [this](int) { Layout(); };
    FillEditor();
    Layout();
  }

  void OnSize(int, int) override { Layout(); }

 private:
  void Layout() {
    if (!pcTemplate.IsCreated()) return;
    const RECT client = ClientRect();
    tbMain.SetBounds(0, 0, client.right, tbMain.RowsHeight() + 2);
    const int top = tbMain.Height() + 2, height = client.bottom - top;
    const int gridWidth = gridTemplates.Width();
    gridTemplates.SetBounds(0, top, gridWidth, height);
    splLeft.SetBounds(gridWidth, top, 4, height);
    pcTemplate.SetBounds(gridWidth + 4, top, client.right - gridWidth - 4, height);
    const RECT page = pcTemplate.PageArea();
    memoTemplate.SetBounds(page.left, page.top, page.right - page.left, page.bottom - page.top);
    tbrRtf.SetBounds(page.left, page.top, page.right - page.left, tbrRtf.RowsHeight());
    tbrRtf.PlaceOver(L"phFontName", cbFontName);
    tbrRtf.PlaceOver(L"phFontSize", edtFontSize);
    const int editorTop = page.top + tbrRtf.Height() + 2;
    Editor.SetBounds(page.left, editorTop, page.right - page.left, page.bottom - editorTop);
    lblPicture.SetBounds(page.left + 8, page.top + 8, 200, 20);
  }

  // Formatted through the editor's own calls.
  void FillEditor() {
    Editor.SetPlainText(L"Plain, bold, italic, underlined, red, on yellow, x2 and H2O.\r"
                        L"Centred in Times New Roman\r"
                        L"A bulleted line\r"
                        L"Justified and indented: a longer line of text that wraps over the width of the editor "
                        L"so that both of its edges line up.");
    const std::wstring text = Editor.PlainText();
    auto select = [&](const wchar_t* part, int length = -1) {
      const auto found = Editor.Find(part, 0, {.matchCase = true});
      if (found) Editor.SetSelection({found->start, length < 0 ? found->end : found->start + length});
      return found.has_value();
    };
    Editor.SetSelection({0, -1});
    Editor.SetFontName(L"Tahoma");
    Editor.SetFontSize(10);
    if (select(L"bold")) Editor.SetStyle(ui::TextStyle::Bold, true);
    if (select(L"italic")) Editor.SetStyle(ui::TextStyle::Italic, true);
    if (select(L"underlined")) Editor.SetStyle(ui::TextStyle::Underline, true);
    if (select(L"red")) Editor.SetTextColor(RGB(192, 0, 0));
    if (select(L"on yellow")) Editor.SetBackColor(RGB(255, 255, 0));
    if (const auto x = Editor.Find(L"x2", 0)) {
      Editor.SetSelection({x->start + 1, x->end});
      Editor.SetPosition(ui::VerticalPosition::Superscript);
    }
    if (const auto h = Editor.Find(L"H2O", 0)) {
      Editor.SetSelection({h->start + 1, h->start + 2});
      Editor.SetPosition(ui::VerticalPosition::Subscript);
    }
    if (select(L"Centred")) {
      Editor.SetAlignment(ui::ParagraphAlignment::Center);
      select(L"Centred in Times New Roman");
      Editor.SetFontName(L"Times New Roman");
      Editor.SetFontSize(14);
    }
    if (select(L"A bulleted line")) Editor.SetBullets(true);
    if (select(L"Justified")) {
      Editor.SetAlignment(ui::ParagraphAlignment::Justify);
      Editor.SetLeftIndent(20);
    }
    Editor.SetSelection({0, 0});
  }

  snibbet::MenuLook look_;
  ui::ImageList images_{16, 16};
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const bool xp = argc > 1 && std::wcscmp(argv[1], L"xp") == 0;
  const UINT seconds = argc > 2 ? static_cast<UINT>(_wtoi(argv[2])) : 6;
  LocalFree(argv);

  ui::Application& app = ui::Application::Create({.title = L"Editor pieces"});
  LookForm& form = app.CreateForm<LookForm>(xp ? snibbet::MenuLook::Xp : snibbet::MenuLook::Standard);
  form.Show();
  ui::Timer openMenu(1000, [&] {
    openMenu.Stop();
    // Two steps down into the menu once it shows, so one item is selected.
    static ui::Timer select(300, [] {
      if (HWND menu = FindWindowW(L"#32768", nullptr)) {
        select.Stop();
        for (int i = 0; i < 2; ++i) {
          PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
          PostMessageW(menu, WM_KEYUP, VK_DOWN, 0xC0000000);
        }
      }
    });
    select.Start();
    form.tbrRtf.Click(L"tbBackground");
  });
  ui::Timer end(seconds * 1000, [&] {
    EndMenu();
    PostQuitMessage(0);
  });
  openMenu.Start();
  end.Start();
  app.Run();
  ui::Application::Destroy();
  return 0;
}
