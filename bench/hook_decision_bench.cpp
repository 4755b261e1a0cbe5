// The hook library's per-event decision with Snapwords and key remapping
// active (capture off), against the hot-key filter alone as baseline.
#include <benchmark/benchmark.h>

#include <vector>

#include "activation/key_remap.h"
#include "hook/input_processor.h"

namespace qlx {
namespace {

struct Rig {
  std::vector<uint8_t> memory = std::vector<uint8_t>(ab::kSize, 0);
  std::vector<uint8_t> remap_memory = std::vector<uint8_t>(rb::kSize, 0);
  ActivationBlock block{memory.data()};
  RemapBlock remap{remap_memory.data()};
  Rig() {
    RemapTables t(remap.Tables());
    t.InitSwapKeys();
    t.SetEntry(static_cast<size_t>(RemapIndexOf('z')), '%');
    block.SetHotKeyUsed(263, true);
    block.SetHotKeyUsed(290, true);
  }
};

// Typing: letters, digits and a shifted character, down and up.
constexpr uint32_t kKeys[] = {'H', 'E', 'L', 'L', 'O', 0x20, 'Z', '1', 0xBE, 'W'};

// Feeds the processor the typing, key down then up, forever.
void TypeThrough(benchmark::State& state, Rig& r) {
  InputProcessor p;
  uint32_t t = 0;
  size_t i = 0;
  for (auto _ : state) {
    KeyInput k;
    k.vk = kKeys[(i / 2) % std::size(kKeys)];
    k.physical = k.vk;
    k.down = (i & 1) == 0;
    k.time = t += 5;
    InputOutcome o = p.OnKey(k, {true, true}, &r.block, &r.remap);
    benchmark::DoNotOptimize(o);
    ++i;
  }
}

void BM_HookDecisionSnapwordsAndRemap(benchmark::State& state) {
  Rig r;
  TypeThrough(state, r);
}
BENCHMARK(BM_HookDecisionSnapwordsAndRemap);

void BM_HookDecisionWhileCapturing(benchmark::State& state) {
  Rig r;
  r.block.SetCaptureKeys(true);
  r.block.SetCaptureTarget(5);
  r.block.SetCaptureActive(true);
  TypeThrough(state, r);
}
BENCHMARK(BM_HookDecisionWhileCapturing);

// Baseline: the hot-key filter alone, as before Snapwords and remapping.
void BM_HookDecisionFilterOnly(benchmark::State& state) {
  Rig r;
  HookInputFilter f;
  uint32_t t = 0;
  size_t i = 0;
  for (auto _ : state) {
    const uint32_t vk = kKeys[(i / 2) % std::size(kKeys)];
    HookVerdict v = f.OnKey(vk, vk, (i & 1) == 0, false, t += 5, &r.block);
    benchmark::DoNotOptimize(v);
    ++i;
  }
}
BENCHMARK(BM_HookDecisionFilterOnly);

}  // namespace
}  // namespace qlx
