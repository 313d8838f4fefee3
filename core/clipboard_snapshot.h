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

// Replaces the clipboard by the records from the stream's position to its end.
// False when the clipboard could not be opened (it is then left untouched) or
// when a record was damaged or refused; every intact record is still restored.
bool LoadClipboardFromStream(ClipboardStream& stream);

// One record each way; both require the clipboard to be open. Global memory
// is stored as a copy of its whole allocated block; an enhanced metafile as
// its bits. WriteClipboardFormat is false, writing nothing, when the format
// has no such data. ReadClipboardFormat returns the format read (0 when the
// stream was at its end) and sets nothing for a truncated record.
bool WriteClipboardFormat(UINT format, ClipboardStream& stream);
UINT ReadClipboardFormat(ClipboardStream& stream);

}  // namespace snibbet
