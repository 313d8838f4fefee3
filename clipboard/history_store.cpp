#include "clipboard/history_store.h"

#include <algorithm>
#include <fstream>

#include "core/utf8.h"

namespace snibbet {
namespace {

// An index file's lines, read piece by piece; a missing file and a damaged
// one (far larger than the store writes one) are empty lists.
std::vector<std::wstring> ReadIndexFile(const std::filesystem::path& path) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error || size > kHistoryIndexMostBytes) return {};
  std::ifstream file(path, std::ios::binary);
  if (!file) return {};
  HistoryIndexReader reader;
  std::string piece(64 * 1024, '\0');
  while (file) {
    file.read(piece.data(), static_cast<std::streamsize>(piece.size()));
    if (!reader.Feed(std::string_view(piece.data(), static_cast<std::size_t>(file.gcount())))) return {};
  }
  if (file.bad()) return {};
  return reader.Finish().value_or(std::vector<std::wstring>{});
}

bool WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) return false;
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file);
}

}  // namespace

ClipboardHistoryStore::ClipboardHistoryStore(std::filesystem::path folder) : folder_(std::move(folder)) {}

void ClipboardHistoryStore::LoadIndexes() {
  history_.clear();
  favourites_.clear();
  history_ = ReadIndexFile(folder_ / kHistoryIndexFile);
  favourites_ = ReadIndexFile(folder_ / kFavouritesIndexFile);
  itemNumber_ = LastItemNumber(history_);
}

int ClipboardHistoryStore::TakeNextNumber() {
  itemNumber_ = NextItemNumber(itemNumber_);
  // After 999999 the numbers start again at 1: the new item must not mix its
  // files with an old one's, nor share its line.
  std::vector<std::wstring> stale;
  for (const auto& line : history_) {
    if (ItemNumberOfLine(line) == itemNumber_) stale.push_back(line);
  }
  for (const auto& line : stale) DeleteHistoryItem(List::History, line);
  if (!stale.empty()) WriteHistory();
  DeleteItemFiles(itemNumber_);
  return itemNumber_;
}

std::filesystem::path ClipboardHistoryStore::ItemFile(int number, std::wstring_view suffix) const {
  return folder_ / (std::to_wstring(number) + std::wstring(suffix));
}

void ClipboardHistoryStore::WriteItemFile(int number, std::wstring_view suffix, std::string_view bytes) const {
  WriteBytes(ItemFile(number, suffix), bytes);
}

void ClipboardHistoryStore::WriteItemText(int number, std::wstring_view suffix, std::wstring_view text) const {
  WriteItemFile(number, suffix, std::string(kUtf8Bom) + WideToUtf8(text));
}

void ClipboardHistoryStore::DeleteItemFile(int number, std::wstring_view suffix) const {
  std::error_code ignored;
  std::filesystem::remove(ItemFile(number, suffix), ignored);
}

void ClipboardHistoryStore::DeleteItemFiles(int number) const {
  for (const wchar_t* suffix : kHistoryItemSuffixes) DeleteItemFile(number, suffix);
}

void ClipboardHistoryStore::AddItem(const std::wstring& line, std::optional<std::int32_t> uniqueHash, int maxItems) {
  if (uniqueHash) {
    const auto duplicate = std::find_if(history_.begin(), history_.end(),
                                        [&](const std::wstring& held) { return HashOfLine(held) == uniqueHash; });
    if (duplicate != history_.end()) DeleteHistoryItem(List::History, std::wstring(*duplicate));
  }
  history_.insert(history_.begin(), line);
  // More than a reader takes back is never written.
  maxItems = std::min(maxItems, kMostHistoryItems);
  while (!history_.empty() && static_cast<std::int64_t>(history_.size()) > maxItems)
    DeleteHistoryItem(List::History, std::wstring(history_.back()));
  WriteHistory();
}

void ClipboardHistoryStore::DeleteHistoryItem(List list, const std::wstring& line) {
  std::vector<std::wstring>& lines = list == List::History ? history_ : favourites_;
  const auto found = std::find(lines.begin(), lines.end(), line);
  if (found == lines.end()) return;
  lines.erase(found);
  const auto holds = [&](const std::vector<std::wstring>& held) {
    return std::find(held.begin(), held.end(), line) != held.end();
  };
  if (!holds(history_) && !holds(favourites_)) DeleteItemFiles(ItemNumberOfLine(line));
}

bool ClipboardHistoryStore::WriteHistory() const {
  return WriteBytes(folder_ / kHistoryIndexFile, WriteHistoryIndex(history_));
}

}  // namespace snibbet
