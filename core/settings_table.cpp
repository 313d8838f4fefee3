#include "core/settings_table.h"

#include <type_traits>
#include <vector>

#include "core/preset.h"

namespace snibbet {
namespace {

template <class T>
SettingValue ToStored(const T& value) {
  if constexpr (std::is_same_v<T, bool> || std::is_same_v<T, std::wstring>) {
    return value;
  } else if constexpr (std::is_same_v<T, HKL>) {
    return StoredFromLayout(value);
  } else {
    return static_cast<std::int32_t>(value);
  }
}

template <class T>
T FromStored(const SettingValue& value) {
  if constexpr (std::is_same_v<T, bool> || std::is_same_v<T, std::wstring>) {
    return std::get<T>(value);
  } else if constexpr (std::is_same_v<T, HKL>) {
    return LayoutFromStored(std::get<std::int32_t>(value));
  } else {
    return static_cast<T>(std::get<std::int32_t>(value));
  }
}

template <auto Field>
SettingValue GetField(const TPreset& preset, int) {
  return ToStored(preset.*Field);
}
template <auto Field>
void AssignField(TPreset& preset, int, const SettingValue& value) {
  auto& field = preset.*Field;
  field = FromStored<std::remove_cvref_t<decltype(field)>>(value);
}
template <auto Array>
SettingValue GetSlot(const TPreset& preset, int slot) {
  return ToStored((preset.*Array)[static_cast<std::size_t>(slot)]);
}
template <auto Array>
void AssignSlot(TPreset& preset, int slot, const SettingValue& value) {
  auto& field = (preset.*Array)[static_cast<std::size_t>(slot)];
  field = FromStored<std::remove_cvref_t<decltype(field)>>(value);
}

template <class Arg>
void CallSetter(TPreset& preset, void (TPreset::*setter)(Arg), const SettingValue& value) {
  (preset.*setter)(FromStored<std::remove_cvref_t<Arg>>(value));
}
template <auto Setter>
void ApplyBySetter(TPreset& preset, int, const SettingValue& value) {
  CallSetter(preset, Setter, value);
}
template <auto Setter>
void ApplyBySlotSetter(TPreset& preset, int slot, const SettingValue& value) {
  (preset.*Setter)(slot, std::get<std::wstring>(value));
}

// A row as the table below writes it: what it is, then how it is stored and reset.
struct Row {
  Row(std::wstring name, SettingKind kind) {
    row.name = std::move(name);
    row.kind = kind;
  }
  Row&& Default(bool value) && { return With(&SettingRow::defaultValue, SettingValue(value)); }
  Row&& Default(std::int32_t value) && { return With(&SettingRow::defaultValue, SettingValue(value)); }
  Row&& Default(const wchar_t* value) && { return With(&SettingRow::defaultValue, SettingValue(std::wstring(value))); }
  Row&& SavedAt(int place) && { return Stored(SettingStorage::Stored, place); }
  // A zero is saved as no value, so no value loads as zero, not as the value held.
  Row&& SavedUnlessZeroAt(int place) && {
    row.missingLoadsDefault = true;
    return Stored(SettingStorage::StoredUnlessZero, place);
  }
  Row&& LoadedOnly() && { return Stored(SettingStorage::LoadedOnly, 0); }
  Row&& FromSystem() && { return With(&SettingRow::reset, SettingReset::FromSystem); }
  Row&& Kept() && { return With(&SettingRow::reset, SettingReset::Kept); }
  Row&& ResetBySetter() && { return With(&SettingRow::reset, SettingReset::ToDefaultBySetter); }
  Row&& MissingLoadsDefault() && { return With(&SettingRow::missingLoadsDefault, true); }
  operator SettingRow() && { return std::move(row); }

  template <class Member, class Value>
  Row&& With(Member SettingRow::*member, Value value) {
    row.*member = std::move(value);
    return std::move(*this);
  }
  Row&& Stored(SettingStorage storage, int place) {
    row.storage = storage;
    row.savePlace = place;
    return std::move(*this);
  }

