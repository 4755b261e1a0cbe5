#include "app/startup_logic.h"

#include <cctype>

namespace qlx {
namespace {

std::string UpperAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// A whole decimal number with an optional sign, as the settings dialogs read them.
std::optional<long> WholeNumber(std::string_view s) {
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  if (i == s.size() || s.size() - i > 9) return std::nullopt;
  long v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return std::nullopt;
    v = v * 10 + (s[i] - '0');
  }
  return negative ? -v : v;
}

}  // namespace

StartParam ClassifyStartParam(std::string_view raw) {
  const std::string p = UpperAscii(raw);
  StartParam r;
  if (p == "/HIDE") {
    r.kind = StartParamKind::Hide;
  } else if (p == "/B") {
    r.kind = StartParamKind::Browse;
  } else if (p == "/S") {
    r.kind = StartParamKind::AutoSync;
  } else if (p == "/BA") {
    r.kind = StartParamKind::BrowseAll;
  } else if (p.rfind("/F", 0) == 0) {
    r.kind = StartParamKind::OpenFile;
    r.path = p.substr(2);
  } else if (p == "/N") {
    r.kind = StartParamKind::Network;
  } else if (p.rfind("/SM", 0) == 0) {
    // Only a number strictly between 0 and 99 counts; anything else is ignored.
    auto n = WholeNumber(std::string_view(p).substr(3));
    if (n && *n > 0 && *n < 99) {
      r.kind = StartParamKind::SyncMinutes;
      r.minutes = static_cast<int>(*n);
    }
  }
  return r;
}

int FoldStartupShowState(int process_show, std::optional<int> startup_info_show) {
  if (process_show != kShowDefault || !startup_info_show) return process_show;
  int v = *startup_info_show;
  if (v == kShowMinimized || v == kMinimize || v == kShowMinNoActive) return kMinimize;
  return v;
}

OsFamily ClassifyOs(int platform_id, int major_version) {
  if (platform_id == kPlatformWin9x) return {true, false};
  if (platform_id == kPlatformNt && major_version > 3) return {true, true};
  return {false, false};
}

std::string MainCaption(std::string_view caption_file, std::string_view date_time_or_empty, BrowseMode mode) {
  std::string c = "Quillon 98 (";
  c += caption_file;
  c += ")";
  if (!date_time_or_empty.empty()) {
    c += "     ";
    c += date_time_or_empty;
  }
  if (mode == BrowseMode::Browse) c += "    (Browse Mode)";
  if (mode == BrowseMode::BrowseAll) c += "    (Browse All Mode)";
  return c;
}

std::string DirectoryOf(std::string_view path) {
  size_t slash = path.find_last_of("\\/");
  if (slash == std::string_view::npos) return std::string();
  std::string dir(path.substr(0, slash));
  while (!dir.empty() && (dir.back() == '\\' || dir.back() == '/')) dir.pop_back();
  return dir;
}

}  // namespace qlx
