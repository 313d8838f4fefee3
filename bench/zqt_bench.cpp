// Template files with 65,535 templates (about 1 MB of content): save, load,
// merge, and the pop-up's name filter narrowed character by character.
// Prints figures; run inside a Wine session:
//   tools/wine-session wine build/windows/bench/zqt_bench.exe
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "templates/template_files.h"
#include "templates/template_table.h"

namespace {

using namespace snibbet;
using Clock = std::chrono::steady_clock;

constexpr int kRounds = 7;

double Milliseconds(const std::function<void()>& work) {
  const auto start = Clock::now();
  work();
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void Report(const char* what, std::vector<double> times) {
  std::sort(times.begin(), times.end());
  std::printf("%-58s median %9.3f ms   best %9.3f ms\n", what, times[times.size() / 2], times.front());
}

void ReportMicroseconds(const char* what, std::vector<double> milliseconds) {
  std::sort(milliseconds.begin(), milliseconds.end());
  std::printf("%-58s median %9.2f us   best %9.2f us\n", what, 1000 * milliseconds[milliseconds.size() / 2],
              1000 * milliseconds.front());
}

// 65,535 names in no particular order, each with 16 bytes of content.
void Fill(TemplateTable& table) {
  std::mt19937 random(1);
  std::vector<std::string> names;
  std::vector<std::string> contents;
  const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
  for (std::size_t i = 0; i < 65535; ++i) {
    std::string name;
    for (int n = 6 + static_cast<int>(random() % 8); n > 0; --n) name += letters[random() % 52];
    names.push_back(name + std::to_string(i));
    contents.push_back(std::string(16, letters[i % 52]));
  }
  std::vector<TemplateRecordView> views;
  for (std::size_t i = 0; i < names.size(); ++i) views.push_back({names[i], OleDate::Now(), 0, contents[i]});
  table.MergeRecords(views);
}

}  // namespace

int main() {
  SetTemplateErrorSink([](const std::wstring& text) { std::fwprintf(stderr, L"error: %ls\n", text.c_str()); });
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring file = std::wstring(temp) + L"zqt_bench.zqt";

  std::vector<double> saveUnsorted, saveSorted, load, merge, fill;
  for (int round = 0; round < kRounds; ++round) {
    TemplateTable table;
    table.Open();
    fill.push_back(Milliseconds([&] { Fill(table); }));
    saveUnsorted.push_back(Milliseconds([&] { SaveTemplatesToFile(table, file); }));
    saveSorted.push_back(Milliseconds([&] { SaveTemplatesToFile(table, file); }));
    TemplateTable loaded;
    load.push_back(Milliseconds([&] { LoadTemplatesFromFile(loaded, file, false); }));
    merge.push_back(Milliseconds([&] { LoadTemplatesFromFile(loaded, file, true); }));
  }
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data);
  std::printf("65,535 templates, 1 MB of content, a file of %lu bytes\n\n", data.nFileSizeLow);
  Report("filling the table (not a file operation)", fill);
  Report("save, table in no order (sort, write, replace)", saveUnsorted);
  Report("save, table already in name order", saveSorted);
  Report("load into an empty table", load);
  Report("merge the same file into the full table", merge);

  // The pop-up's filter: one more typed character at a time.
  TemplateTable table;
  LoadTemplatesFromFile(table, file, false);
  table.SetFiltered(true);
  const std::string word(table.RowAt(table.RowCount() / 2).Name);
  std::vector<double> perCharacter;
  const auto narrow = [&] {
    for (int repeat = 0; repeat < 100; ++repeat) {
      for (std::size_t n = 0; n <= word.size(); ++n) table.SetFilterText(word.substr(0, n));
    }
  };
  for (int round = 0; round < kRounds; ++round) {
    perCharacter.push_back(Milliseconds(narrow) / (100.0 * static_cast<double>(word.size() + 1)));
  }
  ReportMicroseconds("filter narrowed by one character, table in name order", perCharacter);
  std::printf("%-58s %zu of %zu\n", "  rows shown for the whole word", table.VisibleCount(), table.RowCount());

  table.Last();
  table.Edit();
  table.SetName("!out of order");  // posted at the end: the table is no longer in name order
  table.Post();
  perCharacter.clear();
  for (int round = 0; round < kRounds; ++round) {
    perCharacter.push_back(Milliseconds(narrow) / (100.0 * static_cast<double>(word.size() + 1)));
  }
  ReportMicroseconds("filter narrowed by one character, table out of order", perCharacter);
  DeleteFileW(file.c_str());
  return 0;
}
