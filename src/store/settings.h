#pragma once
// The settings record: every option, the window geometry, the fonts and the
// macro file names, read once from the settings file at start-up and written
// back as a whole.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "platform/profile.h"
#include "store/macro_file.h"
#include "store/macro_tables.h"

namespace qlx {

// A font as the program keeps it; the window code turns it into a real font.
struct FontSetting {
  int32_t color = 0;  // COLORREF-style value, written as a signed decimal
  std::string name = "Arial";
  int32_t size = 10;  // points
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeout = false;
};

inline constexpr char kDefaultMacroFileName[] = "QUILX.QLX";
inline constexpr size_t kDateFormatCount = 51;
inline constexpr size_t kTimeFormatCount = 26;
// Wait after a Snapword's Backspaces; 0 waits until the target has taken them.
inline constexpr int32_t kSnapwordWaitDefaultMs = 100;
inline constexpr int32_t kSnapwordWaitMaxMs = 5000;

struct Settings {
  int32_t last_date_format = 0;
  int32_t last_time_format = 0;
  bool suppress_zeros_in_date = true;
  bool suppress_zeros_in_time = true;
  bool show_date = false;
  bool use_tray = false;
  bool disable_screen_saver = true;
  bool network_mode = false;
  bool auto_sync = true;
  uint16_t sync_minutes = 10;
  bool use_wave_file = false;
  bool wave_file_wait = false;
  std::string wave_file;
  uint16_t timer_seconds = 10;
  std::string current_file;
  RecentFiles recent_files;
  std::string primary_sort = "123";
  std::string activation_sort = "123";
  std::string scope_sort = "12345";
  FontSetting print_list_font;
  bool print_list_bold = false;
  bool print_list_italic = false;
  int32_t main_width = 640;
  int32_t main_height = 424;
  int32_t main_left = 0;
  int32_t main_top = 0;
  int32_t col1_width = 112;
  int32_t col2_width = 168;
  int32_t col3_width = 132;
  bool use_speed = false;
  int32_t script_width = 606;
  int32_t script_height = 446;
  int32_t script_left = 0;
  int32_t script_top = 0;
  MacroNameTables names;
  FontSetting grid_title_font{0, "Arial", 12};
  bool grid_title_bold = false;
  bool grid_title_italic = false;
  bool grid_title_underline = false;
  bool grid_title_strikeout = false;
  FontSetting grid_font;
  bool grid_bold = false;
  bool grid_italic = false;
  bool grid_underline = false;
  bool grid_strikeout = false;
  bool capture_double_alt = true;
  bool capture_keys = true;
  bool capture_mouse = true;
  bool capture_time = true;
  bool capture_prompt = true;
  bool capture_relative_to_screen = true;
  bool capture_window_size = true;
  bool capture_global = true;
  int32_t capture_speed = 1;
  int32_t system_menu = 1;
  bool snap_solitary_usage = false;
  bool snap_case_sensitive = true;
  bool snap_use_suffix = false;
  std::string prefix_keys;
  int32_t snap_wait_ms = kSnapwordWaitDefaultMs;
};

// program_dir + "\QUILX.QLX" (no doubled separator after a root directory).
std::string DefaultMacroFile(std::string_view program_dir);

// Fills `s` from the profile. Missing keys take their defaults; numbers
// that do not parse or lie outside what their field can mean take their
// defaults too, but a Snapword wait out of range is pulled to its nearer
// end. The current file falls back to the default macro file when
// empty or missing on disk.
// `files` answers whether the current macro file still exists.
void ReadSettings(IProfile& profile, std::string_view program_dir, Settings& s,
                  IFileSystem& files = DiskFileSystem());

// Writes every key, the fonts' style flags taken from the font objects.
void WriteSettings(IProfile& profile, const Settings& s);

// Copies each font object's style into the record's style flags.
void RefreshFontStyleFlags(Settings& s);

}  // namespace qlx
