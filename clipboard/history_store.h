#pragma once
// The clipboard history on disk: numbered item files in the clipboard folder
// and the two index files, "ClipboardInfo.txt" (newest first, written after
// every save) and "FavoritesInfo.txt" (read only: an item whose line stands
// there keeps its files when it leaves the history). Window-free: what an
// item holds is gathered by the clipboard monitor.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "clipboard/history_index.h"

namespace snibbet {

inline constexpr wchar_t kHistoryIndexFile[] = L"ClipboardInfo.txt";
inline constexpr wchar_t kFavouritesIndexFile[] = L"FavoritesInfo.txt";
// Every file an item may have, by what follows its number.
inline constexpr const wchar_t* kHistoryItemSuffixes[] = {L"small.bmp", L".bmp", L".txt", L".fmt", L".ico", L".stm"};

class ClipboardHistoryStore {
 public:
  enum class List { History, Favourites };

  explicit ClipboardHistoryStore(std::filesystem::path folder);

  // Reads the index files that exist (a missing or damaged one is an empty
  // list) and finds the last item number in the history.
  void LoadIndexes();

  int ItemNumber() const { return itemNumber_; }
  const std::vector<std::wstring>& History() const { return history_; }
  const std::vector<std::wstring>& Favourites() const { return favourites_; }
  const std::filesystem::path& Folder() const { return folder_; }

  // Moves on to the next item number and returns it. What an older item of
  // the same number left (after the numbers came round) goes first.
  int TakeNextNumber();

  std::filesystem::path ItemFile(int number, std::wstring_view suffix) const;
  // Errors are not reported: a file that cannot be written is missing.
  void WriteItemFile(int number, std::wstring_view suffix, std::string_view bytes) const;
  void WriteItemText(int number, std::wstring_view suffix, std::wstring_view text) const;
  void DeleteItemFile(int number, std::wstring_view suffix) const;

  // The saved item's line goes first into the history; with `uniqueHash`
  // the first older line of that hash goes first. Then the oldest items go
  // while more than `maxItems` (never more than kMostHistoryItems) are
  // listed, and the history is written.
  void AddItem(const std::wstring& line, std::optional<std::int32_t> uniqueHash, int maxItems);

  // Takes the line out of the list; its item's files are deleted unless the
  // history or the favourites still hold the same line.
  void DeleteHistoryItem(List list, const std::wstring& line);

 private:
  void DeleteItemFiles(int number) const;
  bool WriteHistory() const;

  std::filesystem::path folder_;
  std::vector<std::wstring> history_;
  std::vector<std::wstring> favourites_;
  int itemNumber_ = 0;
};

}  // namespace snibbet
