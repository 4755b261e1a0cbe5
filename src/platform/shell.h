#pragma once
// Handing files, programs and addresses to the shell.
#include <string_view>

namespace qlx {

class IShell {
 public:
  virtual ~IShell() = default;
  // Starts a program (verb "open", shown normally). Errors are not reported.
  virtual void Open(std::string_view program, std::string_view arguments) = 0;
  // The default action for a file or address. Errors are not reported.
  virtual void OpenDefault(std::string_view target) = 0;
};

}  // namespace qlx
