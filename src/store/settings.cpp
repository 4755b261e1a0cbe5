#include "store/settings.h"

#include <cstdint>
#include <limits>

#include "platform/files.h"

namespace qlx {

namespace {

// Read buffer sizes, terminating zero included.
constexpr size_t kShortBuffer = 15;   // yes/no, numbers, sort strings
constexpr size_t kFontBuffer = 150;   // "Color", "Font Name", "Size"
constexpr size_t kPathBuffer = 250;   // "Current File", "Prefix Keys", "Wave File"
constexpr size_t kRecentBuffer = 255; // "Last File 1".."Last File 5"

constexpr size_t kPrimarySortLength = 3;
constexpr size_t kActivationSortLength = 3;
constexpr size_t kScopeSortLength = 5;
constexpr size_t kPrefixKeysLength = 2;

constexpr uint16_t kDefaultTimerSeconds = 10;
constexpr uint16_t kMaxTimerSeconds = 60;

std::string UpperAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

// A whole decimal number with optional sign and surrounding blanks.
bool ParseWhole(std::string_view s, int64_t& out) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  if (s.empty() || s.size() > 12) return false;
  int64_t v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  out = negative ? -v : v;
  return true;
}

// The sort strings are orders of the digits 1..n; anything else would index
// past the sort tables.
bool IsDigitPermutation(std::string_view s, size_t n) {
  if (s.size() != n) return false;
  uint32_t seen = 0;
  for (char c : s) {
    if (c < '1' || c > static_cast<char>('0' + n)) return false;
    uint32_t bit = 1u << (c - '1');
    if (seen & bit) return false;
    seen |= bit;
  }
  return true;
}

std::string Cut(std::string s, size_t n) {
  if (s.size() > n) s.resize(n);
  return s;
}

class SectionReader {
 public:
  SectionReader(IProfile& profile, const char* section) : p_(profile), section_(section) {}

  std::string Text(const char* key, const std::string& def, size_t buffer) {
    return p_.Read(section_, key, def, buffer);
  }
  bool YesNo(const char* key, bool def) {
    return UpperAscii(p_.Read(section_, key, def ? "Yes" : "No", kShortBuffer)) == "YES";
  }
  int32_t Number(const char* key, int32_t def, int64_t lo, int64_t hi, size_t buffer = kShortBuffer) {
    int64_t v = 0;
    if (!ParseWhole(p_.Read(section_, key, std::to_string(def), buffer), v) || v < lo || v > hi)
      return def;
    return static_cast<int32_t>(v);
  }
  // Out of range is pulled to the nearer end rather than dropped.
  int32_t Clamped(const char* key, int32_t def, int32_t lo, int32_t hi) {
    int64_t v = 0;
    if (!ParseWhole(p_.Read(section_, key, std::to_string(def), kShortBuffer), v)) return def;
    return static_cast<int32_t>(v < lo ? lo : v > hi ? hi : v);
  }
  int32_t Int32(const char* key, int32_t def, size_t buffer = kShortBuffer) {
    return Number(key, def, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(),
                  buffer);
  }
  std::string Order(const char* key, const char* def, size_t n) {
    std::string v = Cut(Text(key, def, kShortBuffer), n);
    return IsDigitPermutation(v, n) ? v : std::string(def);
  }

 private:
  IProfile& p_;
  std::string section_;
};

class SectionWriter {
 public:
  SectionWriter(IProfile& profile, const char* section) : p_(profile), section_(section) {}

  // A line break inside a value would start a new key in the file.
  void Text(const char* key, const std::string& value) {
    std::string v = value;
    for (char& c : v)
      if (c == '\r' || c == '\n') c = ' ';
    p_.Write(section_, key, v);
  }
  void YesNo(const char* key, bool on) { p_.Write(section_, key, on ? "Yes" : "No"); }
  void Number(const char* key, int64_t v) { p_.Write(section_, key, std::to_string(v)); }

 private:
  IProfile& p_;
  std::string section_;
};

// Colour, name and size build the font; each style flag that reads yes adds
// its style.
FontSetting ReadFont(SectionReader& r, const FontSetting& def, bool with_underline_strikeout) {
  FontSetting f;
  f.color = r.Int32("Color", def.color, kFontBuffer);
  f.name = r.Text("Font Name", def.name, kFontBuffer);
  f.size = r.Int32("Size", def.size, kFontBuffer);
  f.bold = r.YesNo("Bold", false);
  f.italic = r.YesNo("Italic", false);
  if (with_underline_strikeout) {
    f.underline = r.YesNo("Underline", false);
    f.strikeout = r.YesNo("Strikeout", false);
  }
  return f;
}

void WriteFont(SectionWriter& w, const FontSetting& f, bool with_underline_strikeout) {
  w.Number("Color", f.color);
  w.Text("Font Name", f.name);
  w.Number("Size", f.size);
  w.YesNo("Bold", f.bold);
  w.YesNo("Italic", f.italic);
  if (with_underline_strikeout) {
    w.YesNo("Underline", f.underline);
    w.YesNo("Strikeout", f.strikeout);
  }
}

const Settings& Defaults() {
  static const Settings d;
  return d;
}

}  // namespace

