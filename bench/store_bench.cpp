// Loading a full macro file and rebuilding the hot-key table: both run on
// every file switch, reload and edit.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "store/macro_file.h"
#include "store/macro_tables.h"

namespace {

using namespace qlx;

class NoBoxes : public IMessageBoxes {
 public:
  void Show(const std::string&, const std::string&) override {}
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
};

class StillClock : public IClock {
 public:
  double Now() const override { return 45000.0; }
  uint32_t TickCount() const override { return 0; }
};

MacroRecord SampleMacro(int n) {
  MacroRecord r;
  if (n <= 4) {
    const SystemMacro& sm = kSystemMacros[static_cast<size_t>(n - 1)];
    r.SetNickname(sm.nickname);
    r.SetScopeText(std::string(1, sm.digit));
    r.SetScope(kScopeSystem);
    r.SetCode(sm.code);
  } else {
    r.SetNickname("Macro number " + std::to_string(n));
    r.SetScope(n % 3 == 0 ? kScopeWindow : kScopeGlobal);
    r.SetScopeText(n % 3 == 0 ? "Untitled - Notepad" : "");
    r.SetCode(static_cast<uint16_t>(n % 5 == 0 ? kTimedCode : n % 7 == 0 ? kSnapwordCode : n % 720));
    r.SetSnapword(n % 7 == 0 ? "sw" + std::to_string(n) : "");
    r.SetText(std::string(400, 'a') + "<ENTER>");
  }
  r.SetActive(n % 11 != 0);
  return r;
}

struct FullFile {
  FullFile() {
    dir = std::filesystem::temp_directory_path() / ("qlx_store_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    path = (dir / "FULL.QLX").string();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    for (int n = 1; n <= kMaxMacros; ++n) std::fwrite(SampleMacro(n).data(), 1, MacroRecord::kSize, f);
    std::fclose(f);
  }
  ~FullFile() { std::filesystem::remove_all(dir); }
  std::filesystem::path dir;
  std::string path;
};

void BM_LoadFiveHundredMacroFile(benchmark::State& state) {
  FullFile file;
  std::vector<uint8_t> mem(ab::kSize, 0);
  auto names = std::make_unique<MacroNameTables>();
  NoBoxes boxes;
  StillClock clock;
  MacroFile macros(file.path, MacroTables{ActivationBlock(mem.data()), *names}, boxes, clock, DiskFileSystem());
  for (auto _ : state) {
    LoadResult r = macros.Load();
    benchmark::DoNotOptimize(r);
    if (r.count != kMaxMacros || r.system_macros_added != 0) state.SkipWithError("unexpected load");
  }
  state.SetItemsProcessed(state.iterations() * kMaxMacros);
  state.SetBytesProcessed(state.iterations() * kMaxMacros * static_cast<int64_t>(MacroRecord::kSize));
}
BENCHMARK(BM_LoadFiveHundredMacroFile)->Unit(benchmark::kMillisecond);

void BM_SetHotKeysFiveHundredMacros(benchmark::State& state) {
  std::vector<uint8_t> mem(ab::kSize, 0);
  ActivationBlock block(mem.data());
  auto names = std::make_unique<MacroNameTables>();
  MacroTables tables{block, *names};
  for (int n = 1; n <= kMaxMacros; ++n) FillFromRecord(n, SampleMacro(n), tables);
  block.SetMacroCount(kMaxMacros);
  for (auto _ : state) {
    SetHotKeys(block);
    benchmark::DoNotOptimize(mem.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kMaxMacros);
}
BENCHMARK(BM_SetHotKeysFiveHundredMacros)->Unit(benchmark::kMicrosecond);

}  // namespace
