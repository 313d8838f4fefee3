#pragma once
// Physical input: xdotool on the Linux side makes real X events, which Wine turns
// into hardware input (no LLKHF_INJECTED in low-level hooks), exactly as a user's keys.
//
// Native programs are started from this Wine process by CreateProcess on their
// Unix path (Wine forks and execs any non-PE file), through /bin/sh so that the
// exit code and output land in a temporary file that we poll: Wine gives no
// process handle for a Unix child.
//
// X sends key events to the X window under the pointer (no window manager, focus
// follows the pointer), while Wine delivers them to its foreground window; so
// PhysicalFocus puts both on the target first.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "testing/probe/wait.h"

namespace probe {

struct UnixRun {
  int exitCode = -1;
  std::string output;   // stdout and stderr together
};

// Runs a native program (Unix path or a name looked up in PATH) and waits for it.
// Nothing on time-out; throws std::runtime_error when it cannot be started.
std::optional<UnixRun> RunUnixProgram(const std::string& program, const std::vector<std::string>& arguments,
                                      milliseconds timeout = 5000ms);

// The Unix path of xdotool (env SNIBBET_XDOTOOL, else the usual places), empty if missing.
std::string XdotoolPath();
bool XdotoolAvailable();

// Runs xdotool with `arguments`; throws std::runtime_error on time-out or a non-zero exit.
std::string Xdotool(const std::vector<std::string>& arguments, milliseconds timeout = 5000ms);

// Moves the pointer (waits until Wine sees it there).
void PhysicalPointAt(POINT screen);
// Makes `window`'s top-level window the foreground window and puts the pointer
// over `window`'s centre, so physical keys reach it. Throws when it cannot.
void PhysicalFocus(HWND window);
// xdotool key names: "a", "Return", "ctrl+v", "BackSpace", "super+space".
void PhysicalKeys(const std::vector<std::string>& keys);
// Holds the keys down in order and releases them in reverse, as a person does:
// {"super", "space"}. (xdotool's own "super+space" releases super before space.)
void PhysicalChord(const std::vector<std::string>& keys);
void PhysicalKeyDown(const std::string& key);
void PhysicalKeyUp(const std::string& key);
// Types ASCII text key by key.
void PhysicalType(const std::string& text);
// 1 left, 2 middle, 3 right; the pointer moves to `screen` first.
void PhysicalClick(POINT screen, int button = 1);
// Positive: towards the screen top (wheel up, X button 4).
void PhysicalWheel(POINT screen, int clicks);

}  // namespace probe
