#pragma once
// The settings file this user can keep: the Windows folder's when it can be
// written, else one under the user's application data.
#include <string>

namespace qlx {

// The file name for the profile functions. Makes the per-user folder, and
// seeds a new per-user file from the Windows folder's, when that is chosen.
std::string SettingsFilePath();

}  // namespace qlx
