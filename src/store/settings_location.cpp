#include "store/settings_location.h"

#include "platform/profile.h"

namespace qlx {

SettingsChoice ChooseSettingsFile(const SettingsPlaces& places) {
  if (places.windows_writable || places.user_file.empty()) return {kSettingsFileName, false};
  return {places.user_file, !places.user_file_exists && places.windows_file_exists};
}

std::string UserSettingsFile(std::string_view app_data_dir) {
  if (app_data_dir.empty()) return {};
  std::string path(app_data_dir);
  if (path.back() != '\\' && path.back() != '/') path += '\\';
  path += "Quillon 98\\";
  path += kSettingsFileName;
  return path;
}

}  // namespace qlx
