#include "core/key_names.h"

#include <array>
#include <cctype>

namespace snibbet {
namespace {

using Table = std::array<std::string_view, 256>;  // index 0 unused

constexpr Table BuildTable() {
  Table t{};
  constexpr std::string_view low[] = {"LBUTTON", "RBUTTON", "Break", "MBUTTON", "XBUTTON1", "XBUTTON2"};
  for (int i = 0; i < 6; ++i) t[1 + i] = low[i];
  t[8] = "Back"; t[9] = "Tab"; t[12] = "Clear"; t[13] = "Enter";
  constexpr std::string_view mods[] = {"Shift", "Ctrl", "Alt", "Pause", "Caps", "KANA"};
  for (int i = 0; i < 6; ++i) t[16 + i] = mods[i];
  t[23] = "JUNJA"; t[24] = "FINAL"; t[25] = "HANJA";
  constexpr std::string_view ime[] = {"Esc", "CONVERT", "NONCONVERT", "ACCEPT", "MODECHANGE"};
  for (int i = 0; i < 5; ++i) t[27 + i] = ime[i];
  constexpr std::string_view nav[] = {"Space", "PgUp", "PgDn", "End", "Home", "Left", "Up", "Right",
                                      "Down", "SELECT", "PRINT", "EXECUTE", "PrtScr", "Ins", "Del", "HELP"};
  for (int i = 0; i < 16; ++i) t[32 + i] = nav[i];
  constexpr std::string_view digits[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
  for (int i = 0; i < 10; ++i) t[48 + i] = digits[i];
  constexpr std::string_view letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  for (int i = 0; i < 26; ++i) t[65 + i] = letters.substr(i, 1);
  t[91] = "Win"; t[92] = "RWin"; t[93] = "Apps"; t[95] = "Sleep";
  constexpr std::string_view pad[] = {"Nm 0", "Nm 1", "Nm 2", "Nm 3", "Nm 4", "Nm 5", "Nm 6", "Nm 7",
                                      "Nm 8", "Nm 9", "Nm *", "Nm +", "Sepr.", "Nm -", "Nm .", "Nm /"};
  for (int i = 0; i < 16; ++i) t[96 + i] = pad[i];
  constexpr std::string_view fkeys[] = {"F1",  "F2",  "F3",  "F4",  "F5",  "F6",  "F7",  "F8",
                                        "F9",  "F10", "F11", "F12", "F13", "F14", "F15", "F16",
                                        "F17", "F18", "F19", "F20", "F21", "F22", "F23", "F24"};
  for (int i = 0; i < 24; ++i) t[112 + i] = fkeys[i];
  t[144] = "NumLock"; t[145] = "ScrollLock";
  constexpr std::string_view oem[] = {"NEC_EQUAL", "FJ_JISHO", "FJ_MASSHOU", "FJ_TOUROKU", "FJ_LOYA", "FJ_ROYA"};
  for (int i = 0; i < 6; ++i) t[146 + i] = oem[i];
  constexpr std::string_view sided[] = {"Shift", "Shift", "Ctrl", "Ctrl", "Alt", "AltGr"};
  for (int i = 0; i < 6; ++i) t[160 + i] = sided[i];
  constexpr std::string_view media[] = {
      "BROWSER_BACK", "BROWSER_FORWARD", "BROWSER_REFRESH", "BROWSER_STOP", "BROWSER_SEARCH",
      "BROWSER_FAVORITES", "BROWSER_HOME", "VOLUME_MUTE", "VOLUME_DOWN", "VOLUME_UP",
      "MEDIA_NEXT_TRACK", "MEDIA_PREV_TRACK", "MEDIA_STOP", "MEDIA_PLAY_PAUSE", "LAUNCH_MAIL",
      "LAUNCH_MEDIA_SELECT", "LAUNCH_APP1", "LAUNCH_APP2"};
  for (int i = 0; i < 18; ++i) t[166 + i] = media[i];
  constexpr std::string_view punct[] = {":", "+", ",", "-", ".", "?", "~"};
  for (int i = 0; i < 7; ++i) t[186 + i] = punct[i];
  constexpr std::string_view brackets[] = {"{", "\\", "}", "\"", "8"};
  for (int i = 0; i < 5; ++i) t[219 + i] = brackets[i];
  t[226] = "\\"; t[229] = "PROCESSKEY"; t[231] = "PACKET";
  constexpr std::string_view tail[] = {"RESET", "JUMP", "PA1", "PA2", "PA3", "WSCTRL", "CUSEL", "ATTN",
                                       "FINNISH", "COPY", "AUTO", "ENLW", "BACKTAB", "ATTN", "CRSEL",
                                       "EXSEL", "EREOF", "PLAY", "ZOOM", "NONAME", "PA1", "CLEAR"};
  for (int i = 0; i < 22; ++i) t[233 + i] = tail[i];
  return t;
}

constexpr Table kNames = BuildTable();

bool EqualsUpper(std::string_view name, std::string_view upper) {
  if (name.size() != upper.size()) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(name[i])) != static_cast<unsigned char>(upper[i])) return false;
  }
  return true;
}

}  // namespace

std::string_view VirtualKeyName(int vk) {
  if (vk < 1 || vk > 255) return {};
  return kNames[vk];
}

int VirtualKeyByName(std::string_view upperName) {
  if (upperName.empty()) return 0;
  for (int vk = 1; vk <= 255; ++vk) {
    if (!kNames[vk].empty() && EqualsUpper(kNames[vk], upperName)) return vk;
  }
  return 0;
}

}  // namespace snibbet
