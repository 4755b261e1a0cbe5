// Dumping a full macro file as text and building it back, in memory and as
// the qlxfile commands do it with files. The baseline to compare with is
// BM_LoadFiveHundredMacroFile (store_bench.cpp), in the same program: what
// the program does with a file of the same size on every switch.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "store/macro_record.h"
#include "store/macro_tables.h"
#include "tools/macro_text.h"
#include "tools/qlxfile.h"

namespace {

using namespace qlx;

// A mix as users keep them: system macros, hot keys with typed paragraphs,
// window and program macros, timed macros and snapwords.
MacroRecord SampleMacro(int n) {
  if (n <= 4) return SystemMacroRecord(kSystemMacros[static_cast<size_t>(n - 1)]);
  MacroRecord r;
  r.SetNickname("Macro number " + std::to_string(n));
  r.SetScope(n % 3 == 0 ? kScopeWindow : n % 3 == 1 ? kScopeProgram : kScopeGlobal);
  r.SetScopeText(n % 3 == 0 ? "Untitled - Notepad" : n % 3 == 1 ? "WINWORD.EXE" : "");
  r.SetTopMostOnly(n % 2 == 0);
  r.SetCode(static_cast<uint16_t>(n % 5 == 0 ? kTimedCode : n % 7 == 0 ? kSnapwordCode : n % 720));
  if (n % 5 == 0) SetNewTimedMacroSchedule(r, CivilDate{2025, 1, 6, 2});
  r.SetSnapword(n % 7 == 0 ? "sw" + std::to_string(n) : "");
  r.SetActive(n % 11 != 0);
  r.SetIcon("MAIN");
  std::string text;
  for (int line = 0; line < 10; ++line)
    text += "Line " + std::to_string(line) + " of a paragraph, caf\xE9 <TAB>and <SHIFT>keys\r\n";
  r.SetText(text + "<DD Mmmmm YYYY{NF000}><ENTER>");
  r.SetLastModified(45000.0 + n / 1000.0);
  return r;
}

std::vector<uint8_t> FullFile() {
  std::vector<uint8_t> out;
  for (int n = 1; n <= kMaxMacros; ++n) {
    const MacroRecord r = SampleMacro(n);
    out.insert(out.end(), r.bytes().begin(), r.bytes().end());
  }
  return out;
}

struct TempDir {
  TempDir() {
    path = std::filesystem::temp_directory_path() / ("qlx_text_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
  }
  ~TempDir() { std::filesystem::remove_all(path); }
  std::string File(const char* name) const { return (path / name).string(); }
  std::filesystem::path path;
};

void WriteBytes(const std::string& path, const void* data, size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(data, 1, size, f);
  std::fclose(f);
}

void BM_DumpFiveHundredMacrosToText(benchmark::State& state) {
  const std::vector<uint8_t> file = FullFile();
  for (auto _ : state) {
    std::string text = DumpMacroFile(file);
    benchmark::DoNotOptimize(text);
  }
  state.SetItemsProcessed(state.iterations() * kMaxMacros);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.size()));
}
BENCHMARK(BM_DumpFiveHundredMacrosToText)->Unit(benchmark::kMillisecond);

void BM_BuildFiveHundredMacrosFromText(benchmark::State& state) {
  const std::vector<uint8_t> file = FullFile();
  const std::string text = DumpMacroFile(file);
  for (auto _ : state) {
    BuildResult built = BuildMacroFile(text);
    benchmark::DoNotOptimize(built);
    if (built.bytes != file) state.SkipWithError("the text did not give the file back");
  }
  state.SetItemsProcessed(state.iterations() * kMaxMacros);
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_BuildFiveHundredMacrosFromText)->Unit(benchmark::kMillisecond);

// The commands as a user runs them: read the file, convert, write the result.
void BM_QlxFileDumpCommand(benchmark::State& state) {
  TempDir dir;
  const std::vector<uint8_t> file = FullFile();
  const std::string in = dir.File("FULL.QLX");
  WriteBytes(in, file.data(), file.size());
  for (auto _ : state) {
    std::ostringstream out, err;
    if (RunQlxFile({"dump", in}, out, err) != kQlxFileOk) state.SkipWithError("dump failed");
    benchmark::DoNotOptimize(out);
  }
  state.SetItemsProcessed(state.iterations() * kMaxMacros);
}
BENCHMARK(BM_QlxFileDumpCommand)->Unit(benchmark::kMillisecond);

void BM_QlxFileBuildCommand(benchmark::State& state) {
  TempDir dir;
  const std::string text = DumpMacroFile(FullFile());
  const std::string in = dir.File("full.txt");
  WriteBytes(in, text.data(), text.size());
  const std::string out_file = dir.File("OUT.QLX");
  for (auto _ : state) {
    std::ostringstream out, err;
    if (RunQlxFile({"build", in, out_file}, out, err) != kQlxFileOk) state.SkipWithError("build failed");
  }
  state.SetItemsProcessed(state.iterations() * kMaxMacros);
}
BENCHMARK(BM_QlxFileBuildCommand)->Unit(benchmark::kMillisecond);

}  // namespace
