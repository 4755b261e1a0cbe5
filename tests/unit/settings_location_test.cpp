// Where the settings file is kept: the Windows folder while it can be
// written, else a file of the user's own that starts from the Windows one.
#include "store/settings_location.h"

#include <gtest/gtest.h>

namespace qlx {
namespace {

constexpr char kUser[] = "C:\\Users\\robin\\AppData\\Roaming\\Quillon 98\\QUILX.INI";

TEST(SettingsLocation, Choice) {
  struct Case {
    const char* what;
    SettingsPlaces places;
    std::string file;
    bool copy;
  } cases[] = {
      {"writable Windows folder, as every copy before", {true, true, kUser, false}, "QUILX.INI", false},
      {"writable Windows folder wins over an old user file", {true, true, kUser, true}, "QUILX.INI", false},
      {"writable, no file yet", {true, false, "", false}, "QUILX.INI", false},
      {"read-only Windows folder: the user's file", {false, true, kUser, true}, kUser, false},
      {"first start of a standard user: starts from the Windows file", {false, true, kUser, false}, kUser, true},
      {"first start, nothing to start from", {false, false, kUser, false}, kUser, false},
      {"no user folder known: the Windows folder all the same", {false, true, "", false}, "QUILX.INI", false},
  };
  for (const Case& c : cases) {
    const SettingsChoice got = ChooseSettingsFile(c.places);
    EXPECT_EQ(got.file, c.file) << c.what;
    EXPECT_EQ(got.copy_from_windows, c.copy) << c.what;
  }
}

TEST(SettingsLocation, UserFileUnderApplicationData) {
  EXPECT_EQ(UserSettingsFile("C:\\Users\\robin\\AppData\\Roaming"), kUser);
  EXPECT_EQ(UserSettingsFile("C:\\Users\\robin\\AppData\\Roaming\\"), kUser);
  EXPECT_EQ(UserSettingsFile(""), "");
}

}  // namespace
}  // namespace qlx
