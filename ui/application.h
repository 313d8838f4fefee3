#pragma once
// The application object: the hidden application window that owns every form,
// the title, the terminate request and the message loop.
#include <windows.h>

#include <string>

namespace ui {

// The hidden application window (owner of every form and of message boxes).
// Null until the application object has been created.
HWND ApplicationWindow();

// Asks the message loop to end (like the class library's Application.Terminate).
void Terminate();
bool Terminated();

}  // namespace ui
