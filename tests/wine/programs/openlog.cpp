// Stands in for the browser: the tests make it the program that opens
// .htm files, so that what the program hands the shell can be read back.
// A windows program without a window: a console one would open a console
// that takes the focus from the dialog that asked for help.
//
//   openlog <log file> <document>    appends "<document>" and a line end
#include <windows.h>

#include <cstdlib>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const int argc = __argc;
  char** argv = __argv;
  if (argc != 3) return 3;
  const std::string line = std::string(argv[2]) + "\r\n";
  HANDLE f = ::CreateFileA(argv[1], FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  const BOOL ok = ::WriteFile(f, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  ::CloseHandle(f);
  return ok && written == line.size() ? 0 : 1;
}
