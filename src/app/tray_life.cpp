#include "app/tray_life.h"

namespace qlx {

DeactivationStep OnApplicationDeactivate(DeactivationState& s) {
  if (s.skip_once) {
    s.skip_once = false;
    return DeactivationStep::Nothing;
  }
  if (s.unloading || !s.use_tray || s.pause_open || s.popup_shown) return DeactivationStep::Nothing;
  // An open dialog keeps the program in sight; the row is remembered all
  // the same.
  return s.dialog_open ? DeactivationStep::RememberRow : DeactivationStep::RememberRowAndHide;
}

}  // namespace qlx
