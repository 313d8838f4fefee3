#pragma once
// Help for the window the user is working in. Every request goes through the
// application's help command to the program's one help router; without it,
// its help file or the help viewer nothing shows, and no request fails its
// caller.
#include <windows.h>

namespace ui {
class Form;
}

namespace snibbet {

// Shows the help topic of the active form: its own topic when it has one,
// else the contents of the help file.
void ShowActiveFormHelp();

// Shows one help topic by its context number.
void ShowHelpContext(int context);

// Shows the contents of the help file.
void ShowHelpContents();

// The help context of a form of ours; 0 for none or for another form.
int FormHelpContext(const ui::Form* form);

}  // namespace snibbet
