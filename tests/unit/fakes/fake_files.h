#pragma once
// Files in memory: paths as written (a relative path is taken from the
// current directory), and a log of every operation asked for.
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_operations.h"

namespace qlx::fake {

class FakeFiles : public IFileOperations {
 public:
  std::map<std::string, std::string> files;  // full path -> bytes
  std::vector<std::string> directories{"C:\\"};
  std::string current = "C:\\";
  std::vector<std::string> log;

  void Add(const std::string& path, std::string bytes) { files[Full(path)] = std::move(bytes); }
  bool Has(const std::string& path) const { return files.count(Full(path)) != 0; }
  std::string Bytes(const std::string& path) const {
    auto it = files.find(Full(path));
    return it == files.end() ? std::string() : it->second;
  }

  bool ReadWholeFile(std::string_view path, std::string& bytes) override {
    log.push_back("read " + std::string(path));
    auto it = files.find(Full(path));
    if (it == files.end()) return false;
    bytes = it->second;
    return true;
  }
  bool ChangeDirectory(std::string_view path) override {
    log.push_back("chdir " + std::string(path));
    std::string dir = Full(path);
    if (dir.empty() || dir.back() != '\\') dir += '\\';
    for (const auto& d : directories)
      if (d == dir) {
        current = dir;
        return true;
      }
    return false;
  }
  bool RemoveFile(std::string_view path) override {
    log.push_back("delete " + std::string(path));
    return files.erase(Full(path)) != 0;
  }
  bool CopyOver(std::string_view source, std::string_view target) override {
    log.push_back("copy " + std::string(source) + " > " + std::string(target));
    auto it = files.find(Full(source));
    if (it == files.end()) return false;
    files[Full(target)] = it->second;
    return true;
  }
  bool RenameFile(std::string_view from, std::string_view to) override {
    log.push_back("rename " + std::string(from) + " > " + std::string(to));
    auto it = files.find(Full(from));
    if (it == files.end() || files.count(Full(to))) return false;
    std::string bytes = std::move(it->second);
    files.erase(it);
    files[Full(to)] = std::move(bytes);
    return true;
  }

 private:
  std::string Full(std::string_view path) const {
    if (path.size() >= 2 && path[1] == ':') return std::string(path);
    return current + std::string(path);
  }
};

}  // namespace qlx::fake
