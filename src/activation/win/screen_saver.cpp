#include "activation/win/screen_saver.h"

#include <windows.h>

#include "activation/scheduler.h"

namespace qlx {

void CheckForScreenSaver(bool option_on, bool only_if_timed, const ActivationBlock& block) {
  BOOL active = FALSE;
  if (!::SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0)) return;
  if (ShouldSwitchOffScreenSaver(option_on, only_if_timed, HasActiveTimedMacro(block), active != FALSE))
    ::SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, FALSE, nullptr, SPIF_SENDCHANGE);
}

}  // namespace qlx
