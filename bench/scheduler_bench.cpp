// One scheduler tick over a full table of 500 timed macros, every kind
// mixed, the clock a second further each tick (now and then one is due):
// what a tick costs the program every few seconds.
// The baseline is the same tick over an empty table.
#include <benchmark/benchmark.h>

#include "activation/scheduler.h"
#include "store/date_value.h"
#include "store/macro_tables.h"

namespace qlx {
namespace {

class TickClock : public IClock {
 public:
  double now = EncodeDateTime(1998, 3, 30, 10, 0, 0);
  double Now() const override { return now; }
  uint32_t TickCount() const override { return 0; }
};

class NoRecords : public IRecordSource {
 public:
  std::vector<MacroRecord> records;
  bool ReadRecord(int n, MacroRecord& r) override {
    if (n < 1 || n > static_cast<int>(records.size())) return false;
    r = records[static_cast<size_t>(n - 1)];
    return true;
  }
};

class NoStart : public ITimedMacroStarter {
 public:
  int started = 0;
  void StartTimedMacro(int) override { ++started; }
};

void Tick(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  std::vector<uint8_t> block_bytes(ab::kSize, 0);
  ActivationBlock block(block_bytes.data());
  NoRecords records;
  MacroNameTables names;
  MacroTables tables{block, names};
  for (int n = 1; n <= count; ++n) {
    MacroRecord r;
    r.SetCode(kTimedCode);
    r.SetActive(true);
    r.SetScope(kScopeGlobal);
    r.SetScheduleKind(static_cast<uint16_t>(1 + n % 6));
    for (int d = 0; d < 7; ++d) r.SetDayFlag(d, (n + d) % 3 == 0);
    r.SetHour(static_cast<uint8_t>(1 + n % 12));
    r.SetMinute(static_cast<uint8_t>(n % 60));
    r.SetPm(n % 2 == 0);
    r.SetMonth(static_cast<uint8_t>(1 + n % 12));
    r.SetDay(static_cast<uint8_t>(1 + n % 28));
    r.SetYear(1999);
    r.SetMinutePastHour(static_cast<uint8_t>(30 + n % 29));
    r.SetInterval(static_cast<uint16_t>(60 + n % 600));
    r.SetWeekday(static_cast<uint8_t>(1 + n % 7));
    records.records.push_back(r);
    block.SetMacroCount(n);
    FillFromRecord(n, r, tables);
  }
  TickClock clock;
  NoStart starter;
  Scheduler scheduler(clock, records, block, starter, clock.Read());
  scheduler.CheckAndSetTime();
  for (auto _ : state) {
    clock.now += 1.0 / 86400.0;  // one second later
    scheduler.CheckOutTimerMacros();
  }
  state.counters["started"] = starter.started;
}
BENCHMARK(Tick)->Arg(0)->Arg(500);

}  // namespace
}  // namespace qlx
