#include "hub/tray_menu.h"

#include <memory>

#include "core/lang_table.h"
#include "core/product_name.h"
#include "core/text_utils.h"
#include "visual/color_swatch_painters.h"
#include "keyboard/actions.h"
#include "ui/standard_menu_painter.h"
#include "visual/xp_menu_painter.h"

namespace snibbet {
namespace {

constexpr int kShowWindowKind = 8;

// The window item a kind-8 binding opens, by its parameter; none for others.
const wchar_t* WindowItemOfParameter(int parameter) {
  switch (parameter) {
    case 0: return L"pmiShowClipboardManager";
    case 1: return L"pmiShowTemplatesManager";
    case 3: return L"pmiActionSetup";
    case 4: return L"pmiShowMainKeyboard";
    default: return nullptr;
  }
}

void CollectCaptions(const ui::MenuItem& item, const std::wstring& indent, std::vector<std::wstring>& out) {
  for (const auto& child : item.Items()) {
    if (!child->visible) continue;
    out.push_back(indent + child->caption);
    CollectCaptions(*child, indent + L"  ", out);
  }
}

}  // namespace

PopupMenuStyle PopupMenuStyleForOS() {
  return MenuLookForSystem() == MenuLook::Standard ? PopupMenuStyle::Standard : PopupMenuStyle::XP;
}

bool TrayMenuShownRightToLeft() {
  DWORD layout = 0;
  return GetSystemMetrics(SM_MIDEASTENABLED) != 0 && GetProcessDefaultLayout(&layout) && (layout & LAYOUT_RTL) != 0;
}

TrayMenu::TrayMenu(const TrayMenuHandlers& handlers) : pmTray_(nullptr, L"pmTray") {
  Build(handlers);
  SetStyle(style_);
  ApplyLanguage(false);
}

void TrayMenu::SetStyle(PopupMenuStyle style) {
  style_ = style;
  if (style == PopupMenuStyle::XP) {
    pmTray_.SetPainter(std::make_unique<XpMenuItemPainter>());
  } else {
    pmTray_.SetPainter(std::make_unique<ui::StandardMenuItemPainter>());
  }
}

// Items that are not offered stay in the menu, hidden, so their names hold.
void TrayMenu::Build(const TrayMenuHandlers& h) {
  auto hidden = [](ui::MenuItem& item) { item.visible = false; };
  pmTray_.Add(L"pmiActive", {}, h.active).imageIndex = 7;
  pmTray_.Add(L"pmiSoundEnabled", {}, h.soundEnabled);
  hidden(pmTray_.Add(L"pmiFloatingWindowKb", {}));
  hidden(pmTray_.Add(L"pmiFloatingWindowLang", {}));
  hidden(pmTray_.Add(L"pmiShowMainKeyboard", {}, h.showMainKeyboard));
  hidden(pmTray_.Add(L"pmiShowClipboardManager", {}));
  pmTray_.Add(L"pmiShowTemplatesManager", {}, h.showTemplates);
  hidden(pmTray_.AddSeparator(L"pmiSepr1"));
  ui::MenuItem& actionSetup = pmTray_.Add(L"pmiActionSetup", {});
  actionSetup.imageIndex = 37;
  actionSetup.isDefault = true;
  hidden(actionSetup);
  ui::MenuItem& openActionFile = pmTray_.Add(L"pmiOpenActionFile", {});
  openActionFile.imageIndex = 21;
  hidden(openActionFile);
  ui::MenuItem& recordMacro = pmTray_.Add(L"pmiRecordMacro", {});
  recordMacro.imageIndex = 51;
  hidden(recordMacro);
  pmTray_.AddSeparator(L"pmiSepr2");
  hidden(pmTray_.AddSeparator(L"pmiSepr3"));
  pmTray_.Add(L"pmiSettings", {}, h.settings).imageIndex = 5;
  pmTray_.AddSeparator(L"pmiSepr4");
  ui::MenuItem& addInfo = pmTray_.Add(L"pmiAddInfo", {});
  addInfo.imageIndex = 2;
  addInfo.Add(L"pmiHelp", {}, h.help).imageIndex = 2;
  addInfo.Add(L"pmiWWW", {}, h.www).imageIndex = 3;
  addInfo.Add(L"pmiMail", {}, h.mail).imageIndex = 4;
  addInfo.Add(L"pmiForum", {}, h.forum).imageIndex = 52;
  addInfo.Add(L"pmiRequestFeature", {}, h.requestFeature).imageIndex = 52;
  addInfo.Add(L"pmiReportBug", {}, h.reportBug).imageIndex = 41;
  addInfo.Add(L"pmiCheckNewVersion", {}, h.checkNewVersion).imageIndex = 1;
  pmTray_.Add(L"pmiAbout", {}, h.about).imageIndex = 43;
  pmTray_.AddSeparator(L"pmiSepr5");
  pmTray_.Add(L"pmiClose", {}, h.close).imageIndex = 16;
}

void TrayMenu::SetWindowItemCaptions() {
  Item(L"pmiShowMainKeyboard").caption = LangText(36, L"On-screen keyboard");
  Item(L"pmiShowClipboardManager").caption = LangText(328, L"Clipboard manager");
  Item(L"pmiShowTemplatesManager").caption = LangText(331, L"Templates");
  Item(L"pmiActionSetup").caption = LangText(24, L"Key bindings");
}

void TrayMenu::ApplyLanguage(bool active) {
  ShowActive(active);
  Item(L"pmiSoundEnabled").caption = LangText(567, L"Sounds");
  Item(L"pmiFloatingWindowKb").caption = LangText(582, L"Floating keyboard window");
  Item(L"pmiFloatingWindowLang").caption = LangText(588, L"Floating language window");
  SetWindowItemCaptions();
  Item(L"pmiOpenActionFile").caption = LangText(315, L"Open binding file");
  Item(L"pmiRecordMacro").caption = LangText(632, L"Record macro");
  Item(L"pmiSettings").caption = LangText(316, L"Settings");
  Item(L"pmiAddInfo").caption = LangText(104, L"Information");
  Item(L"pmiHelp").caption = LangText(406, L"Help") + L": " + kProductName + L"\tF1";
  Item(L"pmiWWW").caption = LangText(318, L"Web site");
  Item(L"pmiMail").caption = LangText(319, L"Write to support");
  Item(L"pmiForum").caption = LangText(552, L"Forum");
  Item(L"pmiRequestFeature").caption = LangText(553, L"Request a feature");
  Item(L"pmiReportBug").caption = LangText(302, L"Report a bug");
  Item(L"pmiCheckNewVersion").caption = LangText(321, L"Check for a new version");
  Item(L"pmiAbout").caption = FormatText(LangText(322, L"About %1"), {kProductName});
  Item(L"pmiClose").caption = LangText(323, L"Exit");
}

void TrayMenu::ShowActive(bool active) {
  ui::MenuItem& item = Item(L"pmiActive");
  item.caption = active ? LangText(29, L"Active") : LangText(30, L"Inactive");
  item.imageIndex = active ? 8 : 7;
}

void TrayMenu::Refresh(const TQvActions* bindings, bool soundEnabled) {
  Item(L"pmiSoundEnabled").checked = soundEnabled;
  if (!bindings) return;
  SetWindowItemCaptions();
  for (std::size_t i = 0; i < bindings->Size(); ++i) {
    const TQvAction& binding = bindings->At(i);
    if (binding.Kind() != kShowWindowKind) continue;
    if (const wchar_t* name = WindowItemOfParameter(binding.Param())) {
      Item(name).caption += L" (" + binding.GetShortcutText() + L")";
    }
  }
}

void TrayMenu::EnableManagerItems(bool enabled) {
  for (const wchar_t* name : {L"pmiFloatingWindowKb", L"pmiFloatingWindowLang", L"pmiShowMainKeyboard",
                              L"pmiShowClipboardManager", L"pmiShowTemplatesManager"}) {
    Item(name).enabled = enabled;
  }
}

void TrayMenu::DisableLockedItems() {
  for (const wchar_t* name : {L"pmiActive", L"pmiSoundEnabled", L"pmiFloatingWindowKb", L"pmiFloatingWindowLang",
                              L"pmiShowMainKeyboard", L"pmiShowClipboardManager", L"pmiShowTemplatesManager",
                              L"pmiActionSetup", L"pmiOpenActionFile", L"pmiRecordMacro", L"pmiSettings",
                              L"pmiClose"}) {
    Item(name).enabled = false;
  }
}

std::vector<std::wstring> TrayMenu::ShownCaptions() const {
  std::vector<std::wstring> captions;
  for (const auto& item : pmTray_.Items()) {
    if (!item->visible) continue;
    captions.push_back(item->caption);
    CollectCaptions(*item, L"  ", captions);
  }
  return captions;
}

}  // namespace snibbet