std::string DefaultMacroFile(std::string_view program_dir) {
  std::string out(program_dir);
  if (out.empty() || (out.back() != '\\' && out.back() != '/')) out += '\\';
  return out + kDefaultMacroFileName;
}

void RefreshFontStyleFlags(Settings& s) {
  s.print_list_bold = s.print_list_font.bold;
  s.print_list_italic = s.print_list_font.italic;
  s.grid_title_bold = s.grid_title_font.bold;
  s.grid_title_italic = s.grid_title_font.italic;
  s.grid_title_underline = s.grid_title_font.underline;
  s.grid_title_strikeout = s.grid_title_font.strikeout;
  s.grid_bold = s.grid_font.bold;
  s.grid_italic = s.grid_font.italic;
  s.grid_underline = s.grid_font.underline;
  s.grid_strikeout = s.grid_font.strikeout;
}

void ReadSettings(IProfile& profile, std::string_view program_dir, Settings& s, IFileSystem& files) {
  const Settings& d = Defaults();
  {
    SectionReader r(profile, "Misc");
    s.system_menu = r.Number("System Menu", d.system_menu, 1, 3);
    s.primary_sort = r.Order("Primary Sort", "123", kPrimarySortLength);
    s.activation_sort = r.Order("Activation Sort", "123", kActivationSortLength);
    s.scope_sort = r.Order("Scope Sort", "12345", kScopeSortLength);
    // Format numbers are 1-based; 0 means none chosen yet.
    s.last_date_format = r.Number("Last Date Format", d.last_date_format, 0, kDateFormatCount);
    s.last_time_format = r.Number("Last Time Format", d.last_time_format, 0, kTimeFormatCount);
    s.suppress_zeros_in_date = r.YesNo("Suppress Zeros In Date", d.suppress_zeros_in_date);
    s.suppress_zeros_in_time = r.YesNo("Suppress Zeros In Time", d.suppress_zeros_in_time);
    s.show_date = r.YesNo("Show Date", d.show_date);
    s.use_tray = r.YesNo("Use Tray", d.use_tray);
    s.disable_screen_saver = r.YesNo("Disable Screen Saver", d.disable_screen_saver);
    s.current_file = r.Text("Current File", "", kPathBuffer);
    if (s.current_file.empty()) s.current_file = DefaultMacroFile(program_dir);
    for (size_t k = 0; k < s.recent_files.size(); ++k)
      s.recent_files[k] = r.Text(("Last File " + std::to_string(k + 1)).c_str(), "", kRecentBuffer);
  }
  {
    SectionReader r(profile, "Capture");
    s.capture_double_alt = r.YesNo("Double Alt", d.capture_double_alt);
    s.capture_keys = r.YesNo("Keys", d.capture_keys);
    s.capture_mouse = r.YesNo("Mouse", d.capture_mouse);
    s.capture_relative_to_screen = r.YesNo("Relative To Screen", d.capture_relative_to_screen);
    s.capture_time = r.YesNo("Time", d.capture_time);
    s.capture_prompt = r.YesNo("Prompt", d.capture_prompt);
    s.capture_window_size = r.YesNo("Window Size", d.capture_window_size);
    s.capture_global = r.YesNo("Global", d.capture_global);
    s.capture_speed = r.Number("Speed", d.capture_speed, 1, 4);
  }
  {
    SectionReader r(profile, "Snapwords");
    s.snap_solitary_usage = r.YesNo("Solitary Usage", d.snap_solitary_usage);
    s.snap_case_sensitive = r.YesNo("Case Sensative", d.snap_case_sensitive);
    s.snap_use_suffix = r.YesNo("Use Suffix", d.snap_use_suffix);
    s.prefix_keys = Cut(r.Text("Prefix Keys", "", kPathBuffer), kPrefixKeysLength);
    s.snap_wait_ms = r.Clamped("Snapword Wait", d.snap_wait_ms, 0, kSnapwordWaitMaxMs);
  }
  {
    SectionReader r(profile, "Main Window");
    s.main_width = r.Int32("Width", d.main_width);
    s.main_height = r.Int32("Height", d.main_height);
    s.main_left = r.Int32("Left", d.main_left);
    s.main_top = r.Int32("Top", d.main_top);
    s.col1_width = r.Int32("Col 1 Width", d.col1_width);
    s.col2_width = r.Int32("Col 2 Width", d.col2_width);
    s.col3_width = r.Int32("Col 3 Width", d.col3_width);
    s.use_speed = r.YesNo("Use Speed", d.use_speed);
  }
  {
    SectionReader r(profile, "Grid Title Font");
    s.grid_title_font = ReadFont(r, d.grid_title_font, true);
  }
  {
    SectionReader r(profile, "Grid Font");
    s.grid_font = ReadFont(r, d.grid_font, true);
  }
  {
    SectionReader r(profile, "Script Page");
    s.script_width = r.Int32("Width", d.script_width);
    s.script_height = r.Int32("Height", d.script_height);
    s.script_left = r.Int32("Left", d.script_left);
    s.script_top = r.Int32("Top", d.script_top);
  }
  {
    SectionReader r(profile, "Network");
    s.network_mode = r.YesNo("Network Mode", d.network_mode);
    s.auto_sync = r.YesNo("Auto Sync", d.auto_sync);
    s.sync_minutes = static_cast<uint16_t>(r.Number("Sync Minutes", d.sync_minutes, 0, std::numeric_limits<uint16_t>::max()));
  }
  {
    // The print font keeps only bold and italic: its style starts cleared.
    SectionReader r(profile, "Print List Font");
    s.print_list_font = ReadFont(r, d.print_list_font, false);
  }
  {
    SectionReader r(profile, "Scheduler");
    s.use_wave_file = r.YesNo("Use Wave File", d.use_wave_file);
    s.wave_file_wait = r.YesNo("Wave File Wait", d.wave_file_wait);
    s.wave_file = r.Text("Wave File", "", kPathBuffer);
    int32_t seconds = r.Number("Timer Seconds", kDefaultTimerSeconds, 0, std::numeric_limits<uint16_t>::max());
    s.timer_seconds = (seconds == 0 || seconds > kMaxTimerSeconds) ? kDefaultTimerSeconds
                                                                   : static_cast<uint16_t>(seconds);
  }
  RefreshFontStyleFlags(s);
  if (!files.Exists(s.current_file)) s.current_file = DefaultMacroFile(program_dir);
}

