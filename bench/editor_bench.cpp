// The template editor over the pop-up's 65,535 templates (about 1 MB of content):
//  1. opening: the window created, shown on the pop-up's current template and
//     painted, each opening a new window as the Edit button makes it;
//  2. the next template (the Down key in the list): the list's selection, the
//     page of the template's kind, its content and the kind caches, repainted;
//  3. one typed character in the text page and in the rich-text page of a
//     100 KB template, its change taken into the template, repainted.
// Prints figures; it is not a test. Run inside a Wine session, held to one CPU
// as the pop-up's benchmark is:
//   taskset -c 2 tools/wine-session wine build/windows/bench/editor_bench.exe
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_clock.h"
#include "bench/bench_templates.h"
#include "dialogs/template_setup_form.h"
#include "tests/unit/editor_test_support.h"
#include "ui/application.h"

namespace {

using bench::Drain;
using bench::FinishPaint;
using bench::Milliseconds;
using bench::Now;
using bench::Print;

using namespace snibbet;

constexpr int kOpenings = 25;
constexpr int kMoves = 300;
constexpr int kTypedCharacters = 200;
constexpr std::size_t kLargeTemplate = 100 * 1024;

std::unique_ptr<TTemplateSetupForm> Open(TemplateTable& table, TemplateFileSystem& files) {
  auto form = std::make_unique<TTemplateSetupForm>(table, files);
  form->Create();
  form->Show();
  FinishPaint(form->Handle());
  return form;
}

// A template of `bytes` of text, as plain text or wrapped as a rich-text document.
void AddLargeTemplate(TemplateTable& table, bench::WordMaker& words, const char* name, bool rich) {
  std::string text = words.Text(kLargeTemplate);
  if (rich) {
    std::string escaped;
    for (char c : text) escaped += c == '\n' ? std::string("\\par\n") : c == '\r' ? std::string() : std::string(1, c);
    text = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 " + escaped + "}";
  }
  table.Append();
  table.SetName(name);
  table.SetKind(rich ? kTemplateRichText : kTemplateText);
  table.SetTemplate(text);
  table.Post();
}

std::vector<double> TypeInto(HWND control, HWND form) {
  std::vector<double> times;
  SendMessageW(control, WM_KEYDOWN, VK_END, 0);
  for (int i = 0; i < kTypedCharacters; ++i) {
    const LONGLONG start = Now();
    SendMessageW(control, WM_CHAR, i % 10 == 9 ? L' ' : static_cast<WPARAM>(L'a' + i % 26), 1);
    Drain();  // the change notifications the control posts
    FinishPaint(form);
    times.push_back(Milliseconds(Now() - start));
  }
  return times;
}

}  // namespace

int main() {
  ui::Application::Create({.title = L"editor bench"});
  {
    TemplateTable table;
    FakeFiles files(table);
    bench::WordMaker words(11);
    const std::size_t bytes = bench::FillTemplates(table, words);
    std::printf("%zu templates, %zu bytes of content\n\n", table.RowCount(), bytes);
    table.LocateName(table.RowAt(table.RowCount() / 2).Name);

    std::vector<double> openings;
    for (int i = 0; i < kOpenings; ++i) {
      const LONGLONG start = Now();
      std::unique_ptr<TTemplateSetupForm> form = Open(table, files);
      openings.push_back(Milliseconds(Now() - start));
      form->Destroy();
      Drain();
    }
    Print("opening: created, shown and painted", openings);

    std::unique_ptr<TTemplateSetupForm> form = Open(table, files);
    const HWND window = form->Handle();
    const HWND list = form->Grid().Handle();
    SetFocus(list);
    Drain();
    std::vector<double> moves;
    for (int i = 0; i < kMoves; ++i) {
      const LONGLONG start = Now();
      SendMessageW(list, WM_KEYDOWN, VK_DOWN, 0);
      SendMessageW(list, WM_KEYUP, VK_DOWN, 0);
      Drain();
      FinishPaint(window);
      moves.push_back(Milliseconds(Now() - start));
    }
    Print("next template (Down): page, content, caches, repaint", moves);

    AddLargeTemplate(table, words, "~large text", false);
    AddLargeTemplate(table, words, "~large rich text", true);
    table.LocateName("~large text");
    Drain();
    FinishPaint(window);
    Print("a typed character, text page of 100 KB", TypeInto(form->Memo().Handle(), window));
    table.LocateName("~large rich text");
    Drain();
    FinishPaint(window);
    Print("a typed character, rich-text page of 100 KB", TypeInto(form->Editor().Handle(), window));
    form->Destroy();
  }
  ui::Application::Destroy();
  return 0;
}
