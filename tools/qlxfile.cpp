#include "tools/qlxfile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <span>

#include "platform/files.h"
#include "tools/macro_file_check.h"
#include "tools/macro_text.h"

namespace qlx {
namespace {

constexpr char kUsage[] =
    "usage: qlxfile dump FILE.QLX            print the macro file as text\n"
    "       qlxfile build FILE.TXT OUT.QLX   make a macro file from such text\n"
    "       qlxfile check FILE.QLX           report damage (exit code 1 when damaged)\n";
constexpr size_t kErrorsShown = 20;

struct FileCloser {
  void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

bool ReadWhole(const std::string& path, std::string& bytes, std::ostream& err) {
  File f(std::fopen(path.c_str(), "rb"));
  if (!f) {
    err << "qlxfile: cannot open " << path << ": " << std::strerror(errno) << "\n";
    return false;
  }
  char buf[65536];
  size_t got;
  while ((got = std::fread(buf, 1, sizeof buf, f.get())) > 0) bytes.append(buf, got);
  if (std::ferror(f.get())) {
    err << "qlxfile: cannot read " << path << "\n";
    return false;
  }
  return true;
}

// The new file is written beside the old one and replaces it in one step:
// a failure leaves the old file as it was.
bool WriteWhole(const std::string& path, std::span<const uint8_t> bytes, std::ostream& err) {
  const std::string temp = path + ".~qlxfile";
  File f(std::fopen(temp.c_str(), "wb"));
  if (!f) {
    err << "qlxfile: cannot create " << temp << ": " << std::strerror(errno) << "\n";
    return false;
  }
  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
  ok = std::fflush(f.get()) == 0 && ok;
  ok = std::fclose(f.release()) == 0 && ok;
  if (!ok || !ReplaceFileAtomically(temp, path)) {
    std::remove(temp.c_str());
    err << "qlxfile: cannot write " << path << "\n";
    return false;
  }
  return true;
}

std::span<const uint8_t> AsBytes(const std::string& s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

int Dump(const std::string& path, std::ostream& out, std::ostream& err) {
  std::string file;
  if (!ReadWhole(path, file, err)) return kQlxFileFailed;
  out << DumpMacroFile(AsBytes(file));
  return kQlxFileOk;
}

int Build(const std::string& text_path, const std::string& out_path, std::ostream& out, std::ostream& err) {
  std::string text;
  if (!ReadWhole(text_path, text, err)) return kQlxFileFailed;
  const BuildResult built = BuildMacroFile(text);
  if (!built.ok()) {
    for (size_t i = 0; i < built.errors.size() && i < kErrorsShown; ++i)
      err << text_path << ":" << built.errors[i].line << ": " << built.errors[i].message << "\n";
    if (built.errors.size() > kErrorsShown)
      err << text_path << ": " << built.errors.size() - kErrorsShown << " more errors\n";
    err << "qlxfile: nothing written to " << out_path << "\n";
    return kQlxFileRefused;
  }
  if (!WriteWhole(out_path, built.bytes, err)) return kQlxFileFailed;
  out << out_path << ": " << built.macros << (built.macros == 1 ? " macro" : " macros") << " written\n";
  return kQlxFileOk;
}

int Check(const std::string& path, std::ostream& out, std::ostream& err) {
  std::string file;
  if (!ReadWhole(path, file, err)) return kQlxFileFailed;
  const FileCheck check = CheckMacroFile(AsBytes(file));
  for (const FileFinding& f : check.findings) {
    out << path << ": ";
    if (f.record) out << "record " << f.record << ": ";
    if (!f.damage) out << "note: ";
    out << f.message << "\n";
  }
  const bool damaged = check.damaged();
  out << path << ": " << check.records << (check.records == 1 ? " record, " : " records, ")
      << (damaged ? "damaged" : "sound") << "\n";
  return damaged ? kQlxFileRefused : kQlxFileOk;
}

}  // namespace

int RunQlxFile(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const std::string command = args.empty() ? std::string() : args[0];
  if (command == "dump" && args.size() == 2) return Dump(args[1], out, err);
  if (command == "build" && args.size() == 3) return Build(args[1], args[2], out, err);
  if (command == "check" && args.size() == 2) return Check(args[1], out, err);
  err << kUsage;
  return kQlxFileFailed;
}

}  // namespace qlx
