#pragma once
// Help for the window the user is working in.

namespace snibbet {

// Shows the help topic of the active form: its own topic when it has one,
// else the program's default topic. The program has no help routing yet, so
// this shows nothing until the help router is built; callers already go
// through here so that they need no change then.
void ShowActiveFormHelp();

// Shows one help topic by its context number.
void ShowHelpContext(int context);

}  // namespace snibbet
