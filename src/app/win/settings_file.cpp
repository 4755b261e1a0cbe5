#include "app/win/settings_file.h"

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "platform/profile.h"
#include "store/settings_location.h"

namespace qlx {
namespace {

std::string WindowsFolder() {
  char dir[MAX_PATH] = {};
  const UINT n = ::GetWindowsDirectoryA(dir, sizeof dir);
  return n > 0 && n < sizeof dir ? std::string(dir, n) : std::string();
}

bool Exists(const std::string& path) {
  const DWORD a = ::GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// True when the file opened; it is closed again at once.
bool Opened(HANDLE h) {
  if (h == INVALID_HANDLE_VALUE) return false;
  ::CloseHandle(h);
  return true;
}

// An existing file must take a write; otherwise the folder must take a new
// file (a probe of our own, gone when closed).
bool CanWrite(const std::string& folder, const std::string& file) {
  if (folder.empty()) return false;
  if (Exists(file))
    return Opened(::CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  const std::string probe = folder + "\\QLX" + std::to_string(::GetCurrentProcessId()) + ".TMP";
  return Opened(::CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
}

std::string AppDataFolder() {
  char dir[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathA(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, dir)))
    return {};
  return dir;
}

}  // namespace

std::string SettingsFilePath() {
  const std::string windows = WindowsFolder();
  const std::string windows_file = windows.empty() ? std::string() : windows + "\\" + kSettingsFileName;
  SettingsPlaces places;
  places.windows_file_exists = !windows_file.empty() && Exists(windows_file);
  places.windows_writable = CanWrite(windows, windows_file);
  if (!places.windows_writable) {
    places.user_file = UserSettingsFile(AppDataFolder());
    places.user_file_exists = !places.user_file.empty() && Exists(places.user_file);
  }
  const SettingsChoice choice = ChooseSettingsFile(places);
  if (choice.file != kSettingsFileName) {
    ::CreateDirectoryA(choice.file.substr(0, choice.file.find_last_of('\\')).c_str(), nullptr);
    if (choice.copy_from_windows) ::CopyFileA(windows_file.c_str(), choice.file.c_str(), TRUE);
  }
  return choice.file;
}

}  // namespace qlx
