#include "app/window_placement.h"

namespace qlx {

Rect SavedWindowRect(bool minimized_or_maximized, const Rect& window, const Rect& normal, const WorkArea& work) {
  if (!minimized_or_maximized) return window;
  return {normal.left + work.left_offset, normal.top + work.top_offset, normal.width, normal.height};
}

}  // namespace qlx
