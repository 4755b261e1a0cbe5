#pragma once
// Placement helpers of the playback dialogs, over the program's shared
// dialog plumbing.
#include <windows.h>

#include <string>

#include "engine/engine_state.h"
#include "engine/playback_dialogs.h"
#include "platform/win32/dialog.h"

namespace qlx::dlg {

inline void Place(HWND dialog, int id, const Box& b) {
  ::MoveWindow(Item(dialog, id), b.left, b.top, b.width, b.height, TRUE);
}

// Sizes the client area and centres the window on the screen read at
// start-up.
inline void CentreWithClient(HWND dialog, int width, int height, const ScreenSize& screen) {
  const SIZE outer = OuterSizeFor(dialog, width, height);
  const ScreenPlace p = CentredPlace(screen, outer.cx, outer.cy);
  ::SetWindowPos(dialog, HWND_TOPMOST, p.left, p.top, outer.cx, outer.cy, SWP_NOACTIVATE);
}

}  // namespace qlx::dlg
