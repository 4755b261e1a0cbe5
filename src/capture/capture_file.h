#pragma once
// The capture file: the recorded text, written one character at a time and
// flushed after each, so a crash loses nothing that was recorded. At the
// end the text goes into the macro, or, when longer than a macro holds,
// into a numbered text file the macro plays.
#include <cstdio>
#include <string>
#include <string_view>

namespace qlx {

inline constexpr int kMaxOverflowFiles = 100000;

class CaptureFile {
 public:
  CaptureFile() = default;
  CaptureFile(const CaptureFile&) = delete;
  CaptureFile& operator=(const CaptureFile&) = delete;
  ~CaptureFile() { Close(); }

  // Creates (or empties) the file; StoreIoError when it cannot.
  void Create(const std::string& path);
  bool IsOpen() const { return f_ != nullptr; }
  const std::string& path() const { return path_; }
  // One character, flushed; StoreIoError when the write fails. Nothing
  // happens while no file is open.
  void Put(char c);
  void Write(std::string_view s);
  void Close();

 private:
  FILE* f_ = nullptr;
  std::string path_;
};

// What becomes of a finished capture file.
struct CapturedText {
  std::string text;        // the macro text
  std::string overflow;    // the numbered file it went to, or empty
};

// At most 5000 bytes: the contents, and the file is deleted. More: copied
// to the first "QL<i>.TXT" that does not exist in `program_dir`, the file
// deleted, and the text "<TFILE:" + that path + ">". StoreIoError when the
// file cannot be read or the copy cannot be written.
CapturedText TakeCapturedText(const std::string& capture_path, const std::string& program_dir);

}  // namespace qlx
