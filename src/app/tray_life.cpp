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

TrayOpenSteps OpenFromTraySteps(bool use_tray, bool network_mode, bool macro_dialog_open) {
  TrayOpenSteps steps;
  if (!use_tray) return steps;
  steps.release_network_lock = network_mode && macro_dialog_open;
  steps.close_dialogs = true;
  return steps;
}

}  // namespace qlx
