#pragma once
// The store's files in memory: named byte vectors, with a log of the
// operations that matter for durability (commit, close, replace) and
// failures to inject at the n-th write, commit or replace.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/files.h"

namespace qlx::fake {

class MemoryFiles : public IFileSystem {
 public:
  using Bytes = std::vector<uint8_t>;
  std::map<std::string, Bytes> files;
  std::vector<std::string> log;  // "commit NAME", "close NAME", "replace A > B", "remove NAME"
  bool keep_log = true;
  // Counted down by each write, commit and replace; the one that takes it
  // to zero fails (a full disk, a lost network share). Negative: never.
  int64_t fail_after = -1;
  // Names that refuse to open at all.
  std::vector<std::string> unopenable;

  std::unique_ptr<IFile> Open(const std::string& name, FileMode mode) override {
    if (std::find(unopenable.begin(), unopenable.end(), name) != unopenable.end()) return nullptr;
    auto it = files.find(name);
    switch (mode) {
      case FileMode::Read:
      case FileMode::ReadWrite:
        if (it == files.end()) return nullptr;
        break;
      case FileMode::CreateOrKeep:
        if (it == files.end()) {
          it = files.emplace(name, Bytes{}).first;
          ++generation_;
        }
        break;
      case FileMode::Create:
        it = files.insert_or_assign(name, Bytes{}).first;
        ++generation_;
        break;
    }
    return std::make_unique<File>(*this, name, mode);
  }
  bool Remove(const std::string& name) override {
    Note("remove ", name);
    ++generation_;
    return files.erase(name) == 1;
  }
  bool Replace(const std::string& source, const std::string& target) override {
    if (Fails()) return false;
    auto it = files.find(source);
    if (it == files.end()) return false;
    Note("replace ", source, " > ", target);
    Bytes moved = std::move(it->second);
    files.erase(it);
    files[target] = std::move(moved);
    ++generation_;
    return true;
  }
  bool Exists(const std::string& name) override { return files.count(name) == 1; }

 private:
  class File : public IFile {
   public:
    File(MemoryFiles& fs, std::string name, FileMode mode) : fs_(fs), name_(std::move(name)), mode_(mode) {
      if (mode == FileMode::CreateOrKeep) pos_ = Data().size();
    }
    bool Seek(int64_t offset) override {
      if (offset < 0) return false;
      pos_ = static_cast<size_t>(offset);
      return true;
    }
    int64_t Size() override { return static_cast<int64_t>(Data().size()); }
    size_t Read(uint8_t* p, size_t n) override {
      const Bytes& d = Data();
      const size_t have = pos_ < d.size() ? d.size() - pos_ : 0;
      const size_t got = std::min(n, have);
      if (got) std::memcpy(p, d.data() + pos_, got);
      pos_ += got;
      at_end_ = got < n;
      return got;
    }
    size_t Write(const uint8_t* p, size_t n) override {
      if (mode_ == FileMode::Read || fs_.Fails()) return 0;
      Bytes& d = Data();
      if (mode_ == FileMode::CreateOrKeep) pos_ = d.size();
      if (d.size() < pos_ + n) Grow(d, pos_ + n);
      if (n) std::memcpy(d.data() + pos_, p, n);
      pos_ += n;
      return n;
    }
    bool AtEnd() override { return at_end_; }
    bool Commit() override {
      if (fs_.Fails()) return false;
      fs_.Note("commit ", name_);
      return true;
    }
    bool Close() override {
      if (!closed_) fs_.Note("close ", name_);
      closed_ = true;
      return true;
    }
    ~File() override { Close(); }

   private:
    // Zeros up to `size`. A vector's own growth moves the bytes with
    // memmove, which goes a byte at a time under the address sanitizer.
    static void Grow(Bytes& d, size_t size) {
      if (size > d.capacity()) {
        Bytes grown;
        grown.reserve(std::max(size, 2 * d.capacity()));
        grown.resize(d.size());
        if (!d.empty()) std::memcpy(grown.data(), d.data(), d.size());
        d.swap(grown);
      }
      d.resize(size, 0);
    }
    // A file removed or replaced while open is gone for this handle: it
    // reads as empty and writes to nothing.
    Bytes& Data() {
      if (data_ && seen_ == fs_.generation_) return *data_;
      seen_ = fs_.generation_;
      auto it = fs_.files.find(name_);
      data_ = it == fs_.files.end() ? nullptr : &it->second;
      if (data_) return *data_;
      orphan_.clear();
      return orphan_;
    }
    Bytes* data_ = nullptr;
    uint64_t seen_ = 0;
    Bytes orphan_;
    MemoryFiles& fs_;
    std::string name_;
    FileMode mode_;
    size_t pos_ = 0;
    bool at_end_ = false;
    bool closed_ = false;
  };

  bool Fails() {
    if (fail_after < 0) return false;
    return fail_after-- == 0;
  }
  // The entry is put together only when the log is kept.
  template <typename... Parts>
  void Note(const Parts&... parts) {
    if (!keep_log) return;
    std::string entry;
    (entry += ... += parts);
    log.push_back(std::move(entry));
  }
  // Changes whenever a file is made, removed or replaced: until then an
  // open file's bytes stay where it found them. (A test that changes
  // `files` itself does so between operations, when no file is open.)
  uint64_t generation_ = 0;
};

}  // namespace qlx::fake
