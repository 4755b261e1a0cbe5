// qlxfile: macro files as text and back. See tools/qlxfile.h.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "tools/qlxfile.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  try {
    return qlx::RunQlxFile(args, std::cout, std::cerr);
  } catch (const std::exception& e) {
    std::cerr << "qlxfile: " << e.what() << "\n";
    return qlx::kQlxFileFailed;
  }
}
