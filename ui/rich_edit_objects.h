#pragma once
// Embedded objects in a rich edit: the system's insert-object dialog (a new
// object of an installed OLE server, or one made from a file) over the
// rich edit's OLE interface.
#include <windows.h>

namespace ui {

class RichEdit;

enum class InsertObjectResult {
  Inserted,
  Cancelled,
  Unavailable,  // no OLE interface, no OLE, or the dialog failed to start
  Failed,       // chosen, but the rich edit did not take the object
};

// The owner defaults to the rich edit's parent. OLE is started on this thread
// at the first call and stays on for the objects the rich edit holds.
InsertObjectResult ShowInsertObjectDialog(RichEdit& editor, HWND owner = nullptr);

}  // namespace ui
