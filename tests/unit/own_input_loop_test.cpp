// The player's own keys fed back through the hook's decisions: what a macro
// types never starts a macro, ends a capture or feeds a Snapword, while the
// same keys from the user do.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture/capture_options.h"
#include "fakes/playback_rig.h"
#include "hook/input_processor.h"
#include "store/hotkey_table.h"

namespace qlx {
namespace {

enum class Armed { kHotKey, kCaptureStop, kSnapword };

struct Triggers {
  int posts = 0, swallowed = 0, snap_chars = 0, capture_done = 0;
  bool Any() const { return posts + swallowed + snap_chars + capture_done > 0; }
};

// `as_user`: the same keys as the user would press them, without the marker.
Triggers FeedBack(const std::vector<fake::InputEvent>& events, Armed armed, bool as_user) {
  std::vector<uint8_t> memory(ab::kSize, 0);
  ActivationBlock block(memory.data());
  block.SetMainWindow(1);
  switch (armed) {
    case Armed::kHotKey: block.SetHotKeyUsed(HotKeyCodeForKey('A', true, true, false, false), true); break;
    case Armed::kCaptureStop:
      block.SetStopKey(CaptureKeyOf(DecipherKey(263)));  // Ctrl+Alt+Shift+X
      block.SetCaptureTarget(7);
      block.SetCaptureStartPending(true);
      block.SetCaptureActive(true);
      break;
    case Armed::kSnapword: break;  // every typed character is reported
  }
  InputProcessor processor;
  Triggers t;
  uint32_t time = 0;
  for (const fake::InputEvent& e : events) {
    if (e.kind == fake::InputEvent::Kind::Mouse) continue;
    KeyEventRecord sent = e.sent;
    if (as_user) sent.extra_info = ExtraInfoOf(InputOrigin::kUser);
    const InputOutcome o = processor.OnKey(KeyInputOf(sent, time += 10, false), {true, true}, &block, nullptr);
    t.posts += o.hot.post != HookPost::kNone;
    t.swallowed += o.swallow;
    t.snap_chars += o.snap.kind == SnapwordPost::kChar;
    t.capture_done += o.captureDone;
  }
  return t;
}

TEST(OwnInputLoop, WhatAMacroTypesTriggersNothingThatTheUsersSameKeysWould) {
  const struct {
    const char* macro;
    Armed armed;
  } rows[] = {
      {"<CTRL><ALT>a", Armed::kHotKey},
      {"<CTRL><ALT><SHIFT>x", Armed::kCaptureStop},
      {"sig ", Armed::kSnapword},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.macro);
    fake::PlaybackRig rig;
    rig.Play(row.macro);
    ASSERT_FALSE(rig.desk.events.empty());
    const Triggers ours = FeedBack(rig.desk.events, row.armed, false);
    EXPECT_FALSE(ours.Any()) << ours.posts << " posts, " << ours.swallowed << " swallowed, "
                             << ours.snap_chars << " Snapword characters, " << ours.capture_done
                             << " capture ends";
    // The same keys from the user do trigger: the rig is armed.
    EXPECT_TRUE(FeedBack(rig.desk.events, row.armed, true).Any());
  }
}

}  // namespace
}  // namespace qlx
