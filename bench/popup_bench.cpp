// The template pop-up with 65,535 templates (about 1 MB of content), shown
// without activation as the hotkey shows it, narrowed and widened one typed
// character at a time:
//  1. per character: the refilter (SetSearch) and the repaint it causes,
//     finished (every pending paint of the pop-up and its controls done),
//     over a few hundred typed characters and Backspaces;
//  2. the same split into the refilter alone and the repaint alone;
//  3. the preview: moving to the next template (as the Down key does) and
//     repainting.
// Prints figures; it is not a test. Run inside a Wine session, held to one
// CPU so that the Wine server's replies do not wait for another CPU to wake
// (which makes every figure several times larger and unsteady):
//   taskset -c 2 tools/wine-session wine build/windows/bench/popup_bench.exe
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cwctype>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "bench/bench_clock.h"
#include "bench/bench_templates.h"
#include "core/foreground_state.h"
#include "templates/template_view_form.h"
#include "ui/application.h"

namespace {

using bench::Drain;
using bench::FinishPaint;
using bench::Milliseconds;
using bench::Now;
using bench::Print;
using bench::ServerRoundTrip;
using bench::WordMaker;

using namespace snibbet;

constexpr int kTypedRuns = 120;  // each types a few characters of a name and erases some
constexpr int kPreviewMoves = 300;



std::wstring Lower(std::string_view text) {
  std::wstring wide(text.begin(), text.end());
  for (wchar_t& ch : wide) ch = static_cast<wchar_t>(towlower(ch));
  return wide;
}

// The searches a user goes through: a few characters of a name typed, then
// some erased, now and then a character nothing matches.
std::vector<std::wstring> TypingSequence(const TemplateTable& table, WordMaker& words) {
  std::vector<std::wstring> searches;
  std::wstring search;
  for (int run = 0; run < kTypedRuns; ++run) {
    const std::wstring name = Lower(table.RowAt(words.Next() % table.RowCount()).Name);
    const std::size_t typed = std::min<std::size_t>(name.size(), 1 + words.Next() % 6);
    search.clear();
    searches.push_back(search);
    for (std::size_t i = 0; i < typed; ++i) searches.push_back(search += name[i]);
    if (words.Next() % 5 == 0) searches.push_back(search += L'x');
    for (std::size_t erase = 1 + words.Next() % search.size(); erase > 0; --erase) {
      search.pop_back();
      searches.push_back(search);
    }
  }
  return searches;
}

}  // namespace

int main() {
  ui::Application::Create({.title = L"popup bench"});
  // No keyboard runtime: the pop-up's input block asks nobody.
  {
    TTemplateViewForm form(PopupProgramParts{.foreground = Foreground()});
    form.Create();
    WordMaker words(7);
    const std::size_t bytes = bench::FillTemplates(form.Templates(), words);
    std::printf("%zu templates, %zu bytes of content\n", form.Templates().RowCount(), bytes);

    form.ShowTemplateView();
    const HWND window = form.Handle();
    FinishPaint(window);
    Drain();
    std::printf("shown: %s, active window is the pop-up: %s, rows in the list: %d\n\n",
                IsWindowVisible(window) ? "yes" : "no", GetActiveWindow() == window ? "yes" : "no",
                form.Grid().Count());

    const std::vector<std::wstring> searches = TypingSequence(form.Templates(), words);
    std::vector<double> total, typed, erased, filter, paint, roundTrips;
    std::size_t previous = 0;
    for (const std::wstring& search : searches) {
      if (total.size() % 20 == 0) roundTrips.push_back(ServerRoundTrip());
      const LONGLONG start = Now();
      form.SetSearch(search);
      const LONGLONG filtered = Now();
      FinishPaint(window);
      const LONGLONG painted = Now();
      total.push_back(Milliseconds(painted - start));
      filter.push_back(Milliseconds(filtered - start));
      paint.push_back(Milliseconds(painted - filtered));
      (search.size() > previous ? typed : erased).push_back(Milliseconds(painted - start));
      previous = search.size();
      Drain();
    }
    Print("per character: refilter + repaint finished", total);
    Print("  typed characters", typed);
    Print("  Backspaces (and the cleared search)", erased);
    Print("  the refilter alone (SetSearch)", filter);
    Print("  the repaint alone", paint);

    form.SetSearch(L"");
    FinishPaint(window);
    std::vector<double> moves;
    for (int i = 0; i < kPreviewMoves; ++i) {
      const LONGLONG start = Now();
      form.Templates().Next();
      FinishPaint(window);
      moves.push_back(Milliseconds(Now() - start));
      Drain();
    }
    Print("next template: selection, preview, repaint finished", moves);
    roundTrips.push_back(ServerRoundTrip());
    std::sort(roundTrips.begin(), roundTrips.end());
    std::printf("\nfor scale, a Wine server round trip during the run: median %.1f us\n",
                1000 * roundTrips[roundTrips.size() / 2]);
    form.HideView();
    form.Destroy();
  }
  ui::Application::Destroy();
  return 0;
}
