#pragma once
// Where the settings file lives. Copies of the program have always kept it
// in the Windows folder, and still do wherever that folder can be written;
// a user who may not write there (a standard account on current Windows)
// gets a file of their own instead, so that settings are kept at all.
#include <string>
#include <string_view>

namespace qlx {

// What the program found out about both places.
struct SettingsPlaces {
  bool windows_writable = false;    // the Windows folder's settings file can be written
  bool windows_file_exists = false; // the Windows folder holds a settings file
  std::string user_file;            // the per-user file's full path; empty when unknown
  bool user_file_exists = false;
};

struct SettingsChoice {
  // The file name for the profile functions: the bare name means the
  // Windows folder, as the system resolves it.
  std::string file;
  // The per-user file starts as a copy of the Windows folder's file.
  bool copy_from_windows = false;
};

SettingsChoice ChooseSettingsFile(const SettingsPlaces& places);

// The per-user settings file under the user's application-data folder.
std::string UserSettingsFile(std::string_view app_data_dir);

}  // namespace qlx
