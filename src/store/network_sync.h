#pragma once
// Network mode: copies of the program on several machines share one macro
// file. A sync file beside it holds a change counter and a lock with a time
// stamp; every change of the macro file takes the lock first (FileInUse)
// and gives it back after (ReleaseSyncFile), and copies that see a counter
// they do not know reload the file.
//
// Taking the lock is a read, a check and a write of the sync file. So that
// two copies never both read "free" and both take it, that sequence runs
// while this copy holds a marker file created exclusively beside the sync
// file; a marker left by a copy that died is removed once it has been seen
// unchanged for a minute.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/clock.h"
#include "platform/ui.h"
#include "store/network_lock.h"
#include "store/sync_record.h"

namespace qlx {

inline constexpr char kFileInUseText[] = "Macro File in use by another user.  Please try again later.";
inline constexpr char kFileChangedText[] =
    "Macro File has changed by another user.  Changed macro file will be reloaded after clicking \"ok\".";
inline constexpr char kNoticeCaption[] = "Notice";
inline constexpr char kNetworkCaption[] = "Network Considerations";
// A lock or a marker seen unchanged this long (in days) is taken as abandoned.
inline constexpr double kAbandonedAfterDays = 1.0 / (24 * 60);
inline constexpr unsigned kSyncTimerMs = 60000;
inline constexpr unsigned kNetTimerMs = 30000;

// The files of network mode. The marker is created only when no file of
// that name exists, in one step that no other machine can interleave.
class ISyncFiles {
 public:
  virtual ~ISyncFiles() = default;
  virtual bool Exists(const std::string& name) = 0;
  // The record; nothing when the file cannot be opened or is short.
  virtual std::optional<SyncRecord::Bytes> Read(const std::string& name) = 0;
  // Creates or overwrites; false when that failed.
  virtual bool Write(const std::string& name, const SyncRecord::Bytes& bytes) = 0;
  virtual bool CreateExclusive(const std::string& name, const std::string& contents) = 0;
  // Nothing when the file cannot be read.
  virtual std::optional<std::string> ReadText(const std::string& name) = 0;
  virtual bool Remove(const std::string& name) = 0;
};

// The real disk.
ISyncFiles& DiskSyncFiles();

// What network mode asks of the main window.
class INetworkHost {
 public:
  virtual ~INetworkHost() = default;
  // Loads the current macro file again and shows it (the Reload sequence).
  virtual void Reload() = 0;
  virtual void SetNetTimer(bool on) = 0;
  virtual void SetSyncTimer(bool on) = 0;
};

// The settings network mode reads (they live in the settings record).
struct NetworkSettings {
  bool& network_mode;
  bool& auto_sync;
  uint16_t& sync_minutes;
};

class NetworkSync : public INetworkLock {
 public:
  // `marker_token` tells this copy's markers apart from every other copy's.
  NetworkSync(NetworkSettings settings, const IClock& clock, IMessageBoxes& boxes, ISyncFiles& files,
              INetworkHost& host, std::string marker_token);

  // Derives the sync file of `macro_file`, reads it and takes its counter
  // as seen.
  void OpenSync(const std::string& macro_file);
  // Reads the sync file into memory; a missing one is created with
  // counter 1, free. A file that cannot be read leaves memory unchanged.
  void ReadSync();
  void WriteSync();

  // True: no change may be made now (in use elsewhere, or reloaded).
  bool FileInUse() override;
  void ReleaseSyncFile(bool changed) override;
  // Before a hot-key macro is chosen: reload when another copy changed the file.
  void CheckForChange();
  // Every 30 seconds while this copy holds the lock.
  void NetTimerTick();
  // Every minute with auto sync: reload every Sync Minutes ticks.
  void SyncTimerTick();
  // At start-up: the sync timer runs when network mode and auto sync are on.
  void StartTimers();

  bool HoldsLock() const { return holders_ > 0; }
  const SyncRecord& record() const { return record_; }
  int32_t last_seen_counter() const { return last_seen_counter_; }
  const std::string& sync_file() const { return sync_file_; }
  std::string MarkerFile() const { return sync_file_ + ".LCK"; }
  int sync_ticks() const { return sync_ticks_; }
  void ResetSyncTicks() { sync_ticks_ = 0; }

 private:
  enum class Marker { Taken, Busy, Unsupported };
  Marker TakeMarker();
  void DropMarker();
  bool TakeMarkerForWrite();
  void WriteHeld();  // the holder's write of the record
  static constexpr int kMarkerWriteAttempts = 20000;

  NetworkSettings settings_;
  const IClock& clock_;
  IMessageBoxes& boxes_;
  ISyncFiles& files_;
  INetworkHost& host_;
  std::string token_;
  int marker_serial_ = 0;
  std::string my_marker_;

  SyncRecord record_;
  std::string sync_file_;
  int32_t last_seen_counter_ = 0;
  double last_seen_lock_time_ = 0;
  double lock_first_seen_ = 0;
  std::optional<std::string> last_seen_marker_;
  double marker_first_seen_ = 0;
  int sync_ticks_ = 0;
  // Changes nested inside one that holds the lock (a capture) count here;
  // only the outermost release frees it.
  int holders_ = 0;
  int nested_changes_ = 0;
};

// What closing the Network Considerations dialog does.
struct NetworkDialogResult {
  bool sync_timer_on = false;
  bool reset_ticks = false;
  bool open_sync = false;  // network mode has just been switched on
};
// Applies the dialog's fields to the settings. `minutes_text` is the
// Minutes field; a text that is not a whole number keeps Sync Minutes as it
// was, and 0 switches Auto Sync off.
NetworkDialogResult CloseNetworkDialog(NetworkSettings settings, bool network_checked, bool auto_sync_checked,
                                       const std::string& minutes_text);

}  // namespace qlx
