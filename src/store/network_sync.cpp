#include "store/network_sync.h"

#include <fcntl.h>

#include <cstdio>
#include <memory>
#include <thread>
#include <utility>

#ifdef _WIN32
#include <io.h>
#include <sys/stat.h>
#else
#include <unistd.h>
#endif

#include "platform/files.h"
#include "store/macro_file.h"

namespace qlx {

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Creates `name` only when nothing of that name exists: O_EXCL is one step
// on the local disk and on network shares alike.
bool CreateNew(const std::string& name, const std::string& contents) {
#ifdef _WIN32
  const int fd = ::_open(name.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
  if (fd < 0) return false;
  const bool ok = ::_write(fd, contents.data(), static_cast<unsigned>(contents.size())) ==
                  static_cast<int>(contents.size());
  ::_close(fd);
#else
  const int fd = ::open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0644);
  if (fd < 0) return false;
  const bool ok = ::write(fd, contents.data(), contents.size()) == static_cast<ssize_t>(contents.size());
  ::close(fd);
#endif
  return ok;
}

class DiskFiles : public ISyncFiles {
 public:
  bool Exists(const std::string& name) override { return FileExists(name); }
  std::optional<SyncRecord::Bytes> Read(const std::string& name) override {
    File f(std::fopen(name.c_str(), "rb"));
    if (!f) return std::nullopt;
    SyncRecord::Bytes bytes;
    if (std::fread(bytes.data(), 1, bytes.size(), f.get()) != bytes.size()) return std::nullopt;
    return bytes;
  }
  bool Write(const std::string& name, const SyncRecord::Bytes& bytes) override {
    // In place when the file exists: a reader on another machine never
    // finds it emptied, only old or new bytes.
    File f(std::fopen(name.c_str(), "r+b"));
    if (!f) f.reset(std::fopen(name.c_str(), "wb"));
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
    std::FILE* raw = f.release();
    ok = std::fflush(raw) == 0 && ok;
    return std::fclose(raw) == 0 && ok;
  }
  bool CreateExclusive(const std::string& name, const std::string& contents) override {
    return CreateNew(name, contents);
  }
  std::optional<std::string> ReadText(const std::string& name) override {
    File f(std::fopen(name.c_str(), "rb"));
    if (!f) return std::nullopt;
    std::string out;
    char buffer[256];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, f.get())) > 0 && out.size() < 4096) out.append(buffer, got);
    return out;
  }
  bool Remove(const std::string& name) override { return std::remove(name.c_str()) == 0; }
};

bool Abandoned(double now, double first_seen) {
  return now >= first_seen && now - first_seen >= kAbandonedAfterDays;
}

}  // namespace

ISyncFiles& DiskSyncFiles() {
  static DiskFiles files;
  return files;
}

NetworkSync::NetworkSync(NetworkSettings settings, const IClock& clock, IMessageBoxes& boxes, ISyncFiles& files,
                         INetworkHost& host, std::string marker_token)
    : settings_(settings), clock_(clock), boxes_(boxes), files_(files), host_(host), token_(std::move(marker_token)) {}

void NetworkSync::OpenSync(const std::string& macro_file) {
  sync_file_ = SyncFileName(macro_file);
  ReadSync();
  last_seen_counter_ = record_.Counter();
}

void NetworkSync::ReadSync() {
  if (sync_file_.empty()) return;
  if (files_.Exists(sync_file_)) {
    if (auto bytes = files_.Read(sync_file_)) record_ = SyncRecord(*bytes);
    return;
  }
  record_.SetCounter(1);
  record_.SetLockState(kSyncFree);
  WriteSync();
}

void NetworkSync::WriteSync() {
  if (!sync_file_.empty()) files_.Write(sync_file_, record_.bytes());
}

NetworkSync::Marker NetworkSync::TakeMarker() {
  const std::string marker = MarkerFile();
  const std::string mine = token_ + "#" + std::to_string(++marker_serial_);
  auto take = [&] {
    if (!files_.CreateExclusive(marker, mine)) return false;
    my_marker_ = mine;
    return true;
  };
  if (take()) return Marker::Taken;
  const std::optional<std::string> seen = files_.ReadText(marker);
  if (!seen) {
    // Gone in the meantime, or a folder where no marker can be made.
    if (take()) return Marker::Taken;
    return files_.Exists(marker) ? Marker::Busy : Marker::Unsupported;
  }
  const double now = clock_.Now();
  if (last_seen_marker_ != seen || now < marker_first_seen_) {
    last_seen_marker_ = seen;
    marker_first_seen_ = now;
    return Marker::Busy;
  }
  if (!Abandoned(now, marker_first_seen_)) return Marker::Busy;
  // Left by a copy that died between its read and its write: removed only
  // while it still is the one seen.
  if (files_.ReadText(marker) == seen) files_.Remove(marker);
  last_seen_marker_.reset();
  return take() ? Marker::Taken : Marker::Busy;
}

void NetworkSync::DropMarker() {
  const std::string marker = MarkerFile();
  if (!my_marker_.empty() && files_.ReadText(marker) == my_marker_) files_.Remove(marker);
  my_marker_.clear();
}