  SettingRow row;
};

// A setting that Load hands to its setter.
template <auto Field, auto Setter>
Row BySetter(const wchar_t* name, SettingKind kind) {
  Row built(name, kind);
  built.row.loadsThroughSetter = true;
  built.row.get = &GetField<Field>;
  built.row.apply = &ApplyBySetter<Setter>;
  built.row.assign = &AssignField<Field>;
  return built;
}

// A setting that Load puts straight into its field (or that has no setter).
template <auto Field>
Row ByField(const wchar_t* name, SettingKind kind) {
  Row built(name, kind);
  built.row.get = &GetField<Field>;
  built.row.apply = &AssignField<Field>;
  built.row.assign = &AssignField<Field>;
  return built;
}

// A numbered setting, "Name0", "Name1", ...: one slot of an array field.
template <auto Array>
Row SlotByField(const wchar_t* name, int slot, SettingKind kind) {
  Row built(name + std::to_wstring(slot), kind);
  built.row.slot = slot;
  built.row.get = &GetSlot<Array>;
  built.row.apply = &AssignSlot<Array>;
  built.row.assign = &AssignSlot<Array>;
  return built;
}
template <auto Array, auto Setter>
Row SlotBySetter(const wchar_t* name, int slot, SettingKind kind) {
  Row built = SlotByField<Array>(name, slot, kind);
  built.row.loadsThroughSetter = true;
  built.row.apply = &ApplyBySlotSetter<Setter>;
  return built;
}

}  // namespace

std::span<const SettingRow> TPreset::SettingsTable() {
  using K = SettingKind;
  using P = TPreset;
  static const std::vector<SettingRow> table = [] {
    std::vector<SettingRow> rows;
    const auto add = [&rows](SettingRow row) { rows.push_back(std::move(row)); };

    // Loaded in this order; Save writes them by their place. A missing value
    // keeps the one held, except where the row says otherwise.

    // The extra binding files: as stored, else none.
    for (int slot = 0; slot < kActionFileNameSlots; ++slot) {
      add(SlotByField<&P::actionFileNames_>(L"ActionFileName", slot, K::FileName)
              .Default(L"")
              .Kept()
              .MissingLoadsDefault()
              .SavedAt(1 + slot));
    }
    // The key names follow the layout, so it comes before anything that shows keys.
    add(BySetter<&P::keyboardLang_, &P::SetKeyboardLang>(L"KeyboardLang", K::Layout).FromSystem().SavedAt(10));
    add(BySetter<&P::actionFileName_, &P::SetActionFileName>(L"ActionFileName", K::FileName).Kept().SavedAt(11));
    {
      // Stored as the last titled name: the editor's untitled file never outlives the run.
      Row templates = BySetter<&P::templatesFileName_, &P::SetTemplatesFileName>(L"TemplatesFileName", K::FileName);
      templates.row.get = [](const TPreset& preset, int) { return SettingValue(preset.TitledTemplatesFileName()); };
      add(std::move(templates).Kept().SavedAt(5));
    }
    add(BySetter<&P::templatesBreaks_, &P::SetTemplatesBreaks>(L"TemplatesBreaks", K::Text)
            .Default(L" `~#?\"'")
            .SavedAt(6));
    add(BySetter<&P::keyboardShowDelay_, &P::SetKeyboardShowDelay>(L"KeyboardShowDelay", K::Integer)
            .Default(1600)
            .SavedAt(9));
    add(BySetter<&P::keyboardHideDelay_, &P::SetKeyboardHideDelay>(L"KeyboardHideDelay", K::Integer)
            .Default(600)
            .SavedAt(7));
    add(BySetter<&P::keyboardName_, &P::SetKeyboardName>(L"KeyboardName", K::Text).Default(L"Standard").SavedAt(8));

    add(BySetter<&P::keyboardAutoHide_, &P::SetKeyboardAutoHide>(L"KeyboardAutoHide", K::Bool)
            .Default(true)
            .SavedAt(12));
    add(BySetter<&P::keyboardShowShift_, &P::SetKeyboardShowShift>(L"KeyboardShowShift", K::Bool)
            .Default(false)
            .SavedAt(13));
    add(BySetter<&P::keyboardShowCtrl_, &P::SetKeyboardShowCtrl>(L"KeyboardShowCtrl", K::Bool)
            .Default(true)
            .SavedAt(14));
    add(BySetter<&P::keyboardShowAlt_, &P::SetKeyboardShowAlt>(L"KeyboardShowAlt", K::Bool)
            .Default(true)
            .SavedAt(15));
    add(BySetter<&P::keyboardShowWin_, &P::SetKeyboardShowWin>(L"KeyboardShowWin", K::Bool)
            .Default(true)
            .SavedAt(16));
    add(BySetter<&P::keyboardShowCaption_, &P::SetKeyboardShowCaption>(L"KeyboardShowCaption", K::Bool)
            .Default(true)
            .SavedAt(17));
    add(BySetter<&P::keyboardShowLabels_, &P::SetKeyboardShowLabels>(L"KeyboardShowLabels", K::Bool)
            .FromSystem()
            .SavedAt(18));
    add(BySetter<&P::keyboardCenterInfo_, &P::SetKeyboardCenterInfo>(L"KeyboardCenterInfo", K::Bool)
            .Default(false)
            .SavedAt(19));
    add(BySetter<&P::showKeyboardZone_, &P::SetShowKeyboardZone>(L"ShowKeyboardZone", K::Bool)
            .Default(false)
            .SavedAt(20));
    add(BySetter<&P::showCharCtrl_, &P::SetShowCharCtrl>(L"ShowCharCtrl", K::Bool).Default(false).SavedAt(21));
    add(BySetter<&P::showLangIcon_, &P::SetShowLangIcon>(L"ShowLangIcon", K::Bool).Default(false).SavedAt(22));
    add(BySetter<&P::showCaretFlag_, &P::SetShowCaretFlag>(L"ShowCaretFlag", K::Bool).Default(false).SavedAt(23));
    add(BySetter<&P::showCaretFlagOnChange_, &P::SetShowCaretFlagOnChange>(L"ShowCaretFlagOnChange", K::Bool)
            .Default(false)
            .SavedAt(24));
    add(BySetter<&P::fastCaretFlag_, &P::SetFastCaretFlag>(L"FastCaretFlag", K::Bool).Default(true).SavedAt(25));
    add(BySetter<&P::caretFlagAlphaBlend_, &P::SetCaretFlagAlphaBlend>(L"CaretFlagAlphaBlend", K::Integer)
            .Default(200)
            .SavedAt(26));
    add(BySetter<&P::maxClipboardHistory_, &P::SetMaxClipboardHistory>(L"MaxClipboardHistory", K::Integer)
            .Default(30)
            .SavedAt(27));
    add(BySetter<&P::uniqueClipboard_, &P::SetUniqueClipboard>(L"UniqueClipboard", K::Bool)
            .Default(true)
            .SavedAt(28));
    add(BySetter<&P::taskSwitchShowHidden_, &P::SetTaskSwitchShowHidden>(L"TaskSwitchShowHidden", K::Bool)
            .Default(false)
            .SavedAt(29));
    add(BySetter<&P::taskSwitchSmallIcon_, &P::SetTaskSwitchSmallIcon>(L"TaskSwitchSmallIcon", K::Bool)
            .Default(false)
            .SavedAt(30));
    add(BySetter<&P::uniqueProcessHistory_, &P::SetUniqueProcessHistory>(L"UniqueProcessHistory", K::Bool)
            .Default(true)
            .SavedAt(31));
    add(BySetter<&P::showIconApp_, &P::SetShowIconApp>(L"ShowIconApp", K::Bool).Default(false).SavedAt(32));
    add(BySetter<&P::showIconZqkeys_, &P::SetShowIconZqkeys>(L"ShowIconZqkeys", K::Bool).Default(true).SavedAt(33));
    add(BySetter<&P::showIconWindows_, &P::SetShowIconWindows>(L"ShowIconWindows", K::Bool)
            .Default(false)
            .SavedAt(34));
    add(BySetter<&P::showIconHints_, &P::SetShowIconHints>(L"ShowIconHints", K::Bool).Default(true).SavedAt(35));
    add(BySetter<&P::highPriority_, &P::SetHighPriority>(L"HighPriority", K::Bool).Default(true).SavedAt(36));
    add(BySetter<&P::hideTrayIcon_, &P::SetHideTrayIcon>(L"HideTrayIcon", K::Bool).Default(false).SavedAt(37));
    add(BySetter<&P::language_, &P::SetLanguage>(L"Language", K::Integer).FromSystem().SavedAt(38));
    add(BySetter<&P::showHotkeySquare_, &P::SetShowHotkeySquare>(L"ShowHotkeySquare", K::Bool)
            .Default(false)
            .SavedAt(39));
    add(BySetter<&P::useGestures_, &P::SetUseGestures>(L"UseGestures", K::Bool).Default(false).SavedAt(40));
    add(BySetter<&P::sensitivityGestures_, &P::SetSensitivityGestures>(L"SensitivityGestures", K::Integer)
            .Default(15)
            .SavedAt(41));
    add(BySetter<&P::scShowTemplates_, &P::SetSCShowTemplates>(L"SCShowTemplates", K::Shortcut)
            .Default(0x8020)  // left Win + Space
            .SavedAt(42));

    // Layouts left out of layout switching.
    for (int slot = 0; slot < kDisabledLangSlots; ++slot) {
      add(SlotByField<&P::disabledLang_>(L"DisabledLang", slot, K::Layout).Default(0).SavedUnlessZeroAt(43 + slot));
    }
    add(BySetter<&P::soundEnabled_, &P::SetSoundEnabled>(L"SoundEnabled", K::Bool).Default(false).SavedAt(53));
    // Through the setter also on Reset: the resolved sound files follow the entries.
    for (int slot = 0; slot < kSoundSlots; ++slot) {
      add(SlotBySetter<&P::sounds_, &P::SetSound>(L"Sound", slot, K::Text)
              .Default(L"")
              .ResetBySetter()
              .SavedAt(54 + slot));
    }
    // Set by the installer: read at each load (missing means allowed), never written.
    add(ByField<&P::accessDenied_>(L"AccessDenied", K::Bool).Default(false).Kept().MissingLoadsDefault().LoadedOnly());

    // Not stored: each run starts with the default.
    add(BySetter<&P::colorScheme_, &P::SetColorScheme>(L"ColorScheme", K::Integer).Default(0));
    add(BySetter<&P::backgroundAlphaBlend_, &P::SetBackgroundAlphaBlend>(L"BackgroundAlphaBlend", K::Byte)
            .Default(100));
    add(BySetter<&P::themeFontName_, &P::SetThemeFontName>(L"ThemeFontName", K::FontName).Default(L"Tahoma"));
    add(BySetter<&P::themeFontItalic_, &P::SetThemeFontItalic>(L"ThemeFontItalic", K::Bool).Default(false));
    add(BySetter<&P::themeFontBold_, &P::SetThemeFontBold>(L"ThemeFontBold", K::Bool).Default(true));
    add(BySetter<&P::themeFontSize_, &P::SetThemeFontSize>(L"ThemeFontSize", K::Integer).Default(8));
    add(BySetter<&P::backgroundPicture_, &P::SetBackgroundPicture>(L"BackgroundPicture", K::FileName).Default(L""));
    add(BySetter<&P::numLockMode_, &P::SetNumLockMode>(L"NumLockMode", K::Integer).Default(0));
    add(BySetter<&P::numAlwaysFigure_, &P::SetNumAlwaysFigure>(L"NumAlwaysFigure", K::Bool).Default(false));
    add(BySetter<&P::maxProcessHistory_, &P::SetMaxProcessHistory>(L"MaxProcessHistory", K::Integer).Default(30));
    add(BySetter<&P::maxHiddenWindows_, &P::SetMaxHiddenWindows>(L"MaxHiddenWindows", K::Integer).Default(30));
    add(BySetter<&P::clipboardIsActive_, &P::SetClipboardIsActive>(L"ClipboardIsActive", K::Bool).Default(false));
    add(BySetter<&P::clipboardPreviewFontItalic_, &P::SetClipboardPreviewFontItalic>(L"ClipboardPreviewFontItalic",
                                                                                      K::Bool)
            .Default(false));
    add(BySetter<&P::clipboardPreviewFontSize_, &P::SetClipboardPreviewFontSize>(L"ClipboardPreviewFontSize",
                                                                                  K::Integer)
            .Default(8));
    add(BySetter<&P::clipboardPreviewFontBold_, &P::SetClipboardPreviewFontBold>(L"ClipboardPreviewFontBold",
                                                                                  K::Bool)
            .Default(false));
    add(BySetter<&P::clipboardPreviewFontName_, &P::SetClipboardPreviewFontName>(L"ClipboardPreviewFontName",
                                                                                  K::FontName)
            .Default(L"Tahoma"));
    add(BySetter<&P::themeInfoFontName_, &P::SetThemeInfoFontName>(L"ThemeInfoFontName", K::FontName)
            .Default(L"Tahoma"));
    add(BySetter<&P::themeInfoFontItalic_, &P::SetThemeInfoFontItalic>(L"ThemeInfoFontItalic", K::Bool)
            .Default(false));
    add(BySetter<&P::themeInfoFontSize_, &P::SetThemeInfoFontSize>(L"ThemeInfoFontSize", K::Integer).Default(10));
    add(BySetter<&P::themeInfoFontBold_, &P::SetThemeInfoFontBold>(L"ThemeInfoFontBold", K::Bool).Default(true));
    add(BySetter<&P::keyboardAlphaBlend_, &P::SetKeyboardAlphaBlend>(L"KeyboardAlphaBlend", K::Byte).Default(255));
    add(BySetter<&P::scShowClipboard_, &P::SetSCShowClipboard>(L"SCShowClipboard", K::Shortcut)
            .Default(93));  // Apps
    add(BySetter<&P::scShowKeyboard_, &P::SetSCShowKeyboard>(L"SCShowKeyboard", K::Shortcut)
            .Default(0x802D));  // left Win + Insert
    constexpr COLORREF kColors[kColorCount] = {0xFF9933, 0xFEFEFE, 0x000000, 0xFFFFFF, 0x91D0FF, 0x800000, 0x800000,
                                               0x808080, 0xFF9933, 0x4E91FE, 0xCC6600, 0xFFFFFF, 0xFFFFFF};
    for (int slot = 0; slot < kColorCount; ++slot) {
      add(SlotByField<&P::colors_>(L"Color", slot, K::Colour).Default(static_cast<std::int32_t>(kColors[slot])));
    }
    return rows;
  }();
  return table;
}

}  // namespace snibbet
