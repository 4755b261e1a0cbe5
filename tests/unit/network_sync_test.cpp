// Network mode: the sync record, every branch of FileInUse on a simulated
// clock, the release, the timers, and two copies on one folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <atomic>
#include <random>
#include <thread>
#include <string>
#include <vector>

#include "store/network_sync.h"

namespace qlx {
namespace {

namespace fs = std::filesystem;
constexpr double kSecond = 1.0 / 86400;

class SimClock : public IClock {
 public:
  double Now() const override { return now; }
  uint32_t TickCount() const override { return 0; }
  double now = 45000.25;
};

class Boxes : public IMessageBoxes {
 public:
  void Show(const std::string& caption, const std::string& text) override { shown.push_back(caption + "|" + text); }
  bool AskYesNo(const std::string&, const std::string&) override { return true; }
  std::vector<std::string> shown;
  std::string Last() const { return shown.empty() ? "" : shown.back(); }
};

class Host : public INetworkHost {
 public:
  void Reload() override { ++reloads; }
  void SetNetTimer(bool on) override { net_timer = on; }
  void SetSyncTimer(bool on) override { sync_timer = on; }
  int reloads = 0;
  bool net_timer = false;
  bool sync_timer = false;
};

const std::string kInUse = std::string("Error|") + kFileInUseText;
const std::string kChanged = std::string("Notice|") + kFileChangedText;

TEST(SyncRecord, LayoutIsLittleEndianPacked) {
  SyncRecord r;
  r.SetCounter(0x01020304);
  r.SetLockState(kSyncLocked);
  r.SetLockTime(1.5);
  const SyncRecord::Bytes expected = {4, 3, 2, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0xF8, 0x3F};
  EXPECT_EQ(r.bytes(), expected);
  SyncRecord back(expected);
  EXPECT_EQ(back.Counter(), 0x01020304);
  EXPECT_EQ(back.LockState(), 1);
  EXPECT_EQ(back.LockTime(), 1.5);
}

// One copy of the program: its settings, messages, host and network state.
struct Copy {
  Copy(SimClock& clock, const std::string& token) : sync({network, auto_sync, minutes}, clock, boxes, DiskSyncFiles(), host, token) {}
  bool network = true;
  bool auto_sync = true;
  uint16_t minutes = 10;
  Boxes boxes;
  Host host;
  NetworkSync sync;
};

class NetworkMode : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("qlx_net_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
            std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    macro_ = (dir_ / "SHARED.QLX").string();
    sync_ = (dir_ / "SHARED.MAS").string();
  }
  void TearDown() override { fs::remove_all(dir_); }

  SyncRecord OnDisk() {
    SyncRecord::Bytes b{};
    std::ifstream f(sync_, std::ios::binary);
    f.read(reinterpret_cast<char*>(b.data()), b.size());
    EXPECT_EQ(f.gcount(), 14);
    return SyncRecord(b);
  }
  void PutOnDisk(const SyncRecord& r) {
    std::ofstream f(sync_, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(r.bytes().data()), r.bytes().size());
  }

