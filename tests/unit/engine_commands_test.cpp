#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/extended_commands.h"
#include "fakes/playback_rig.h"

namespace qlx {
namespace {

using fake::InputEvent;
using fake::PlaybackRig;

// Mouse events as "flags dx dy data @ms".
std::vector<std::string> MouseEvents(const PlaybackRig& rig) {
  std::vector<std::string> out;
  for (const InputEvent& e : rig.desk.events) {
    if (e.kind != InputEvent::Kind::Mouse) continue;
    out.push_back(std::to_string(e.flags) + " " + std::to_string(e.dx) + " " +
                  std::to_string(e.dy) + " " + std::to_string(e.data) + " @" +
                  std::to_string(e.at_ms));
  }
  return out;
}

using Lines = std::vector<std::string>;

TEST(EngineMouse, ButtonTokensSendTheirFlagsWithoutWaitingBetweenEvents) {
  PlaybackRig rig;
  rig.Play("<LDN><LUP><LCLK><LDCLK><RDN><RUP><RCLK><RDCLK><MDN><MUP><MCLK><MDCLK>");
  EXPECT_EQ(MouseEvents(rig),
            (Lines{"2 0 0 0 @0", "4 0 0 0 @0",                                   // left
                   "2 0 0 0 @0", "4 0 0 0 @0",                                   // click
                   "2 0 0 0 @0", "4 0 0 0 @0", "2 0 0 0 @0", "4 0 0 0 @0",       // double
                   "8 0 0 0 @0", "16 0 0 0 @0", "8 0 0 0 @0", "16 0 0 0 @0",     // right
                   "8 0 0 0 @0", "16 0 0 0 @0", "8 0 0 0 @0", "16 0 0 0 @0",
                   "32 0 0 0 @0", "64 0 0 0 @0", "32 0 0 0 @0", "64 0 0 0 @0",   // middle
                   "32 0 0 0 @0", "64 0 0 0 @0", "32 0 0 0 @0", "64 0 0 0 @0"}));
  EXPECT_EQ(rig.Typed(), "");
  EXPECT_FALSE(rig.desk.AnyKeyDown());
}

TEST(EngineMouse, MouseDelayComesOnceBeforeEachTokenAndFollowsTheSpeed) {
  PlaybackRig rig;
  rig.Play("<SPMSE:0100><LCLK><WFW:001><SPEED:00002><RDCLK><SPMSE:0000><MCLK>");
  EXPECT_EQ(MouseEvents(rig),
            (Lines{"2 0 0 0 @100", "4 0 0 0 @100", "2048 0 0 120 @200", "8 0 0 0 @400",
                   "16 0 0 0 @400", "8 0 0 0 @400", "16 0 0 0 @400", "32 0 0 0 @400",
                   "64 0 0 0 @400"}));
  // The key delay is not the mouse delay.
  PlaybackRig keys;
  keys.Play("<SPKEY:0100><LCLK>");
  EXPECT_EQ(MouseEvents(keys), (Lines{"2 0 0 0 @0", "4 0 0 0 @0"}));
}

TEST(EngineMouse, WheelAmountsAndMalformedCounts) {
  PlaybackRig rig;
  rig.Play("<WFW:001><WFW:010><WBW:003><WFW:000><WBW:0x3>x");
  EXPECT_EQ(MouseEvents(rig), (Lines{"2048 0 0 120 @0", "2048 0 0 1200 @0",
                                     "2048 0 0 -360 @0", "2048 0 0 0 @0"}));
  // A count that is not a number is consumed without a wheel event.
  EXPECT_EQ(rig.Typed(), "x");
}

TEST(EngineMouse, MovesAreNormalizedToTheScreenReadAtStartUp) {
  PlaybackRig rig;
  rig.state.Screen = MakeScreenSize(1280, 960);
  rig.Play("<MMS:00640,00480><MMS:00000,00000><MMS:01280,00960><MMS:00.50,0001.>");
  EXPECT_EQ(MouseEvents(rig), (Lines{"32769 32767 32767 0 @0", "32769 0 0 0 @0",
                                     "32769 65535 65535 0 @0", "32769 25 68 0 @0"}));
  EXPECT_EQ(Normalize(100, 200, MakeScreenSize(1024, 768)), (NormalizedPoint{6399, 17066}));
  EXPECT_EQ(Normalize(1e12, -1e12, MakeScreenSize(1024, 768)),
            (NormalizedPoint{2147483647, -2147483647}));
}

TEST(EngineMouse, WindowMovesAreRelativeToTheForegroundWindowsFrame) {
  PlaybackRig rig;
  rig.state.Screen = MakeScreenSize(1280, 960);
  const WindowHandle back = rig.desk.AddWindow("Back");
  const WindowHandle front = rig.desk.AddWindowInFront("Front");
  rig.desk.SetRect(back, {0, 0, 100, 100});
  rig.desk.SetRect(front, {600, 400, 900, 700});
  rig.desk.SetForegroundDirect(front);
  rig.Play("<MMW:00040,00080><ACTIVATE:Back><MMW:00040,00080>");
  EXPECT_EQ(MouseEvents(rig), (Lines{"32769 32767 32767 0 @0", "32769 2047 5461 0 @0"}));
  // A frame partly off the screen gives coordinates below zero.
  rig.desk.SetRect(back, {-8, -8, 100, 100});
  rig.desk.events.clear();
  rig.Play("<MMW:00004,00004>");
  EXPECT_EQ(MouseEvents(rig), (Lines{"32769 -204 -273 0 @0"}));
  // Without a foreground window the position is taken from the screen.
  rig.desk.SetForegroundDirect(0);
  rig.desk.events.clear();
  rig.Play("<MMW:00640,00480>");
  EXPECT_EQ(MouseEvents(rig), (Lines{"32769 32767 32767 0 @0"}));
}

TEST(EngineMouse, EveryMoveFirstLetsTheClickedWindowFinishWithTheClicks) {
  // Mouse events and the hand-overs as they happened: "T" for a hand-over.
  PlaybackRig rig;
  rig.state.Screen = MakeScreenSize(1280, 960);
  rig.desk.SetForegroundDirect(rig.desk.AddWindowInFront("Front"));
  Lines order;
  size_t handovers = 0;
  rig.desk.on_event = [&](const InputEvent& e) {
    for (; handovers < rig.desk.window_log.size(); ++handovers)
      if (rig.desk.window_log[handovers] == "takeclicks") order.push_back("T");
    if (e.kind == InputEvent::Kind::Mouse) order.push_back(std::to_string(e.flags));
  };
  rig.Play("<LCLK><MMS:00640,00480><RCLK><WFW:001><MMW:00010,00010><LDCLK><MMS:00001,00001>"
           "<MMS:00002,00002>");
  EXPECT_EQ(order, (Lines{"2", "4", "T", "32769", "8", "16", "2048", "T", "32769", "2", "4", "2", "4",
                          "T", "32769", "T", "32769"}));
}

TEST(EngineMouse, MouseTokensLeaveOneShotModifiersHeldForTheNextKey) {
  PlaybackRig rig;
  rig.Play("<CTRL><LCLK>a");
  EXPECT_EQ(rig.Keys(), "+Ctrl +Mouse2 +Mouse4 +A -A -Ctrl");
}

TEST(EngineClipboard, CopyAndPasteAreCtrlChordsWithoutKeyDelay) {
  PlaybackRig rig;
  rig.Play("<SPKEY:0010><SHIFT><CLIPC>x<CLIPP>y");
  // No key delay, and the pending one-shot Shift survives the chord.
  EXPECT_EQ(rig.Keys(),
            "+Shift +Ctrl +C -C -Ctrl +X -X -Shift +Ctrl +V -V -Ctrl +Y -Y");
  ASSERT_EQ(rig.desk.events.size(), 14u);
  EXPECT_EQ(rig.desk.events[1].at_ms, 0u);  // Ctrl of the copy
  EXPECT_EQ(rig.desk.events[5].at_ms, 10u);  // x after its key delay
  EXPECT_EQ(rig.desk.events[8].at_ms, 10u);  // Ctrl of the paste
  // The paste waits a tenth of a second before anything else.
  EXPECT_GE(rig.desk.events[12].at_ms, 120u);
  EXPECT_LE(rig.desk.events[12].at_ms, 125u);
}

TEST(EngineClipboard, BeginClipPutsItsTextOnTheClipboardInsteadOfTypingIt) {
  {
    PlaybackRig rig;
    rig.Play("<BEGCLIP>Hello<ENDCLIP>");
    EXPECT_EQ(rig.desk.clipboard.text, "Hello");
    EXPECT_EQ(rig.Typed(), "");
    EXPECT_TRUE(rig.desk.events.empty());
    EXPECT_GE(rig.desk.now_ms, 50u);  // time for the clipboard to settle
  }
  {
    // Line breaks stay, tokens in the body are text, and playback goes on
    // after "<ENDCLIP>".
    PlaybackRig rig;
    rig.Play("a<BEGCLIP>one\r\n<ENTER>two<ENDCLIP>b<ENDCLIP>c");
    EXPECT_EQ(rig.desk.clipboard.text, "one\r\n<ENTER>two");
    EXPECT_EQ(rig.desk.clipboard.sets, 1);
    EXPECT_EQ(rig.Typed(), "abc");
  }
  {
    // An empty body empties the clipboard.
    PlaybackRig rig;
    rig.desk.clipboard.text = "old";
    rig.Play("<BEGCLIP><ENDCLIP>x");
    EXPECT_EQ(rig.desk.clipboard.text, "");
    EXPECT_EQ(rig.Typed(), "x");
  }
  {
    // Without "<ENDCLIP>" the token is skipped and the rest is typed.
    PlaybackRig rig;
    rig.desk.clipboard.text = "old";
    rig.Play("<BEGCLIP>Hello");
    EXPECT_EQ(rig.desk.clipboard.text, "old");
    EXPECT_EQ(rig.desk.clipboard.sets, 0);
    EXPECT_EQ(rig.Typed(), "Hello");
    EXPECT_EQ(rig.desk.now_ms, 0u);
  }
}

TEST(EngineClipboard, ClipboardFromAFileAndClipboardTextLongerThanARecord) {
  {
    PlaybackRig rig;
    rig.desk.files.Add("C:\\notes.txt", "line 1\r\nline 2\r\n\x1A");
    rig.Play("<CLIPF:C:\\notes.txt>x");
    EXPECT_EQ(rig.desk.clipboard.text, "line 1\r\nline 2\r\n");
    EXPECT_EQ(rig.Typed(), "x");
    EXPECT_GE(rig.desk.now_ms, 50u);
  }
  {
    // A file that cannot be opened: nothing changes and nothing waits.
    PlaybackRig rig;
    rig.desk.clipboard.text = "old";
    rig.Play("<CLIPF:C:\\missing.txt>x");
    EXPECT_EQ(rig.desk.clipboard.text, "old");
    EXPECT_EQ(rig.desk.now_ms, 0u);
    EXPECT_EQ(rig.Typed(), "x");
  }
  {
    // A text file may hold more than a record; its clipboard text is kept whole.
    PlaybackRig rig;
    const std::string body(6000, 'q');
    rig.desk.files.Add("C:\\big.txt", "<BEGCLIP>" + body + "<ENDCLIP>done");
    rig.Play("<TFILE:C:\\big.txt>");
    EXPECT_EQ(rig.desk.clipboard.text, body);
    EXPECT_EQ(rig.Typed(), "done");
  }
}

TEST(EngineFiles, TextFilesLoseOneFinalCtrlZAndEndAtAZeroByte) {
  EXPECT_EQ(TextOfFileBytes("abc\x1A"), "abc");
  EXPECT_EQ(TextOfFileBytes("abc\x1A\x1A"), "abc\x1A");
  EXPECT_EQ(TextOfFileBytes("a\x1A" "b"), "a\x1A" "b");
  EXPECT_EQ(TextOfFileBytes("\x1A"), "");
  EXPECT_EQ(TextOfFileBytes(""), "");
  EXPECT_EQ(TextOfFileBytes(std::string("ab\0cd\x1A", 6)), "ab");
  EXPECT_EQ(TextOfFileBytes(std::string("ab\x1A\0cd", 6)), "ab");
}

TEST(EngineFiles, TextFilePlaysAsMacroTextAndPlaybackGoesOn) {
  PlaybackRig rig;
  rig.desk.files.Add("C:\\play.txt", "from <SHIFT>file<ENTER><REPEAT:0002>r<I><ENDREP>\x1A");
  rig.desk.files.Add("C:\\empty.txt", "");
  rig.desk.files.Add("C:\\ctrlz.txt", "\x1A");
  rig.Play("<TFILE:C:\\play.txt>|<TFILE:C:\\empty.txt><TFILE:C:\\ctrlz.txt>"
           "<TFILE:C:\\missing.txt><TFILE:>end");
  EXPECT_EQ(rig.Typed(), "from File\nr1r2|end");
  EXPECT_TRUE(rig.host.messages.empty());
}

TEST(EngineFiles, TextFileLevelsEndOnTheirOwnAndAbortEndsThemAll) {
  {
    // A failed activation ends the file, not the macro that played it.
    PlaybackRig rig;
    rig.desk.files.Add("C:\\f.txt", "in<ACTIVATE:No Such Window>lost");
    rig.Play("<TFILE:C:\\f.txt>after");
    EXPECT_EQ(rig.Typed(), "inafter");
  }
  {
    PlaybackRig rig;
    rig.desk.files.Add("C:\\f.txt", "x<DELAY:00010>y");
    rig.desk.At(3000, [&] { rig.state.AbortRequested = true; });
    rig.Play("<TFILE:C:\\f.txt>after");
    EXPECT_EQ(rig.Typed(), "x");
    EXPECT_EQ(rig.host.messages.size(), 1u);
    EXPECT_FALSE(rig.desk.AnyKeyDown());
  }
  {
    // A file that plays itself stops at the nesting limit.
    PlaybackRig rig;
    rig.desk.files.Add("C:\\self.txt", "a<TFILE:C:\\self.txt>b");
    rig.Play("<TFILE:C:\\self.txt>");
    const std::string typed = rig.Typed();
    EXPECT_EQ(typed, std::string(Player::kMaxNesting - 1, 'a') +
                         std::string(Player::kMaxNesting - 1, 'b'));
  }
}

TEST(EngineFiles, FileTokensRunInOrderAndIgnoreEveryFailure) {
  PlaybackRig rig;
  rig.desk.files.directories.push_back("C:\\work\\");
  rig.desk.files.Add("C:\\a.txt", "A");
  rig.desk.files.Add("C:\\work\\old.txt", "O");
  rig.desk.files.Add("C:\\work\\target.txt", "T");
  rig.Play("<COPYFILE:C:\\a.txt;C:\\work\\target.txt>"  // replaces the target
           "<CHDIR:C:\\work><RENFILE:old.txt;new.txt>"  // relative to the new directory
           "<RENFILE:new.txt;target.txt>"               // an existing name is not replaced
           "<DELFILE:C:\\a.txt><DELFILE:C:\\a.txt>"     // the second one fails
           "<COPYFILE:missing.txt;x.txt><COPYFILE:no separator><CHDIR:C:\\nowhere>"
           "<RENFILE:;x.txt>done");
  EXPECT_EQ(rig.Typed(), "done");
  EXPECT_EQ(rig.desk.files.Bytes("C:\\work\\target.txt"), "A");
  EXPECT_EQ(rig.desk.files.Bytes("C:\\work\\new.txt"), "O");
  EXPECT_FALSE(rig.desk.files.Has("C:\\work\\old.txt"));
  EXPECT_FALSE(rig.desk.files.Has("C:\\a.txt"));
  EXPECT_FALSE(rig.desk.files.Has("C:\\work\\x.txt"));
  EXPECT_EQ(rig.desk.files.current, "C:\\work\\");
  EXPECT_EQ(rig.desk.files.log,
            (Lines{"copy C:\\a.txt > C:\\work\\target.txt", "chdir C:\\work",
                   "rename old.txt > new.txt", "rename new.txt > target.txt",
                   "delete C:\\a.txt", "delete C:\\a.txt", "copy missing.txt > x.txt",
                   "chdir C:\\nowhere"}));
  EXPECT_TRUE(rig.host.messages.empty());
}

TEST(EngineFiles, SwapHandsTheFileToTheMainWindowAndPlaysOn) {
  PlaybackRig rig;
  rig.Play("a<SWAP:C:\\macros\\OTHER.QLX>b<SWAP:>c");
  EXPECT_EQ(rig.host.swaps, (Lines{"C:\\macros\\OTHER.QLX"}));
  EXPECT_EQ(rig.Typed(), "abc");
}

TEST(EngineSoundAndWeb, WavesBeepsAndAddresses) {
  PlaybackRig rig;
  rig.Play("<WAV1:C:\\ding.wav><WAV2:C:\\chord.wav><BEEP><WAV1:>"
           "<HTTP:www.example.com/page><FTP:ftp.example.com>x");
  EXPECT_EQ(rig.desk.sound.played, (Lines{"wait C:\\ding.wav", "async C:\\chord.wav", "beep"}));
  ASSERT_EQ(rig.desk.launches.size(), 2u);
  EXPECT_EQ(rig.desk.launches[0].program, "www.example.com/page");
  EXPECT_TRUE(rig.desk.launches[0].default_action);
  EXPECT_EQ(rig.desk.launches[0].arguments, "");
  EXPECT_EQ(rig.desk.launches[1].program, "ftp.example.com");
  EXPECT_TRUE(rig.desk.launches[1].default_action);
  EXPECT_EQ(rig.Typed(), "x");
}

TEST(EngineDateTime, DatesAndTimesAreTypedWithTheKeyDelay) {
  {
    PlaybackRig rig;
    rig.desk.start_days = 35884 + (15 * 3600 + 4 * 60 + 23) / 86400.0;  // 30 March 1998
    rig.Play("<SPKEY:0010><Mmm DD, YYYY{NF000}>|<MM/DD/YY{N}>|<hh:mm AM{N}>");
    EXPECT_EQ(rig.Typed(), "Mar 30, 1998|3/30/98|3:04 PM");
    // Twelve characters, each after its key delay, then the separator.
    size_t keys_down = 0;
    uint64_t last = 0;
    for (const InputEvent& e : rig.desk.events) {
      if (e.up || e.vk == 16) continue;
      ++keys_down;
      EXPECT_EQ(e.at_ms, last + 10);
      last = e.at_ms;
    }
    EXPECT_EQ(keys_down, 12u + 1 + 7 + 1 + 7);
  }
  {
    PlaybackRig rig;
    rig.desk.start_days = 36220 + 8 / 24.0;  // 1 March 1999
    rig.Play("<DD Mmmmm YYYY{NP001}>|<MM/DD/YYYY{YF031}>|<YYYY-MM-DD{YX000}>");
    EXPECT_EQ(rig.Typed(), "28 February 1999|04/01/1999|1999-03-01");
  }
  {
    PlaybackRig rig;
    rig.desk.start_days = 36220 + (9 * 3600 + 5 * 60 + 7) / 86400.0;
    rig.Play("<hh:mm:ss{Y}> <hh:mm:ss{N}> <Day of Week 3{Y}>");
    EXPECT_EQ(rig.Typed(), "09:05:07 9:05:07 Monday");
  }
  {
    PlaybackRig rig;
    rig.desk.start_days = 36220 + 30 * 60 / 86400.0;  // 00:30
    rig.Play("<hh:mm AM{N}>");
    EXPECT_EQ(rig.Typed(), "12:30 AM");
  }
  {
    // An offset that is not a number types nothing; the next text does.
    PlaybackRig rig;
    rig.Play("<MM/DD/YY{YF0x1}>next");
    EXPECT_EQ(rig.Typed(), "next");
  }
  {
    // A pending one-shot Shift applies to the first character only.
    PlaybackRig rig;
    rig.desk.start_days = 35884 + (15 * 3600 + 4 * 60) / 86400.0;
    rig.Play("<SHIFT><hh:mm am{N}>");
    EXPECT_EQ(rig.Typed(), "#:04 pm");
  }
}

TEST(EnginePause, PausePlacesTheDialogAndKeepsTheFlagOnlyWhileItIsOpen) {
  PlaybackRig rig;
  rig.state.Screen = MakeScreenSize(1024, 768);
  std::vector<bool> in_progress;
  rig.host.during_pause = [&] { in_progress.push_back(rig.state.PauseInProgress); };
  rig.Play("a<PAUSE>b<PAUSE:999,999Hi>c<PAUSE:100,200Insert the disk>d<PAUSE:1x0,200Oops>e");
  EXPECT_EQ(rig.Typed(), "abcde");
  ASSERT_EQ(rig.host.pauses.size(), 4u);
  EXPECT_EQ(rig.host.pauses[0].top, 337);
  EXPECT_EQ(rig.host.pauses[0].left, 400);
  EXPECT_EQ(rig.host.pauses[0].message, "");
  EXPECT_EQ(rig.host.pauses[1].top, 655);
  EXPECT_EQ(rig.host.pauses[1].left, 800);
  EXPECT_EQ(rig.host.pauses[1].message, "Hi");
  EXPECT_EQ(rig.host.pauses[2].top, 100);
  EXPECT_EQ(rig.host.pauses[2].left, 200);
  EXPECT_EQ(rig.host.pauses[2].message, "Insert the disk");
  // A position that is not a number pauses in the middle, message and all.
  EXPECT_EQ(rig.host.pauses[3].top, 337);
  EXPECT_EQ(rig.host.pauses[3].left, 400);
  EXPECT_EQ(rig.host.pauses[3].message, "Oops");
  EXPECT_EQ(in_progress, (std::vector<bool>{true, true, true, true}));
  EXPECT_FALSE(rig.state.PauseInProgress);
  EXPECT_TRUE(rig.state.PauseShown);
  EXPECT_TRUE(rig.host.messages.empty());
}

TEST(EnginePause, AbortRestoresCapsLockAndTheWindowsAndEndsThePlaybackSilently) {
  PlaybackRig rig;
  const WindowHandle editor = rig.desk.AddWindow("Editor");
  const WindowHandle edit = rig.desk.AddWindow("", 0, editor);
  const WindowHandle other = rig.desk.AddWindowInFront("Other");
  rig.desk.SetForegroundDirect(other);
  rig.state.TargetWindow = edit;
  rig.state.CapsLockWasOn = true;
  // What the dialog's hiding leaves behind: a minimized program restored,
  // its main window hidden.
  rig.host.during_pause = [&] {
    rig.state.RestoredForPause = true;
    rig.state.MainHiddenForPause = true;
  };
  rig.host.pause_answers = {false};
  rig.Play("<SHFD>a<CTRL><PAUSE>b");
  // Held and pending modifiers are let go, then Caps Lock goes back on.
  EXPECT_EQ(rig.Keys(), "+Caps -Caps +Shift +A -A +Ctrl -Shift -Ctrl +Caps -Caps");
  EXPECT_TRUE(rig.host.messages.empty());
  EXPECT_EQ(rig.host.main_window_shown, 1);
  EXPECT_EQ(rig.host.application_minimized, 1);
  EXPECT_EQ(rig.state.TargetWindow, editor);
  EXPECT_EQ(rig.desk.Foreground(), editor);
  // The window in front took its keys before the main window came back.
  EXPECT_EQ(rig.desk.window_log.front(), "takeinput " + std::to_string(other));
  EXPECT_FALSE(rig.state.PauseInProgress);
  EXPECT_FALSE(rig.desk.AnyKeyDown());
}

TEST(EnginePause, ResumeRestoresAtTheEndAndTrayModeLeavesTheWindowsAlone) {
  {
    PlaybackRig rig;
    const WindowHandle editor = rig.desk.AddWindow("Editor");
    rig.desk.AddWindowInFront("Other");
    rig.state.TargetWindow = editor;
    rig.state.CapsLockWasOn = true;
    rig.host.during_pause = [&] { rig.state.MainHiddenForPause = true; };
    rig.Play("a<PAUSE>b");
    EXPECT_EQ(rig.Keys(), "+Caps -Caps +A -A +B -B +Caps -Caps");
    EXPECT_EQ(rig.host.main_window_shown, 1);
    EXPECT_EQ(rig.host.application_minimized, 0);
    EXPECT_EQ(rig.desk.Foreground(), editor);
  }
  {
    // The main window was out of sight before the pause: it stays so.
    PlaybackRig rig;
    rig.Play("a<PAUSE>b");
    EXPECT_EQ(rig.host.main_window_shown, 0);
  }
  {
    PlaybackRig rig;
    rig.host.use_tray = true;
    rig.state.CapsLockWasOn = true;
    rig.host.during_pause = [&] { rig.state.MainHiddenForPause = true; };
    rig.host.pause_answers = {false};
    rig.Play("a<PAUSE>b");
    EXPECT_EQ(rig.Keys(), "+Caps -Caps +A -A +Caps -Caps");
    EXPECT_EQ(rig.host.main_window_shown, 0);
    EXPECT_TRUE(rig.desk.window_log.empty());
  }
}

TEST(EnginePause, ModifiersOfTheResumingHotKeyDoNotLeakIntoTheRest) {
  PlaybackRig rig;
  // Ctrl+Alt of the hot key that resumes are still down when playback goes on.
  rig.host.during_pause = [&] {
    rig.desk.HoldKey(0xA2);
    rig.desk.HoldKey(0xA4);
  };
  rig.Play("a<PAUSE>b");
  EXPECT_EQ(rig.Typed(), "ab");
  EXPECT_EQ(rig.Keys(), "+A -A +vk232 -vk232 -LCtrl -LAlt +B -B");
  EXPECT_FALSE(rig.desk.AnyKeyDown());

  // A modifier the macro holds itself is not the user's to let go.
  PlaybackRig held;
  held.host.during_pause = [&] { held.desk.HoldKey(0xA2); };
  held.Play("<SHFD>a<PAUSE>b<SHFU>c");
  EXPECT_EQ(held.Typed(), "ABc");
  EXPECT_EQ(held.Keys(), "+Shift +A -A -LCtrl +B -B -Shift +C -C");
}

TEST(EnginePause, AbortInsideARepeatOrATextFileEndsEveryLevel) {
  {
    PlaybackRig rig;
    rig.host.pause_answers = {true, false};
    rig.Play("<REPEAT:0003>x<PAUSE><ENDREP>y");
    EXPECT_EQ(rig.Typed(), "xx");
    EXPECT_EQ(rig.host.pauses.size(), 2u);
    EXPECT_FALSE(rig.state.InRepeatPass);
    EXPECT_TRUE(rig.host.messages.empty());
  }
  {
    PlaybackRig rig;
    rig.host.pause_answers = {false};
    rig.desk.files.Add("C:\\p.txt", "in<PAUSE>lost");
    rig.Play("<REPEAT:0002><TFILE:C:\\p.txt><ENDREP>after");
    EXPECT_EQ(rig.Typed(), "in");
    EXPECT_TRUE(rig.host.messages.empty());
  }
  {
    // In the inline last pass as well.
    PlaybackRig rig;
    rig.host.pause_answers = {true, false};
    rig.Play("<REPEAT:0002>x<PAUSE><ENDREP>y");
    EXPECT_EQ(rig.Typed(), "xx");
  }
}

TEST(EnginePause, AnAbortRequestDuringThePauseStopsAfterIt) {
  PlaybackRig rig;
  rig.host.during_pause = [&] { rig.state.AbortRequested = true; };
  rig.Play("a<PAUSE>b");
  EXPECT_EQ(rig.Typed(), "a");
  EXPECT_EQ(rig.host.messages.size(), 1u);
}

TEST(EngineReentry, AMacroStartedInsideAPromptGivesTheStateBackAfterwards) {
  PlaybackRig rig;
  rig.host.prompt_answers = {2, 0};
  rig.host.during_prompt = [&] {
    rig.host.during_prompt = nullptr;
    rig.Play("<SPEED:00000>b");  // a hot key pressed while the prompt is open
  };
  rig.Play("<SPKEY:0010><PROMPTREP>a<ENDREP>");
  EXPECT_EQ(rig.Typed(), "baa");
  // The interrupted macro keeps its key delay and speed.
  std::vector<uint64_t> a_times;
  for (const InputEvent& e : rig.desk.events)
    if (e.vk == 'A' && !e.up) a_times.push_back(e.at_ms);
  ASSERT_EQ(a_times.size(), 2u);
  EXPECT_EQ(a_times[1] - a_times[0], 10u);
  EXPECT_EQ(rig.state.SpeedFactor, 1.0);
}

TEST(EngineReentry, AnAbortOfAMacroStartedInsideTheAbortMessageIsReportedToTheHost) {
  // The host drops the second message while the first is open; the player
  // must still ask, with its own playback's bookkeeping.
  PlaybackRig rig;
  rig.desk.At(50, [&] { rig.state.AbortRequested = true; });
  rig.host.during_message = [&] {
    rig.host.during_message = nullptr;
    rig.desk.At(rig.desk.now_ms + 50, [&] { rig.state.AbortRequested = true; });
    rig.Play("b<DELAY:00001>c");
  };
  rig.Play("a<DELAY:00001>z");
  EXPECT_EQ(rig.Typed(), "ab");
  EXPECT_EQ(rig.host.messages.size(), 2u);
  EXPECT_FALSE(rig.desk.AnyKeyDown());
}

}  // namespace
}  // namespace qlx
