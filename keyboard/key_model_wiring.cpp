#include "keyboard/key_model_wiring.h"

#include "core/lang_table.h"
#include "core/preset.h"
#include "keyboard/key_model.h"

namespace snibbet {

void WireKeyModel(TQvKeyboard& model, const TPreset* settings) {
  model.SetKeyNameSource([settings](int code) {
    return settings && code >= 1 && code <= 255 ? settings->KeyNames()[static_cast<std::size_t>(code)]
                                                : std::wstring();
  });
  model.SetTextSource([](int number, const std::wstring& fallback) { return LangText(number, fallback); });
}

}  // namespace snibbet
