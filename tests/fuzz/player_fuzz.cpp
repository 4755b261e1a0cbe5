// Arbitrary macro text through the player against the fake desktop. The
// playback must end, and the number of events it sends must stay within a
// budget plus what one step and the final release can add: the harness
// requests an abort, as a user would, once the budget or a virtual hour of
// waiting is used up.
// Coverage floor: 200 edges (no seeds; about 270 within five seconds).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "../unit/fakes/playback_rig.h"

namespace {

constexpr size_t kEventBudget = 20000;
constexpr uint64_t kVirtualTimeBudgetMs = 3600 * 1000;
// One step sends at most a few dozen events (an Alt code, a chord); the
// final release can add one key-up per virtual key.
constexpr size_t kEventsAfterAbort = 64 + 256;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 20000) return 0;
  qlx::fake::PlaybackRig rig;
  rig.desk.AddProcess(7, "NOTEPAD.EXE");
  const auto top = rig.desk.AddWindow("Untitled - Notepad", 7);
  rig.desk.AddWindow("", 7, top);
  rig.desk.AddWindow("Calculator", 8, 0, true);
  rig.desk.SetForegroundDirect(top);
  rig.desk.OnLaunchCreateWindow("NOTEPAD.EXE", "Notepad", 1500, 7);
  rig.desk.SetKeyScan('~', -1);
  rig.host.prompt_answers = {3, 0, 7};
  rig.state.CapsLockWasOn = size % 2 == 1;
  rig.desk.on_pump = [&rig] {
    if (rig.desk.events.size() >= kEventBudget || rig.desk.now_ms >= kVirtualTimeBudgetMs)
      rig.state.AbortRequested = true;
  };
  const std::string text =
      "<SPEED:00000>" + std::string(reinterpret_cast<const char*>(data), size);
  rig.Play(text);
  if (rig.desk.events.size() > kEventBudget + kEventsAfterAbort) std::abort();
  if (rig.desk.AnyKeyDown()) std::abort();
  if (rig.host.messages.size() > 1) std::abort();
  return 0;
}
