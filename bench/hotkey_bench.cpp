// The hook's per-event work: key (and modifier state) to activation code,
// alone and as the whole keyboard decision over a mapped activation block.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "store/hotkey_table.h"
#include "hook/hook_logic.h"
#include "store/shared_blocks.h"

namespace qlx {
namespace {

// Every combination of the table plus as many that have no code, in a
// scrambled order so the lookups do not walk memory in sequence.
struct Event {
  unsigned vk;
  unsigned mods;
};

std::vector<Event> MakeEvents() {
  std::vector<Event> events;
  for (int code = 0; code < 698; ++code) {
    const HotKeyCombo c = DecipherKey(code);
    events.push_back({c.virtualKey, c.Modifiers()});
    events.push_back({c.virtualKey, kModShift | kModWin});  // no code
  }
  uint32_t x = 12345;
  for (size_t i = events.size() - 1; i > 0; --i) {
    x = x * 1103515245u + 12345u;
    std::swap(events[i], events[x % (i + 1)]);
  }
  return events;
}

void BM_KeyToCode(benchmark::State& state) {
  const std::vector<Event> events = MakeEvents();
  size_t i = 0;
  for (auto _ : state) {
    const Event& e = events[i];
    benchmark::DoNotOptimize(HotKeyCodeForKey(e.vk, e.mods));
    if (++i == events.size()) i = 0;
  }
}
BENCHMARK(BM_KeyToCode);

// Down and up of a key with the hot-key table consulted: what the keyboard
// hook procedure decides between being called and returning.
void BM_HookKeyDecision(benchmark::State& state) {
  std::vector<uint8_t> mem(ab::kSize, 0);
  ActivationBlock block(mem.data());
  for (int code = 0; code < kHotKeyCodes; code += 3) block.SetHotKeyUsed(code, true);
  const std::vector<Event> events = MakeEvents();
  HookInputFilter filter;
  filter.OnKey(HookInputFilter::kVkLControl, 0x1D, true, false, 0, &block);
  uint32_t t = 0;
  size_t i = 0;
  for (auto _ : state) {
    const unsigned vk = events[i].vk;
    benchmark::DoNotOptimize(filter.OnKey(vk, vk, true, false, t += 50, &block));
    benchmark::DoNotOptimize(filter.OnKey(vk, vk, false, false, t += 50, &block));
    if (++i == events.size()) i = 0;
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * 2);
}
BENCHMARK(BM_HookKeyDecision);

}  // namespace
}  // namespace qlx
