#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/playback_rig.h"

namespace qlx {
namespace {

using fake::PlaybackRig;

std::string H(WindowHandle h) { return std::to_string(h); }

TEST(EngineWindows, SearchTakesTheExactTitleFirstThenTheFrontmostContainingIt) {
  PlaybackRig rig;
  const WindowHandle untitled = rig.desk.AddWindow("");
  const WindowHandle notes = rig.desk.AddWindow("My Notepad Notes");
  const WindowHandle pad = rig.desk.AddWindow("Untitled - Notepad");
  const WindowHandle exact = rig.desk.AddWindow("Notepad");
  const WindowHandle calc = rig.desk.AddWindow("Calculator");
  WindowHandle w = 0;

  // Exact match wins even from behind.
  EXPECT_TRUE(rig.windows.GetWinHandle(w, "Notepad"));
  EXPECT_EQ(w, exact);
  // No exact title: the frontmost window containing it, any case.
  EXPECT_TRUE(rig.windows.GetWinHandle(w, "note"));
  EXPECT_EQ(w, notes);
  EXPECT_EQ(rig.windows.SearchTitle, "NOTE");
  EXPECT_EQ(rig.windows.FoundWindow, notes);
  EXPECT_TRUE(rig.windows.GetWinHandle(w, "untitled"));
  EXPECT_EQ(w, pad);
  EXPECT_TRUE(rig.windows.GetWinHandle(w, "calc"));
  EXPECT_EQ(w, calc);
  EXPECT_FALSE(rig.windows.GetWinHandle(w, "Missing"));
  EXPECT_EQ(w, 0u);
  // An empty title never finds a window, not even an untitled one.
  EXPECT_FALSE(rig.windows.GetWinHandle(w, ""));
  (void)untitled;
  // Only a-z change case: accented letters must match as written.
  rig.desk.AddWindow("caf\xE9 menu");
  EXPECT_FALSE(rig.windows.GetWinHandle(w, "CAF\xC9"));
  EXPECT_TRUE(rig.windows.GetWinHandle(w, "CAF\xE9"));
  // Child windows are not top-level and are not searched.
  rig.desk.AddWindow("Toolbar", 0, calc);
  EXPECT_FALSE(rig.windows.GetWinHandle(w, "Toolbar"));
}

TEST(EngineWindows, ActivationRestoresFocusesAndBringsForward) {
  PlaybackRig rig;
  const WindowHandle front = rig.desk.AddWindow("Front");
  const WindowHandle calc = rig.desk.AddWindow("Calculator", 0, 0, /*minimized=*/true);
  rig.desk.SetForegroundDirect(front);
  rig.Play("<ACTIVATE:calc>x");
  // The window in front takes what was typed before it loses the foreground.
  EXPECT_EQ(rig.desk.window_log,
            (std::vector<std::string>{"takeinput " + H(front), "restore " + H(calc), "focus " + H(calc),
                                      "foreground " + H(calc)}));
  EXPECT_EQ(rig.state.TargetWindow, calc);
  EXPECT_EQ(rig.desk.Foreground(), calc);
  EXPECT_EQ(rig.Typed(), "x");

  // Not minimized: no restore. A program slow to give its window the focus
  // is waited for before the next key goes out.
  rig.desk.window_log.clear();
  rig.desk.slow_to_focus = 3;
  rig.Play("<ACTIVATE:Front>y");
  EXPECT_EQ(rig.desk.window_log, (std::vector<std::string>{"takeinput " + H(calc), "focus " + H(front),
                                                           "foreground " + H(front)}));
  EXPECT_EQ(rig.desk.slow_to_focus, 0);
  ASSERT_FALSE(rig.desk.events.empty());
  EXPECT_GE(rig.desk.events.back().at_ms, 3 * WindowCommands::kFocusPollMs);

  // A program that never takes the focus holds the playback up only so long.
  rig.desk.slow_to_focus = 1000000;
  const uint64_t before = rig.desk.now_ms;
  rig.Play("<ACTIVATE:calc>");
  EXPECT_LE(rig.desk.now_ms - before, WindowCommands::kFocusWaitMs + WindowCommands::kFocusPollMs);
}

TEST(EngineWindows, AWindowRaisedUnderThePointerIsTypedIntoOnceThePointerHasEnteredIt) {
  // Under Wine the raised window hears the pointer enter it and then copies
  // the physical keyboard over its key state; a capital typed before that
  // loses its Shift. The entry shows as a pointer move the program did not
  // make.
  struct Case {
    const char* name;
    bool resyncs;
    bool hooked;
    bool front_under_pointer;   // the window in front covers the pointer
    bool calc_under_pointer;    // the window brought forward is under it
    int64_t entry_at_ms;        // when the entry comes; -1 never
    uint64_t typed_at_ms;       // when the capital goes out
    bool waits;
  };
  constexpr uint64_t kNever = WindowCommands::kFocusWaitMs;
  const Case cases[] = {
      {"entry after 40 ms", true, true, true, true, 40, 40, true},
      {"the entry never comes", true, true, true, true, -1, kNever, true},
      {"already in front under the pointer", true, true, false, true, -1, 0, false},
      {"the pointer is elsewhere", true, true, true, false, -1, 0, false},
      {"a system that keeps its key state", false, true, true, true, -1, 0, false},
      {"no mouse hook counts moves", true, false, true, true, -1, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PlaybackRig rig;
    const WindowHandle front = rig.desk.AddWindow("Front");
    const WindowHandle calc = rig.desk.AddWindow("Calculator");
    rig.desk.SetForegroundDirect(front);
    rig.desk.raise_resyncs_keyboard = c.resyncs;
    if (c.hooked) rig.desk.system_pointer_moves = 7;
    if (c.front_under_pointer) rig.desk.under_pointer.push_back(front);
    if (c.calc_under_pointer) rig.desk.under_pointer.push_back(calc);
    if (c.entry_at_ms >= 0)
      rig.desk.At(static_cast<uint64_t>(c.entry_at_ms), [&] { rig.desk.system_pointer_moves = 8; });
    rig.Play("<ACTIVATE:Calculator>Q");
    EXPECT_EQ(rig.Typed(), "Q");
    ASSERT_FALSE(rig.desk.events.empty());
    const uint64_t typed_at = rig.desk.events.front().at_ms;
    EXPECT_GE(typed_at, c.typed_at_ms);
    EXPECT_LE(typed_at, c.typed_at_ms + WindowCommands::kFocusPollMs);
    // Once the entry has reached the window's program, one answered message
    // means it has also taken the keyboard snapshot.
    const bool handed = rig.desk.window_log.back() == "takeinput " + H(calc);
    EXPECT_EQ(handed, c.waits && c.entry_at_ms >= 0);
    if (!c.resyncs) {
      EXPECT_EQ(rig.desk.pointer_move_looks, 0u);
    }
  }
}

TEST(EngineWindows, CurrentMeansTheForegroundWindow) {
  PlaybackRig rig;
  rig.desk.AddWindow("Back");
  const WindowHandle fg = rig.desk.AddWindow("Fore");
  rig.desk.SetForegroundDirect(fg);
  rig.Play("<WMIN:\"CURRENT\"><WSIZE:0640,0480\"CURRENT\">a");
  EXPECT_EQ(rig.desk.window_log,
            (std::vector<std::string>{"takeinput " + H(fg), "syscommand " + H(fg) + " 61472",
                                      "size " + H(fg) + " 640x480"}));
  EXPECT_EQ(rig.Typed(), "a");
  EXPECT_EQ(rig.state.TargetWindow, 0u);  // window tokens do not change the target

  rig.desk.window_log.clear();
  rig.Play("<ACTIVATE:\"CURRENT\">b");
  EXPECT_EQ(rig.state.TargetWindow, fg);
  EXPECT_EQ(rig.Typed(), "ab");

  // With nothing in front there is no current window.
  PlaybackRig empty;
  empty.Play("<WMAX:\"CURRENT\">c<ACTIVATE:\"CURRENT\">d");
  EXPECT_TRUE(empty.desk.window_log.empty());
  EXPECT_EQ(empty.Typed(), "c");
}

TEST(EngineWindows, WindowTokensActOnTheFoundWindowOrDoNothing) {
  PlaybackRig rig;
  const WindowHandle ed = rig.desk.AddWindow("Editor");
  rig.Play("<WSHOW:editor><WHIDE:Editor><WSHUT:edit><WPOS:0010,0020Editor><WMAX:Editor>"
           "<WRES:Editor><WCLS:Editor><WCLS:Missing><WSHOW:><WSIZE:00x0,0100Editor>x");
  EXPECT_EQ(rig.desk.window_log,
            (std::vector<std::string>{"show " + H(ed), "hide " + H(ed), "quit " + H(ed),
                                      "move " + H(ed) + " 10,20",
                                      "syscommand " + H(ed) + " 61488", "takeinput " + H(ed),
                                      "syscommand " + H(ed) + " 61728", "takeinput " + H(ed),
                                      "syscommand " + H(ed) + " 61536"}));
  EXPECT_EQ(rig.Typed(), "x");

  // Maximising a window behind makes it active: what was typed reaches the
  // window in front first, and the next key waits until the new one takes keys.
  PlaybackRig behind;
  const WindowHandle front = behind.desk.AddWindow("Front");
  const WindowHandle pad = behind.desk.AddWindow("Pad");
  behind.desk.SetForegroundDirect(front);
  behind.desk.slow_to_focus = 3;
  behind.Play("a<WMAX:Pad>x");
  EXPECT_EQ(behind.desk.window_log,
            (std::vector<std::string>{"takeinput " + H(front), "syscommand " + H(pad) + " 61488"}));
  EXPECT_EQ(behind.desk.slow_to_focus, 0);
  ASSERT_FALSE(behind.desk.events.empty());
  EXPECT_GE(behind.desk.events.back().at_ms, 3 * WindowCommands::kFocusPollMs);
}

TEST(EngineWindows, LaunchSplitsArgumentsAtTheParamMarker) {
  PlaybackRig rig;
  rig.Play("<LAUNCH:C:\\TOOLS\\EDIT.EXE<PARAM>/R NOTES.TXT>a<LAUNCH:CALC.EXE>b");
  ASSERT_EQ(rig.desk.launches.size(), 2u);
  EXPECT_EQ(rig.desk.launches[0].program, "C:\\TOOLS\\EDIT.EXE");
  EXPECT_EQ(rig.desk.launches[0].arguments, "/R NOTES.TXT");
  EXPECT_EQ(rig.desk.launches[1].program, "CALC.EXE");
  EXPECT_EQ(rig.desk.launches[1].arguments, "");
  EXPECT_EQ(rig.Typed(), "ab");
  EXPECT_EQ(rig.desk.now_ms, 0u);  // no waiting without a wait token
}

TEST(EngineWindows, LaunchAndWaitTokens) {
  {
    // The window exists: only activated, nothing launched, no wait.
    PlaybackRig rig;
    const WindowHandle pad = rig.desk.AddWindow("Untitled - Notepad");
    rig.Play("<LAUNCHYES:05Notepad<LAUNCH:NOTEPAD.EXE>x");
    EXPECT_TRUE(rig.desk.launches.empty());
    EXPECT_EQ(rig.state.TargetWindow, pad);
    EXPECT_EQ(rig.desk.now_ms, 0u);
    EXPECT_EQ(rig.Typed(), "x");
  }
  {
    // Launched; its window comes after 3 s; then 2 s more.
    PlaybackRig rig;
    rig.desk.OnLaunchCreateWindow("NOTEPAD.EXE", "Untitled - Notepad", 3000);
    rig.Play("<LAUNCHNO:02Notepad<LAUNCH:NOTEPAD.EXE>x");
    ASSERT_EQ(rig.desk.launches.size(), 1u);
    EXPECT_EQ(rig.windows.LaunchWaitTitle, "Notepad");
    ASSERT_EQ(rig.desk.events.size(), 2u);
    const uint64_t typed_at = rig.desk.events.front().at_ms;
    EXPECT_GE(typed_at, 5000u);
    EXPECT_LE(typed_at, 5000u + WindowCommands::kPollMs + 2);
    EXPECT_NE(rig.state.TargetWindow, 0u);
    EXPECT_EQ(rig.Typed(), "x");
  }
  {
    // The window never comes: after 30 s the level ends.
    PlaybackRig rig;
    rig.Play("<LAUNCHNO:02Notepad<LAUNCH:NOTEPAD.EXE>x");
    EXPECT_EQ(rig.desk.launches.size(), 1u);
    EXPECT_GE(rig.desk.now_ms, 30000u);
    EXPECT_LE(rig.desk.now_ms, 30000u + WindowCommands::kPollMs + 2);
    EXPECT_EQ(rig.Typed(), "");
  }
  {
    // Not there: launched as by LAUNCHNO; the title is kept to 30 characters.
    PlaybackRig rig;
    const std::string title(40, 'T');
    rig.desk.OnLaunchCreateWindow("P.EXE", std::string(30, 'T') + " x", 100);
    rig.Play("<LAUNCHYES:00" + title + "<LAUNCH:P.EXE<PARAM>-a>y");
    EXPECT_EQ(rig.windows.LaunchWaitTitle, std::string(30, 'T'));
    ASSERT_EQ(rig.desk.launches.size(), 1u);
    EXPECT_EQ(rig.desk.launches[0].arguments, "-a");
    EXPECT_EQ(rig.Typed(), "y");
  }
  {
    // An abort ends the wait for the window at once.
    PlaybackRig rig;
    rig.desk.At(200, [&] { rig.state.AbortRequested = true; });
    rig.Play("<LAUNCHNO:02Notepad<LAUNCH:NOTEPAD.EXE>x");
    EXPECT_LT(rig.desk.now_ms, 1000u);
    EXPECT_EQ(rig.host.messages.size(), 1u);
  }
}

TEST(EngineWindows, ActivateProgChoosesTheFirstMatchingProcessAndItsFirstWindow) {
  PlaybackRig rig;
  rig.desk.AddProcess(4, "System");
  rig.desk.AddProcess(10, "explorer.exe");
  rig.desk.AddProcess(20, "NOTEPAD.EXE");
  rig.desk.AddProcess(30, "NOTEPAD.EXE");
  rig.desk.AddWindow("Desktop", 10);
  const WindowHandle a = rig.desk.AddWindow("First", 20);
  rig.desk.AddWindow("Second", 20);
  rig.desk.AddWindow("Other pad", 30);
  EXPECT_TRUE(rig.windows.ActivateProg("NOTEPAD"));
  EXPECT_EQ(rig.state.TargetWindow, a);
  EXPECT_EQ(rig.desk.Foreground(), a);
  EXPECT_FALSE(rig.windows.ActivateProg("notepad"));  // case counts
  EXPECT_FALSE(rig.windows.ActivateProg(""));
  EXPECT_FALSE(rig.windows.ActivateProg("System"));  // running, but no window
}

TEST(EngineWindows, MakeSureItsAParentClimbsToTheTopLevelWindow) {
  PlaybackRig rig;
  const WindowHandle top = rig.desk.AddWindow("Main");
  const WindowHandle child = rig.desk.AddWindow("", 0, top);
  const WindowHandle grandchild = rig.desk.AddWindow("", 0, child);
  EXPECT_EQ(rig.windows.MakeSureItsAParent(top), top);
  EXPECT_EQ(rig.windows.MakeSureItsAParent(grandchild), top);
  EXPECT_EQ(rig.windows.MakeSureItsAParent(0), 0u);
  EXPECT_EQ(rig.windows.MakeSureItsAParent(999), 0u);
  // A parent chain that loops must not hang the program.
  const WindowHandle a = rig.desk.AddWindow("", 0, 1000);
  const WindowHandle b = rig.desk.AddWindow("", 0, a);
  rig.desk.SetParentLink(a, b);
  EXPECT_EQ(rig.windows.MakeSureItsAParent(a), 0u);
}

}  // namespace
}  // namespace qlx
