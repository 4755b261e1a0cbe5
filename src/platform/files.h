#pragma once
// File access of the store: whole files opened for one operation, read and
// written at byte offsets, and replaced in one step. Behind an interface so
// that tests and fuzzers run the store in memory.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace qlx {

enum class FileMode : uint8_t {
  Read,          // an existing file, reading only
  ReadWrite,     // an existing file, reading and writing in place
  CreateOrKeep,  // created when missing, never emptied
  Create,        // created or emptied, for writing
};

class IFile {
 public:
  virtual ~IFile() = default;
  // Moves to a byte offset from the start; false when that fails.
  virtual bool Seek(int64_t offset) = 0;
  // The size in bytes, or -1 when it cannot be told.
  virtual int64_t Size() = 0;
  // Bytes read or written; fewer than asked is an end of file or an error.
  virtual size_t Read(uint8_t* p, size_t n) = 0;
  virtual size_t Write(const uint8_t* p, size_t n) = 0;
  // The last Read stopped at the end of the file rather than on an error.
  virtual bool AtEnd() = 0;
  // Everything written so far is on the disk, not in a cache; false when
  // the system could not confirm it.
  virtual bool Commit() = 0;
  // False when written data could not be flushed; the file is closed anyway.
  virtual bool Close() = 0;
};

class IFileSystem {
 public:
  virtual ~IFileSystem() = default;
  // Null when the file cannot be opened in that mode.
  virtual std::unique_ptr<IFile> Open(const std::string& name, FileMode mode) = 0;
  virtual bool Remove(const std::string& name) = 0;
  // Replaces `target` by `source` in one step: afterwards the target is
  // either the old or the new file, never a mix. False when it failed.
  virtual bool Replace(const std::string& source, const std::string& target) = 0;
  virtual bool Exists(const std::string& name) = 0;
};

// The real disk.
IFileSystem& DiskFileSystem();

// The system-specific parts of the disk: a replace that reaches the disk
// before it returns, and an existence test.
bool ReplaceFileAtomically(const std::string& source, const std::string& target);
bool FileExists(const std::string& path);

}  // namespace qlx
