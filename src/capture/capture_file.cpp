#include "capture/capture_file.h"

#include "capture/capture_options.h"
#include "platform/files.h"
#include "store/macro_file.h"
#include "store/macro_record.h"

namespace qlx {
namespace {

struct FileCloser {
  FILE* f;
  ~FileCloser() {
    if (f) std::fclose(f);
  }
};

std::string ReadAll(const std::string& path) {
  FileCloser in{std::fopen(path.c_str(), "rb")};
  if (!in.f) throw StoreIoError("Cannot open the capture file", path);
  std::string bytes;
  char buf[4096];
  size_t got;
  while ((got = std::fread(buf, 1, sizeof buf, in.f)) > 0) bytes.append(buf, got);
  if (std::ferror(in.f)) throw StoreIoError("Cannot read the capture file", path);
  return bytes;
}

}  // namespace

void CaptureFile::Create(const std::string& path) {
  Close();
  f_ = std::fopen(path.c_str(), "wb");
  if (!f_) throw StoreIoError("Cannot create the capture file", path);
  path_ = path;
}

void CaptureFile::Put(char c) {
  if (!f_) return;
  if (std::fputc(static_cast<unsigned char>(c), f_) == EOF || std::fflush(f_) != 0)
    throw StoreIoError("Cannot write the capture file", path_);
}

void CaptureFile::Write(std::string_view s) {
  for (char c : s) Put(c);
}

void CaptureFile::Close() {
  if (f_) std::fclose(f_);
  f_ = nullptr;
}

CapturedText TakeCapturedText(const std::string& capture_path, const std::string& program_dir) {
  CapturedText out;
  std::string bytes = ReadAll(capture_path);
  if (bytes.size() <= mr::kTextMax) {
    out.text = std::move(bytes);
    std::remove(capture_path.c_str());
    return out;
  }
  // Never cut: the whole capture goes to the first free numbered file.
  for (int i = 0; i < kMaxOverflowFiles; ++i) {
    const std::string name = JoinProgramPath(program_dir, OverflowFileName(i));
    if (FileExists(name)) continue;
    {
      FileCloser f{std::fopen(name.c_str(), "wb")};
      if (!f.f) throw StoreIoError("Cannot create the capture copy", name);
      if (std::fwrite(bytes.data(), 1, bytes.size(), f.f) != bytes.size() || std::fflush(f.f) != 0)
        throw StoreIoError("Cannot write the capture copy", name);
    }
    std::remove(capture_path.c_str());
    out.overflow = name;
    out.text = "<TFILE:" + name + ">";
    return out;
  }
  throw StoreIoError("No free name for the capture copy", program_dir);
}

}  // namespace qlx
