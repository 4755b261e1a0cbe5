#include "platform/win32/shell_win32.h"

#include <shellapi.h>

#include <string>

namespace qlx {

void Win32Shell::Open(std::string_view program, std::string_view arguments) {
  const std::string file(program), args(arguments);
  ::ShellExecuteA(owner_, "open", file.c_str(), args.c_str(), "", SW_SHOWNORMAL);
}

void Win32Shell::OpenDefault(std::string_view target) {
  const std::string file(target);
  ::ShellExecuteA(owner_, nullptr, file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace qlx
