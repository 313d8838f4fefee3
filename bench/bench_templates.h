#pragma once
// What the window benchmarks share: many templates with names as real ones
// are, a figure's median and tail, the Wine server's pace, paints finished.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "bench/bench_clock.h"
#include "templates/template_table.h"

namespace bench {

// The most templates a template file holds.
inline constexpr std::size_t kManyTemplates = 65535;

inline void Print(const char* what, std::vector<double> values) {
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
inline std::size_t FillTemplates(snibbet::TemplateTable& table, WordMaker& words, std::size_t count = kManyTemplates) {
  std::vector<std::string> names, contents;
  std::set<std::string> taken;  // lower case
  std::size_t bytes = 0;
  while (names.size() < count) {
    std::string name = words.Name();
    std::string folded = name;
    std::transform(folded.begin(), folded.end(), folded.begin(), [](char c) { return static_cast<char>(tolower(c)); });
    if (!taken.insert(folded).second) continue;
    names.push_back(std::move(name));
  }
  for (std::size_t i = 0; i < count; ++i) {
    std::string text = words.Text(2 + words.Next() % 16);
    if (i % 16 == 0) text = "{\\rtf1\\ansi{\\b " + text + "}\\par}";
    bytes += text.size();
    contents.push_back(std::move(text));
  }
  std::vector<snibbet::TemplateRecordView> views;
  for (std::size_t i = 0; i < names.size(); ++i)
    views.push_back({names[i], snibbet::OleDate::Now(), static_cast<std::uint16_t>(i % 16 == 0 ? 1 : 0), contents[i]});
  table.DisableControls();
  table.MergeRecords(views);
  table.SortByName();
  table.EnableControls();
  return bytes;
}

// The pace of the run, for scale: under Wine nearly every window call waits
// for the Wine server, so the figures follow its round trip.
inline double ServerRoundTrip() {
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

// Every paint the window and its controls wait for, done now.
inline void FinishPaint(HWND form) { RedrawWindow(form, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN); }

inline void Drain() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace bench
