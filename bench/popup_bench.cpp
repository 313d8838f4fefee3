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
#include "templates/template_view_form.h"
#include "ui/application.h"

namespace {

using bench::Now;
using bench::Milliseconds;

using namespace snibbet;

constexpr std::size_t kTemplates = 65535;
constexpr int kTypedRuns = 120;  // each types a few characters of a name and erases some
constexpr int kPreviewMoves = 300;



void Print(const char* what, std::vector<double> values) {
  if (values.empty()) return;
  std::sort(values.begin(), values.end());
  const auto at = [&](double share) { return values[static_cast<std::size_t>(share * (values.size() - 1))]; };
  std::printf("%-52s median %8.3f ms   p99 %8.3f ms   max %8.3f ms   (n=%zu)\n", what, at(0.5), at(0.99),
              values.back(), values.size());
}

// Words made of syllables, so names share prefixes the way real names do.
class WordMaker {
 public:
  explicit WordMaker(unsigned seed) : random_(seed) {}
  std::string Word() {
    static const char* const syllables[] = {"ad", "al", "an", "ar", "be", "bo", "ca", "co", "de", "di", "el",
                                            "en", "er", "fo", "ga", "he", "in", "is", "ka", "la", "le", "li",
                                            "ma", "me", "mo", "na", "ne", "no", "or", "pa", "pe", "ra", "re",
                                            "ri", "ro", "sa", "se", "si", "so", "ta", "te", "ti", "to", "un",
                                            "va", "ve", "wa", "we", "ya", "zo", "st", "th", "sh", "qu"};
    std::string word;
    for (int n = 2 + static_cast<int>(random_() % 3); n > 0; --n) word += syllables[random_() % std::size(syllables)];
    if (random_() % 4 == 0) word += "s";
    return word;
  }
  std::string Name() {
    std::string name = Word();
    if (random_() % 3 == 0) name.append(" ").append(Word());
    if (random_() % 10 == 0) name[0] = static_cast<char>(name[0] - 'a' + 'A');
    return name;
  }
  std::string Text(std::size_t bytes) {
    std::string text;
    while (text.size() < bytes) text += Word() + (random_() % 8 == 0 ? ".\r\n" : " ");
    return text;
  }
  unsigned Next() { return random_(); }

 private:
  std::mt19937 random_;
};

// 65,535 distinct names in name order; one template in 16 is rich text.
std::size_t Fill(TemplateTable& table, WordMaker& words) {
  std::vector<std::string> names, contents;
  std::set<std::string> taken;  // lower case
  std::size_t bytes = 0;
  while (names.size() < kTemplates) {
    std::string name = words.Name();
    std::string folded = name;
    std::transform(folded.begin(), folded.end(), folded.begin(), [](char c) { return static_cast<char>(tolower(c)); });
    if (!taken.insert(folded).second) continue;
    names.push_back(std::move(name));
  }
  for (std::size_t i = 0; i < kTemplates; ++i) {
    std::string text = words.Text(2 + words.Next() % 16);
    if (i % 16 == 0) text = "{\\rtf1\\ansi{\\b " + text + "}\\par}";
    bytes += text.size();
    contents.push_back(std::move(text));
  }
  std::vector<TemplateRecordView> views;
  for (std::size_t i = 0; i < names.size(); ++i)
    views.push_back({names[i], OleDate::Now(), static_cast<std::uint16_t>(i % 16 == 0 ? 1 : 0), contents[i]});
  table.DisableControls();
  table.MergeRecords(views);
  table.SortByName();
  table.EnableControls();
  return bytes;
}

// The pace of the run, for scale: under Wine nearly every window call waits
// for the Wine server, so the figures follow its round trip.
double ServerRoundTrip() {
  const HANDLE event = CreateEventW(nullptr, TRUE, TRUE, nullptr);
  std::vector<double> times;
  for (int i = 0; i < 100; ++i) {
    const LONGLONG start = Now();
    WaitForSingleObject(event, 0);
    times.push_back(Milliseconds(Now() - start));
  }
  CloseHandle(event);
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// Every paint the pop-up and its controls wait for, done now.
void FinishPaint(HWND form) { RedrawWindow(form, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

void Drain() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

std::wstring Lower(const std::string& text) {
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
    TTemplateViewForm form;
    form.Create();
    WordMaker words(7);
    const std::size_t bytes = Fill(form.Templates(), words);
    std::printf("%zu templates, %zu bytes of content\n", form.Templates().RowCount(), bytes);

    ShowTemplateView();
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
