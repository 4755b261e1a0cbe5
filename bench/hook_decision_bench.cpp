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

void BM_HookDecisionSnapwordsAndRemap(benchmark::State& state) {
  Rig r;
  InputProcessor p;
  uint32_t t = 0;
  size_t i = 0;
  for (auto _ : state) {
    KeyInput k;
    k.vk = kKeys[i % std::size(kKeys)];
    k.physical = k.vk;
    k.down = (i & 1) == 0;
    k.time = t += 5;
    InputOutcome o = p.OnKey(k, {true, true}, &r.block, &r.remap);
    benchmark::DoNotOptimize(o);
    if (!k.down) ++i;
    ++i;
  }
}
BENCHMARK(BM_HookDecisionSnapwordsAndRemap);

void BM_HookDecisionFilterOnly(benchmark::State& state) {
  Rig r;
  HookInputFilter f;
  uint32_t t = 0;
  size_t i = 0;
  for (auto _ : state) {
    const uint32_t vk = kKeys[i % std::size(kKeys)];
    const bool down = (i & 1) == 0;
    HookVerdict v = f.OnKey(vk, vk, down, false, t += 5, &r.block);
    benchmark::DoNotOptimize(v);
    if (!down) ++i;
    ++i;
  }
}
BENCHMARK(BM_HookDecisionFilterOnly);

void BM_HookDecisionWhileCapturing(benchmark::State& state) {
  Rig r;
  r.block.SetCaptureKeys(true);
  r.block.SetCaptureTarget(5);
  r.block.SetCaptureActive(true);
  InputProcessor p;
  uint32_t t = 0;
  size_t i = 0;
  for (auto _ : state) {
    KeyInput k;
    k.vk = kKeys[i % std::size(kKeys)];
    k.physical = k.vk;
    k.down = (i & 1) == 0;
    k.time = t += 5;
    InputOutcome o = p.OnKey(k, {true, true}, &r.block, &r.remap);
    benchmark::DoNotOptimize(o);
    if (!k.down) ++i;
    ++i;
  }
}
BENCHMARK(BM_HookDecisionWhileCapturing);

}  // namespace
}  // namespace qlx