bool NetworkSync::FileInUse() {
  if (!settings_.network_mode) return false;
  if (holders_ > 0) {
    ++holders_;
    return false;
  }
  const Marker marker = TakeMarker();
  if (marker == Marker::Busy) {
    boxes_.Show(kErrorCaption, kFileInUseText);
    return true;
  }
  enum class Decision { Take, InUse, Changed } decision = Decision::Take;
  ReadSync();
  const double now = clock_.Now();
  if (record_.LockState() == kSyncLocked) {
    if (record_.LockTime() != last_seen_lock_time_ || now < lock_first_seen_) {
      last_seen_lock_time_ = record_.LockTime();
      lock_first_seen_ = now;
      decision = Decision::InUse;
    } else if (!Abandoned(now, lock_first_seen_)) {
      decision = Decision::InUse;
    } else {
      // The holder stopped refreshing: it may have died halfway through a
      // change that it never counted. The lock is cleared and the change
      // counted for it, so every copy, this one first, reloads.
      record_.SetCounter(record_.Counter() + 1);
      record_.SetLockState(kSyncFree);
      WriteSync();
      last_seen_counter_ = record_.Counter();
      decision = Decision::Changed;
    }
  } else if (record_.Counter() != last_seen_counter_) {
    last_seen_counter_ = record_.Counter();
    decision = Decision::Changed;
  }
  if (decision == Decision::Take) {
    record_.SetLockState(kSyncLocked);
    record_.SetLockTime(now);
    WriteSync();
    holders_ = 1;
    nested_changes_ = 0;
  }
  // Messages wait for the user: other copies must not wait on the marker.
  if (marker == Marker::Taken) DropMarker();
  switch (decision) {
    case Decision::Take: host_.SetNetTimer(true); return false;
    case Decision::InUse: boxes_.Show(kErrorCaption, kFileInUseText); return true;
    case Decision::Changed:
      boxes_.Show(kNoticeCaption, kFileChangedText);
      host_.Reload();
      return true;
  }
  return true;
}

bool NetworkSync::TakeMarkerForWrite() {
  // The holder's own writes only wait for another copy's read-check-write,
  // which never waits for anything; should that copy have died there, the
  // write goes ahead without the marker.
  for (int attempt = 0; attempt < kMarkerWriteAttempts; ++attempt) {
    if (files_.CreateExclusive(MarkerFile(), token_ + "#w")) {
      my_marker_ = token_ + "#w";
      return true;
    }
    if (!files_.Exists(MarkerFile())) return false;
    std::this_thread::yield();
  }
  return false;
}

void NetworkSync::WriteHeld() {
  // Under the marker, so that a copy reading the record in FileInUse never
  // meets it half written.
  const bool marked = TakeMarkerForWrite();
  WriteSync();
  if (marked) DropMarker();
}

void NetworkSync::ReleaseSyncFile(bool changed) {
  if (!settings_.network_mode) return;
  // Only the holder writes "free": a copy that never took the lock would
  // otherwise break another copy's.
  if (holders_ == 0) {
    host_.SetNetTimer(false);
    return;
  }
  if (--holders_ > 0) {
    if (changed) ++nested_changes_;
    return;
  }
  host_.SetNetTimer(false);
  record_.SetCounter(record_.Counter() + nested_changes_ + (changed ? 1 : 0));
  nested_changes_ = 0;
  last_seen_counter_ = record_.Counter();
  record_.SetLockState(kSyncFree);
  WriteHeld();
}

void NetworkSync::CheckForChange() {
  if (!settings_.network_mode) return;
  ReadSync();
  if (record_.Counter() == last_seen_counter_) return;
  last_seen_counter_ = record_.Counter();
  host_.Reload();
}

void NetworkSync::NetTimerTick() {
  if (holders_ == 0) {
    host_.SetNetTimer(false);
    return;
  }
  record_.SetLockTime(clock_.Now());
  WriteHeld();
}

void NetworkSync::SyncTimerTick() {
  ++sync_ticks_;
  if (sync_ticks_ < settings_.sync_minutes) return;
  // While this copy holds the lock nobody else can have changed the file,
  // and a reload would pull the list from under the open dialog.
  if (holders_ > 0) return;
  sync_ticks_ = 0;
  host_.Reload();
}

void NetworkSync::StartTimers() {
  const bool on = settings_.network_mode && settings_.auto_sync;
  if (on) sync_ticks_ = 0;
  host_.SetSyncTimer(on);
}

NetworkDialogResult CloseNetworkDialog(NetworkSettings s, bool network_checked, bool auto_sync_checked,
                                       const std::string& minutes_text) {
  const bool was_network = s.network_mode;
  const bool was_running = s.network_mode && s.auto_sync;
  s.network_mode = network_checked;
  s.auto_sync = auto_sync_checked;
  size_t b = minutes_text.find_first_not_of(' ');
  size_t e = minutes_text.find_last_not_of(' ');
  const std::string digits = b == std::string::npos ? "" : minutes_text.substr(b, e - b + 1);
  if (!digits.empty() && digits.size() <= 4 && digits.find_first_not_of("0123456789") == std::string::npos)
    s.sync_minutes = static_cast<uint16_t>(std::stoi(digits));
  if (s.sync_minutes == 0) s.auto_sync = false;
  NetworkDialogResult r;
  r.sync_timer_on = s.network_mode && s.auto_sync;
  r.reset_ticks = r.sync_timer_on && !was_running;
  r.open_sync = s.network_mode && !was_network;
  return r;
}

}  // namespace qlx
