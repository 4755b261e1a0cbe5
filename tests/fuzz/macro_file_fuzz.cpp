// The macro file in memory: a file of several records built from the input
// (whole bytes, or valid records with patched fields, with a partial tail),
// then a sequence of loads, reads, writes, activations and deletions, some
// of them hit by a failing write, flush or replace. After every step the
// file must hold what the operation promises, the tables must agree with
// the file and nothing may be written outside the activation block.
// Coverage floor: 400 edges (about 560 within seconds, from any start).
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "../unit/fakes/memory_files.h"
#include "store/macro_file.h"
#include "store/macro_tables.h"

namespace {

using namespace qlx;
using Bytes = std::vector<uint8_t>;

constexpr size_t kRecord = MacroRecord::kSize;
// Short enough that it and the temporary file's name need no allocation.
constexpr char kName[] = "C:\\Q\\M.QLX";
constexpr size_t kGuard = 64;

class SilentBoxes : public IMessageBoxes {
 public:
  void Show(const std::string&, const std::string&) override { ++shown; }
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
  int shown = 0;
};

class FixedClock : public IClock {
 public:
  double Now() const override { return 45000.5; }
  uint32_t TickCount() const override { return 0; }
};

// The checks below go uninstrumented: their branches go one way unless a
// check fails, so counting them only slows every input down and tells the
// fuzzer nothing.
#define QLX_UNCOUNTED __attribute__((no_sanitize("coverage")))

QLX_UNCOUNTED void Check(bool ok) {
  if (!ok) __builtin_trap();
}

// Copies with memcpy: the sanitizer's memmove, which std::copy and a
// growing vector use, goes a byte at a time. Emptied before it grows, a
// vector has nothing to move; one that does not grow zeroes only its new
// bytes.
QLX_UNCOUNTED void CopyInto(Bytes& to, const Bytes& from, size_t size) {
  if (size > to.capacity()) to.clear();
  to.resize(size);
  const size_t n = std::min(size, from.size());
  if (n) std::memcpy(to.data(), from.data(), n);
}
QLX_UNCOUNTED void CopyInto(Bytes& to, const Bytes& from) { CopyInto(to, from, from.size()); }
QLX_UNCOUNTED void Append(Bytes& to, const void* from, size_t n) {
  const size_t at = to.size();
  to.resize(at + n);
  if (n) std::memcpy(to.data() + at, from, n);
}

// Up to `max` bytes of the input as they stand: a length, then one copy
// (the provider's random-length strings go a character at a time).
std::string SomeText(FuzzedDataProvider& in, size_t max) {
  return in.ConsumeBytesAsString(in.ConsumeIntegralInRange<size_t>(0, max));
}

// A record of one of the kinds a file holds, then bytes of the input laid
// over chosen offsets.
MacroRecord MakeRecord(FuzzedDataProvider& in) {
  MacroRecord r;
  switch (in.ConsumeIntegralInRange<int>(0, 4)) {
    case 0: break;  // all zero
    case 1: {
      const int digit = in.ConsumeIntegralInRange<int>(1, 4);
      r.SetScope(kScopeSystem);
      r.SetScopeText(std::string(1, static_cast<char>('0' + digit)));
      r.SetNickname(SomeText(in, 60));
      r.SetCode(static_cast<uint16_t>(261 + digit));
      r.SetActive(true);
      break;
    }
    case 2:
      r.bytes().fill(0xFF);
      break;
    default:
      r.SetNickname(SomeText(in, 60));
      r.SetScope(in.ConsumeIntegral<int16_t>());
      r.SetScopeText(SomeText(in, 40));
      r.SetSnapword(SomeText(in, 12));
      r.SetCode(in.ConsumeIntegral<uint16_t>());
      r.SetActive(in.ConsumeBool());
      r.SetTopMostOnly(in.ConsumeBool());
      r.SetText(SomeText(in, 200));
      break;
  }
  const int patches = in.ConsumeIntegralInRange<int>(0, 3);
  for (int i = 0; i < patches; ++i) {
    const size_t at = in.ConsumeIntegralInRange<size_t>(0, kRecord - 1);
    const std::string bytes = SomeText(in, 16);
    for (size_t k = 0; k < bytes.size() && at + k < kRecord; ++k)
      r.bytes()[at + k] = static_cast<uint8_t>(bytes[k]);
  }
  return r;
}

struct Rig {
  std::vector<uint8_t> mem = std::vector<uint8_t>(ab::kSize + kGuard);
  MacroNameTables names;
  fake::MemoryFiles files;
  SilentBoxes boxes;
  FixedClock clock;
  MacroFile file{kName, MacroTables{ActivationBlock(mem.data()), names}, boxes, clock, files};

  MacroRecord scratch;
  Bytes before;  // the file before the step under test
  Bytes expect;
  std::vector<MacroRecord> kinds;
  const std::string name = kName;
  Bytes* disk_;  // the macro file's bytes: only the temporary file comes and goes

