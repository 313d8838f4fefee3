#pragma once
// Everything the probe offers to end-to-end tests, in one include.
#include "testing/probe/clipboard.h"
#include "testing/probe/input.h"
#include "testing/probe/keyboard_hook.h"
#include "testing/probe/message_box.h"
#include "testing/probe/process.h"
#include "testing/probe/registry.h"
#include "testing/probe/test_window.h"
#include "testing/probe/text.h"
#include "testing/probe/wait.h"
#include "testing/probe/window_find.h"
#include "testing/probe/wine.h"
#include "testing/probe/xdotool.h"
