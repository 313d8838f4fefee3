#pragma once
// Loading a keyboard layout by name into the key model and its view: the
// file <program folder>\Keyboards\<name>.txt, or the built-in layout when
// there is none. A file that cannot be read says why in an error box and the
// built-in layout takes its place, so that the model always has its keys.
#include <functional>
#include <string>

namespace snibbet {

class TQvKeyboard;
class KeyboardPainter;
struct LayoutFileError;

// "<program folder>Keyboards\" and the file of a layout name in it.
std::wstring KeyboardsFolder();
std::wstring KeyboardLayoutFileName(const std::wstring& name);

// The user's text for a layout that could not be loaded.
std::wstring LayoutLoadErrorText(const std::wstring& fileName, const LayoutFileError& error);

// True when the named layout is in place; false when its file failed and the
// built-in layout stands in. `painter` may be null (no view yet).
bool LoadKeyboard(TQvKeyboard& model, KeyboardPainter* painter, const std::wstring& name);

// Where load errors go; the error box unless replaced (tests). Returns the previous one.
using LayoutErrorSink = std::function<void(const std::wstring& message)>;
LayoutErrorSink ReplaceLayoutErrorSink(LayoutErrorSink sink);

}  // namespace snibbet
