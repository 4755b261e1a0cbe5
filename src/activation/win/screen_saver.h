#pragma once
// CheckForScreenSaver: switches the system's screen saver off for timed
// macros when "Disable Screen Saver" is on.
#include "store/shared_blocks.h"

namespace qlx {

void CheckForScreenSaver(bool option_on, bool only_if_timed, const ActivationBlock& block);

}  // namespace qlx
