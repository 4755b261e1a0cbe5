#include "platform/win32/file_operations_win32.h"

#include "platform/win32/win_handles.h"

namespace qlx {

bool Win32FileOperations::ReadWholeFile(std::string_view path, std::string& bytes) {
  const std::string name(path);
  HANDLE raw = ::CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (raw == INVALID_HANDLE_VALUE) return false;
  win::Handle file(raw);
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return false;
  // A text played or copied by a macro never comes near this; anything
  // larger is not a text file.
  constexpr LONGLONG kMaxBytes = 64LL * 1024 * 1024;
  if (size.QuadPart > kMaxBytes) return false;
  bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(bytes.size() - done);
    if (!::ReadFile(file.get(), bytes.data() + done, want, &got, nullptr)) return false;
    if (got == 0) break;  // the file shrank while being read
    done += got;
  }
  bytes.resize(done);
  return true;
}

bool Win32FileOperations::ChangeDirectory(std::string_view path) {
  const std::string name(path);
  return ::SetCurrentDirectoryA(name.c_str()) != 0;
}

bool Win32FileOperations::RemoveFile(std::string_view path) {
  const std::string name(path);
  return ::DeleteFileA(name.c_str()) != 0;
}

bool Win32FileOperations::CopyOver(std::string_view source, std::string_view target) {
  const std::string from(source), to(target);
  return ::CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

bool Win32FileOperations::RenameFile(std::string_view from, std::string_view to) {
  const std::string a(from), b(to);
  return ::MoveFileA(a.c_str(), b.c_str()) != 0;
}

}  // namespace qlx
