#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/playback_dialogs.h"
#include "engine/program_hiding.h"
#include "fakes/fake_desktop.h"
#include "fakes/fake_playback_host.h"

namespace qlx {
namespace {

ScreenSize Screen(int w, int h) { return MakeScreenSize(w, h); }
std::string H(WindowHandle h) { return std::to_string(h); }

TEST(PauseDialog, MessageLabelAndFormGrowByNineteenPixelsPerThirtyCharacters) {
  EXPECT_EQ(PauseMessageHeight(0), 0);
  EXPECT_EQ(PauseMessageHeight(1), 19);
  EXPECT_EQ(PauseMessageHeight(29), 19);
  EXPECT_EQ(PauseMessageHeight(30), 38);
  EXPECT_EQ(PauseMessageHeight(61), 57);

  const PauseLayout none = LayoutPause(0, 218);
  EXPECT_EQ(none.form_width, 224);
  EXPECT_EQ(none.form_height, 94);
  EXPECT_FALSE(none.message_visible);

  const PauseLayout l = LayoutPause(61, 218);
  EXPECT_EQ(l.form_width, 224);
  EXPECT_EQ(l.form_height, 151);
  EXPECT_TRUE(l.message_visible);
  EXPECT_EQ(l.message.height, 57);
  EXPECT_EQ(l.message.width, 201);
  for (const PauseLayout* p : {&none, &l}) {
    // Both buttons 89 x 21, 52 pixels above the bottom edge, Resume left of
    // Abort, inside the client area and below every label.
    EXPECT_EQ(p->resume.top, p->form_height - 52);
    EXPECT_EQ(p->abort.top, p->form_height - 52);
    EXPECT_EQ(p->resume, (Box{p->resume.left, p->resume.top, 89, 21}));
    EXPECT_EQ(p->abort, (Box{p->abort.left, p->abort.top, 89, 21}));
    EXPECT_GE(p->resume.left, 0);
    EXPECT_LT(p->resume.left + p->resume.width, p->abort.left);
    EXPECT_LE(p->abort.left + p->abort.width, 218);
    EXPECT_LE(p->heading.top + p->heading.height, p->title.top);
    const int above_buttons = p->message_visible ? p->message.top + p->message.height
                                                 : p->title.top + p->title.height;
    EXPECT_LE(above_buttons, p->resume.top);
  }
  EXPECT_LE(l.title.top + l.title.height, l.message.top);
  EXPECT_GE(l.message.left, 0);
  EXPECT_LE(l.message.left + l.message.width, 218);
}

TEST(PauseDialog, ALongMacroNameWrapsAndPushesTheMessageAndButtonsDown) {
  struct Case {
    int lines_asked, lines_given;
  };
  const Case cases[] = {{0, 1}, {1, 1}, {2, 2}, {3, 3}, {9, 3}};
  const PauseLayout one = LayoutPause(61, 218, 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines_asked);
    const PauseLayout l = LayoutPause(61, 218, c.lines_asked);
    const int extra = (c.lines_given - 1) * 16;
    EXPECT_EQ(l.title.height, 16 * c.lines_given);
    EXPECT_EQ(l.title.top, one.title.top);
    EXPECT_EQ(l.form_height, 151 + extra);
    EXPECT_EQ(l.message.top, one.message.top + extra);
    EXPECT_EQ(l.message.height, 57);
    EXPECT_EQ(l.resume.top, l.form_height - 52);
    // Nothing overlaps the wrapped name.
    EXPECT_LE(l.title.top + l.title.height, l.message.top);
    const PauseLayout bare = LayoutPause(0, 218, c.lines_asked);
    EXPECT_EQ(bare.form_height, 94 + extra);
    EXPECT_LE(bare.title.top + bare.title.height, bare.resume.top);
  }
}

TEST(PauseDialog, PlaceInTheMiddleOrClampedToTheScreen) {
  EXPECT_EQ(CentredPausePlace(Screen(1024, 768)), (ScreenPlace{400, 337}));
  EXPECT_EQ(CentredPausePlace(Screen(1280, 1024)), (ScreenPlace{528, 465}));
  // Integer division of an odd remainder rounds down.
  EXPECT_EQ(CentredPausePlace(Screen(1025, 769)), (ScreenPlace{400, 337}));

  EXPECT_EQ(PausePlaceOnScreen(999, 999, 2, Screen(1024, 768)), (ScreenPlace{800, 655}));
  EXPECT_EQ(PausePlaceOnScreen(999, 999, 0, Screen(1024, 768)), (ScreenPlace{800, 674}));
  EXPECT_EQ(PausePlaceOnScreen(999, 999, 61, Screen(1024, 768)), (ScreenPlace{800, 617}));
  // A place that fits is kept, the edge itself included.
  EXPECT_EQ(PausePlaceOnScreen(100, 200, 15, Screen(1024, 768)), (ScreenPlace{200, 100}));
  EXPECT_EQ(PausePlaceOnScreen(655, 800, 2, Screen(1024, 768)), (ScreenPlace{800, 655}));
  EXPECT_EQ(PausePlaceOnScreen(656, 801, 2, Screen(1024, 768)), (ScreenPlace{800, 655}));
  // Only one coordinate too far: only that one moves.
  EXPECT_EQ(PausePlaceOnScreen(10, 990, 0, Screen(1024, 768)), (ScreenPlace{800, 10}));
}

TEST(PauseDialog, CaptionNamesTheHotKeyOfTheMacro) {
  EXPECT_EQ(PauseCaption(0), "Pause (Ctrl+A)");
  EXPECT_EQ(PauseCaption(144 + 15), "Pause (Ctrl+Alt+P)");
  EXPECT_EQ(PauseCaption(288), "Pause (F1)");
  EXPECT_EQ(PauseCaption(472), "Pause (Ctrl+Page Up)");
  EXPECT_EQ(PauseCaption(699), "Pause (LMouse)");
  // Timed and Snapword macros have no hot key to name; neither has damage.
  EXPECT_EQ(PauseCaption(10000), "Pause");
  EXPECT_EQ(PauseCaption(20000), "Pause");
  EXPECT_EQ(PauseCaption(720), "Pause");
}

TEST(RepeatPrompt, OnlyAWholeNumberFromZeroTo65535IsAccepted) {
  const std::string refusal = "Invalid numeric value entered.  Please Correct";
  struct Case {
    const char* typed;
    int count;  // -1: refused
  };
  const Case cases[] = {
      {"abc", -1}, {" 12 ", 12}, {"12", 12}, {"0", 0}, {"9999", 9999}, {"+5", 5},
      {"\t7\t", 7}, {"007", 7}, {"65535", 65535}, {"", -1}, {"   ", -1}, {"1 2", -1},
      {"12a", -1}, {"1.5", -1}, {"+", -1}, {"-", -1}, {"65536", -1}, {"99999999999", -1},
      {"-0", 0}, {"-3", -1}, {"-1", -1},
  };
  for (const Case& c : cases) {
    const RepeatCountCheck r = CheckRepeatCount(c.typed);
    if (c.count < 0) {
      EXPECT_FALSE(r.count.has_value()) << '"' << c.typed << '"';
      EXPECT_EQ(r.refusal, refusal) << '"' << c.typed << '"';
    } else {
      ASSERT_TRUE(r.count.has_value()) << '"' << c.typed << '"';
      EXPECT_EQ(*r.count, c.count) << '"' << c.typed << '"';
      EXPECT_TRUE(r.refusal.empty()) << '"' << c.typed << '"';
    }
  }
}

TEST(DialogPlaces, CentredWithTheScreenSizeReadAtStartUp) {
  EXPECT_EQ(CentredPlace(Screen(1280, 1024), 173, 81), (ScreenPlace{553, 471}));
  EXPECT_EQ(CentredPlace(Screen(640, 480), 241, 155), (ScreenPlace{199, 162}));
  // Controls of the fixed dialogs stay inside their client areas.
  for (const Box& b : {kRepeatLabelBox, kRepeatEditBox, kRepeatOkBox}) {
    EXPECT_LE(b.left + b.width, kRepeatClientWidth);
    EXPECT_LE(b.top + b.height, kRepeatClientHeight);
  }
  EXPECT_EQ(kMessageLabelBox.width, 229);
  EXPECT_EQ(kMessageLabelBox.height, 97);
  for (const Box& b : {kMessageLabelBox, kMessageOkBox}) {
    EXPECT_LE(b.left + b.width, kMessageClientWidth);
    EXPECT_LE(b.top + b.height, kMessageClientHeight);
  }
  EXPECT_LE(kMessageLabelBox.top + kMessageLabelBox.height, kMessageOkBox.top);
  // Zero from a broken display would divide by zero in the mouse factors.
  const ScreenSize broken = MakeScreenSize(0, -5);
  EXPECT_EQ(broken.width, 1);
  EXPECT_EQ(broken.height, 1);
  EXPECT_DOUBLE_EQ(broken.scale_x, 65535.0);
}

// The program's windows around a dialog, with the desktop they stand on.
struct HidingRig {
  fake::FakeDesktop desk;
  fake::FakePlaybackHost program;
  EngineState state;
  WindowHandle target = desk.AddWindow("Editor");
  WindowHandle edit = desk.AddWindow("", 0, target);
  HidingRig() {
    desk.SetForegroundDirect(target);
    state.TargetWindow = edit;
  }
};

TEST(HiddenProgram, MessageAndPromptHideTheMainWindowAndGiveTheForegroundBack) {
  for (PlaybackDialog d : {PlaybackDialog::Message, PlaybackDialog::RepeatPrompt}) {
    HidingRig r;
    {
      HiddenProgram hidden(d, r.program, r.desk, r.desk, r.state);
      EXPECT_EQ(r.program.program_log, (std::vector<std::string>{"hide main"}));
      // The window in front took the keys sent to it before anything moved.
      EXPECT_EQ(r.desk.window_log, (std::vector<std::string>{"takeinput " + H(r.target)}));
      r.desk.SetForeground(r.desk.AddWindow("Dialog"));  // the dialog comes forward
    }
    EXPECT_EQ(r.program.program_log, (std::vector<std::string>{"hide main", "show main"}));
    EXPECT_EQ(r.desk.Foreground(), r.target);
    EXPECT_FALSE(r.state.RestoredForPause);
    EXPECT_FALSE(r.state.MainHiddenForPause);
  }
  {
    // Minimized: restored first (so the dialog can show), then hidden; the
    // message does not count as a pause.
    HidingRig r;
    r.program.minimized = true;
    { HiddenProgram hidden(PlaybackDialog::Message, r.program, r.desk, r.desk, r.state); }
    EXPECT_EQ(r.program.program_log,
              (std::vector<std::string>{"restore application", "hide main", "show main"}));
    EXPECT_FALSE(r.state.RestoredForPause);
  }
  {
    // A main window the user had put out of sight stays out of sight.
    HidingRig r;
    r.program.main_visible = false;
    { HiddenProgram hidden(PlaybackDialog::Message, r.program, r.desk, r.desk, r.state); }
    EXPECT_TRUE(r.program.program_log.empty());
    EXPECT_EQ(r.desk.Foreground(), r.target);
  }
}

TEST(HiddenProgram, PauseHandsFocusToTheTargetAndLeavesTheMainWindowToTheEnd) {
  HidingRig r;
  r.program.minimized = true;
  {
    HiddenProgram hidden(PlaybackDialog::Pause, r.program, r.desk, r.desk, r.state);
    EXPECT_TRUE(r.state.RestoredForPause);
    EXPECT_TRUE(r.state.MainHiddenForPause);
    EXPECT_TRUE(r.desk.window_log.empty());
    r.desk.SetForegroundDirect(r.desk.AddWindow("Pause (Ctrl+A)"));
  }
  EXPECT_EQ(r.program.program_log,
            (std::vector<std::string>{"restore application", "hide main"}));
  // The pause takes no foreground, so nothing waits for the target's keys.
  EXPECT_EQ(r.desk.window_log, (std::vector<std::string>{"handfocus " + H(r.edit)}));
  EXPECT_EQ(r.desk.focus(), r.edit);
  EXPECT_EQ(r.desk.Foreground(), r.target);

  // A second pause of the same playback finds the window hidden and keeps
  // the marks of the first.
  { HiddenProgram again(PlaybackDialog::Pause, r.program, r.desk, r.desk, r.state); }
  EXPECT_EQ(r.program.program_log.size(), 2u);
  EXPECT_TRUE(r.state.RestoredForPause);
  EXPECT_TRUE(r.state.MainHiddenForPause);
}

TEST(HiddenProgram, TrayModeOnlyShowsAndHidesTheApplicationWindow) {
  for (PlaybackDialog d :
       {PlaybackDialog::Message, PlaybackDialog::RepeatPrompt, PlaybackDialog::Pause}) {
    HidingRig r;
    r.program.use_tray = true;
    r.program.minimized = true;
    { HiddenProgram hidden(d, r.program, r.desk, r.desk, r.state); }
    EXPECT_EQ(r.program.program_log,
              (std::vector<std::string>{"show application", "hide application"}));
    EXPECT_FALSE(r.state.RestoredForPause);
    EXPECT_FALSE(r.state.MainHiddenForPause);
    if (d == PlaybackDialog::Pause) EXPECT_TRUE(r.desk.window_log.empty());
    else EXPECT_EQ(r.desk.window_log, (std::vector<std::string>{"takeinput " + H(r.target)}));
  }
}

}  // namespace
}  // namespace qlx
