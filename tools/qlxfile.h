#pragma once
// The qlxfile command line: dump, build and check macro files.
#include <ostream>
#include <string>
#include <vector>

namespace qlx {

// Exit codes of qlxfile.
inline constexpr int kQlxFileOk = 0;
inline constexpr int kQlxFileRefused = 1;  // build refused the text, or check found damage
inline constexpr int kQlxFileFailed = 2;   // bad command line, or a file could not be read or written

// Runs one command; `args` are the words after the program's name.
int RunQlxFile(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace qlx
