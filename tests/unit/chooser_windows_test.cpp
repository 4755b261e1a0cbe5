#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "activation/chooser_windows.h"
#include "fakes/fake_desktop.h"
#include "fakes/fake_playback_host.h"

namespace qlx {
namespace {

TEST(ChooserWindowsTest, ProgramMakesWayAndHandsTheKeyboardBack) {
  struct Case {
    const char* name;
    bool tray, minimized, main_visible;
    std::vector<std::string> during, after;
  };
  const std::vector<Case> cases = {
      {"tray", true, false, false, {"show application"}, {"show application", "hide application"}},
      {"window shown", false, false, true, {"hide main"}, {"hide main", "show main"}},
      {"minimised", false, true, true, {"restore application", "hide main"},
       {"restore application", "hide main", "show main", "minimize application"}},
      {"main window hidden", false, false, false, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fake::FakeDesktop desk;
    fake::FakePlaybackHost program;
    program.use_tray = c.tray;
    program.minimized = c.minimized;
    program.main_visible = c.main_visible;
    const WindowHandle target = desk.AddWindow("Target");
    const WindowHandle elsewhere = desk.AddWindow("Elsewhere");
    desk.SetForegroundDirect(elsewhere);
    {
      ChooserWindows around(program, desk, target);
      EXPECT_EQ(program.program_log, c.during);
    }
    EXPECT_EQ(program.program_log, c.after);
    // Outside the tray the window the user was in gets the keyboard back;
    // in the tray hiding the application is all.
    EXPECT_EQ(desk.Foreground(), c.tray ? elsewhere : target);
    EXPECT_EQ(desk.focus(), c.tray ? WindowHandle{0} : target);
  }
}

}  // namespace
}  // namespace qlx
