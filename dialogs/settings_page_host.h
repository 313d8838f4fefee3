#pragma once

namespace snibbet {

class SettingsPageHost { public: virtual ~SettingsPageHost() = default; virtual bool Loading() const = 0; virtual void OptionsChanged() = 0; };

}  // namespace snibbet
