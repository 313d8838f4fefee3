#include "ui/application.h"

namespace ui {
namespace {
HWND g_applicationWindow = nullptr;
bool g_terminated = false;
}  // namespace

HWND ApplicationWindow() { return g_applicationWindow; }
void Terminate() { g_terminated = true; PostQuitMessage(0); }
bool Terminated() { return g_terminated; }

}  // namespace ui
