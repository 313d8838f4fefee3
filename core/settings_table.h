#pragma once
// The table of the settings object's settings: one row per setting with its
// value name, kind, default, how Load hands it over and its place in Save.
// Load, Save and Reset run over it, and a settings window can find a
// setting's control kind and default here.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace snibbet {

class TPreset;

// What a setting holds, as a control would show it.
enum class SettingKind { Bool, Integer, Byte, Text, FileName, FontName, Shortcut, Layout, Colour };

// A setting's value as the settings store holds it: a bool and the numeric
// kinds are DWORDs (read and written as bool or integer), texts are strings.
using SettingValue = std::variant<bool, std::int32_t, std::wstring>;

enum class SettingStorage {
  NotStored,         // held while the program runs only
  Stored,            // loaded and saved
  StoredUnlessZero,  // loaded; saved, but deleted while zero (a free slot)
  LoadedOnly,        // loaded, never saved: set from outside the program
};

enum class SettingReset {
  ToDefault,          // the field takes the row's default
  ToDefaultBySetter,  // the setter takes it, so that what it works out follows
  FromSystem,         // Reset works it out from the system's keyboard layouts or language
  Kept,               // set at construction; Reset leaves it
};

struct SettingRow {
  // The registry value name; for a setting that is not stored, the name it
  // would have.
  std::wstring name;
  SettingKind kind = SettingKind::Integer;
  SettingStorage storage = SettingStorage::NotStored;
  // 1-based place among the values Save writes; 0 when Save leaves it.
  int savePlace = 0;
  // None where the default is worked out (from the system, or the documents folder).
  std::optional<SettingValue> defaultValue;
  SettingReset reset = SettingReset::ToDefault;
  // A value missing from the store loads as the default, not as the value held.
  bool missingLoadsDefault = false;
  // Load hands the value to the setter (else straight into the field).
  bool loadsThroughSetter = false;

  bool Loaded() const { return storage != SettingStorage::NotStored; }
  bool Saved() const { return savePlace > 0; }

  // The value held, in its stored form.
  SettingValue Value(const TPreset& preset) const { return get(preset, slot); }
  // The value handed over as Load does it: through the setter, or into the field.
  void Apply(TPreset& preset, const SettingValue& value) const { apply(preset, slot, value); }
  // The value put into the field, without the setter's effects, as Reset does it.
  void Assign(TPreset& preset, const SettingValue& value) const { assign(preset, slot, value); }

  // Filled by the table: the slot of a numbered setting, and its field's access.
  int slot = 0;
  SettingValue (*get)(const TPreset&, int slot) = nullptr;
  void (*apply)(TPreset&, int slot, const SettingValue&) = nullptr;
  void (*assign)(TPreset&, int slot, const SettingValue&) = nullptr;
};

// Layout handles are stored as 32-bit integers; on 64-bit Windows a handle is
// that value sign-extended.
inline HKL LayoutFromStored(std::int32_t value) { return reinterpret_cast<HKL>(static_cast<LONG_PTR>(value)); }
inline std::int32_t StoredFromLayout(HKL layout) {
  return static_cast<std::int32_t>(reinterpret_cast<LONG_PTR>(layout));
}

}  // namespace snibbet
