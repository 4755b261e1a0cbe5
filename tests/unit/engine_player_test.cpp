#include <gtest/gtest.h>

#include <string>

#include "fakes/playback_rig.h"

namespace qlx {
namespace {

using fake::InputEvent;
using fake::PlaybackRig;

TEST(EnginePlayer, CharactersGoThroughTheLayoutWithScanCodesAndOneShotShift) {
  PlaybackRig rig;
  rig.Play("Ab1!");
  EXPECT_EQ(rig.Keys(), "+Shift +A -A -Shift +B -B +1 -1 +Shift +1 -1 -Shift");
  EXPECT_EQ(rig.Typed(), "Ab1!");
  for (const InputEvent& e : rig.desk.events) {
    EXPECT_EQ(e.scan, rig.desk.MapVirtualKey(e.vk)) << int(e.vk);
    EXPECT_FALSE(e.extended);
  }
  ASSERT_EQ(rig.desk.events.size(), 12u);
  EXPECT_EQ(rig.desk.events[1].scan, 0x1E);  // 'A' on the fake's set-1 table
  EXPECT_FALSE(rig.desk.AnyKeyDown());
  EXPECT_TRUE(rig.host.messages.empty());
}

TEST(EnginePlayer, LineBreaksAndLiteralAngleBrackets) {
  {
    PlaybackRig rig;
    rig.Play("a\r\nb\rc");  // CR LF is one Enter, a lone CR is Enter too
    EXPECT_EQ(rig.Keys(), "+A -A +Enter -Enter +B -B +Enter -Enter +C -C");
  }
  {
    PlaybackRig rig;
    rig.Play("Price <10");
    EXPECT_EQ(rig.Typed(), "Price <10");
  }
  {
    PlaybackRig rig;
    rig.Play("<enter><DELAY:1.5><ENTR>");
    EXPECT_EQ(rig.Typed(), "<enter><DELAY:1.5><ENTR>");
    EXPECT_EQ(rig.desk.waited_ms, 0u);  // a literal is no delay
  }
  {
    PlaybackRig rig;
    rig.Play("a>{;\tb");
    EXPECT_EQ(rig.Typed(), "a>{;\tb");
  }
  {
    // The unmatched `<` is a character: it releases a pending one-shot.
    PlaybackRig rig;
    rig.Play("<CTRL><x");
    EXPECT_EQ(rig.Keys(), "+Ctrl +Shift +vk188 -vk188 -Shift -Ctrl +X -X");
  }
}

TEST(EnginePlayer, ModifierTokens) {
  {
    PlaybackRig rig;
    rig.Play("<SHIFT>abc");
    EXPECT_EQ(rig.Typed(), "Abc");
    EXPECT_EQ(rig.Keys(), "+Shift +A -A -Shift +B -B +C -C");
  }
  {
    PlaybackRig rig;
    rig.Play("<ALT><ALT>");
    EXPECT_EQ(rig.Keys(), "+Alt -Alt");
  }
  {
    PlaybackRig rig;
    rig.Play("<ALT>f");
    EXPECT_EQ(rig.Keys(), "+Alt +F -F -Alt");
    EXPECT_EQ(rig.Typed(), "{Alt+f}");
  }
  {
    // One-shots pile up and go in the order Shift, Ctrl, Alt after a key.
    PlaybackRig rig;
    rig.Play("<ALT><CTRL><SHIFT><DELETE>x");
    EXPECT_EQ(rig.Keys(), "+Alt +Ctrl +Shift +vk46 -vk46 -Shift -Ctrl -Alt +X -X");
  }
  {
    // Held modifiers stay down across keys until their up token.
    PlaybackRig rig;
    rig.Play("<SHFD>ab<SHFU>c<CTLD><CTLU><ALTD><ALTU><WIND><WINU>");
    EXPECT_EQ(rig.Keys(),
              "+Shift +A -A +B -B -Shift +C -C +Ctrl -Ctrl +Alt -Alt +LWin -LWin");
    EXPECT_EQ(rig.Typed(), "ABc");
  }
}

TEST(EnginePlayer, NamedKeysWithTheirCodesAndTheKeyDelay) {
  PlaybackRig rig;
  rig.Play("<SPKEY:0040><TAB><F24><KEYP-><PA1><LEFTWIN><RIGHT MOUSE><MIDDLE MOUSE><SHIFT><HOME>");
  const auto& ev = rig.desk.events;
  ASSERT_EQ(ev.size(), 18u);
  const int codes[] = {9, 135, 109, 253, 91, 2, 4};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(ev[2 * i].vk, codes[i]);
    EXPECT_FALSE(ev[2 * i].up);
    EXPECT_EQ(ev[2 * i + 1].vk, codes[i]);
    EXPECT_TRUE(ev[2 * i + 1].up);
  }
  // 40 ms before each key, none before the two mouse-button keys.
  EXPECT_EQ(ev[0].at_ms, 40u);
  EXPECT_EQ(ev[2].at_ms, 80u);
  EXPECT_EQ(ev[8].at_ms, 200u);
  EXPECT_EQ(ev[10].at_ms, 200u);
  EXPECT_EQ(ev[12].at_ms, 200u);
  EXPECT_EQ(rig.desk.Keys().substr(rig.desk.Keys().find("+Shift")), "+Shift +vk36 -vk36 -Shift");
  EXPECT_EQ(ev[15].at_ms, 240u);
}

TEST(EnginePlayer, AltCodesAndCharactersAbove127) {
  {
    // Characters above 127 go as the character itself, never as Alt codes,
    // and no Alt is left pressed around them.
    PlaybackRig rig;
    rig.Play("\xE9<SHIFT>\xFC"
             "a");  // character 233, then a one-shot Shift over 252
    EXPECT_EQ(rig.Keys(), "+U233 -U233 +Shift +U252 -U252 -Shift +A -A");
    EXPECT_EQ(rig.Typed(), "\xE9\xFC"
                          "a");
  }
  {
    PlaybackRig rig;
    rig.Play("<ALT:065><ALT4:0233>");
    EXPECT_EQ(rig.Keys(),
              "+Alt +Num0 -Num0 +Num6 -Num6 +Num5 -Num5 -Alt "
              "+Alt +Num0 -Num0 +Num2 -Num2 +Num3 -Num3 +Num3 -Num3 -Alt");
  }
  {
    // Anything but digits in the code: the token has no effect at all.
    PlaybackRig rig;
    rig.Play("<ALT:0x5>z");
    EXPECT_EQ(rig.Keys(), "+Z -Z");
  }
  {
    // Alt codes and characters take the key delay, once per code.
    PlaybackRig rig;
    rig.Play("<SPKEY:0010><ALT:065>\xFC");
    ASSERT_EQ(rig.desk.events.size(), 10u);
    EXPECT_EQ(rig.desk.events.front().at_ms, 10u);
    EXPECT_EQ(rig.desk.events.back().at_ms, 20u);
    EXPECT_EQ(rig.Typed(), "A\xFC");
  }
}

TEST(EnginePlayer, LayoutShiftStatesAndCharactersTheLayoutCannotType) {
  {
    PlaybackRig rig;
    rig.desk.SetKeyScan('@', 0x0651);  // AltGr+Q, as on a German layout
    rig.desk.SetKeyScan('#', 0x0751);
    rig.Play("@#");
    EXPECT_EQ(rig.Keys(),
              "+Ctrl +Alt +Q -Q -Ctrl -Alt +Shift +Ctrl +Alt +Q -Q -Shift -Ctrl -Alt");
  }
  {
    PlaybackRig rig;
    rig.desk.SetKeyScan('~', -1);
    rig.desk.SetKeyScan('^', 0x0336);  // Ctrl+Shift: the typer has no such chord
    rig.desk.SetKeyScan('|', 0x08DC);  // a shift state beyond the three modifiers
    rig.Play("<SHIFT>~^|x");
    EXPECT_EQ(rig.Keys(), "+Shift +U126 -U126 -Shift +U94 -U94 +U124 -U124 +X -X");
    EXPECT_EQ(rig.Typed(), "~^|x");
  }
  {
    // A lone line feed is what the layout says: Ctrl+Enter.
    PlaybackRig rig;
    rig.Play("\n");
    EXPECT_EQ(rig.Keys(), "+Ctrl +Enter -Enter -Ctrl");
  }
}

TEST(EnginePlayer, TimingTokensScaleBySpeedFactor) {
  {
    PlaybackRig rig;
    rig.Play("a<DELAY:01.50>b");
    const auto& ev = rig.desk.events;
    ASSERT_EQ(ev.size(), 4u);
    const uint64_t gap = ev[2].at_ms - ev[1].at_ms;
    EXPECT_GE(gap, 1500u);
    EXPECT_LE(gap, 1502u);
    EXPECT_GT(rig.desk.pump_calls, 3u);  // messages flow during the wait
  }
  {
    PlaybackRig rig;
    rig.Play("<MSD:0250>a<SPEED:00002><MSD:0100>b<SPEED:00.50><DELAY:01.00>c");
    const auto& ev = rig.desk.events;
    ASSERT_EQ(ev.size(), 6u);
    EXPECT_EQ(ev[0].at_ms, 250u);
    EXPECT_EQ(ev[2].at_ms, 450u);
    EXPECT_GE(ev[4].at_ms - ev[2].at_ms, 500u);
    EXPECT_LE(ev[4].at_ms - ev[2].at_ms, 502u);
  }
  {
    // Speed 0: delays, key delays and mouse delays take no time.
    PlaybackRig rig;
    rig.Play("<SPEED:00000><SPKEY:0500><SPMSE:0500><DELAY:09.00><MSD:9999>ab<TAB>");
    EXPECT_EQ(rig.desk.now_ms, 0u);
    EXPECT_EQ(rig.Typed(), "ab\t");
    EXPECT_TRUE(rig.state.KeyDelayOn);
    EXPECT_TRUE(rig.state.MouseDelayOn);
    EXPECT_EQ(rig.state.MouseDelayMs, 500);
  }
  {
    // Trunc(0.25 x 3) is 0; a key delay of 0 switches the delay off;
    // a speed that does not parse changes nothing.
    PlaybackRig rig;
    rig.Play("<SPEED:00.25><MSD:0003><SPKEY:0100><SPKEY:0000>a<SPEED:0x.00><MSD:0004>b");
    EXPECT_FALSE(rig.state.KeyDelayOn);
    EXPECT_DOUBLE_EQ(rig.state.SpeedFactor, 0.25);
    ASSERT_EQ(rig.desk.events.size(), 4u);
    EXPECT_EQ(rig.desk.events[0].at_ms, 0u);
    EXPECT_EQ(rig.desk.events[2].at_ms, 1u);
  }
  {
    // Every playback starts at speed 1 with its delays off.
    PlaybackRig rig;
    rig.Play("<SPEED:00000><SPKEY:0100>");
    rig.Play("<MSD:0100>a");
    ASSERT_EQ(rig.desk.events.size(), 2u);
    EXPECT_EQ(rig.desk.events[0].at_ms, 100u);
    EXPECT_FALSE(rig.state.KeyDelayOn);
  }
}

TEST(EnginePlayer, CapsLockIsTurnedOffForATriggeredPlaybackAndBackOnAtItsEnd) {
  {
    // Typed in the case written in the macro, and Caps Lock is on again after.
    PlaybackRig rig;
    rig.desk.caps_lock_on = true;
    rig.state.CapsLockWasOn = true;
    rig.Play("aB");
    EXPECT_EQ(rig.Keys(), "+Caps -Caps +A -A +Shift +B -B -Shift +Caps -Caps");
    EXPECT_EQ(rig.Typed(), "aB");
    rig.desk.events.clear();
    rig.desk.KeyEvent('Q', 0, false, false);
    EXPECT_EQ(rig.Typed(), "Q");
  }
  {
    PlaybackRig rig;
    rig.state.CapsLockWasOn = true;
    rig.player.StartPlayback("a", PlaybackEntry::Scheduled);
    EXPECT_EQ(rig.Keys(), "+A -A");
  }
  {
    // A failed activation ends the macro, and its end step runs.
    PlaybackRig rig;
    rig.state.CapsLockWasOn = true;
    rig.Play("<ACTIVATE:No Such Window>Hello");
    EXPECT_EQ(rig.Keys(), "+Caps -Caps +Caps -Caps");
  }
  {
    // An aborted playback leaves Caps Lock as the playback had it.
    PlaybackRig rig;
    rig.state.CapsLockWasOn = true;
    rig.desk.on_pump = [&] { rig.state.AbortRequested = true; };
    rig.Play("ab");
    EXPECT_EQ(rig.Keys(), "+Caps -Caps +A -A");
  }
}

TEST(EnginePlayer, ModifiersHeldByTheUserAreReleasedBeforeTyping) {
  {
    PlaybackRig rig;
    rig.desk.HoldKey(0xA2);  // left Ctrl and right Alt of Ctrl+Alt+A
    rig.desk.HoldKey(0xA5);
    rig.Play("a");
    EXPECT_EQ(rig.Keys(), "+vk232 -vk232 -LCtrl -RAlt +A -A");
    ASSERT_EQ(rig.desk.events.size(), 6u);
    EXPECT_TRUE(rig.desk.events[3].extended);  // right Alt is an extended key
    EXPECT_FALSE(rig.desk.events[2].extended);
    EXPECT_EQ(rig.Typed(), "a");
    EXPECT_FALSE(rig.desk.AnyKeyDown());
  }
  {
    // The hook library already masked the Alt of the hot key it swallowed.
    PlaybackRig rig;
    rig.desk.HoldKey(0xA2);
    rig.desk.HoldKey(0xA5);
    rig.desk.menu_release_masked = true;
    rig.Play("a");
    EXPECT_EQ(rig.Keys(), "-LCtrl -RAlt +A -A");
  }
  {
    // Shift alone needs no mask key: its release opens no menu.
    PlaybackRig rig;
    rig.desk.HoldKey(0xA1);
    rig.Play("a");
    EXPECT_EQ(rig.Keys(), "-RShift +A -A");
  }
}

TEST(EnginePlayer, AfterAnActivationHeldKeysAreTakenBackFromAReplacedKeyboardState) {
  // The activated program copies the physical keyboard over the key state
  // while it takes the focus (Wine does): the Shift this playback holds
  // reads up, and the left Ctrl the user still held at that moment reads
  // down again.
  auto resync = [](PlaybackRig& rig) {
    KeyboardState s = rig.desk.GetKeyboardState();
    s[vk::kShift] = s[0xA0] = 0;
    s[vk::kCtrl] = s[0xA2] = 0x80;
    rig.desk.SetKeyboardState(s);
  };
  {
    PlaybackRig rig;
    rig.desk.SetForegroundDirect(rig.desk.AddWindow("Front"));
    rig.desk.AddWindow("Calculator");
    rig.desk.slow_to_focus = 2;  // the program takes the focus a little later
    rig.desk.At(1, [&] { resync(rig); });
    rig.Play("<SHFD><ACTIVATE:Calculator>a<SHFU>b");
    EXPECT_EQ(rig.Keys(), "+Shift -LCtrl +Shift +A -A -Shift +B -B");
    EXPECT_EQ(rig.Typed(), "Ab");
    EXPECT_FALSE(rig.desk.AnyKeyDown());
  }
  {
    // A state left as it was changes nothing.
    PlaybackRig rig;
    rig.desk.SetForegroundDirect(rig.desk.AddWindow("Front"));
    rig.desk.AddWindow("Calculator");
    rig.Play("<SHFD><ACTIVATE:Calculator>a<SHFU>");
    EXPECT_EQ(rig.Keys(), "+Shift +A -A -Shift");
  }
  {
    // A failed activation ends the level before anything is taken back.
    PlaybackRig rig;
    rig.desk.HoldKey(0xA2);
    rig.Play("<ACTIVATE:Missing>a");
    EXPECT_EQ(rig.Keys(), "-LCtrl");
  }
}

TEST(EnginePlayer, NoModifierIsLeftDownAfterAPlaybackEndsOrIsAborted) {
  {
    PlaybackRig rig;
    rig.Play("<SHFD><CTLD><ALTD><WIND>ab");
    EXPECT_FALSE(rig.desk.AnyKeyDown());
    const std::string keys = rig.Keys();
    const std::string tail = " -Shift -Ctrl -Alt -LWin";
    ASSERT_GE(keys.size(), tail.size());
    EXPECT_EQ(keys.substr(keys.size() - tail.size()), tail);
  }
  {
    PlaybackRig rig;
    rig.Play("ab<SHIFT>");  // a one-shot with no key after it
    EXPECT_EQ(rig.Keys(), "+A -A +B -B +Shift -Shift");
  }
  {
    PlaybackRig rig;
    rig.state.CapsLockWasOn = true;
    rig.Play("a<CTRL>");  // released before Caps Lock, so no Ctrl+Caps Lock
    EXPECT_EQ(rig.Keys(), "+Caps -Caps +A -A +Ctrl -Ctrl +Caps -Caps");
  }
  {
    PlaybackRig rig;
    rig.desk.on_pump = [&] {
      if (rig.desk.events.size() >= 4) rig.state.AbortRequested = true;
    };
    rig.Play("<SHFD><ALT>abcdef");
    EXPECT_FALSE(rig.desk.AnyKeyDown());
    EXPECT_EQ(rig.Typed(), "{Alt+a}");  // Shift and Alt held: a chord
  }
}

TEST(EnginePlayer, AbortStopsAtTheNextStepWithOneMessage) {
  PlaybackRig rig;
  rig.desk.on_pump = [&] {
    if (rig.desk.events.size() >= 4) rig.state.AbortRequested = true;
  };
  rig.Play("abcdef<REPEAT:0003>x<ENDREP>");
  EXPECT_EQ(rig.Typed(), "ab");
  ASSERT_EQ(rig.host.messages.size(), 1u);
  EXPECT_EQ(rig.host.messages[0].first, "Macro Abort");
  EXPECT_EQ(rig.host.messages[0].second, "Quillon 98 macro has been aborted.");
  // The request stays set until the next top-level playback clears it.
  EXPECT_TRUE(rig.state.AbortRequested);
  rig.desk.on_pump = nullptr;
  rig.Play("z");
  EXPECT_FALSE(rig.state.AbortRequested);
  EXPECT_EQ(rig.Typed(), "abz");
  EXPECT_EQ(rig.host.messages.size(), 1u);
  // The next aborted playback says so again.
  rig.desk.on_pump = [&] { rig.state.AbortRequested = true; };
  rig.Play("yz");
  EXPECT_EQ(rig.Typed(), "abzy");
  EXPECT_EQ(rig.host.messages.size(), 2u);
}

TEST(EnginePlayer, TheAbortMessageDoesNotWaitForTheTargetToTakeTheAbortedKeys) {
  // Waiting for a busy target to work through the rest of an aborted macro
  // froze the program; the keys it has not taken yet are what was stopped.
  PlaybackRig rig;
  std::vector<std::string> log_at_message;
  rig.host.during_message = [&] { log_at_message = rig.desk.window_log; };
  rig.desk.on_pump = [&] {
    if (rig.desk.events.size() >= 4) rig.state.AbortRequested = true;
  };
  rig.Play("abcdef");
  ASSERT_EQ(rig.host.messages.size(), 1u);
  EXPECT_EQ(log_at_message, std::vector<std::string>{"abandon input"});

  // Other messages and prompts leave the keys sent so far to be handed over.
  PlaybackRig other;
  other.Play("ab<PROMPTREP>c<ENDREP>d");
  EXPECT_TRUE(other.desk.window_log.empty()) << other.desk.window_log.front();
}

TEST(EnginePlayer, CharactersAreTypedThroughTheLayoutOfTheProgramInFront) {
  // A German layout has Y and Z swapped: "y" is virtual key Z there.
  PlaybackRig rig;
  const WindowHandle german = rig.desk.AddWindowInFront("Textverarbeitung");
  const WindowHandle english = rig.desk.AddWindow("Editor");
  rig.desk.SetForegroundDirect(german);
  rig.desk.SetWindowKeyScan(german, 'y', 'Z');
  rig.desk.SetWindowKeyScan(german, 'z', 'Y');
  rig.Play("yz<ACTIVATE:Editor>yz");
  EXPECT_EQ(rig.Keys(), "+Z -Z +Y -Y +Y -Y +Z -Z");
  EXPECT_EQ(rig.desk.scan_windows, (std::vector<uintptr_t>{german, german, english, english}));
}

TEST(EnginePlayer, AbortEndsALongWaitEarly) {
  PlaybackRig rig;
  rig.desk.At(300, [&] { rig.state.AbortRequested = true; });
  rig.Play("<DELAY:99999>a");
  EXPECT_LT(rig.desk.now_ms, 1500u);
  EXPECT_EQ(rig.Typed(), "");
  EXPECT_EQ(rig.host.messages.size(), 1u);
}

TEST(EnginePlayer, EndStepAfterAPauseHandsTheScreenBackToTheTarget) {
  {
    PlaybackRig rig;
    const WindowHandle top = rig.desk.AddWindow("Editor");
    const WindowHandle child = rig.desk.AddWindow("", 0, top);
    rig.desk.AddWindowInFront("Other");
    rig.state.TargetWindow = child;
    // What a pause dialog leaves behind when the user resumes.
    rig.desk.on_pump = [&] {
      rig.state.PauseShown = true;
      rig.state.RestoredForPause = true;
      rig.state.MainHiddenForPause = true;
    };
    rig.Play("a");
    EXPECT_EQ(rig.host.main_window_shown, 1);
    EXPECT_EQ(rig.host.application_minimized, 1);
    EXPECT_EQ(rig.state.TargetWindow, top);
    ASSERT_FALSE(rig.desk.window_log.empty());
    EXPECT_EQ(rig.desk.window_log.back(), "foreground " + std::to_string(top));
  }
  {
    PlaybackRig rig;
    rig.host.use_tray = true;
    rig.desk.on_pump = [&] { rig.state.PauseShown = true; };
    rig.Play("a");
    EXPECT_EQ(rig.host.main_window_shown, 0);
    EXPECT_TRUE(rig.desk.window_log.empty());
  }
}

}  // namespace
}  // namespace qlx
