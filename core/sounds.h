#pragma once
// The program's event sounds: nine slots, each an entry as the user typed it
// and the ".wav" file it resolves to. Window-free.
#include <functional>
#include <string>

namespace snibbet {

enum SoundSlot : int {
  kSoundKeyboardCharSent = 0,     // keyboard window: a character key sent
  kSoundKeyboardEraseSent = 1,    // keyboard window: Backspace or Delete sent
  kSoundKeyboardOtherSent = 2,    // keyboard window: another key or a modifier clicked
  kSoundCharTyped = 3,            // a character key typed
  kSoundEraseTyped = 4,           // Backspace or Delete typed
  kSoundOtherTyped = 5,           // another key typed
  kSoundActionStarts = 6,         // a binding's action starts
  kSoundLayoutApplied = 7,        // a keyboard layout applied for the foreground window
  kSoundClipboardChanged = 8,     // the clipboard changed
  kSoundSlotCount = 9,
};

// The file an entry names: a name without a folder lies in `soundFolder`
// (which ends in "\"), ".wav" is added unless the name ends in it (any case),
// and the result is "" when the entry is empty or no such file exists.
std::wstring ResolveSoundFile(const std::wstring& entry, const std::wstring& soundFolder,
                              const std::function<bool(const std::wstring& path)>& fileExists);

}  // namespace snibbet
