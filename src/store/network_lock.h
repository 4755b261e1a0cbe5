#pragma once
// The lock around every change of the macro file. Copies on several
// machines that share one file take it before a change and release it
// after; a single machine needs none, so the default does nothing.
namespace qlx {

class INetworkLock {
 public:
  virtual ~INetworkLock() = default;
  // True: no change may be made now (the file is in use elsewhere, or it
  // was reloaded because another machine changed it).
  virtual bool FileInUse() = 0;
  // The end of a change; `changed` says whether the macro file changed.
  virtual void ReleaseSyncFile(bool changed) = 0;
};

class NoNetworkLock : public INetworkLock {
 public:
  bool FileInUse() override { return false; }
  void ReleaseSyncFile(bool) override {}
};

// Holds the lock for one operation: released when the operation ends,
// telling whether it changed the file. Not taken: the operation gives up.
class FileChange {
 public:
  explicit FileChange(INetworkLock& lock) : lock_(lock), taken_(!lock.FileInUse()) {}
  FileChange(const FileChange&) = delete;
  FileChange& operator=(const FileChange&) = delete;
  ~FileChange() {
    if (taken_) lock_.ReleaseSyncFile(changed_);
  }
  bool Taken() const { return taken_; }
  void Changed() { changed_ = true; }
  // The lock outlives this operation: what it started (a capture) now
  // holds it and releases it when it ends.
  void HandOver() { taken_ = false; }

 private:
  INetworkLock& lock_;
  bool taken_;
  bool changed_ = false;
};

}  // namespace qlx
