// Macro files as text: values, dates, hot-key names, the lines a dump
// writes, and build(dump(f)) == f for files the program writes, for the fuzz
// corpus and for arbitrary bytes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <memory>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "store/hotkey_table.h"
#include "store/date_value.h"
#include "store/macro_file.h"
#include "store/macro_record.h"
#include "store/shared_blocks.h"
#include "tools/macro_text.h"

namespace qlx {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> FileOf(const std::vector<MacroRecord>& records) {
  std::vector<uint8_t> out;
  for (const MacroRecord& r : records) out.insert(out.end(), r.bytes().begin(), r.bytes().end());
  return out;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    out.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

bool HasLineStarting(const std::string& text, const std::string& prefix) {
  for (const std::string& l : Lines(text))
    if (l.rfind(prefix, 0) == 0) return true;
  return false;
}

void ExpectRoundTrip(const std::vector<uint8_t>& file) {
  const std::string text = DumpMacroFile(file);
  const auto odd = std::find_if(text.begin(), text.end(), [](char c) { return c != '\n' && (c < 0x20 || c >= 0x7F); });
  ASSERT_EQ(odd, text.end()) << "byte " << int(*odd) << " in the dump";
  const BuildResult built = BuildMacroFile(text);
  ASSERT_TRUE(built.ok()) << "line " << built.errors.front().line << ": " << built.errors.front().message;
  EXPECT_TRUE(built.bytes == file) << "the text does not give the file back:\n" << text;
}

// A moment as the program's clock stores it (see platform/win32/clock_win32.cpp).
double ClockValue(int y, int mo, int d, int h, int mi, int s, int ms) {
  const double day = static_cast<double>(DaysFromCivil(y, static_cast<unsigned>(mo), static_cast<unsigned>(d)) +
                                         kDateValueEpochOffset);
  return day + (h * 3600.0 + mi * 60.0 + s + ms / 1000.0) / 86400.0;
}

// ---- values ---------------------------------------------------------------

TEST(MacroTextValues, AreWrittenInPlainAsciiAndReadBackToTheSameBytes) {
  const struct {
    std::string bytes, written;
  } cases[] = {
      {"plain words", "plain words"},
      {"a\\b", "a\\\\b"},
      {"line\r\nnext", "line\\r\\nnext"},
      {"tab\there", "tab\\there"},
      {" leading", "\\x20leading"},
      {"trailing ", "trailing\\x20"},
      {" ", "\\x20"},
      {"caf\xE9", "caf\\xE9"},
      {std::string("a\0b", 3), "a\\x00b"},
      {"\x7F\x1B", "\\x7F\\x1B"},
      {"# not a comment: <ENTER>", "# not a comment: <ENTER>"},
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.written);
    EXPECT_EQ(EscapeValue(c.bytes), c.written);
    const Unescaped back = UnescapeValue(c.written);
    EXPECT_EQ(back.error, "");
    EXPECT_EQ(back.bytes, c.bytes);
  }
}

TEST(MacroTextValues, EveryByteAtEveryPlaceReadsBack) {
  for (int b = 0; b < 256; ++b) {
    for (const std::string& s : {std::string(1, static_cast<char>(b)), "x" + std::string(1, static_cast<char>(b)) + "y",
                                 std::string(2, static_cast<char>(b))}) {
      const std::string written = EscapeValue(s);
      for (char c : written) ASSERT_TRUE(c >= 0x20 && c < 0x7F) << "byte " << b;
      ASSERT_NE(written.front(), ' ');
      ASSERT_NE(written.back(), ' ');
      ASSERT_EQ(UnescapeValue(written).bytes, s) << "byte " << b;
    }
  }
}

TEST(MacroTextValues, UnreadableValuesSayWhy) {
  const struct {
    std::string value, reason;
  } cases[] = {
      {"ends in \\", "a backslash ends the value"},
      {"\\q", "unknown escape \"\\\\q\""},
      {"\\x4", "\\x takes two hex digits"},
      {"\\xG0", "\\x takes two hex digits"},
      {"caf\xC3\xA9", "outside plain ASCII (byte C3); write Windows characters as \\xC3"},
      {"bell\x07", "outside plain ASCII (byte 07)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_NE(UnescapeValue(c.value).error.find(c.reason), std::string::npos) << UnescapeValue(c.value).error;
  }
}

// ---- dates ------------------------------------------------------------------

TEST(MacroTextDates, StoredValuesShowAsDateAndTimeToTheMillisecond) {
  const struct {
    double days;
    const char* shown;
  } cases[] = {
      {0.0, "1899-12-30 00:00:00"},
      {ClockValue(2025, 1, 6, 9, 30, 15, 0), "2025-01-06 09:30:15"},
      {ClockValue(2024, 2, 29, 23, 59, 59, 999), "2024-02-29 23:59:59.999"},
      {ClockValue(2025, 1, 6, 0, 0, 0, 0) - 1e-6 / 86400.0, "2025-01-06 00:00:00"},  // rounds into the next day
      {2958465.5, "9999-12-31 12:00:00"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.shown);
    EXPECT_EQ(FormatDateValue(c.days), std::optional<std::string>(c.shown));
  }
  for (double outside : {-0.5, 2958466.0, 1e300, std::numeric_limits<double>::quiet_NaN(),
                         std::numeric_limits<double>::infinity()})
    EXPECT_EQ(FormatDateValue(outside), std::nullopt) << outside;
}

TEST(MacroTextDates, ReadDatesWithOrWithoutTheTime) {
  const struct {
    const char* text;
    double days;
  } cases[] = {
      {"1899-12-30", 0.0},
      {"1899-12-30 00:00:00", 0.0},
      {"2025-01-06", ClockValue(2025, 1, 6, 0, 0, 0, 0)},
      {"2025-1-6 9:30", ClockValue(2025, 1, 6, 9, 30, 0, 0)},
      {"2025-01-06 09:30:15", ClockValue(2025, 1, 6, 9, 30, 15, 0)},
      {"2025-01-06  09:30:15.250", ClockValue(2025, 1, 6, 9, 30, 15, 250)},
      {"2000-02-29 12:00", ClockValue(2000, 2, 29, 12, 0, 0, 0)},
      {"9999-12-31 23:59:59.999", ClockValue(9999, 12, 31, 23, 59, 59, 999)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const std::optional<double> d = ParseDateValue(c.text);
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(*d, c.days);
  }
}

TEST(MacroTextDates, RefuseDatesThatDoNotExistOrCannotBeStored) {
  for (const char* text : {"2025-02-29", "1900-02-29", "2025-04-31", "1899-12-29", "2025-13-01", "2025-00-10",
                           "2025-01-00", "10000-01-01", "2025-01-06 24:00", "2025-01-06 09:60",
                           "2025-01-06 09:30:60", "2025-01-06 09:30:15.5", "2025-01-06 09", "2025/01/06",
                           "2025-01-06T09:30", "", "yesterday"}) {
    EXPECT_EQ(ParseDateValue(text), std::nullopt) << text;
  }
}

TEST(MacroTextDates, TimesThePogramsClockTakesReadBackToTheSameBits) {
  std::mt19937 rng(7);
  for (int i = 0; i < 20000; ++i) {
    const int y = 1990 + static_cast<int>(rng() % 80), mo = 1 + static_cast<int>(rng() % 12),
              d = 1 + static_cast<int>(rng() % 28), h = static_cast<int>(rng() % 24),
              mi = static_cast<int>(rng() % 60), s = static_cast<int>(rng() % 60),
              ms = static_cast<int>(rng() % 1000);
    const double v = ClockValue(y, mo, d, h, mi, s, ms);
    const std::optional<std::string> shown = FormatDateValue(v);
    ASSERT_TRUE(shown.has_value());
    const std::optional<double> back = ParseDateValue(*shown);
    ASSERT_TRUE(back.has_value()) << *shown;
    ASSERT_EQ(std::memcmp(&*back, &v, sizeof v), 0) << *shown;
  }
}

// ---- hot-key names ------------------------------------------------------------

TEST(MacroTextHotKeys, EveryNameLeadsBackToItsCodeWhateverItsCase) {
  for (int code = 0; code < kHotKeyCodes; ++code) {
    std::string name(HotKeyName(code));
    EXPECT_EQ(HotKeyCodeByName(name), std::optional<uint16_t>(static_cast<uint16_t>(code))) << name;
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(HotKeyCodeByName(name), std::optional<uint16_t>(static_cast<uint16_t>(code))) << name;
  }
  for (const char* other : {"", "Ctrl+", "Alt+F13", "Ctrl+Alt+Shift+Left Arrow", "Ctrl Alt A", "timed"})
    EXPECT_EQ(HotKeyCodeByName(other), std::nullopt) << other;
}

// ---- what a dump says ------------------------------------------------------------

struct DumpCase {
  const char* name;
  std::function<void(MacroRecord&)> set;
  std::vector<std::string> lines;   // in this order
  std::vector<std::string> absent;  // no line begins with these
};

TEST(MacroTextDump, NamesEveryFieldOfARecord) {
  const DumpCase cases[] = {
      {"global hot key",
       [](MacroRecord& r) {
         r.SetNickname("Greeting");
         r.SetCode(144);
         r.SetIcon("MAIN");
         r.SetText("Hello");
       },
       {"macro 1", "nickname: Greeting", "activation: Ctrl+Alt+A", "scope: global", "active: yes", "icon: MAIN",
        "text: Hello"},
       {"top most only", "window", "program", "scope text", "snapword", "schedule", "raw"}},
      {"window, top most only",
       [](MacroRecord& r) {
         r.SetScope(kScopeWindow);
         r.SetScopeText("Untitled - Notepad");
         r.SetTopMostOnly(true);
       },
       {"scope: window", "window: Untitled - Notepad", "top most only: yes"},
       {"program", "scope text"}},
      {"program, if running",
       [](MacroRecord& r) {
         r.SetScope(kScopeProgram);
         r.SetScopeText("NOTEPAD.EXE");
       },
       {"scope: program", "program: NOTEPAD.EXE", "top most only: no"},
       {"window"}},
      {"system macro", [](MacroRecord& r) {
         r.SetScope(kScopeSystem);
         r.SetScopeText("3");
         r.SetCode(264);
       },
       {"activation: Ctrl+Alt+Shift+Y", "scope: system", "scope text: 3"},
       {"top most only"}},
      {"snapword", [](MacroRecord& r) {
         r.SetCode(kSnapwordCode);
         r.SetSnapword("sig");
       },
       {"activation: snapword sig"},
       {"snapword:"}},
      {"popup menu keeps its options in the snapword field", [](MacroRecord& r) {
         r.SetCode(156);
         r.SetScope(kScopePopupMenu);
         r.SetSnapword("opts");
       },
       {"activation: Ctrl+Alt+M", "snapword: opts", "scope: popup menu"},
       {}},
      {"damaged code and scope", [](MacroRecord& r) {
         r.SetCode(9999);
         r.SetScope(-3);
       },
       {"activation: code 9999", "scope: -3"},
       {}},
      {"inactive", [](MacroRecord& r) { r.SetActive(false); }, {"active: no"}, {}},
      {"flag and text a global macro does not use", [](MacroRecord& r) {
         r.SetTopMostOnly(true);
         r.SetScopeText("left over");
       },
       {"scope: global", "scope text: left over", "top most only: yes"},
       {"raw"}},
      {"timed, new schedule", [](MacroRecord& r) {
         r.SetCode(kTimedCode);
         SetNewTimedMacroSchedule(r, CivilDate{2025, 1, 6, 2});
       },
       {"activation: timed", "schedule: daily", "days: Mon Tue Wed Thu Fri Sat Sun", "time: 12:00 PM",
        "date: 2025-01-06", "minutes past the hour: 15", "interval: 15 minutes", "weekday: Monday"},
       {}},
      {"timed once, no days", [](MacroRecord& r) {
         r.SetCode(kTimedCode);
         r.SetScheduleKind(kScheduleOnce);
         r.SetHour(3);
         r.SetMinute(5);
         r.SetWeekday(9);
       },
       {"schedule: once", "days: none", "time: 3:05 AM", "date: 0000-00-00", "weekday: 9"},
       {}},
      {"a hot key that was timed keeps its schedule", [](MacroRecord& r) {
         r.SetCode(0);
         r.SetScheduleKind(kScheduleEveryMinutes);
         r.SetInterval(90);
       },
       {"activation: Ctrl+A", "schedule: every interval", "interval: 90 minutes"},
       {}},
      {"text over several lines", [](MacroRecord& r) { r.SetText("one\r\ntwo\rthree\nfour "); },
       {"text: one\\r\\n", "text: two\\r", "text: three\\n", "text: four\\x20"},
       {}},
      {"no text", [](MacroRecord& r) { r.SetText(""); }, {"icon:", "text:"}, {}},
      {"time the clock took",
       [](MacroRecord& r) { r.SetLastModified(ClockValue(2025, 1, 6, 9, 30, 15, 250)); },
       {"modified: 2025-01-06 09:30:15.250"},
       {}},
      {"time between milliseconds", [](MacroRecord& r) { r.SetLastModified(45000.123456789); },
       {"modified: 2023-03-15 02:57:46.667 (45000.123456789)"},
       {}},
      {"time out of range", [](MacroRecord& r) { r.SetLastModified(-2.5); },
       {"raw 5141: 04 C0"},
       {"modified"}},
      {"reserved bytes", [](MacroRecord& r) {
         r.data()[mr::kReserved98 + 1] = 7;
         r.data()[mr::kReserved5143] = 1;
         r.data()[mr::kReserved5143 + 1] = 2;
       },
       {"raw 99: 07", "raw 5143: 01 02"},
       {}},
      {"length byte past its field", [](MacroRecord& r) {
         r.SetNickname("abc");
         r.data()[mr::kNickname] = 60;
       },
       {"raw 0: 3C"},
       {}},
  };
  for (const DumpCase& c : cases) {
    SCOPED_TRACE(c.name);
    MacroRecord r;
    r.SetScope(kScopeGlobal);
    r.SetActive(true);
    c.set(r);
    const std::vector<uint8_t> file = FileOf({r});
    const std::string text = DumpMacroFile(file);
    const std::vector<std::string> lines = Lines(text);
    size_t at = 0;
    for (const std::string& want : c.lines) {
      while (at < lines.size() && lines[at] != want) ++at;
      EXPECT_LT(at, lines.size()) << "no line \"" << want << "\" (in order) in:\n" << text;
    }
    for (const std::string& not_there : c.absent)
      EXPECT_FALSE(HasLineStarting(text, not_there)) << not_there << " in:\n" << text;
    ExpectRoundTrip(file);
  }
}

TEST(MacroTextDump, PartialRecordAtTheEndFollowsAsTail) {
  MacroRecord r;
  r.SetCode(1);
  std::vector<uint8_t> file = FileOf({r});
  for (int i = 0; i < 20; ++i) file.push_back(static_cast<uint8_t>(0xA0 + i));
  const std::string text = DumpMacroFile(file);
  EXPECT_NE(text.find("\ntail\nbytes: A0 A1 A2 A3 A4 A5 A6 A7 A8 A9 AA AB AC AD AE AF\nbytes: B0 B1 B2 B3\n"),
            std::string::npos)
      << text;
  ExpectRoundTrip(file);
}

// ---- round trips -------------------------------------------------------------------

TEST(MacroTextRoundTrip, FuzzCorpusFilesComeBackByteForByte) {
  const fs::path corpus = fs::path(__FILE__).parent_path().parent_path() / "fuzz" / "corpus" / "macro_file";
  int files = 0;
  for (const auto& entry : fs::directory_iterator(corpus)) {
    SCOPED_TRACE(entry.path().filename().string());
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ExpectRoundTrip(file);
    ++files;
  }
  EXPECT_GE(files, 5);
}

class SilentBoxes : public IMessageBoxes {
 public:
  void Show(const std::string&, const std::string&) override {}
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
};

class StepClock : public IClock {
 public:
  double Now() const override {
    now_ += 1.0 / 7.0;  // a new moment, between milliseconds, each time
    return now_;
  }
  uint32_t TickCount() const override { return 0; }
  mutable double now_ = ClockValue(2025, 1, 6, 9, 0, 0, 0);
};

// What the program writes: a new file with its system macros, then macros
// added, changed, switched off and removed through the store.
TEST(MacroTextRoundTrip, FilesTheProgramWritesComeBackByteForByteFromTheirFieldsAlone) {
  const fs::path dir = fs::temp_directory_path() / ("qlx_macro_text_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::string path = (dir / "WRITTEN.QLX").string();
  std::vector<uint8_t> mem(ab::kSize, 0);
  ActivationBlock block(mem.data());
  auto names = std::make_unique<MacroNameTables>();
  SilentBoxes boxes;
  StepClock clock;
  MacroFile file(path, MacroTables{block, *names}, boxes, clock);

  const auto check = [&](const char* step) {
    SCOPED_TRACE(step);
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string text = DumpMacroFile(bytes);
    EXPECT_FALSE(HasLineStarting(text, "raw")) << text;
    EXPECT_FALSE(HasLineStarting(text, "tail")) << text;
    ExpectRoundTrip(bytes);
  };
  const auto add = [&](MacroRecord r) {
    r.SetLastModified(clock.Now());
    block.SetMacroCount(block.MacroCount() + 1);
    ASSERT_TRUE(file.WriteRecord(-1, r));
  };

  ASSERT_TRUE(file.Load().opened);
  check("new file");
  // The system macros a new file gets are the store's system macro records.
  for (int n = 1; n <= 4; ++n) {
    MacroRecord read, expected = SystemMacroRecord(kSystemMacros[static_cast<size_t>(n - 1)]);
    ASSERT_TRUE(file.ReadRecord(n, read));
    expected.SetLastModified(read.LastModified());
    EXPECT_TRUE(read.bytes() == expected.bytes()) << n;
  }

  MacroRecord r;
  r.SetNickname(std::string(50, 'N'));
  r.SetScope(kScopeGlobal);
  r.SetActive(true);
  r.SetCode(144);
  r.SetIcon("MAIN");
  r.SetText("Dear Sir,\r\n\tcaf\xE9 <DD Mmmmm YYYY{NF000}><ENTER>");
  add(r);
  r.SetNickname("Window");
  r.SetScope(kScopeWindow);
  r.SetScopeText(std::string(30, 'W'));
  r.SetTopMostOnly(true);
  r.SetText(std::string(5000, 'x'));
  add(r);
  r.SetNickname("Program");
  r.SetScope(kScopeProgram);
  r.SetScopeText("NOTEPAD.EXE");
  r.SetTopMostOnly(false);
  r.SetText("<LAUNCHYES:01Notepad<LAUNCH:notepad.exe>");
  add(r);
  MacroRecord timed;
  timed.SetNickname("Timed");
  timed.SetScope(kScopeGlobal);
  timed.SetActive(true);
  timed.SetCode(kTimedCode);
  SetNewTimedMacroSchedule(timed, CivilDate{2025, 1, 6, 2});
  add(timed);
  MacroRecord snap;
  snap.SetNickname("Snap");
  snap.SetScope(kScopeGlobal);
  snap.SetCode(kSnapwordCode);
  snap.SetSnapword("sig");
  snap.SetIcon("SIG.ICO");
  add(snap);
  MacroRecord popup;
  popup.SetNickname("Menu");
  popup.SetScope(kScopePopupMenu);
  popup.SetActive(true);
  popup.SetCode(156);
  popup.SetSnapword("1,2");
  popup.SetIcon("MENU");
  add(popup);
  check("macros added");

  ASSERT_TRUE(file.SetActive(5, false));
  check("one switched off");
  timed.SetCode(145);  // a timed macro becomes a hot key and keeps its schedule
  timed.SetLastModified(clock.Now());
  ASSERT_TRUE(file.WriteRecord(8, timed));
  check("one changed");
  ASSERT_TRUE(file.DeleteRecord(6));
  ASSERT_TRUE(file.Load().opened);
  check("one removed");
  fs::remove_all(dir);
}

TEST(MacroTextRoundTrip, ArbitraryRecordsComeBackByteForByte) {
  std::mt19937 rng(1998);
  for (int i = 0; i < 100; ++i) {
    std::vector<uint8_t> file(mr::kSize * (1 + rng() % 2) + (i % 3 == 0 ? rng() % mr::kSize : 0));
    // Mostly zero, as real records are, with bursts of arbitrary bytes.
    for (uint8_t& b : file)
      if (rng() % 4 == 0) b = static_cast<uint8_t>(rng());
    ExpectRoundTrip(file);
  }
}

TEST(MacroTextRoundTrip, FiveHundredRecordsAreTheMostABuildMakes) {
  MacroRecord r;
  r.SetCode(5);
  std::vector<MacroRecord> records(kMaxMacros, r);
  ExpectRoundTrip(FileOf(records));

  records.push_back(r);
  const std::string text = DumpMacroFile(FileOf(records));
  const BuildResult built = BuildMacroFile(text);
  ASSERT_EQ(built.errors.size(), 1u);
  const std::vector<std::string> lines = Lines(text);
  ASSERT_LE(static_cast<size_t>(built.errors[0].line), lines.size());
  EXPECT_EQ(lines[static_cast<size_t>(built.errors[0].line) - 1], "macro 501");
  EXPECT_NE(built.errors[0].message.find("at most 500"), std::string::npos);
  EXPECT_TRUE(built.bytes.empty());
}

// ---- building by hand ---------------------------------------------------------------

MacroRecord OnlyRecord(const std::string& text) {
  const BuildResult built = BuildMacroFile(text);
  EXPECT_TRUE(built.ok()) << (built.ok() ? "" : built.errors[0].message);
  MacroRecord r;
  EXPECT_EQ(built.bytes.size(), mr::kSize);
  if (built.bytes.size() == mr::kSize) std::memcpy(r.data(), built.bytes.data(), mr::kSize);
  return r;
}

TEST(MacroTextBuild, AMacroNeedsOnlyItsActivationAndIsGlobalAndActive) {
  const MacroRecord r = OnlyRecord("macro\nactivation: ctrl+alt+a\n");
  MacroRecord expected;
  expected.SetCode(144);
  expected.SetScope(kScopeGlobal);
  expected.SetActive(true);
  EXPECT_TRUE(r.bytes() == expected.bytes());
}

TEST(MacroTextBuild, ReadsHandWrittenTextAsTheDumpWouldWriteIt) {
  const std::string by_hand =
      "\xEF\xBB\xBF# a comment\r\n"
      "  MACRO 7\r\n"
      "Nickname:Morning   \r\n"
      "   # an indented comment\r\n"
      "ACTIVATION :  TIMED\r\n"
      "schedule: 3\r\n"
      "days: monday, Fri,sunday\r\n"
      "time: 3:05pm\r\n"
      "date: 2025-1-6\r\n"
      "weekday: sun\r\n"
      "interval: 30\r\n"
      "scope: Window\r\n"
      "window: Inbox\r\n"
      "active: No\r\n"
      "modified: 2025-01-06\r\n"
      "text: Good \r\n"
      "text:   morning\r\n";
  const MacroRecord r = OnlyRecord(by_hand);
  MacroRecord expected;
  expected.SetNickname("Morning");
  expected.SetCode(kTimedCode);
  expected.SetScheduleKind(kScheduleDaily);
  expected.SetDayFlag(0, true);
  expected.SetDayFlag(4, true);
  expected.SetDayFlag(6, true);
  expected.SetHour(3);
  expected.SetMinute(5);
  expected.SetPm(true);
  expected.SetYear(2025);
  expected.SetMonth(1);
  expected.SetDay(6);
  expected.SetWeekday(1);
  expected.SetInterval(30);
  expected.SetScope(kScopeWindow);
  expected.SetScopeText("Inbox");
  expected.SetActive(false);
  expected.SetLastModified(ClockValue(2025, 1, 6, 0, 0, 0, 0));
  expected.SetText("Goodmorning");  // blanks around a value are dropped
  EXPECT_TRUE(r.bytes() == expected.bytes()) << DumpMacroFile(FileOf({r}));
}

TEST(MacroTextBuild, RawLinesComeAfterTheFieldsTheyMend) {
  const MacroRecord r = OnlyRecord("macro\nraw 0: 3C\nnickname: abc\nactivation: Ctrl+A\nraw 5164: FF\n");
  EXPECT_EQ(r.NicknameLength(), 60);
  EXPECT_EQ(r.Nickname().substr(0, 3), "abc");
  EXPECT_EQ(r.data()[mr::kSize - 1], 0xFF);
}

// ---- refusals name their line -------------------------------------------------------------

TEST(MacroTextBuild, RefusalsNameTheLineAndBuildNothing) {
  const std::string fifty_one(51, 'n');
  const struct {
    std::string text;
    int line;
    std::string says;
  } cases[] = {
      {"macro\nnickname: x\nactivation: Ctrl+Alt+Q2\n", 3, "unknown hot key \"Ctrl+Alt+Q2\""},
      {"# first\nnickname: x\n", 2, "\"nickname\" comes before the first line \"macro\""},
      {"macro\nactivation: timed\n\nactive: maybe\n", 4, "active: write yes or no, not \"maybe\""},
      {"macro\nactivation: timed\nactivation: Ctrl+A\n", 3, "\"activation\" given twice (first on line 2)"},
      {"macro\nnickname: lost\n\nmacro 2\nactivation: Ctrl+A\n", 1, "macro 1 has no \"activation:\" line"},
      {"macro\nactivation: Ctrl+A\nnickname: " + fifty_one + "\n", 3, "nickname of 51 characters; at most 50"},
      {"macro\nactivation: Ctrl+A\nsnapword: twelve chars\n", 3, "snapword of 12 characters; at most 10"},
      {"macro\nactivation: Ctrl+A\ncolour: red\n", 3, "unknown field \"colour\""},
      {"macro\nactivation: Ctrl+A\ntext: ok\ntext: a\\qb\n", 4, "text: unknown escape"},
      {"macro\nactivation: Ctrl+A\ntext: a\\x00b\n", 3, "cannot hold a zero byte"},
      {"macro\nactivation: Ctrl+A\nnickname: Caf\xC3\xA9\n", 3, "outside plain ASCII (byte C3)"},
      {"macro\nactivation: Ctrl+A\nscope: galactic\n", 3, "scope: write global, window, program"},
      {"macro\nactivation: Ctrl+A\nscope: global\nwindow: Notes\n", 4, "\"window:\" belongs to a macro whose scope is window"},
      {"macro\nactivation: Ctrl+A\nprogram: NOTEPAD.EXE\nscope: window\n", 3, "\"program:\" belongs"},
      {"macro\nactivation: Ctrl+A\nwindow: a\nscope text: b\nscope: window\n", 4, "a second scope text (first on line 3)"},
      {"macro\nactivation: timed\ntime: 25 o'clock\n", 3, "time: expected hour:minute AM or PM"},
      {"macro\nactivation: timed\ndate: 2025/01/06\n", 3, "date: expected year-month-day"},
      {"macro\nactivation: timed\ndays: Mon Mon\n", 3, "days: \"Mon\" named twice"},
      {"macro\nactivation: timed\ndays: Mon Funday\n", 3, "days: unknown day \"Funday\""},
      {"macro\nactivation: timed\nschedule: fortnightly\n", 3, "schedule: write at startup"},
      {"macro\nactivation: timed\nweekday: Caturday\n", 3, "weekday: write a day"},
      {"macro\nactivation: timed\ninterval: soon\n", 3, "interval: expected a number from 0 to 65535"},
      {"macro\nactivation: timed\nminutes past the hour: 256\n", 3, "expected a number from 0 to 255"},
      {"macro\nactivation: code 70000\n", 2, "\"code\" takes a number from 0 to 65535"},
      {"macro\nactivation: Ctrl+A\nmodified: yesterday\n", 3, "modified: expected a date and time"},
      {"macro\nactivation: Ctrl+A\nmodified: 2025-01-06 09:00:00 (45000.5)\n", 3, "disagree"},
      {"macro\nactivation: Ctrl+A\nmodified: 2025-01-06 (soon)\n", 3, "not a number"},
      {"macro\nactivation: Ctrl+A\nraw 5160: 00 00 00 00 00 00\n", 3, "run past the record's 5165 bytes"},
      {"macro\nactivation: Ctrl+A\nraw 5165: 00\n", 3, "offset from 0 to 5164"},
      {"macro\nactivation: Ctrl+A\nraw 4: 0\n", 3, "raw: expected hex bytes"},
      {"macro\nsnapword: sw\nactivation: snapword other\n", 3, "\"snapword\" given twice (first on line 2)"},
      {"macro\nactivation: snapword other\nsnapword: sw\n", 3, "\"snapword\" given twice (first on line 2)"},
      {"macro\nactivation: Ctrl+A\ntail\nbytes: zz\n", 4, "bytes: expected hex bytes"},
      {"macro\nactivation: Ctrl+A\ntail\nnickname: x\n", 4, "only \"bytes:\" lines follow \"tail\""},
      {"macro\nactivation: Ctrl+A\ntail\nmacro\nactivation: Ctrl+B\n", 4, "a macro after the tail"},
      {"tail\ntail\n", 2, "a second \"tail\" (the first is on line 1)"},
      {"macro one\nactivation: Ctrl+A\n", 1, "holds nothing but the macro's number"},
      {"macro\nactivation: Ctrl+A\nthis is not a field\n", 3, "cannot read \"this is not a field\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const BuildResult built = BuildMacroFile(c.text);
    ASSERT_FALSE(built.ok());
    EXPECT_EQ(built.errors[0].line, c.line) << built.errors[0].message;
    EXPECT_NE(built.errors[0].message.find(c.says), std::string::npos) << built.errors[0].message;
    EXPECT_TRUE(built.bytes.empty());
  }
}

TEST(MacroTextBuild, EveryFaultIsReportedInLineOrder) {
  const BuildResult built = BuildMacroFile(
      "macro\nactivation: Ctrl+Alt+Nope\nactive: perhaps\n\nmacro\nactivation: Ctrl+B\nscope: up\n");
  ASSERT_EQ(built.errors.size(), 3u);
  EXPECT_EQ(built.errors[0].line, 2);
  EXPECT_EQ(built.errors[1].line, 3);
  EXPECT_EQ(built.errors[2].line, 7);
}

TEST(MacroTextBuild, TextOverFiveThousandCharactersIsRefusedAtTheLineThatPassesIt) {
  const std::string part(2000, 'x');
  std::string text = "macro\nactivation: Ctrl+A\n";
  for (int i = 0; i < 4; ++i) text += "text: " + part + "\n";  // lines 3 to 6
  const BuildResult built = BuildMacroFile(text);
  ASSERT_EQ(built.errors.size(), 1u);
  EXPECT_EQ(built.errors[0].line, 5);
  EXPECT_NE(built.errors[0].message.find("at most 5000"), std::string::npos);

  // Exactly 5000 characters fit.
  const BuildResult fits =
      BuildMacroFile("macro\nactivation: Ctrl+A\ntext: " + std::string(5000, 'y') + "\n");
  ASSERT_TRUE(fits.ok());
  MacroRecord r;
  std::memcpy(r.data(), fits.bytes.data(), mr::kSize);
  EXPECT_EQ(r.Text(), std::string(5000, 'y'));
}

TEST(MacroTextBuild, ATailIsShorterThanARecord) {
  std::string text = "tail\n";
  for (size_t i = 0; i < mr::kSize; i += 5) text += "bytes: 01 02 03 04 05\n";
  const BuildResult built = BuildMacroFile(text);
  ASSERT_EQ(built.errors.size(), 1u);
  EXPECT_EQ(built.errors[0].line, 1);
  EXPECT_NE(built.errors[0].message.find("less than 5165 bytes"), std::string::npos);
}

}  // namespace
}  // namespace qlx
