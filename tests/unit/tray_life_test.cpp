#include <gtest/gtest.h>

#include <vector>

#include "app/tray_life.h"

namespace qlx {
namespace {

DeactivationState InTray() {
  DeactivationState s;
  s.use_tray = true;
  return s;
}

TEST(TrayLife, SwitchingToAnotherProgramHidesOnlyAnIdleProgramInTheTray) {
  struct Case {
    const char* what;
    DeactivationState state;
    DeactivationStep step;
  };
  auto with = [](auto change) {
    DeactivationState s = InTray();
    change(s);
    return s;
  };
  const std::vector<Case> cases = {
      {"idle in the tray", InTray(), DeactivationStep::RememberRowAndHide},
      {"tray not used", with([](DeactivationState& s) { s.use_tray = false; }), DeactivationStep::Nothing},
      {"unloading", with([](DeactivationState& s) { s.unloading = true; }), DeactivationStep::Nothing},
      {"pause open", with([](DeactivationState& s) { s.pause_open = true; }), DeactivationStep::Nothing},
      {"popup menu shown", with([](DeactivationState& s) { s.popup_shown = true; }), DeactivationStep::Nothing},
      {"a dialog open", with([](DeactivationState& s) { s.dialog_open = true; }), DeactivationStep::RememberRow},
  };
  for (Case c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(OnApplicationDeactivate(c.state), c.step);
  }
}

TEST(TrayLife, TheSkipOnceFlagSkipsExactlyOneDeactivation) {
  DeactivationState s = InTray();
  s.skip_once = true;
  EXPECT_EQ(OnApplicationDeactivate(s), DeactivationStep::Nothing);
  EXPECT_FALSE(s.skip_once);
  EXPECT_EQ(OnApplicationDeactivate(s), DeactivationStep::RememberRowAndHide);

  // It is used up even when the program would not have hidden.
  DeactivationState off;
  off.skip_once = true;
  EXPECT_EQ(OnApplicationDeactivate(off), DeactivationStep::Nothing);
  EXPECT_FALSE(off.skip_once);
}

}  // namespace
}  // namespace qlx
