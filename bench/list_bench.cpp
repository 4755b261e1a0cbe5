// The macro list of a full file: building the sort keys and sorting 500
// macros (every fill of the list does it), beside the bare table reads it
// starts from, and the cell texts of every row.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "app/macro_list_model.h"
#include "app/sort_order.h"
#include "store/macro_tables.h"

namespace {

using namespace qlx;

// 500 macros of every kind and scope, nicknames in no order.
struct FullTables {
  std::vector<uint8_t> mem = std::vector<uint8_t>(ab::kSize, 0);
  ActivationBlock block{mem.data()};
  std::unique_ptr<MacroNameTables> names = std::make_unique<MacroNameTables>();
  MacroTables tables{block, *names};

  FullTables() {
    block.SetMacroCount(kMaxMacros);
    for (int n = 1; n <= kMaxMacros; ++n) {
      MacroRecord r;
      r.SetNickname("Macro " + std::to_string((n * 7919) % 1000) + " of the file");
      const int kind = n % 10;
      r.SetCode(kind == 0 ? kTimedCode : kind == 1 ? kSnapwordCode : static_cast<uint16_t>((n * 13) % 720));
      r.SetSnapword("sw" + std::to_string(n));
      r.SetScope(static_cast<int16_t>(1 + n % 5));
      r.SetScopeText(n % 5 == 1 || n % 5 == 2 ? "Window title " + std::to_string(n % 37) : "");
      r.SetActive(n % 3 != 0);
      FillFromRecord(n, r, tables);
    }
  }
};

void BM_ReadTablesOf500(benchmark::State& state) {
  FullTables t;
  for (auto _ : state) {
    size_t total = 0;
    for (int n = 1; n <= kMaxMacros; ++n)
      total += t.names->Nickname(n).size() + t.block.ScopeText(n).size() + t.block.Code(n);
    benchmark::DoNotOptimize(total);
  }
}
BENCHMARK(BM_ReadTablesOf500);

void BM_SortKeysAndRowMapOf500(benchmark::State& state) {
  FullTables t;
  SortOrder order;
  order.primary = state.range(0) == 0 ? "123" : "213";
  for (auto _ : state) benchmark::DoNotOptimize(SortedRowMap(t.tables, order));
}
BENCHMARK(BM_SortKeysAndRowMapOf500)->Arg(0)->Arg(1);

void BM_CellTextsOf500(benchmark::State& state) {
  FullTables t;
  const std::vector<int> rows = SortedRowMap(t.tables, SortOrder{});
  for (auto _ : state) {
    size_t total = 0;
    for (int r = 0; r < kMaxMacros; ++r)
      for (int c = 0; c < kListColumns; ++c) total += CellText(c, r, rows[static_cast<size_t>(r)], t.tables).size();
    benchmark::DoNotOptimize(total);
  }
}
BENCHMARK(BM_CellTextsOf500);

}  // namespace