void WriteSettings(IProfile& profile, const Settings& s) {
  {
    SectionWriter w(profile, "Misc");
    w.Number("System Menu", s.system_menu);
    w.Text("Primary Sort", s.primary_sort);
    w.Text("Activation Sort", s.activation_sort);
    w.Text("Scope Sort", s.scope_sort);
    w.Number("Last Date Format", s.last_date_format);
    w.Number("Last Time Format", s.last_time_format);
    w.YesNo("Suppress Zeros In Date", s.suppress_zeros_in_date);
    w.YesNo("Suppress Zeros In Time", s.suppress_zeros_in_time);
    w.YesNo("Show Date", s.show_date);
    w.YesNo("Use Tray", s.use_tray);
    w.YesNo("Disable Screen Saver", s.disable_screen_saver);
    w.Text("Current File", s.current_file);
    for (size_t k = 0; k < s.recent_files.size(); ++k)
      w.Text(("Last File " + std::to_string(k + 1)).c_str(), s.recent_files[k]);
  }
  {
    SectionWriter w(profile, "Capture");
    w.YesNo("Double Alt", s.capture_double_alt);
    w.YesNo("Keys", s.capture_keys);
    w.YesNo("Mouse", s.capture_mouse);
    w.YesNo("Relative To Screen", s.capture_relative_to_screen);
    w.YesNo("Time", s.capture_time);
    w.YesNo("Prompt", s.capture_prompt);
    w.YesNo("Window Size", s.capture_window_size);
    w.YesNo("Global", s.capture_global);
    w.Number("Speed", s.capture_speed);
  }
  {
    SectionWriter w(profile, "Snapwords");
    w.YesNo("Solitary Usage", s.snap_solitary_usage);
    w.YesNo("Case Sensative", s.snap_case_sensitive);
    w.YesNo("Use Suffix", s.snap_use_suffix);
    w.Text("Prefix Keys", s.prefix_keys);
    w.Number("Snapword Wait", s.snap_wait_ms);
  }
  {
    SectionWriter w(profile, "Grid Title Font");
    WriteFont(w, s.grid_title_font, true);
  }
  {
    SectionWriter w(profile, "Grid Font");
    WriteFont(w, s.grid_font, true);
  }
  {
    SectionWriter w(profile, "Main Window");
    w.Number("Width", s.main_width);
    w.Number("Height", s.main_height);
    w.Number("Left", s.main_left);
    w.Number("Top", s.main_top);
    w.Number("Col 1 Width", s.col1_width);
    w.Number("Col 2 Width", s.col2_width);
    w.Number("Col 3 Width", s.col3_width);
    w.YesNo("Use Speed", s.use_speed);
  }
  {
    SectionWriter w(profile, "Script Page");
    w.Number("Width", s.script_width);
    w.Number("Height", s.script_height);
    w.Number("Left", s.script_left);
    w.Number("Top", s.script_top);
  }
  {
    SectionWriter w(profile, "Network");
    w.YesNo("Network Mode", s.network_mode);
    w.YesNo("Auto Sync", s.auto_sync);
    w.Number("Sync Minutes", s.sync_minutes);
  }
  {
    SectionWriter w(profile, "Print List Font");
    WriteFont(w, s.print_list_font, false);
  }
  {
    SectionWriter w(profile, "Scheduler");
    w.YesNo("Use Wave File", s.use_wave_file);
    w.YesNo("Wave File Wait", s.wave_file_wait);
    w.Text("Wave File", s.wave_file);
    w.Number("Timer Seconds", s.timer_seconds);
  }
}

}  // namespace qlx
