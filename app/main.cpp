#include <windows.h>

#include "app/snibbet_main.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return snibbet::SnibbetMain(); }
