// Importing 500 records (reading a Brindle file, converting, the checks and
// the atomic rewrite of the macro file with its reload), and one network
// lock round (FileInUse then ReleaseSyncFile) on the local disk. Baselines
// in the same run: reading the import file alone, and one plain write of
// the sync record.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/import_export.h"
#include "store/macro_file.h"
#include "store/network_sync.h"

namespace {

using namespace qlx;

class NoBoxes : public IMessageBoxes {
 public:
  void Show(const std::string&, const std::string&) override {}
  bool AskYesNo(const std::string&, const std::string&) override { return true; }
};

class StillClock : public IClock {
 public:
  double Now() const override { return 45000.0; }
  uint32_t TickCount() const override { return 0; }
};

class IdleHost : public INetworkHost {
 public:
  void Reload() override {}
  void SetNetTimer(bool) override {}
  void SetSyncTimer(bool) override {}
};

struct Folder {
  Folder() {
    dir = std::filesystem::temp_directory_path() / ("qlx_sharing_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
  }
  ~Folder() { std::filesystem::remove_all(dir); }
  std::string Path(const char* name) const { return (dir / name).string(); }
  std::filesystem::path dir;
};

// A Brindle file of 500 global timed macros with 400-character texts.
std::string MakeBrindleFile(const Folder& folder) {
  const std::string path = folder.Path("SOURCE.BR2");
  std::FILE* f = std::fopen(path.c_str(), "wb");
  std::vector<uint8_t> rec(br::kSize, 0);
  for (int n = 1; n <= kMaxMacros; ++n) {
    std::fill(rec.begin(), rec.end(), 0);
    const std::string nick = "Imported " + std::to_string(n);
    PutPString(&rec[br::kNickname], br::kNicknameCapacity, nick);
    PutU16(&rec[br::kCode], kTimedCode);
    PutI16(&rec[br::kScope], kScopeGlobal);
    rec[br::kActive] = 1;
    rec[br::kPasteAsClip] = n % 2;
    const std::string text(400, static_cast<char>('a' + n % 26));
    std::copy(text.begin(), text.end(), rec.begin() + br::kText);
    std::fwrite(rec.data(), 1, rec.size(), f);
  }
  std::fclose(f);
  return path;
}

void BM_ReadImportFileOnly(benchmark::State& state) {
  Folder folder;
  const std::string source = MakeBrindleFile(folder);
  for (auto _ : state) benchmark::DoNotOptimize(ReadWholeFile(DiskFileSystem(), source));
}
BENCHMARK(BM_ReadImportFileOnly)->Unit(benchmark::kMillisecond);

void BM_Import500Records(benchmark::State& state) {
  Folder folder;
  const std::string source = MakeBrindleFile(folder);
  const std::string target = folder.Path("TARGET.QLX");
  std::vector<uint8_t> mem(ab::kSize, 0);
  ActivationBlock block(mem.data());
  auto names = std::make_unique<MacroNameTables>();
  NoBoxes boxes;
  StillClock clock;
  MacroFile file(target, MacroTables{block, *names}, boxes, clock);
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove(target);
    // An empty file: its four system macros leave room for 496.
    file.Load();
    state.ResumeTiming();
    ImportList list = ReadImportBytes(ImportFormat::Brindle, *ReadWholeFile(DiskFileSystem(), source));
    std::vector<bool> selected(list.items.size(), true);
    auto chosen = ConfirmImport(list, selected, block, boxes);
    benchmark::DoNotOptimize(AppendImported(file, DiskFileSystem(), list, *chosen, clock.Now(), boxes));
  }
}
BENCHMARK(BM_Import500Records)->Unit(benchmark::kMillisecond);

void BM_WriteSyncRecordOnly(benchmark::State& state) {
  Folder folder;
  const std::string sync = folder.Path("SHARED.MAS");
  SyncRecord record;
  for (auto _ : state) benchmark::DoNotOptimize(DiskSyncFiles().Write(sync, record.bytes()));
}
BENCHMARK(BM_WriteSyncRecordOnly)->Unit(benchmark::kMicrosecond);

void BM_FileInUseAndRelease(benchmark::State& state) {
  Folder folder;
  bool network = true, auto_sync = true;
  uint16_t minutes = 10;
  StillClock clock;
  NoBoxes boxes;
  IdleHost host;
  NetworkSync sync({network, auto_sync, minutes}, clock, boxes, DiskSyncFiles(), host, "bench");
  sync.OpenSync(folder.Path("SHARED.QLX"));
  for (auto _ : state) {
    if (sync.FileInUse()) state.SkipWithError("lock not taken");
    sync.ReleaseSyncFile(true);
  }
}
BENCHMARK(BM_FileInUseAndRelease)->Unit(benchmark::kMicrosecond);

}  // namespace
