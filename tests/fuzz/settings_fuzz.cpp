// Arbitrary values in the settings file: every field ends up within its
// meaning, and what is written reads back to the same settings.
// Coverage floor: 300 edges (the seeds alone reach about 330).
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "../unit/fakes/memory_files.h"
#include "store/settings.h"

namespace {

using namespace qlx;

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

// Each read takes the next line of the input; a line "~" or the end of the
// input is a missing key. Reads fill a buffer as the system's would.
class InputProfile : public IProfile {
 public:
  InputProfile(const uint8_t* data, size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}
  std::string Read(const std::string&, const std::string&, const std::string& def, size_t size) override {
    std::string v = def;
    if (!rest_.empty()) {
      size_t nl = rest_.find('\n');
      std::string line(rest_.substr(0, nl));
      rest_ = nl == std::string_view::npos ? std::string_view() : rest_.substr(nl + 1);
      if (line != "~") v = line;
    }
    Check(size > 0);
    if (v.size() > size - 1) v.resize(size - 1);
    return v;
  }
  void Write(const std::string&, const std::string&, const std::string&) override { Check(false); }

 private:
  std::string_view rest_;
};

class MapProfile : public IProfile {
 public:
  std::string Read(const std::string& s, const std::string& k, const std::string& def, size_t size) override {
    auto it = values.find({s, k});
    std::string v = it == values.end() ? def : it->second;
    if (v.size() > size - 1) v.resize(size - 1);
    return v;
  }
  void Write(const std::string& s, const std::string& k, const std::string& v) override {
    writes.emplace_back(s, k, v);
    values[{s, k}] = v;
  }
  std::map<std::pair<std::string, std::string>, std::string> values;
  std::vector<std::tuple<std::string, std::string, std::string>> writes;
};

bool IsOrder(const std::string& s, size_t n) {
  if (s.size() != n) return false;
  for (size_t i = 1; i <= n; ++i)
    if (s.find(static_cast<char>('0' + i)) == std::string::npos) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The macro files exist when the input names one of two; no disk.
  static fake::MemoryFiles files = [] {
    fake::MemoryFiles f;
    f.files["C:\\Q\\A.QLX"] = {};
    f.files["a"] = {};
    return f;
  }();
  auto s = std::make_unique<Settings>();
  InputProfile in(data, size);
  ReadSettings(in, "C:\\Quillon", *s, files);

  Check(s->timer_seconds >= 1 && s->timer_seconds <= 60);
  Check(IsOrder(s->primary_sort, 3) && IsOrder(s->activation_sort, 3) && IsOrder(s->scope_sort, 5));
  Check(s->prefix_keys.size() <= 2);
  Check(s->system_menu >= 1 && s->system_menu <= 3);
  Check(s->capture_speed >= 1 && s->capture_speed <= 4);
  // Format numbers are 1-based, 0 for none chosen yet.
  Check(s->last_date_format >= 0 && s->last_date_format <= static_cast<int32_t>(kDateFormatCount));
  Check(s->last_time_format >= 0 && s->last_time_format <= static_cast<int32_t>(kTimeFormatCount));
  Check(!s->current_file.empty() && s->current_file.size() <= 249);
  Check(s->wave_file.size() <= 249);
  for (const std::string& f : s->recent_files) Check(f.size() <= 254);
  for (const FontSetting* f : {&s->grid_title_font, &s->grid_font, &s->print_list_font}) Check(f->name.size() <= 149);
  Check(!s->print_list_font.underline && !s->print_list_font.strikeout);
  Check(s->grid_bold == s->grid_font.bold && s->grid_title_strikeout == s->grid_title_font.strikeout);

  MapProfile out;
  WriteSettings(out, *s);
  const auto first = out.writes;
  auto back = std::make_unique<Settings>();
  ReadSettings(out, "C:\\Quillon", *back, files);
  out.writes.clear();
  WriteSettings(out, *back);
  Check(out.writes == first);
  return 0;
}
