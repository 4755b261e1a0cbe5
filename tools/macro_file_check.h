#pragma once
// What loading a macro file would meet: the damage the program reads past
// (a partial record at the end, more than 500 records, length bytes past
// their fields, a text without its end) and what it mends on load (missing
// system macros).
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qlx {

struct FileFinding {
  bool damage = false;  // false: a note, the file is sound
  int record = 0;       // 1-based; 0 for the file as a whole
  std::string message;
};

struct FileCheck {
  int64_t records = 0;  // whole records in the file
  std::vector<FileFinding> findings;
  bool damaged() const;
};

FileCheck CheckMacroFile(std::span<const uint8_t> file);

}  // namespace qlx