  Rig() : disk_(&files.files[name]) {
    files.keep_log = false;
    kinds.reserve(8);
  }
  // A fresh state for the next input, reusing what was allocated.
  QLX_UNCOUNTED void Reset() {
    std::memset(mem.data(), 0, ab::kSize);
    std::memset(mem.data() + ab::kSize, 0xEE, kGuard);
    names.Clear();
    files.fail_after = -1;
    files.unopenable.clear();
    for (auto it = files.files.begin(); it != files.files.end();)
      it = it->first == kName ? std::next(it) : files.files.erase(it);
    disk().clear();
    kinds.clear();
  }
  ActivationBlock& block() { return file.tables().block; }
  Bytes& disk() { return *disk_; }
  int64_t Whole() { return static_cast<int64_t>(disk().size() / kRecord); }

  // Entry n of the tables says what record n of the file says.
  static_assert(mr::kSnapword + 1 + mr::kSnapwordCapacity <= mr::kText && mr::kActive < mr::kText);
  QLX_UNCOUNTED void CheckEntry(int n) {
    // Only the fields the tables hold: the text between them is most of a
    // record.
    const uint8_t* on_disk = disk().data() + static_cast<size_t>(n - 1) * kRecord;
    std::memcpy(scratch.data(), on_disk, mr::kText);
    scratch.bytes()[mr::kTopMostOnly] = on_disk[mr::kTopMostOnly];
    const MacroRecord& r = scratch;
    Check(block().Scope(n) == r.Scope());
    Check(block().Code(n) == r.Code());
    Check(block().Active(n) == r.Active());
    Check(block().TopMostOnly(n) == r.TopMostOnly());
    Check(block().ScopeTextView(n) == r.ScopeTextView().substr(0, kScopeTextCapacity));
    Check(names.SnapwordView(n) == r.SnapwordView());
    const char* fixed = SystemMacroNickname(SystemMacroDigit(r.Scope(), r.ScopeTextView()));
    Check(names.NicknameView(n) == (fixed ? std::string_view(fixed) : r.NicknameView()));
  }

  // The tables say what the file says, for every macro they hold.
  QLX_UNCOUNTED void CheckTables() {
    const int count = block().MacroCount();
    Check(count >= 0 && count <= kMaxMacros);
    Check(count <= Whole());
    for (int n = 1; n <= count; ++n) CheckEntry(n);
    Check(files.files.count(file.TempName()) == 0);
    Check(&files.files[name] == disk_);
  }

  // Nothing was written behind the activation block, and the hook library's
  // table holds one byte per code, 0 or 1.
  QLX_UNCOUNTED void CheckBlock() {
    for (size_t i = ab::kSize; i < mem.size(); ++i) Check(mem[i] == 0xEE);
    SetHotKeys(block());
    for (int c = 0; c < kHotKeyCodes; ++c) Check(block().Byte(ab::kHotKeyTable + static_cast<size_t>(c)) <= 1);
  }

