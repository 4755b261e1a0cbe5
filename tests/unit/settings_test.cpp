#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "fakes/fake_profile.h"
#include "store/settings.h"

namespace qlx {
namespace {

namespace fs = std::filesystem;
using fake::FakeProfile;

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("qlx_settings_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
            "_" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string MakeFile(const std::string& name) {
    fs::path p = dir_ / name;
    std::ofstream(p).put('x');
    return p.string();
  }
  Settings Read(FakeProfile& p) {
    auto s = std::make_unique<Settings>();
    ReadSettings(p, dir_.string(), *s);
    return *s;
  }
  std::string DefaultFile() const { return dir_.string() + "\\QUILX.QLX"; }

  fs::path dir_;
};

TEST_F(SettingsTest, EmptyProfileGivesTheDocumentedDefaults) {
  FakeProfile p;
  Settings s = Read(p);
  EXPECT_EQ(s.system_menu, 1);
  EXPECT_EQ(s.primary_sort, "123");
  EXPECT_EQ(s.activation_sort, "123");
  EXPECT_EQ(s.scope_sort, "12345");
  EXPECT_EQ(s.last_date_format, 0);
  EXPECT_EQ(s.last_time_format, 0);
  EXPECT_TRUE(s.suppress_zeros_in_date);
  EXPECT_TRUE(s.suppress_zeros_in_time);
  EXPECT_FALSE(s.show_date);
  EXPECT_FALSE(s.use_tray);
  EXPECT_TRUE(s.disable_screen_saver);
  EXPECT_EQ(s.current_file, DefaultFile());
  for (const std::string& f : s.recent_files) EXPECT_EQ(f, "");
  EXPECT_TRUE(s.capture_double_alt && s.capture_keys && s.capture_mouse && s.capture_relative_to_screen &&
              s.capture_time && s.capture_prompt && s.capture_window_size && s.capture_global);
  EXPECT_EQ(s.capture_speed, 1);
  EXPECT_FALSE(s.snap_solitary_usage);
  EXPECT_TRUE(s.snap_case_sensitive);
  EXPECT_FALSE(s.snap_use_suffix);
  EXPECT_EQ(s.prefix_keys, "");
  EXPECT_EQ(s.main_width, 640);
  EXPECT_EQ(s.main_height, 424);
  EXPECT_EQ(s.main_left, 0);
  EXPECT_EQ(s.main_top, 0);
  EXPECT_EQ(s.col1_width, 112);
  EXPECT_EQ(s.col2_width, 168);
  EXPECT_EQ(s.col3_width, 132);
  EXPECT_FALSE(s.use_speed);
  EXPECT_EQ(s.grid_title_font.name, "Arial");
  EXPECT_EQ(s.grid_title_font.size, 12);
  EXPECT_EQ(s.grid_title_font.color, 0);
  EXPECT_FALSE(s.grid_title_font.bold || s.grid_title_font.italic || s.grid_title_font.underline ||
               s.grid_title_font.strikeout);
  EXPECT_EQ(s.grid_font.name, "Arial");
  EXPECT_EQ(s.grid_font.size, 10);
  EXPECT_FALSE(s.grid_bold || s.grid_italic || s.grid_underline || s.grid_strikeout);
  EXPECT_EQ(s.script_width, 606);
  EXPECT_EQ(s.script_height, 446);
  EXPECT_EQ(s.script_left, 0);
  EXPECT_EQ(s.script_top, 0);
  EXPECT_FALSE(s.network_mode);
  EXPECT_TRUE(s.auto_sync);
  EXPECT_EQ(s.sync_minutes, 10);
  EXPECT_EQ(s.print_list_font.name, "Arial");
  EXPECT_EQ(s.print_list_font.size, 10);
  EXPECT_FALSE(s.print_list_bold || s.print_list_italic);
  EXPECT_FALSE(s.use_wave_file);
  EXPECT_FALSE(s.wave_file_wait);
  EXPECT_EQ(s.wave_file, "");
  EXPECT_EQ(s.timer_seconds, 10);
}

TEST_F(SettingsTest, KeysAreReadInOrderWithTheirDefaultsAndBufferSizes) {
  using R = FakeProfile::ReadCall;
  std::vector<R> expected = {
      {"Misc", "System Menu", "1", 15},
      {"Misc", "Primary Sort", "123", 15},
      {"Misc", "Activation Sort", "123", 15},
      {"Misc", "Scope Sort", "12345", 15},
      {"Misc", "Last Date Format", "0", 15},
      {"Misc", "Last Time Format", "0", 15},
      {"Misc", "Suppress Zeros In Date", "Yes", 15},
      {"Misc", "Suppress Zeros In Time", "Yes", 15},
      {"Misc", "Show Date", "No", 15},
      {"Misc", "Use Tray", "No", 15},
      {"Misc", "Disable Screen Saver", "Yes", 15},
      {"Misc", "Current File", "", 250},
      {"Misc", "Last File 1", "", 255},
      {"Misc", "Last File 2", "", 255},
      {"Misc", "Last File 3", "", 255},
      {"Misc", "Last File 4", "", 255},
      {"Misc", "Last File 5", "", 255},
      {"Capture", "Double Alt", "Yes", 15},
      {"Capture", "Keys", "Yes", 15},
      {"Capture", "Mouse", "Yes", 15},
      {"Capture", "Relative To Screen", "Yes", 15},
      {"Capture", "Time", "Yes", 15},
      {"Capture", "Prompt", "Yes", 15},
      {"Capture", "Window Size", "Yes", 15},
      {"Capture", "Global", "Yes", 15},
      {"Capture", "Speed", "1", 15},
      {"Snapwords", "Solitary Usage", "No", 15},
      {"Snapwords", "Case Sensative", "Yes", 15},
      {"Snapwords", "Use Suffix", "No", 15},
      {"Snapwords", "Prefix Keys", "", 250},
      {"Snapwords", "Snapword Wait", "100", 15},
      {"Main Window", "Width", "640", 15},
      {"Main Window", "Height", "424", 15},
      {"Main Window", "Left", "0", 15},
      {"Main Window", "Top", "0", 15},
      {"Main Window", "Col 1 Width", "112", 15},
      {"Main Window", "Col 2 Width", "168", 15},
      {"Main Window", "Col 3 Width", "132", 15},
      {"Main Window", "Use Speed", "No", 15},
      {"Grid Title Font", "Color", "0", 150},
      {"Grid Title Font", "Font Name", "Arial", 150},
      {"Grid Title Font", "Size", "12", 150},
      {"Grid Title Font", "Bold", "No", 15},
      {"Grid Title Font", "Italic", "No", 15},
      {"Grid Title Font", "Underline", "No", 15},
      {"Grid Title Font", "Strikeout", "No", 15},
      {"Grid Font", "Color", "0", 150},
      {"Grid Font", "Font Name", "Arial", 150},
      {"Grid Font", "Size", "10", 150},
      {"Grid Font", "Bold", "No", 15},
      {"Grid Font", "Italic", "No", 15},
      {"Grid Font", "Underline", "No", 15},
      {"Grid Font", "Strikeout", "No", 15},
      {"Script Page", "Width", "606", 15},
      {"Script Page", "Height", "446", 15},
      {"Script Page", "Left", "0", 15},
      {"Script Page", "Top", "0", 15},
      {"Network", "Network Mode", "No", 15},
      {"Network", "Auto Sync", "Yes", 15},
      {"Network", "Sync Minutes", "10", 15},
      {"Print List Font", "Color", "0", 150},
      {"Print List Font", "Font Name", "Arial", 150},
      {"Print List Font", "Size", "10", 150},
      {"Print List Font", "Bold", "No", 15},
      {"Print List Font", "Italic", "No", 15},
      {"Scheduler", "Use Wave File", "No", 15},
      {"Scheduler", "Wave File Wait", "No", 15},
      {"Scheduler", "Wave File", "", 250},
      {"Scheduler", "Timer Seconds", "10", 15},
  };
  FakeProfile p;
  Read(p);
  ASSERT_EQ(p.reads.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(p.reads[i], expected[i]) << i << ": read " << p.reads[i].section << "/" << p.reads[i].key
                                       << " expected " << expected[i].section << "/" << expected[i].key;
  }
}

TEST_F(SettingsTest, TimerSecondsOutsideOneToSixtyReadAsTen) {
  const std::pair<const char*, int> cases[] = {{"0", 10},  {"61", 10}, {"100", 10}, {"60", 60}, {"1", 1},
                                               {"59", 59}, {"-5", 10}, {"abc", 10}, {"", 10},   {"70000", 10}};
  for (const auto& [value, expected] : cases) {
    FakeProfile p;
    p.Set("Scheduler", "Timer Seconds", value);
    EXPECT_EQ(Read(p).timer_seconds, expected) << "'" << value << "'";
  }
}

TEST_F(SettingsTest, OnlyYesInAnyCaseMeansYes) {
  const std::pair<const char*, bool> cases[] = {{"yes", true}, {"YES", true}, {"yEs", true}, {"Y", false},
                                                {"1", false},  {"true", false}, {"", false}, {"yes!", false}};
  for (const auto& [value, expected] : cases) {
    FakeProfile p;
    p.Set("Misc", "Use Tray", value);
    p.Set("Misc", "Suppress Zeros In Date", value);  // default yes: a present key decides
    p.Set("Grid Font", "Italic", value);
    Settings s = Read(p);
    EXPECT_EQ(s.use_tray, expected) << value;
    EXPECT_EQ(s.suppress_zeros_in_date, expected) << value;
    EXPECT_EQ(s.grid_font.italic, expected) << value;
    EXPECT_EQ(s.grid_italic, expected) << value;
  }
}

TEST_F(SettingsTest, LongValuesAreCutToTheBufferAndFieldLengths) {
  FakeProfile p;
  p.Set("Scheduler", "Wave File", std::string(400, 'w'));
  p.Set("Misc", "Last File 1", std::string(400, 'l'));
  p.Set("Misc", "Last File 5", std::string(254, 'm'));
  p.Set("Grid Font", "Font Name", std::string(300, 'f'));
  p.Set("Snapwords", "Prefix Keys", "abcdef");
  p.Set("Misc", "Primary Sort", "213999");
  p.Set("Misc", "Scope Sort", "5432199");
  p.Set("Misc", "Activation Sort", "3");
  Settings s = Read(p);
  EXPECT_EQ(s.wave_file, std::string(249, 'w'));
  EXPECT_EQ(s.recent_files[0], std::string(254, 'l'));
  EXPECT_EQ(s.recent_files[4], std::string(254, 'm'));
  EXPECT_EQ(s.grid_font.name, std::string(149, 'f'));
  EXPECT_EQ(s.prefix_keys, "ab");
  EXPECT_EQ(s.primary_sort, "213");
  EXPECT_EQ(s.scope_sort, "54321");
  EXPECT_EQ(s.activation_sort, "123");  // not an order of 1..3: the default
}

// Date formats are numbered 1..51 and time formats 1..26; 0 is "none yet".
TEST_F(SettingsTest, LastDateAndTimeFormatsKeepEveryNumberOfTheirTables) {
  struct Case {
    const char* stored;
    int32_t date, time;
  };
  const Case cases[] = {
      {"0", 0, 0}, {"1", 1, 1}, {"26", 26, 26}, {"27", 27, 0}, {"51", 51, 0}, {"52", 0, 0}, {"-1", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    FakeProfile p;
    p.Set("Misc", "Last Date Format", c.stored);
    p.Set("Misc", "Last Time Format", c.stored);
    Settings s = Read(p);
    EXPECT_EQ(s.last_date_format, c.date);
    EXPECT_EQ(s.last_time_format, c.time);
  }
}

TEST_F(SettingsTest, NumbersThatDoNotParseOrFitTakeTheirDefaults) {
  FakeProfile p;
  p.Set("Main Window", "Width", "wide");
  p.Set("Main Window", "Height", "12x");
  p.Set("Main Window", "Left", " -40 ");
  p.Set("Main Window", "Top", "+15");
  p.Set("Main Window", "Col 1 Width", "99999999999");
  p.Set("Grid Title Font", "Color", "-16777201");
  p.Set("Grid Font", "Color", "16777215");
  p.Set("Grid Font", "Size", "");
  p.Set("Misc", "System Menu", "3");
  p.Set("Capture", "Speed", "5");
  p.Set("Network", "Sync Minutes", "65536");
  Settings s = Read(p);
  EXPECT_EQ(s.main_width, 640);
  EXPECT_EQ(s.main_height, 424);
  EXPECT_EQ(s.main_left, -40);
  EXPECT_EQ(s.main_top, 15);
  EXPECT_EQ(s.col1_width, 112);
  EXPECT_EQ(s.grid_title_font.color, -16777201);
  EXPECT_EQ(s.grid_font.color, 16777215);
  EXPECT_EQ(s.grid_font.size, 10);
  EXPECT_EQ(s.system_menu, 3);
  EXPECT_EQ(s.capture_speed, 1);       // 1..4 only
  EXPECT_EQ(s.sync_minutes, 10);

  FakeProfile q;
  q.Set("Misc", "System Menu", "0");
  q.Set("Capture", "Speed", "4");
  q.Set("Network", "Sync Minutes", "65535");
  Settings t = Read(q);
  EXPECT_EQ(t.system_menu, 1);
  EXPECT_EQ(t.capture_speed, 4);
  EXPECT_EQ(t.sync_minutes, 65535);
}

TEST_F(SettingsTest, FontStylesComeFromTheirFlagsAndThePrintFontKeepsOnlyBoldAndItalic) {
  FakeProfile p;
  p.Set("Grid Title Font", "Bold", "Yes");
  p.Set("Grid Title Font", "Strikeout", "yes");
  p.Set("Grid Font", "Underline", "YES");
  p.Set("Grid Font", "Font Name", "Courier New");
  p.Set("Print List Font", "Italic", "Yes");
  p.Set("Print List Font", "Underline", "Yes");  // never read for the print font
  p.Set("Print List Font", "Strikeout", "Yes");
  p.Set("Print List Font", "Size", "8");
  Settings s = Read(p);
  EXPECT_TRUE(s.grid_title_font.bold);
  EXPECT_FALSE(s.grid_title_font.italic);
  EXPECT_FALSE(s.grid_title_font.underline);
  EXPECT_TRUE(s.grid_title_font.strikeout);
  EXPECT_TRUE(s.grid_title_bold && s.grid_title_strikeout);
  EXPECT_TRUE(s.grid_font.underline && s.grid_underline);
  EXPECT_EQ(s.grid_font.name, "Courier New");
  EXPECT_TRUE(s.print_list_font.italic && s.print_list_italic);
  EXPECT_FALSE(s.print_list_font.bold);
  EXPECT_FALSE(s.print_list_font.underline);
  EXPECT_FALSE(s.print_list_font.strikeout);
  EXPECT_EQ(s.print_list_font.size, 8);
}

TEST_F(SettingsTest, CurrentFileFallsBackToTheDefaultWhenEmptyOrMissing) {
  const std::string existing = MakeFile("WORK.QLX");
  {
    FakeProfile p;
    p.Set("Misc", "Current File", existing);
    EXPECT_EQ(Read(p).current_file, existing);
  }
  {
    FakeProfile p;
    p.Set("Misc", "Current File", (dir_ / "DELETED.QLX").string());
    EXPECT_EQ(Read(p).current_file, DefaultFile());
  }
  {
    FakeProfile p;
    p.Set("Misc", "Current File", "");
    EXPECT_EQ(Read(p).current_file, DefaultFile());
  }
  {
    FakeProfile p;
    p.Set("Misc", "Current File", dir_.string());  // a directory is no macro file
    EXPECT_EQ(Read(p).current_file, DefaultFile());
  }
  EXPECT_EQ(DefaultMacroFile("C:\\Program Files\\Quillon"), "C:\\Program Files\\Quillon\\QUILX.QLX");
  EXPECT_EQ(DefaultMacroFile("C:\\"), "C:\\QUILX.QLX");
}

TEST_F(SettingsTest, EveryKeyIsWrittenInOrderWithYesAndNoSpelledOut) {
  auto s = std::make_unique<Settings>();
  s->current_file = "C:\\Q\\QUILX.QLX";
  s->recent_files[1] = "C:\\Q\\OLD.QLX";
  s->use_tray = true;
  s->grid_font.bold = true;  // the font object's style wins over the stale flag
  s->grid_bold = false;
  s->grid_title_font.color = -16777201;
  s->prefix_keys = "#\n";
  FakeProfile p;
  WriteSettings(p, *s);
  using W = FakeProfile::WriteCall;
  const std::vector<W> expected = {
      {"Misc", "System Menu", "1"},
      {"Misc", "Primary Sort", "123"},
      {"Misc", "Activation Sort", "123"},
      {"Misc", "Scope Sort", "12345"},
      {"Misc", "Last Date Format", "0"},
      {"Misc", "Last Time Format", "0"},
      {"Misc", "Suppress Zeros In Date", "Yes"},
      {"Misc", "Suppress Zeros In Time", "Yes"},
      {"Misc", "Show Date", "No"},
      {"Misc", "Use Tray", "Yes"},
      {"Misc", "Disable Screen Saver", "Yes"},
      {"Misc", "Current File", "C:\\Q\\QUILX.QLX"},
      {"Misc", "Last File 1", ""},
      {"Misc", "Last File 2", "C:\\Q\\OLD.QLX"},
      {"Misc", "Last File 3", ""},
      {"Misc", "Last File 4", ""},
      {"Misc", "Last File 5", ""},
      {"Capture", "Double Alt", "Yes"},
      {"Capture", "Keys", "Yes"},
      {"Capture", "Mouse", "Yes"},
      {"Capture", "Relative To Screen", "Yes"},
      {"Capture", "Time", "Yes"},
      {"Capture", "Prompt", "Yes"},
      {"Capture", "Window Size", "Yes"},
      {"Capture", "Global", "Yes"},
      {"Capture", "Speed", "1"},
      {"Snapwords", "Solitary Usage", "No"},
      {"Snapwords", "Case Sensative", "Yes"},
      {"Snapwords", "Use Suffix", "No"},
      {"Snapwords", "Prefix Keys", "# "},  // a line break would start a new key
      {"Snapwords", "Snapword Wait", "100"},
      {"Grid Title Font", "Color", "-16777201"},
      {"Grid Title Font", "Font Name", "Arial"},
      {"Grid Title Font", "Size", "12"},
      {"Grid Title Font", "Bold", "No"},
      {"Grid Title Font", "Italic", "No"},
      {"Grid Title Font", "Underline", "No"},
      {"Grid Title Font", "Strikeout", "No"},
      {"Grid Font", "Color", "0"},
      {"Grid Font", "Font Name", "Arial"},
      {"Grid Font", "Size", "10"},
      {"Grid Font", "Bold", "Yes"},
      {"Grid Font", "Italic", "No"},
      {"Grid Font", "Underline", "No"},
      {"Grid Font", "Strikeout", "No"},
      {"Main Window", "Width", "640"},
      {"Main Window", "Height", "424"},
      {"Main Window", "Left", "0"},
      {"Main Window", "Top", "0"},
      {"Main Window", "Col 1 Width", "112"},
      {"Main Window", "Col 2 Width", "168"},
      {"Main Window", "Col 3 Width", "132"},
      {"Main Window", "Use Speed", "No"},
      {"Script Page", "Width", "606"},
      {"Script Page", "Height", "446"},
      {"Script Page", "Left", "0"},
      {"Script Page", "Top", "0"},
      {"Network", "Network Mode", "No"},
      {"Network", "Auto Sync", "Yes"},
      {"Network", "Sync Minutes", "10"},
      {"Print List Font", "Color", "0"},
      {"Print List Font", "Font Name", "Arial"},
      {"Print List Font", "Size", "10"},
      {"Print List Font", "Bold", "No"},
      {"Print List Font", "Italic", "No"},
      {"Scheduler", "Use Wave File", "No"},
      {"Scheduler", "Wave File Wait", "No"},
      {"Scheduler", "Wave File", ""},
      {"Scheduler", "Timer Seconds", "10"},
  };
  ASSERT_EQ(p.writes.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(p.writes[i], expected[i]) << i;

  RefreshFontStyleFlags(*s);
  EXPECT_TRUE(s->grid_bold);
}

TEST_F(SettingsTest, WhatIsWrittenReadsBackUnchanged) {
  const std::string current = MakeFile("CUR.QLX");
  auto s = std::make_unique<Settings>();
  s->last_date_format = 33;
  s->last_time_format = 25;
  s->suppress_zeros_in_date = false;
  s->suppress_zeros_in_time = false;
  s->show_date = true;
  s->use_tray = true;
  s->disable_screen_saver = false;
  s->network_mode = true;
  s->auto_sync = false;
  s->sync_minutes = 45;
  s->use_wave_file = true;
  s->wave_file_wait = true;
  s->wave_file = "C:\\Sounds\\ding.wav";
  s->timer_seconds = 37;
  s->current_file = current;
  s->recent_files = {"a", "b", "", "d", "e"};
  s->primary_sort = "321";
  s->activation_sort = "231";
  s->scope_sort = "31524";
  s->print_list_font = {255, "Times New Roman", 9, true, true, false, false};
  s->main_width = 800;
  s->main_height = -1;
  s->main_left = -200;
  s->main_top = 33;
  s->col1_width = 1;
  s->col2_width = 2;
  s->col3_width = 3;
  s->use_speed = true;
  s->script_width = 700;
  s->script_height = 500;
  s->script_left = 10;
  s->script_top = 20;
  s->grid_title_font = {123456, "Verdana", 14, false, true, true, false};
  s->grid_font = {-5, "Tahoma", -11, true, false, false, true};
  s->capture_double_alt = false;
  s->capture_keys = false;
  s->capture_mouse = false;
  s->capture_time = false;
  s->capture_prompt = false;
  s->capture_relative_to_screen = false;
  s->capture_window_size = false;
  s->capture_global = false;
  s->capture_speed = 3;
  s->system_menu = 2;
  s->snap_solitary_usage = true;
  s->snap_case_sensitive = false;
  s->snap_use_suffix = true;
  s->prefix_keys = ";;";
  RefreshFontStyleFlags(*s);

  FakeProfile p;
  WriteSettings(p, *s);
  const auto first = p.writes;
  Settings back = Read(p);
  p.writes.clear();
  WriteSettings(p, back);
  EXPECT_EQ(p.writes, first);
  // Spot checks that the comparison above is not vacuous.
  EXPECT_EQ(back.timer_seconds, 37);
  EXPECT_EQ(back.current_file, current);
  EXPECT_EQ(back.grid_font.size, -11);
  EXPECT_TRUE(back.grid_font.strikeout && back.grid_strikeout);
  EXPECT_FALSE(back.snap_case_sensitive);
  EXPECT_EQ(back.recent_files[3], "d");
}

}  // namespace
}  // namespace qlx
