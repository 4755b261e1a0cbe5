// A macro started while another one waits (in its repeat prompt, its abort
// message or between two of its steps), and a playback that a store error
// ends: each playback keeps and lets go of its own keys, and the keyboard
// is always handed back.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <utility>

#include "fakes/playback_rig.h"
#include "store/macro_file.h"

namespace qlx {
namespace {

using fake::PlaybackRig;

// Virtual keys held down (by the fake's bookkeeping) at the moment asked.
bool CtrlDown(PlaybackRig& rig) { return rig.desk.IsKeyDown(vk::kCtrl); }

TEST(EngineNested, KeysTheInterruptedMacroHoldsStayDownForItsRemainingText) {
  struct Case {
    const char* name;
    const char* outer;
    const char* inner;
    const char* typed;
  };
  const Case cases[] = {
      // The inner macro types under the outer one's Ctrl, as the system
      // sees the keyboard; what matters is that the outer 'a' keeps it.
      {"held Ctrl", "<CTLD><PROMPTREP>a<ENDREP><CTLU>", "b", "{Ctrl+b}{Ctrl+a}"},
      {"inner holds and releases its own", "<SHFD><PROMPTREP>a<ENDREP><SHFU>x", "<CTLD>b<CTLU>",
       "{Ctrl+b}Ax"},
      {"inner leaves its own key down", "<CTLD><PROMPTREP>a<ENDREP><CTLU>z", "<ALTD>b",
       "{Ctrl+Alt+b}{Ctrl+a}z"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PlaybackRig rig;
    rig.host.prompt_answers = {1};
    bool ctrl_after_inner = false;
    bool done = false;
    rig.host.during_prompt = [&] {
      if (std::exchange(done, true)) return;
      const bool before = CtrlDown(rig);
      rig.Play(c.inner);  // a hot key pressed while the prompt is open
      ctrl_after_inner = CtrlDown(rig) == before;
    };
    rig.Play(c.outer);
    EXPECT_EQ(rig.Typed(), c.typed) << rig.Keys();
    EXPECT_TRUE(ctrl_after_inner) << "the inner playback changed the outer one's Ctrl";
    EXPECT_FALSE(rig.desk.AnyKeyDown()) << rig.Keys();
  }
}

TEST(EngineNested, TheInnerMacroDoesNotReleaseTheOuterMacrosModifiersAsTheUsers) {
  // Modifiers still down when a hot key starts a macro are the user's and
  // are let go first, unless a playback holds them.
  PlaybackRig rig;
  rig.host.prompt_answers = {1};
  bool done = false;
  rig.host.during_prompt = [&] {
    if (std::exchange(done, true)) return;
    rig.desk.events.clear();
    rig.Play("b");
  };
  rig.Play("<CTLD><PROMPTREP><ENDREP>a<CTLU>");
  EXPECT_EQ(rig.Keys().rfind("+B -B", 0), 0u) << rig.Keys();
}

TEST(EngineNested, CapsLockTurnedOffByTheOuterMacroIsNotTurnedOnByTheInnerOne) {
  PlaybackRig rig;
  rig.desk.caps_lock_on = true;
  rig.state.CapsLockWasOn = true;
  bool done = false;
  rig.host.during_prompt = [&] {
    if (std::exchange(done, true)) return;
    rig.Play("b");  // the same dispatch state: Caps Lock was on at the first hot key
  };
  rig.Play("<PROMPTREP>a<ENDREP>c");
  EXPECT_EQ(rig.Typed(), "bac");
  EXPECT_EQ(rig.Keys(), "+Caps -Caps +B -B +A -A +C -C +Caps -Caps");
}

TEST(EngineNested, AnAbortDuringTheInnerMacroEndsTheOuterOneWithOneMessage) {
  struct Case {
    const char* name;
    const char* outer;
    const char* typed;
  };
  const Case cases[] = {
      {"prompted repeat", "<CTLD><PROMPTREP>a<ENDREP>xyz", "{Ctrl+b}"},
      {"plain text after the prompt", "<PROMPTREP><ENDREP>xyz", "b"},
      {"more passes to come", "<PROMPTREP>x<ENDREP>", "b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PlaybackRig rig;
    rig.host.prompt_answers = {3};
    bool done = false, aborted = false;
    rig.host.during_prompt = [&] {
      if (std::exchange(done, true)) return;
      // Pause/Break while the inner macro plays.
      rig.desk.on_pump = [&] {
        if (!std::exchange(aborted, true)) rig.state.AbortRequested = true;
      };
      rig.Play("bcd");
    };
    rig.Play(c.outer);
    EXPECT_EQ(rig.Typed(), c.typed);
    EXPECT_EQ(rig.host.messages.size(), 1u);
    EXPECT_TRUE(rig.state.AbortRequested);
    EXPECT_FALSE(rig.desk.AnyKeyDown()) << rig.Keys();
  }
}

TEST(EngineNested, AnAbortRequestedBeforeTheInnerMacroStartedStillEndsTheOuterOne) {
  // Pause/Break while the prompt is open, then another hot key: the inner
  // playback clears the request for itself only.
  PlaybackRig rig;
  rig.host.prompt_answers = {1};
  bool done = false;
  rig.host.during_prompt = [&] {
    if (std::exchange(done, true)) return;
    rig.state.AbortRequested = true;
    rig.Play("b");
  };
  rig.Play("<PROMPTREP>a<ENDREP>z");
  EXPECT_EQ(rig.Typed(), "b");
  EXPECT_EQ(rig.host.messages.size(), 1u);
}

TEST(EnginePlaybackError, AStoreErrorEndsThePlaybackAndHandsTheKeyboardBack) {
  struct Case {
    const char* name;
    const char* text;
    bool caps;
    const char* keys;
  };
  const Case cases[] = {
      {"held Ctrl", "<CTLD>a<SWAP:X.QLX>b", false, "+Ctrl +A -A -Ctrl"},
      {"one-shot Shift", "<SHIFT><SWAP:X.QLX>b", false, "+Shift -Shift"},
      {"Caps Lock turned off", "a<SWAP:X.QLX>b", true, "+Caps -Caps +A -A +Caps -Caps"},
      {"inside a repeat pass", "<REPEAT:0002><ALTD>a<SWAP:X.QLX><ENDREP>", false, "+Alt +A -A -Alt"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PlaybackRig rig;
    rig.state.CapsLockWasOn = c.caps;
    rig.desk.caps_lock_on = c.caps;
    rig.host.during_swap = [] { throw StoreIoError("Read error", "X.QLX"); };
    EXPECT_THROW(rig.Play(c.text), StoreIoError);
    EXPECT_EQ(rig.Keys(), c.keys);
    EXPECT_FALSE(rig.desk.AnyKeyDown());
    // The next playback starts clean: no level, no repeat left over.
    rig.host.during_swap = nullptr;
    rig.desk.events.clear();
    rig.Play("<I>z");
    EXPECT_EQ(rig.Typed(), "z");
  }
}

TEST(EnginePlaybackError, AnErrorInTheInnerMacroLeavesTheOuterOnePlaying) {
  PlaybackRig rig;
  rig.host.prompt_answers = {1};
  bool done = false;
  rig.host.during_prompt = [&] {
    if (std::exchange(done, true)) return;
    rig.host.during_swap = [] { throw StoreIoError("Read error", "X.QLX"); };
    EXPECT_THROW(rig.Play("<ALTD>b<SWAP:X.QLX>c"), StoreIoError);
  };
  rig.Play("<CTLD><PROMPTREP>a<ENDREP><CTLU>z");
  EXPECT_EQ(rig.Typed(), "{Ctrl+Alt+b}{Ctrl+a}z");
  EXPECT_FALSE(rig.desk.AnyKeyDown()) << rig.Keys();
}

}  // namespace
}  // namespace qlx
