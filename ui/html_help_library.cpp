#include "ui/html_help_library.h"

namespace ui {
namespace {

// Wide entry: the program's file names are wide.
constexpr char kHtmlHelpEntry[] = "HtmlHelpW";

struct HtmlHelpModule {
  HMODULE module = nullptr;
  HtmlHelpFunction entry = nullptr;
  ~HtmlHelpModule() {
    if (module) FreeLibrary(module);
  }
};

HtmlHelpModule& Module() {
  static HtmlHelpModule module;
  return module;
}

}  // namespace

bool LoadHtmlHelp() {
  HtmlHelpModule& state = Module();
  if (!state.module) {
    state.entry = nullptr;
    state.module = LoadLibraryW(L"HHCTRL.OCX");
    if (state.module) state.entry = reinterpret_cast<HtmlHelpFunction>(GetProcAddress(state.module, kHtmlHelpEntry));
  }
  return state.module != nullptr;
}

bool IsHtmlHelpLoaded() { return Module().module != nullptr; }

HtmlHelpFunction EnsureHtmlHelp() {
  if (!IsHtmlHelpLoaded()) LoadHtmlHelp();
  return Module().entry;
}

}  // namespace ui
