// The store's files on the real disk, through C stdio; only the flush to
// the disk itself differs between systems (SyncToDisk).
#include <cstdio>

#include "platform/disk_sync.h"
#include "platform/files.h"

namespace qlx {
namespace {

// Offsets travel through a C `long`, 32 bits on Windows.
constexpr int64_t kMaxOffset = 0x7FFFFFFF;

class DiskFile : public IFile {
 public:
  explicit DiskFile(std::FILE* f) : f_(f) {}
  ~DiskFile() override {
    if (f_) std::fclose(f_);
  }
  DiskFile(const DiskFile&) = delete;
  DiskFile& operator=(const DiskFile&) = delete;

  bool Seek(int64_t offset) override {
    return offset >= 0 && offset <= kMaxOffset && std::fseek(f_, static_cast<long>(offset), SEEK_SET) == 0;
  }
  int64_t Size() override {
    if (std::fseek(f_, 0, SEEK_END) != 0) return -1;
    return std::ftell(f_);
  }
  size_t Read(uint8_t* p, size_t n) override { return std::fread(p, 1, n, f_); }
  size_t Write(const uint8_t* p, size_t n) override { return std::fwrite(p, 1, n, f_); }
  bool AtEnd() override { return std::feof(f_) != 0; }
  bool Commit() override { return std::fflush(f_) == 0 && SyncToDisk(f_); }
  bool Close() override {
    std::FILE* f = f_;
    f_ = nullptr;
    const bool flushed = std::fflush(f) == 0;
    return std::fclose(f) == 0 && flushed;
  }

 private:
  std::FILE* f_;
};

class Disk : public IFileSystem {
 public:
  std::unique_ptr<IFile> Open(const std::string& name, FileMode mode) override {
    const char* how = "rb";
    switch (mode) {
      case FileMode::Read: how = "rb"; break;
      case FileMode::ReadWrite: how = "r+b"; break;
      // Append mode creates a missing file and never empties one.
      case FileMode::CreateOrKeep: how = "ab"; break;
      case FileMode::Create: how = "wb"; break;
    }
    std::FILE* f = std::fopen(name.c_str(), how);
    if (!f) return nullptr;
    return std::make_unique<DiskFile>(f);
  }
  bool Remove(const std::string& name) override { return std::remove(name.c_str()) == 0; }
  bool Replace(const std::string& source, const std::string& target) override {
    return ReplaceFileAtomically(source, target);
  }
  bool Exists(const std::string& name) override { return FileExists(name); }
};

}  // namespace

IFileSystem& DiskFileSystem() {
  static Disk disk;
  return disk;
}

}  // namespace qlx
