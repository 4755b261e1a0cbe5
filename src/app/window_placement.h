#pragma once
// Where the main window is saved and restored. The settings hold screen
// coordinates, which is what the window is created with; the normal
// position the system reports is in workspace coordinates, which start at
// the work area's corner (beside a taskbar at the top or left).
#include "app/macro_list_model.h"

namespace qlx {

struct WorkArea {
  // Offset of the work area from its monitor's corner.
  int left_offset = 0;
  int top_offset = 0;
};

// `window` is the window's rectangle on the screen, `normal` its restored
// rectangle in workspace coordinates. A minimised or maximised window is
// saved at its restored place, in screen coordinates.
Rect SavedWindowRect(bool minimized_or_maximized, const Rect& window, const Rect& normal, const WorkArea& work);

}  // namespace qlx
