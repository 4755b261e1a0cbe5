#pragma once
// A macro file in memory: records by number, with the activation block's
// tables filled from them as a load would.
#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include "activation/scheduler.h"
#include "store/macro_record.h"
#include "store/macro_tables.h"
#include "store/shared_blocks.h"

namespace qlx::fake {

class FakeMacroStore : public IRecordSource {
 public:
  FakeMacroStore() { bytes_.fill(0); }

  ActivationBlock block() { return ActivationBlock(bytes_.data()); }
  MacroNameTables& names() { return names_; }

  // Appends a record as macro number count + 1 and fills its table entry.
  int Add(const MacroRecord& record) {
    records_.push_back(record);
    const int n = static_cast<int>(records_.size());
    ActivationBlock b = block();
    b.SetMacroCount(n);
    MacroTables tables{b, names_};
    FillFromRecord(n, record, tables);
    return n;
  }
  MacroRecord& Record(int n) { return records_.at(static_cast<size_t>(n - 1)); }
  // Reads of these numbers fail, as a file that cannot be opened.
  std::vector<int> unreadable;
  std::vector<int> reads;

  bool ReadRecord(int n, MacroRecord& record) override {
    reads.push_back(n);
    for (int u : unreadable)
      if (u == n) return false;
    if (n < 1 || n > static_cast<int>(records_.size())) return false;
    record = records_[static_cast<size_t>(n - 1)];
    return true;
  }

 private:
  std::array<uint8_t, ab::kSize> bytes_;
  MacroNameTables names_;
  std::vector<MacroRecord> records_;
};

}  // namespace qlx::fake
