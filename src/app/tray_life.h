#pragma once
// The program's life in the notification area: when switching to another
// program hides it.
#include <cstdint>

namespace qlx {

inline constexpr char kProgramTrayTip[] = "Quillon 98";
inline constexpr uint32_t kProgramTrayIconId = 0;

// What the program is doing when the user switches to another program.
struct DeactivationState {
  bool skip_once = false;  // set by the capture-complete handling
  bool unloading = false;  // "&Terminate and Unload" was chosen
  bool use_tray = false;
  bool pause_open = false;
  bool popup_shown = false;
  bool dialog_open = false;
};

enum class DeactivationStep : uint8_t {
  Nothing,
  RememberRow,         // the selected row comes back when the window does
  RememberRowAndHide,  // and the program goes into the tray
};

// The application's deactivation handler. A set skip-once flag is used up
// here.
DeactivationStep OnApplicationDeactivate(DeactivationState& state);

}  // namespace qlx
