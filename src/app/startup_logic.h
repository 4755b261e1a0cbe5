#pragma once
// Start-up decisions that need no window: command-line parameters, the
// start-up show state, the operating-system family and the caption.
#include <optional>
#include <string>
#include <string_view>

namespace qlx {

enum class StartParamKind { Ignored, Hide, Browse, AutoSync, BrowseAll, OpenFile, Network, SyncMinutes };

struct StartParam {
  StartParamKind kind = StartParamKind::Ignored;
  std::string path;  // OpenFile: upper-cased, as the whole parameter is
  int minutes = 0;   // SyncMinutes: 1..98
};

// Classifies one parameter; the first matching test decides.
StartParam ClassifyStartParam(std::string_view raw);

// Show values as Windows defines them; kept here so the folding is portable.
inline constexpr int kShowMaximized = 3;
inline constexpr int kShowMinimized = 2;
inline constexpr int kMinimize = 6;
inline constexpr int kShowMinNoActive = 7;
inline constexpr int kShowDefault = 10;

// The process's show command, or, for SW_SHOWDEFAULT, the start-up
// information's value with the minimised forms folded into SW_MINIMIZE.
int FoldStartupShowState(int process_show, std::optional<int> startup_info_show);

struct OsFamily {
  bool tray_capable = false;
  bool nt4_or_later = false;
};
inline constexpr int kPlatformWin9x = 1;  // VER_PLATFORM_WIN32_WINDOWS
inline constexpr int kPlatformNt = 2;     // VER_PLATFORM_WIN32_NT
OsFamily ClassifyOs(int platform_id, int major_version);

enum class BrowseMode { None, Browse, BrowseAll };

// "Quillon 98 (" + file + ")", the date and time when shown, and the browse suffix.
std::string MainCaption(std::string_view caption_file, std::string_view date_time_or_empty, BrowseMode mode);

// Directory part of a program path without the trailing backslash.
std::string DirectoryOf(std::string_view path);

}  // namespace qlx
