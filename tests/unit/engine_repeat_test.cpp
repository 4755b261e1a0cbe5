#include <gtest/gtest.h>

#include <string>

#include "fakes/playback_rig.h"

namespace qlx {
namespace {

using fake::PlaybackRig;

std::string Play(std::string_view text) {
  PlaybackRig rig;
  rig.Play(text);
  EXPECT_FALSE(rig.desk.AnyKeyDown()) << text;
  return rig.Typed();
}

TEST(EngineRepeat, CountsPassesAndCounters) {
  EXPECT_EQ(Play("<REPEAT:0003>x<I>-<ENDREP>"), "x1-x2-x3-");
  // In the last pass only the first counter types.
  EXPECT_EQ(Play("<REPEAT:0002><I><I><ENDREP>"), "112");
  // Counts 0 and 1 play the body once, as the last pass.
  EXPECT_EQ(Play("<REPEAT:0000>z<I><ENDREP>"), "z1");
  EXPECT_EQ(Play("<REPEAT:0001>z<I><ENDREP>"), "z1");
  // Padding to the counter's width; a longer number is not cut.
  EXPECT_EQ(Play("<REPEAT:0003><IIII>,<III>,<II> <ENDREP>"), "0001,001,01 0002,002,02 0003,, ");
  EXPECT_EQ(Play("<REPEAT:0011><I>,<ENDREP>"), "1,2,3,4,5,6,7,8,9,10,11,");
  // Outside a repeat a counter does nothing ...
  EXPECT_EQ(Play("a<I>b<ENDREP>c"), "abc");
  // ... except right after a last pass that typed none.
  EXPECT_EQ(Play("<REPEAT:0002>x<ENDREP><I><I>"), "xx2");
  // Text before and after the repeat plays once.
  EXPECT_EQ(Play("[<REPEAT:0002>ab<ENDREP>]"), "[abab]");
}

TEST(EngineRepeat, RepeatsDoNotNestAndAnUnterminatedRepeatPlaysOnce) {
  EXPECT_EQ(Play("<REPEAT:0002>a<REPEAT:0003>b<ENDREP>c<ENDREP>"), "ababbbc");
  EXPECT_EQ(Play("<REPEAT:0005>abc"), "abc");
  EXPECT_EQ(Play("<REPEAT:0005>abc<I>"), "abc");
  // A malformed count is no repeat: the body plays once, no counter state.
  EXPECT_EQ(Play("<REPEAT:00x5>ab<I><ENDREP>"), "ab");
}

TEST(EngineRepeat, PromptedCountAndItsPromptInsideAPass) {
  {
    PlaybackRig rig;
    rig.host.prompt_answers = {3};
    rig.Play("<PROMPTREP>n<I><ENDREP>");
    EXPECT_EQ(rig.Typed(), "n1n2n3");
    EXPECT_EQ(rig.host.prompts, 1);
  }
  {
    // Inside a nested pass the prompt still shows, and its answer is ignored.
    PlaybackRig rig;
    rig.host.prompt_answers = {9, 2};
    rig.Play("<REPEAT:0002>a<PROMPTREP>b<ENDREP>");
    EXPECT_EQ(rig.host.prompts, 2);
    EXPECT_EQ(rig.Typed(), "ab" "abb");
  }
}

TEST(EngineRepeat, CounterDigitsTakeTheKeyDelay) {
  PlaybackRig rig;
  rig.Play("<SPKEY:0010><REPEAT:0002><II><ENDREP>");
  const auto& ev = rig.desk.events;
  ASSERT_EQ(ev.size(), 8u);
  EXPECT_EQ(ev[0].at_ms, 10u);
  EXPECT_EQ(ev[2].at_ms, 20u);
  EXPECT_EQ(ev[6].at_ms, 40u);
  EXPECT_EQ(rig.Typed(), "0102");
}

TEST(EngineRepeat, AFailedActivationEndsOnlyItsOwnPlaybackLevel) {
  PlaybackRig rig;
  rig.desk.caps_lock_on = true;
  rig.state.CapsLockWasOn = true;
  rig.Play("<REPEAT:0003>a<ACTIVATE:Nowhere>b<ENDREP>c");
  // Two nested passes end at the activation; the last pass is the outer
  // text itself, so it ends the whole macro, whose end step still runs.
  EXPECT_EQ(rig.Typed(), "aaa");
  EXPECT_EQ(rig.Keys().substr(rig.Keys().size() - 11), "+Caps -Caps");
  EXPECT_TRUE(rig.host.messages.empty());

  PlaybackRig found;
  found.desk.AddWindow("Somewhere");
  found.Play("<REPEAT:0002>a<ACTIVATE:where>b<ENDREP>c");
  EXPECT_EQ(found.Typed(), "ababc");
}

TEST(EngineRepeat, AbortInsideAPassStopsEveryLevelWithOneMessage) {
  PlaybackRig rig;
  rig.desk.caps_lock_on = true;
  rig.state.CapsLockWasOn = true;
  rig.desk.on_pump = [&] {
    if (rig.desk.TypedText() == "XYX") rig.state.AbortRequested = true;
  };
  rig.Play("<SHFD><REPEAT:0005>xy<ENDREP>after");
  EXPECT_EQ(rig.Typed(), "XYX");
  EXPECT_EQ(rig.host.messages.size(), 1u);
  EXPECT_FALSE(rig.desk.AnyKeyDown());
  // Aborted: Caps Lock is not turned back on.
  EXPECT_EQ(rig.Keys().rfind("+Caps"), 0u);
}

TEST(EngineRepeat, AbortBetweenPassesIsReportedOnce) {
  // The request arrives after the last step of a pass, so the pass itself
  // ends normally; the repeat must still stop and say so once.
  PlaybackRig rig;
  rig.desk.on_pump = [&] {
    if (rig.desk.TypedText() == "ab") rig.state.AbortRequested = true;
  };
  rig.Play("<REPEAT:0004>ab<ENDREP>z");
  EXPECT_EQ(rig.host.messages.size(), 1u);
  EXPECT_EQ(rig.Typed(), "ab");
}

TEST(EngineRepeat, ALongBodyFromATextFileIsNotCut) {
  const std::string body(6000, 'q');
  PlaybackRig rig;
  rig.Play("<REPEAT:0002>" + body + "<ENDREP>");
  EXPECT_EQ(rig.Typed().size(), 12000u);
}

}  // namespace
}  // namespace qlx