  fs::path dir_;
  std::string macro_, sync_;
  SimClock clock_;
};

TEST_F(NetworkMode, OffDoesNothing) {
  Copy a(clock_, "a");
  a.network = false;
  a.sync.OpenSync(macro_);
  fs::remove(sync_);
  EXPECT_FALSE(a.sync.FileInUse());
  a.sync.ReleaseSyncFile(true);
  a.sync.CheckForChange();
  EXPECT_FALSE(fs::exists(sync_));
  EXPECT_TRUE(a.boxes.shown.empty());
}

TEST_F(NetworkMode, FirstUseCreatesCounterOneAndTakesTheLock) {
  Copy a(clock_, "a");
  a.sync.OpenSync(macro_);
  EXPECT_EQ(a.sync.sync_file(), sync_);
  fs::remove(sync_);  // no sync file when the change starts
  EXPECT_FALSE(a.sync.FileInUse());
  SyncRecord r = OnDisk();
  EXPECT_EQ(r.Counter(), 1);
  EXPECT_EQ(r.LockState(), kSyncLocked);
  EXPECT_EQ(r.LockTime(), clock_.now);
  EXPECT_TRUE(a.host.net_timer);
  EXPECT_FALSE(fs::exists(a.sync.MarkerFile()));
}

TEST_F(NetworkMode, ReleaseWithAndWithoutAChange) {
  for (bool changed : {true, false}) {
    fs::remove(sync_);
    Copy a(clock_, "a");
    a.sync.OpenSync(macro_);
    ASSERT_FALSE(a.sync.FileInUse());
    a.sync.ReleaseSyncFile(changed);
    SyncRecord r = OnDisk();
    EXPECT_EQ(r.Counter(), changed ? 2 : 1);
    EXPECT_EQ(r.LockState(), kSyncFree);
    EXPECT_EQ(a.sync.last_seen_counter(), r.Counter());
    EXPECT_FALSE(a.host.net_timer);
  }
}

TEST_F(NetworkMode, OnlyTheOutermostReleaseFreesTheLock) {
  struct Case {
    bool inner_changed, outer_changed;
    int32_t counter;
  };
  for (const Case& c : {Case{false, false, 1}, Case{true, false, 2}, Case{true, true, 3}}) {
    SCOPED_TRACE(std::to_string(c.inner_changed) + std::to_string(c.outer_changed));
    fs::remove(sync_);
    Copy a(clock_, "a");
    a.sync.OpenSync(macro_);
    ASSERT_FALSE(a.sync.FileInUse());  // e.g. a running capture
    ASSERT_FALSE(a.sync.FileInUse());  // a change made meanwhile
    a.sync.ReleaseSyncFile(c.inner_changed);
    EXPECT_EQ(OnDisk().LockState(), kSyncLocked);
    EXPECT_TRUE(a.host.net_timer);
    a.sync.ReleaseSyncFile(c.outer_changed);
    EXPECT_EQ(OnDisk().LockState(), kSyncFree);
    EXPECT_EQ(OnDisk().Counter(), c.counter);
    EXPECT_FALSE(a.host.net_timer);
  }
}

TEST_F(NetworkMode, ReleaseWithoutTheLockLeavesAnotherCopysLock) {
  Copy a(clock_, "a"), b(clock_, "b");
  a.sync.OpenSync(macro_);
  b.sync.OpenSync(macro_);
  ASSERT_FALSE(a.sync.FileInUse());
  b.sync.ReleaseSyncFile(true);
  EXPECT_EQ(OnDisk().LockState(), kSyncLocked);
  EXPECT_EQ(OnDisk().Counter(), 1);
}

TEST_F(NetworkMode, InUseThenAbandonedAfterAMinute) {
  Copy a(clock_, "a"), b(clock_, "b");
  a.sync.OpenSync(macro_);
  b.sync.OpenSync(macro_);
  ASSERT_FALSE(a.sync.FileInUse());
  // A new lock time: in use, and the minute starts.
  EXPECT_TRUE(b.sync.FileInUse());
  EXPECT_EQ(b.boxes.Last(), kInUse);
  // The holder refreshes: a new time starts the minute again.
  clock_.now += 50 * kSecond;
  a.sync.NetTimerTick();
  clock_.now += 20 * kSecond;
  EXPECT_TRUE(b.sync.FileInUse());
  EXPECT_EQ(b.boxes.shown.size(), 2u);
  // The holder dies: the same time for less than a minute is still in use.
  clock_.now += 59 * kSecond;
  EXPECT_TRUE(b.sync.FileInUse());
  EXPECT_EQ(b.boxes.Last(), kInUse);
  // A minute after it was first seen the lock is taken over: counted as a
  // change of the dead copy, so this copy reloads and the next try succeeds.
  clock_.now += 1 * kSecond;
  EXPECT_TRUE(b.sync.FileInUse());
  EXPECT_EQ(b.boxes.Last(), kChanged);
  EXPECT_EQ(b.host.reloads, 1);
  EXPECT_EQ(OnDisk().Counter(), 2);
  EXPECT_EQ(OnDisk().LockState(), kSyncFree);
  EXPECT_FALSE(b.sync.FileInUse());
  EXPECT_EQ(OnDisk().LockState(), kSyncLocked);
  EXPECT_TRUE(b.sync.HoldsLock());
}

TEST_F(NetworkMode, ClockSetBackDoesNotCountAsAMinute) {
  Copy a(clock_, "a"), b(clock_, "b");
  a.sync.OpenSync(macro_);
  b.sync.OpenSync(macro_);
  ASSERT_FALSE(a.sync.FileInUse());
  EXPECT_TRUE(b.sync.FileInUse());
  clock_.now -= 1.0;  // a day back
  EXPECT_TRUE(b.sync.FileInUse());
  clock_.now += 30 * kSecond;
  EXPECT_TRUE(b.sync.FileInUse());
  EXPECT_EQ(b.boxes.Last(), kInUse);
}

TEST_F(NetworkMode, CopyBehindOnTheCounterReloadsAndDoesNotStart) {
  Copy a(clock_, "a"), b(clock_, "b");
  a.sync.OpenSync(macro_);
  b.sync.OpenSync(macro_);
  ASSERT_FALSE(a.sync.FileInUse());
  a.sync.ReleaseSyncFile(true);
  EXPECT_TRUE(b.sync.FileInUse());
  EXPECT_EQ(b.boxes.Last(), kChanged);
  EXPECT_EQ(b.host.reloads, 1);
  EXPECT_EQ(b.sync.last_seen_counter(), 2);
  EXPECT_EQ(OnDisk().LockState(), kSyncFree);
  EXPECT_FALSE(b.sync.FileInUse());  // the repeated operation goes ahead
}

TEST_F(NetworkMode, CheckForChangeReloadsOnlyOnANewCounter) {
  Copy a(clock_, "a"), b(clock_, "b");
  a.sync.OpenSync(macro_);
  b.sync.OpenSync(macro_);
  b.sync.CheckForChange();
  EXPECT_EQ(b.host.reloads, 0);
  ASSERT_FALSE(a.sync.FileInUse());
  a.sync.ReleaseSyncFile(true);
  b.sync.CheckForChange();
  EXPECT_EQ(b.host.reloads, 1);
  b.sync.CheckForChange();
  EXPECT_EQ(b.host.reloads, 1);
  EXPECT_TRUE(b.boxes.shown.empty());
}

TEST_F(NetworkMode, UnreadableSyncFileKeepsTheValuesInMemory) {
  Copy a(clock_, "a");
  a.sync.OpenSync(macro_);
  {
    std::ofstream f(sync_, std::ios::binary | std::ios::trunc);
    f << "short";
  }
  EXPECT_FALSE(a.sync.FileInUse());  // memory said counter 1, free
  EXPECT_EQ(a.sync.record().Counter(), 1);
  EXPECT_EQ(OnDisk().LockState(), kSyncLocked);
}

TEST_F(NetworkMode, MarkerHeldByAnotherCopyMeansInUseUntilStale) {
  Copy a(clock_, "a");
  a.sync.OpenSync(macro_);
  const std::string marker = a.sync.MarkerFile();
  {
    std::ofstream f(marker);
    f << "other#1";
  }
  EXPECT_TRUE(a.sync.FileInUse());
  EXPECT_EQ(a.boxes.Last(), kInUse);
  EXPECT_EQ(OnDisk().LockState(), kSyncFree);  // nothing read or written under another's marker
  clock_.now += 59 * kSecond;
  EXPECT_TRUE(a.sync.FileInUse());
  // Another copy's marker changed: its minute starts again.
  {
    std::ofstream f(marker, std::ios::trunc);
    f << "other#2";
  }
  clock_.now += 2 * kSecond;
  EXPECT_TRUE(a.sync.FileInUse());
  clock_.now += 60 * kSecond;
  EXPECT_FALSE(a.sync.FileInUse());  // the dead copy's marker is removed
  EXPECT_FALSE(fs::exists(marker));
  EXPECT_EQ(OnDisk().LockState(), kSyncLocked);
}

TEST_F(NetworkMode, NetTimerRefreshesOnlyWhileHolding) {
  Copy a(clock_, "a");
  a.sync.OpenSync(macro_);
  ASSERT_FALSE(a.sync.FileInUse());
  clock_.now += 30 * kSecond;
  a.sync.NetTimerTick();
  EXPECT_EQ(OnDisk().LockTime(), clock_.now);
  a.sync.ReleaseSyncFile(false);
  const SyncRecord after = OnDisk();
  clock_.now += 30 * kSecond;
  a.sync.NetTimerTick();
  EXPECT_EQ(OnDisk().bytes(), after.bytes());
  EXPECT_FALSE(a.host.net_timer);
}

TEST_F(NetworkMode, SyncTimerReloadsEverySyncMinutes) {
  Copy a(clock_, "a");
  a.minutes = 3;
  a.sync.OpenSync(macro_);
  a.sync.StartTimers();
  EXPECT_TRUE(a.host.sync_timer);
  for (int i = 0; i < 2; ++i) a.sync.SyncTimerTick();
  EXPECT_EQ(a.host.reloads, 0);
  a.sync.SyncTimerTick();
  EXPECT_EQ(a.host.reloads, 1);
  EXPECT_EQ(a.sync.sync_ticks(), 0);
  // Not while this copy holds the lock: the reload waits for the next tick.
  ASSERT_FALSE(a.sync.FileInUse());
  for (int i = 0; i < 4; ++i) a.sync.SyncTimerTick();
  EXPECT_EQ(a.host.reloads, 1);
  a.sync.ReleaseSyncFile(false);
  a.sync.SyncTimerTick();
  EXPECT_EQ(a.host.reloads, 2);
}

TEST_F(NetworkMode, SyncTimerStartsOnlyWithNetworkAndAutoSync) {
  const struct {
    bool network, auto_sync, on;
  } cases[] = {{true, true, true}, {true, false, false}, {false, true, false}, {false, false, false}};
  for (const auto& c : cases) {
    Copy a(clock_, "a");
    a.network = c.network;
    a.auto_sync = c.auto_sync;
    a.host.sync_timer = !c.on;
    a.sync.StartTimers();
    EXPECT_EQ(a.host.sync_timer, c.on) << c.network << c.auto_sync;
  }
}

TEST(NetworkDialog, ClosingDecidesTimersAndOpenSync) {
  struct Case {
    bool net0, auto0;
    uint16_t min0;
    bool net, autos;
    std::string text;
    bool net_after, auto_after;
    uint16_t min_after;
    bool timer, reset, open;
  } cases[] = {
      {false, true, 10, true, true, " 5 ", true, true, 5, true, true, true},
      {true, true, 10, true, true, "10", true, true, 10, true, false, false},
      {true, false, 10, true, true, "10", true, true, 10, true, true, false},
      {true, true, 10, true, true, "0", true, false, 0, false, false, false},   // 0 switches auto sync off
      {true, true, 10, true, true, "x1", true, true, 10, true, false, false},   // not a number: unchanged
      {true, true, 10, false, true, "10", false, true, 10, false, false, false}, // no file locking, no timer
  };
  for (const Case& c : cases) {
    bool net = c.net0, autos = c.auto0;
    uint16_t min = c.min0;
    NetworkDialogResult r = CloseNetworkDialog({net, autos, min}, c.net, c.autos, c.text);
    SCOPED_TRACE(c.text);
    EXPECT_EQ(net, c.net_after);
    EXPECT_EQ(autos, c.auto_after);
    EXPECT_EQ(min, c.min_after);
    EXPECT_EQ(r.sync_timer_on, c.timer);
    EXPECT_EQ(r.reset_ticks, c.reset);
    EXPECT_EQ(r.open_sync, c.open);
  }
}

// Two copies taking turns at random on one folder: every change each one
// reports as made is counted exactly once, and the lock is never held by
// both at once.
TEST_F(NetworkMode, TwoCopiesInterleavedNeverShareTheLockNorLoseACount) {
  Copy a(clock_, "a"), b(clock_, "b");
  a.sync.OpenSync(macro_);
  b.sync.OpenSync(macro_);
  std::mt19937 rng(12345);
  int made = 0;
  Copy* copies[] = {&a, &b};
  for (int step = 0; step < 400; ++step) {
    Copy& c = *copies[rng() % 2];
    clock_.now += (rng() % 5) * kSecond;
    if (c.sync.HoldsLock()) {
      const bool changed = rng() % 2 == 0;
      made += changed ? 1 : 0;
      c.sync.ReleaseSyncFile(changed);
    } else {
      c.sync.FileInUse();
    }
    ASSERT_FALSE(a.sync.HoldsLock() && b.sync.HoldsLock()) << step;
    for (Copy* holder : copies) holder->sync.NetTimerTick();  // a live holder keeps its lock fresh
  }
  for (Copy* c : copies)
    if (c->sync.HoldsLock()) c->sync.ReleaseSyncFile(false);
  EXPECT_EQ(OnDisk().Counter(), 1 + made);
  EXPECT_GT(made, 20);
}

// Two copies at once, each on its own thread: the marker makes the
// read-check-write one step, so the lock is never held twice and no
// counted change is lost.
TEST_F(NetworkMode, ConcurrentCopiesTakeTheLockOneAtATime) {
  Copy a(clock_, "a"), b(clock_, "b");
  a.sync.OpenSync(macro_);
  b.sync.OpenSync(macro_);
  std::atomic<int> holders{0}, overlaps{0}, changes{0};
  auto run = [&](Copy& c) {
    for (int i = 0; i < 300; ++i) {
      if (c.sync.FileInUse()) continue;
      if (holders.fetch_add(1) != 0) ++overlaps;
      holders.fetch_sub(1);
      ++changes;
      c.sync.ReleaseSyncFile(true);
    }
  };
  std::thread ta(run, std::ref(a)), tb(run, std::ref(b));
  ta.join();
  tb.join();
  EXPECT_EQ(overlaps.load(), 0);
  EXPECT_GT(changes.load(), 0);
  EXPECT_EQ(OnDisk().Counter(), 1 + changes.load());
  EXPECT_EQ(OnDisk().LockState(), kSyncFree);
}

}  // namespace
}  // namespace qlx
