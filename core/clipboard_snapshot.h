#pragma once
// Saving the whole clipboard into a clipboard stream and putting it back, so
// the user's clipboard survives the program's own pastes. GUI thread only.
//
// Pending messages are processed before each record while the clipboard is
// open: code that runs then must not open the clipboard itself.
#include <windows.h>

#include "core/clipboard_stream.h"

namespace snibbet {

// Appends every saveable format of the clipboard, in its enumeration order.
// False when the clipboard could not be opened or its enumeration failed; the
// stream then holds the records written so far.
bool SaveClipboardToStream(ClipboardStream& stream);
// The same with the clipboard open already (a ClipboardSession of the
// caller's): false only when the enumeration failed.
bool SaveOpenClipboardToStream(ClipboardStream& stream);

// Replaces the clipboard by the records from the stream's position to its end.
// The whole stream is checked before the clipboard is touched: a truncated
// record, or one that cannot be put back (a handle format, metafile bits the
// system refuses), leaves the clipboard as it was and gives false, as does a
// clipboard that cannot be opened. The position then stays where it was.
bool LoadClipboardFromStream(ClipboardStream& stream);

// One record each way; both require the clipboard to be open. Global memory
// is stored as a copy of its whole allocated block; an enhanced metafile as
// its bits. WriteClipboardFormat is false, writing nothing, when the format
// has no such data. ReadClipboardFormat returns the format read (0 when the
// stream was at its end) and sets nothing for a truncated record.
bool WriteClipboardFormat(UINT format, ClipboardStream& stream);
UINT ReadClipboardFormat(ClipboardStream& stream);

}  // namespace snibbet