  QLX_UNCOUNTED void Load() {
    CopyInto(before, disk());
    const int64_t whole = Whole();
    const LoadResult res = file.Load();
    Check(res.opened);
    Check(res.records_in_file == whole);
    Check(res.truncated == (whole > kMaxMacros));
    Check(res.partial_tail == (before.size() % kRecord != 0));
    Check(res.count == block().MacroCount());
    if (whole + 4 <= kMaxMacros) Check(res.system_macros_complete);
    // The records that were there are untouched; system macros come after.
    const size_t kept = static_cast<size_t>(std::min<int64_t>(whole, kMaxMacros)) * kRecord;
    Check(std::memcmp(before.data(), disk().data(), kept) == 0);
    if (res.system_macros_added == 0) {
      Check(disk() == before);
    } else {
      Check(disk().size() == static_cast<size_t>(whole + res.system_macros_added) * kRecord);
      for (int n = static_cast<int>(whole) + 1; n <= res.count; ++n) {
        std::memcpy(scratch.data(), disk().data() + static_cast<size_t>(n - 1) * kRecord, kRecord);
        Check(SystemMacroDigit(scratch.Scope(), scratch.ScopeTextView()) != 0);
      }
    }
    CheckTables();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  static Rig& rig = *new Rig;  // built once: a fresh one per input costs more than the input
  rig.Reset();
  const uint8_t shape = in.ConsumeIntegral<uint8_t>();
  Bytes& disk = rig.disk();
  if (shape < 0x40) {
    // The rest of the input is the file as it lies on the disk.
    CopyInto(disk, in.ConsumeRemainingBytes<uint8_t>());
  } else {
    // A handful of records: the 500-macro limit is the unit tests' (a file
    // that size would slow every input that reaches it a hundredfold).
    const int records = in.ConsumeIntegralInRange<int>(0, 8);
    const int distinct = in.ConsumeIntegralInRange<int>(1, 8);
    std::vector<MacroRecord>& kinds = rig.kinds;
    for (int i = 0; i < distinct; ++i) kinds.push_back(MakeRecord(in));
    disk.reserve(static_cast<size_t>(records + 4) * kRecord + kRecord);
    for (int n = 0; n < records; ++n) Append(disk, kinds[static_cast<size_t>(n) % kinds.size()].data(), kRecord);
    const std::string tail = in.ConsumeBool() ? SomeText(in, kRecord - 1) : std::string();
    Append(disk, tail.data(), tail.size());
  }

  rig.Load();
  for (int step = 0; step < 8 && in.remaining_bytes() > 0; ++step) {
    CopyInto(rig.before, disk);
    const Bytes& before = rig.before;
    const int64_t whole = rig.Whole();
    const int n = in.ConsumeIntegralInRange<int>(-1, static_cast<int>(whole) + 2);
    rig.files.fail_after = in.ConsumeIntegralInRange<int>(0, 7) == 0 ? in.ConsumeIntegralInRange<int64_t>(0, 20) : -1;
    bool failed = false;
    switch (in.ConsumeIntegralInRange<int>(0, 4)) {
      case 0:
        rig.files.fail_after = -1;
        rig.Load();
        break;
      case 1: {
        MacroRecord r;
        try {
          const bool ok = rig.file.ReadRecord(n, r);
          Check(ok && n >= 1 && n <= whole);
          Check(std::equal(r.bytes().begin(), r.bytes().end(),
                           disk.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(n - 1) * kRecord)));
        } catch (const StoreIoError&) {
          Check(n < 1 || n > whole);
        }
        break;
      }
      case 2: {
        const bool flag = in.ConsumeBool();
        const bool injected = rig.files.fail_after >= 0;
        try {
          const bool ok = rig.file.SetActive(n, flag);
          Check(ok == !before.empty());
          if (ok) {
            Check(n >= 1 && n <= whole);
            Bytes& expect = rig.expect;
            CopyInto(expect, before);
            expect[static_cast<size_t>(n - 1) * kRecord + mr::kActive] = flag ? 1 : 0;
            Check(disk == expect);
            if (n <= rig.block().MacroCount()) rig.CheckEntry(n);
          }
        } catch (const StoreIoError&) {
          failed = true;
          Check((injected && rig.files.fail_after == -1) || n < 1 || n > whole);
        }
        if (!failed && before.empty()) Check(disk == before);
        break;
      }
      case 3: {
        try {
          const bool ok = rig.file.DeleteRecord(n);
          Check(ok == (n >= 1 && n <= whole));
          Bytes& expect = rig.expect;
          if (ok) {
            // The whole records but record n.
            const size_t at = static_cast<size_t>(n - 1) * kRecord;
            CopyInto(expect, before, static_cast<size_t>(whole - 1) * kRecord);
            std::memcpy(expect.data() + at, before.data() + at + kRecord, expect.size() - at);
          } else {
            CopyInto(expect, before);
          }
          Check(disk == expect);
        } catch (const StoreIoError&) {
          // A rewrite that failed anywhere leaves the old file whole.
          Check(disk == before);
        }
        rig.files.fail_after = -1;
        rig.Load();  // as the list operations do after a deletion
        break;
      }
      default: {
        // As the editors write: -1 appends behind the macros the tables
        // hold, after the caller has raised the count.
        const MacroRecord r = MakeRecord(in);
        const int count = rig.block().MacroCount();
        const int target = n == -1 ? count + 1 : n;
        if (n == -1) rig.block().SetMacroCount(target);
        const bool fits = n == -1 ? target >= 1 && target <= kMaxMacros && whole == target - 1
                                  : n >= 1 && n <= kMaxMacros && n <= whole + 1;
        const bool injected = rig.files.fail_after >= 0;
        try {
          const bool ok = rig.file.WriteRecord(n, r);
          Check(ok == fits);
          Bytes& expect = rig.expect;
          if (ok) {
            MacroRecord out = r;
            out.ZeroReserved();
            const size_t at = static_cast<size_t>(target - 1) * kRecord;
            CopyInto(expect, before, std::max(before.size(), at + kRecord));
            std::memcpy(expect.data() + at, out.data(), kRecord);
            Check(disk == expect);
            rig.CheckEntry(target);
          } else {
            Check(disk == before);
            if (n == -1) rig.block().SetMacroCount(count);
          }
        } catch (const StoreIoError&) {
          Check(injected && rig.files.fail_after == -1);
          failed = true;
          if (n == -1) rig.block().SetMacroCount(count);
        }
        break;
      }
    }
    rig.files.fail_after = -1;
    // A write that failed half way leaves the tables to the next load.
    if (failed) rig.Load();
  }
  rig.CheckTables();
  rig.CheckBlock();
  return 0;
}
