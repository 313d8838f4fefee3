#pragma once
// What a page of the settings window asks of the window that hosts it.

namespace snibbet {

class SettingsPageHost {
 public:
  virtual ~SettingsPageHost() = default;
  // True while the window fills its controls from the settings; a control's
  // change handler then neither writes the setting nor enables Apply.
  virtual bool Loading() const = 0;
  // A setting was changed by a control: Apply becomes enabled.
  virtual void OptionsChanged() = 0;
};

}  // namespace snibbet
