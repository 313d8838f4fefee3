#include "core/preset_system.h"

namespace snibbet {
namespace {

constexpr int kMaxLayouts = 40;

std::vector<HKL> SystemKeyboardLayouts() {
  std::vector<HKL> layouts(kMaxLayouts);
  int count = GetKeyboardLayoutList(kMaxLayouts, layouts.data());
  layouts.resize(count > 0 ? static_cast<size_t>(count) : 0);
  return layouts;
}

LANGID SystemUiLanguage() { return GetSystemDefaultUILanguage(); }

KeyboardLayoutQuery g_layoutQuery = &SystemKeyboardLayouts;
UiLanguageQuery g_languageQuery = &SystemUiLanguage;

}  // namespace

std::vector<HKL> InstalledKeyboardLayouts() {
  std::vector<HKL> layouts = g_layoutQuery();
  if (layouts.size() > kMaxLayouts) layouts.resize(kMaxLayouts);
  return layouts;
}

LANGID DefaultUiLanguage() { return g_languageQuery(); }

KeyboardLayoutQuery ReplaceKeyboardLayoutQuery(KeyboardLayoutQuery query) {
  KeyboardLayoutQuery previous = g_layoutQuery;
  g_layoutQuery = query ? query : &SystemKeyboardLayouts;
  return previous;
}

UiLanguageQuery ReplaceUiLanguageQuery(UiLanguageQuery query) {
  UiLanguageQuery previous = g_languageQuery;
  g_languageQuery = query ? query : &SystemUiLanguage;
  return previous;
}

}  // namespace snibbet
