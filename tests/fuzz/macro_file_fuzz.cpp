// Arbitrary bytes as a macro file: loading, reading back every record and
// the usual edits must stay inside the tables and agree with the file.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "store/macro_file.h"
#include "store/macro_tables.h"

namespace {

using namespace qlx;

class SilentBoxes : public IMessageBoxes {
 public:
  void Show(const std::string&, const std::string&) override {}
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
};

class FixedClock : public IClock {
 public:
  double Now() const override { return 45000.5; }
  uint32_t TickCount() const override { return 0; }
};

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

void RemoveFile();

const std::string& FilePath() {
  static const std::string path =
      (std::filesystem::temp_directory_path() / ("qlx_macro_fuzz_" + std::to_string(::getpid()) + ".QLX"))
          .string();
  // Registered after `path` exists, so it runs before `path` is destroyed.
  static const bool registered = std::atexit(RemoveFile) == 0;
  (void)registered;
  return path;
}

void RemoveFile() { std::remove(FilePath().c_str()); }

void WriteInput(const uint8_t* data, size_t size) {
  std::FILE* f = std::fopen(FilePath().c_str(), "wb");
  Check(f != nullptr);
  if (size) Check(std::fwrite(data, 1, size, f) == size);
  Check(std::fclose(f) == 0);
}

volatile uint64_t g_sink;

void ReadEveryField(const MacroRecord& r) {
  uint64_t h = r.Nickname().size() + r.ScopeText().size() + r.Snapword().size() + r.Text().size() +
               r.Icon().size() + r.Code() + static_cast<uint16_t>(r.Scope()) + r.Active() + r.ScheduleKind() +
               r.Hour() + r.Minute() + r.Month() + r.Day() + r.MinutePastHour() + r.Interval() + r.Weekday() +
               r.Year() + r.Pm() + r.TopMostOnly();
  for (int d = 0; d < 7; ++d) h += r.DayFlag(d);
  CivilDate date = CivilDateFromDays(r.LastModified());
  h += static_cast<uint64_t>(date.year + date.month + date.day + date.weekday);
  Check(r.Nickname().size() <= 50 && r.ScopeText().size() <= 30 && r.Snapword().size() <= 10);
  Check(r.Text().size() <= 5000 && r.Icon().size() <= 12);
  g_sink = h;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr size_t kGuard = 64;
  static std::vector<uint8_t> mem(ab::kSize + kGuard);
  static MacroNameTables names;
  std::fill(mem.begin(), mem.end(), 0);
  std::fill(mem.begin() + ab::kSize, mem.end(), 0xEE);
  names.Clear();

  WriteInput(data, size);
  SilentBoxes boxes;
  FixedClock clock;
  MacroFile file(FilePath(), MacroTables{ActivationBlock(mem.data()), names}, boxes, clock);
  ActivationBlock& block = file.tables().block;

  const LoadResult res = file.Load();
  const int64_t whole = static_cast<int64_t>(size / MacroRecord::kSize);
  Check(res.opened);
  Check(res.count >= 0 && res.count <= kMaxMacros);
  Check(res.count == block.MacroCount());
  Check(res.records_in_file == whole);
  Check(res.truncated == (whole > kMaxMacros));
  Check(res.partial_tail == (size % MacroRecord::kSize != 0));
  if (whole + 4 <= kMaxMacros) Check(res.system_macros_complete);

  SetHotKeys(block);
  for (int c = 0; c < kHotKeyCodes; ++c) Check(block.Byte(ab::kHotKeyTable + static_cast<size_t>(c)) <= 1);

  MacroRecord r;
  for (int n = 1; n <= res.count; ++n) {
    Check(file.ReadRecord(n, r));
    ReadEveryField(r);
    // The tables say what the file says.
    Check(block.Scope(n) == r.Scope());
    Check(block.Code(n) == r.Code());
    Check(block.Active(n) == r.Active());
    Check(block.TopMostOnly(n) == r.TopMostOnly());
    Check(block.ScopeText(n) == r.ScopeText().substr(0, kScopeTextCapacity));
    Check(names.Snapword(n) == r.Snapword());
    const char* fixed = SystemMacroNickname(SystemMacroDigit(r.Scope(), r.ScopeText()));
    Check(names.Nickname(n) == (fixed ? std::string(fixed) : r.Nickname()));
  }

  // Edits keep every record: one fewer after a delete, records past 500 kept.
  if (res.count > 0) {
    const bool was_active = block.Active(1);
    Check(file.SetActive(1, !was_active));
    Check(block.Active(1) == !was_active);
    const int64_t before = static_cast<int64_t>(std::filesystem::file_size(FilePath())) /
                           static_cast<int64_t>(MacroRecord::kSize);
    Check(file.DeleteRecord(res.count));
    const auto after = std::filesystem::file_size(FilePath());
    Check(after % MacroRecord::kSize == 0);
    Check(static_cast<int64_t>(after / MacroRecord::kSize) == before - 1);
    const LoadResult again = file.Load();
    Check(again.count >= 0 && again.count <= kMaxMacros);
  }

  for (size_t i = ab::kSize; i < mem.size(); ++i) Check(mem[i] == 0xEE);
  return 0;
}
