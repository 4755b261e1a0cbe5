// A capture from the program's side: the capture file, the 5000-byte rule
// with its numbered overflow files, the quick capture and the Capture Macro
// dialog's capture, and the Capture Complete dialog's checks.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "store/hotkey_table.h"
#include "activation/snapwords.h"
#include "capture/capture_session.h"
#include "store/macro_file.h"

namespace qlx {
namespace {

namespace fs = std::filesystem;
constexpr uint16_t kCtrlAltW = 144 + 22;

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class TempDir {
 public:
  TempDir() {
    path = fs::temp_directory_path() /
           ("qlx-capture-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(path);
    fs::create_directories(path);
  }
  ~TempDir() { fs::remove_all(path); }
  fs::path path;
};

TEST(CaptureFileRule, FiveThousandBytesStayInTheMacro) {
  TempDir d;
  const std::string file = (d.path / kCaptureFileName).string();
  {
    CaptureFile f;
    f.Create(file);
    f.Write(std::string(5000, 'a'));
  }
  const CapturedText t = TakeCapturedText(file, d.path.string());
  EXPECT_EQ(t.text, std::string(5000, 'a'));
  EXPECT_TRUE(t.overflow.empty());
  EXPECT_FALSE(fs::exists(file));
}

TEST(CaptureFileRule, LongerGoesWholeToTheFirstFreeNumberedFile) {
  TempDir d;
  const std::string file = (d.path / kCaptureFileName).string();
  const std::string body = std::string(5000, 'b') + "c";
  for (const char* taken : {"QL0.TXT", "QL1.TXT"}) std::ofstream(d.path / taken) << "old";
  {
    CaptureFile f;
    f.Create(file);
    f.Write(body);
  }
  const CapturedText t = TakeCapturedText(file, d.path.string());
  const fs::path expected = d.path / "QL2.TXT";
  EXPECT_EQ(t.overflow, expected.string());
  EXPECT_EQ(t.text, "<TFILE:" + expected.string() + ">");
  EXPECT_EQ(Slurp(expected), body);
  EXPECT_EQ(Slurp(d.path / "QL0.TXT"), "old");
  EXPECT_FALSE(fs::exists(file));
}

TEST(CaptureFileRule, EveryCharacterIsOnDiskAsSoonAsItIsPut) {
  TempDir d;
  const std::string file = (d.path / kCaptureFileName).string();
  CaptureFile f;
  f.Create(file);
  f.Put('x');
  EXPECT_EQ(Slurp(file), "x");
  f.Put('y');
  EXPECT_EQ(Slurp(file), "xy");
  EXPECT_THROW(f.Create((d.path / "missing" / "f.txt").string()), StoreIoError);
}

TEST(CaptureFileRule, OverflowNamesAndPaths) {
  EXPECT_EQ(OverflowFileName(0), "QL0.TXT");
  EXPECT_EQ(OverflowFileName(12), "QL12.TXT");
  EXPECT_EQ(JoinProgramPath("C:\\QUIL", "QL0.TXT"), "C:\\QUIL\\QL0.TXT");
  EXPECT_EQ(JoinProgramPath("C:\\", "QL0.TXT"), "C:\\QL0.TXT");
  EXPECT_EQ(JoinProgramPath("/tmp/q", "QL0.TXT"), "/tmp/q/QL0.TXT");
}

// The main window's side, recorded.
class FakeCaptureHost : public ICaptureHost {
 public:
  std::vector<MacroRecord> file;  // record n at n - 1
  std::vector<std::string> log;
  ActivationBlock* block = nullptr;
  bool lock = true;
  std::string top = "NOTEPAD.EXE";
  CaptureCompleteChoice complete;  // what the user does in Capture Complete
  bool complete_ok = true;
  bool save_fails = false;  // the macro file takes no record

  void DoAMessage(const std::string& caption, const std::string& text) override {
    log.push_back("message " + caption + "|" + text);
  }
  std::string GetTopProgram() override { return top; }
  bool TakeNetworkLock() override {
    log.push_back("lock");
    return lock;
  }
  void ReleaseNetworkLock(bool changed) override { log.push_back(changed ? "unlock changed" : "unlock"); }
  int AppendMacro(const MacroRecord& record) override {
    if (save_fails) return 0;
    file.push_back(record);
    const int n = static_cast<int>(file.size());
    block->SetMacroCount(n);
    block->SetCode(n, record.Code());
    block->SetScope(n, record.Scope());
    log.push_back("append " + std::to_string(n));
    return n;
  }
  bool ReadRecord(int n, MacroRecord& record) override {
    if (n < 1 || n > static_cast<int>(file.size())) return false;
    record = file[static_cast<size_t>(n - 1)];
    return true;
  }
  bool WriteRecord(int n, const MacroRecord& record) override {
    if (save_fails || n < 1 || n > static_cast<int>(file.size())) return false;
    file[static_cast<size_t>(n - 1)] = record;
    log.push_back("write " + std::to_string(n));
    return true;
  }
  void ShowRecordingIcon(bool shown) override {
    log.push_back(shown ? "icon on" : "icon off");
    if (shown) active_when_icon_shown = block->CaptureActive();
  }
  void StepAsideForCapture() override { log.push_back("step aside"); }
  bool RunCaptureComplete(MacroRecord& record, const std::string& top_program) override {
    log.push_back("complete " + top_program);
    if (!complete_ok) return false;
    ApplyCaptureComplete(complete, top_program, record);
    return true;
  }
  void CaptureFinished(int macro) override { log.push_back("finished " + std::to_string(macro)); }
  bool active_when_icon_shown = true;
};

class CaptureSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host.block = &block;
    // The system macros: Start / Stop Capture on Ctrl+Alt+Shift+X.
    MacroRecord sys;
    sys.SetScope(kScopeSystem);
    sys.SetScopeText("2");
    sys.SetCode(263);
    sys.SetActive(true);
    host.AppendMacro(sys);
    block.SetScopeText(1, "2");
    block.SetActive(1, true);
    host.log.clear();
  }
  void Send(const std::string& s, int macro) {
    for (char c : s) session.OnCaptureChar(static_cast<uint32_t>(macro), static_cast<uint8_t>(c));
  }
  struct FixedClock : IClock {
    double Now() const override { return 36526.5; }
    uint32_t TickCount() const override { return 0; }
  };

  TempDir dir;
  std::vector<uint8_t> memory = std::vector<uint8_t>(ab::kSize, 0);
  ActivationBlock block{memory.data()};
  Settings settings;
  EngineState engine;
  FixedClock clock;
  FakeCaptureHost host;
  CaptureSession session{block, settings, engine, clock, host, dir.path.string()};
};

TEST_F(CaptureSessionTest, QuickCaptureRecordsANewSnapwordMacroAndCompleteNamesIt) {
  settings.capture_speed = kSpeedDouble;
  session.StartACapture(false);
  ASSERT_EQ(host.file.size(), 2u);
  const MacroRecord& fresh = host.file[1];
  EXPECT_EQ(fresh.Nickname(), "Capture");
  EXPECT_EQ(fresh.Code(), kSnapwordCode);
  EXPECT_EQ(fresh.Snapword(), "capture");
  EXPECT_EQ(fresh.Scope(), kScopeGlobal);
  EXPECT_TRUE(fresh.TopMostOnly());
  EXPECT_TRUE(fresh.Active());
  EXPECT_TRUE(block.CaptureActive());
  EXPECT_EQ(block.CaptureTarget(), 2);
  EXPECT_TRUE(block.CaptureStartPending());
  EXPECT_EQ(block.StopKey(), CaptureKeyOf(DecipherKey(263)));
  EXPECT_FALSE(block.HasOwnKey());
  EXPECT_FALSE(host.active_when_icon_shown) << "the icon comes before capture is marked active";
  EXPECT_EQ(host.log, (std::vector<std::string>{
                          "lock", "append 2",
                          "message Start Capture|Quillon 98 macro capture will now start.\r\n\r\nUse "
                          "Ctrl+Alt+Shift+X to stop the capture.",
                          "icon on"}));
  host.log.clear();
  Send("Hello", 2);
  EXPECT_EQ(Slurp(session.CaptureFilePath()), "<SPEED:00.50>Hello");
  host.complete.code = 150;
  host.complete.global = false;
  host.complete.nickname = "  Greeting  ";
  host.top = "WORDPAD.EXE";
  session.OnCaptureDone(2);
  Send("late", 2);  // after the end: dropped
  EXPECT_FALSE(block.CaptureActive());
  const MacroRecord& saved = host.file[1];
  EXPECT_EQ(saved.Text(), "<SPEED:00.50>Hello");
  EXPECT_EQ(saved.Code(), 150);
  EXPECT_EQ(saved.Nickname(), "Greeting");
  EXPECT_EQ(saved.Scope(), kScopeProgram);
  EXPECT_EQ(saved.ScopeText(), "WORDPAD.EXE") << "the program in front at the end";
  EXPECT_DOUBLE_EQ(saved.LastModified(), 36526.5);
  EXPECT_EQ(host.log, (std::vector<std::string>{"icon off", "complete WORDPAD.EXE", "write 2", "unlock changed",
                                                "finished 2"}));
  EXPECT_FALSE(fs::exists(session.CaptureFilePath()));
  EXPECT_FALSE(session.Recording());
}

TEST_F(CaptureSessionTest, QuickCaptureRefusals) {
  session.StartACapture(true);
  EXPECT_EQ(host.log.back(), std::string("message Error|") + kCaptureBrowseText);
  block.SetMacroCount(kMaxMacros);
  session.StartACapture(false);
  EXPECT_EQ(host.log.back(), std::string("message Error|") + kCaptureMaxMacrosText);
  block.SetMacroCount(1);
  host.lock = false;
  host.log.clear();
  session.StartACapture(false);
  EXPECT_EQ(host.log, std::vector<std::string>{"lock"}) << "no lock: nothing happens";
  host.lock = true;
  settings.capture_prompt = false;
  session.StartACapture(false);
  host.log.clear();
  session.StartACapture(false);
  EXPECT_EQ(host.log, std::vector<std::string>{std::string("message Error|") + kCaptureInProgressText});
}

TEST_F(CaptureSessionTest, WithoutCaptureAtTheTextHasNoSpeedToken) {
  settings.capture_time = false;
  settings.capture_prompt = false;
  session.StartACapture(false);
  Send("ab", 2);
  session.OnCaptureDone(2);
  EXPECT_EQ(host.file[1].Text(), "ab");
}

TEST_F(CaptureSessionTest, ALongCaptureIsPlayedFromItsNumberedFile) {
  settings.capture_time = false;
  settings.capture_prompt = false;
  session.StartACapture(false);
  Send(std::string(5001, 'z'), 2);
  session.OnCaptureDone(2);
  const fs::path copy = dir.path / "QL0.TXT";
  EXPECT_EQ(host.file[1].Text(), "<TFILE:" + copy.string() + ">");
  EXPECT_EQ(Slurp(copy).size(), 5001u);
}

TEST_F(CaptureSessionTest, ASecondEndFindsNothingToEnd) {
  settings.capture_prompt = false;
  session.StartACapture(false);
  session.OnCaptureDone(2);
  host.log.clear();
  session.EndCaptureFromTray();
  EXPECT_TRUE(host.log.empty());
}

TEST_F(CaptureSessionTest, RecaptureOfAHotKeyMacroEndsOnItsOwnKeyAndReportsByName) {
  MacroRecord existing;
  existing.SetNickname("Old");
  existing.SetCode(290);  // F3
  existing.SetScope(kScopeGlobal);
  existing.SetText("old text");
  host.AppendMacro(existing);
  host.log.clear();
  DialogCaptureStart start;
  start.record = existing;
  start.macro = 2;
  start.options = CaptureOptionsOf(settings);
  start.options.time = false;
  start.options.mouse = true;
  start.options.relative_to_screen = false;
  start.options.window_size = true;
  start.program_scope = true;
  session.StartDialogCapture(start);
  EXPECT_TRUE(block.HasOwnKey());
  EXPECT_EQ(block.OwnKey(), CaptureKeyOf(DecipherKey(290)));
  EXPECT_TRUE(block.CaptureWindowSize());
  EXPECT_FALSE(block.CaptureRelativeToScreen());
  EXPECT_EQ(block.CaptureTarget(), 2);
  Send("new", 2);
  session.OnCaptureDone(2);
  const MacroRecord& saved = host.file[1];
  EXPECT_EQ(saved.Text(), "new");
  EXPECT_EQ(saved.Nickname(), "Old");
  EXPECT_EQ(saved.Scope(), kScopeProgram);
  EXPECT_EQ(saved.ScopeText(), "NOTEPAD.EXE");
  EXPECT_TRUE(saved.TopMostOnly());
  EXPECT_EQ(host.log, (std::vector<std::string>{"step aside", "icon on", "icon off", "write 2", "unlock changed",
                                                "message Capture|Quillon 98 capture is complete for F3.",
                                                "finished 2"}));
}

TEST_F(CaptureSessionTest, ARecaptureTakesTheScopeTheDialogChose) {
  struct Case {
    int16_t scope;
    const char* scope_text;
    bool top_most;
    bool program_chosen;
    int16_t want_scope;
    const char* want_text;
    bool want_top_most;
  };
  const Case cases[] = {
      {kScopeWindow, "Untitled - Notepad", true, false, kScopeGlobal, "", false},
      {kScopeProgram, "WORDPAD.EXE", false, false, kScopeGlobal, "", false},
      {kScopeWindow, "Untitled - Notepad", false, true, kScopeProgram, "NOTEPAD.EXE", true},
      {kScopeGlobal, "", false, true, kScopeProgram, "NOTEPAD.EXE", true},
  };
  MacroRecord existing;
  existing.SetCode(290);  // F3
  host.AppendMacro(existing);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.scope_text) + (c.program_chosen ? " -> Program" : " -> Global"));
    existing.SetScope(c.scope);
    existing.SetScopeText(c.scope_text);
    existing.SetTopMostOnly(c.top_most);
    host.file[1] = existing;
    DialogCaptureStart start;
    start.record = existing;
    start.macro = 2;
    start.options = CaptureOptionsOf(settings);
    start.program_scope = c.program_chosen;
    session.StartDialogCapture(start);
    session.OnCaptureDone(2);
    EXPECT_EQ(host.file[1].Scope(), c.want_scope);
    EXPECT_EQ(host.file[1].ScopeText(), c.want_text);
    EXPECT_EQ(host.file[1].TopMostOnly(), c.want_top_most);
  }
}

TEST_F(CaptureSessionTest, ANewSnapwordMacroFromTheDialogIsAppendedAtTheEnd) {
  DialogCaptureStart start;
  start.record.SetCode(kSnapwordCode);
  start.record.SetSnapword("sig");
  start.record.SetNickname("Signature");
  start.record.SetScope(kScopeWindow);
  start.options = CaptureOptionsOf(settings);
  start.options.time = false;
  session.StartDialogCapture(start);
  EXPECT_FALSE(block.HasOwnKey()) << "a Snapword macro has no own key";
  EXPECT_EQ(block.CaptureTarget(), 2);
  Send("Regards", 2);
  session.OnCaptureDone(2);
  ASSERT_EQ(host.file.size(), 2u);
  EXPECT_EQ(host.file[1].Text(), "Regards");
  EXPECT_EQ(host.file[1].Scope(), kScopeGlobal);
  EXPECT_TRUE(host.file[1].Active());
  EXPECT_EQ(host.log[host.log.size() - 2], "message Capture|Quillon 98 capture is complete for Snapword: sig.");
}

TEST_F(CaptureSessionTest, ADialogCaptureTheFileDidNotTakeIsNotReportedAsCaptured) {
  MacroRecord existing;
  existing.SetCode(290);  // F3
  host.AppendMacro(existing);
  struct Case {
    const char* what;
    int macro;  // 0: a new macro from the add dialog
  };
  for (const Case& c : {Case{"new macro", 0}, Case{"recapture", 2}}) {
    SCOPED_TRACE(c.what);
    host.log.clear();
    host.save_fails = true;
    DialogCaptureStart start;
    start.record.SetCode(kCtrlAltW);
    start.macro = c.macro;
    start.options = CaptureOptionsOf(settings);
    session.StartDialogCapture(start);
    Send("lost", 2);
    session.OnCaptureDone(2);
    host.save_fails = false;
    EXPECT_EQ(host.log, (std::vector<std::string>{"step aside", "icon on", "icon off", "unlock", "finished 0"}));
    EXPECT_EQ(block.ClampedCount(), 2);
    EXPECT_FALSE(block.CaptureActive());
  }
}

TEST_F(CaptureSessionTest, TheStopKeyIsTheFirstStartStopCaptureActiveOrNot) {
  MacroRecord second;
  second.SetScope(kScopeSystem);
  second.SetScopeText("2");
  second.SetCode(290);  // F3
  host.AppendMacro(second);
  block.SetScopeText(2, "2");
  struct Case {
    bool first_active, second_active;
  };
  for (const Case& c : {Case{true, true}, Case{false, true}, Case{false, false}}) {
    SCOPED_TRACE(std::to_string(c.first_active) + std::to_string(c.second_active));
    block.SetActive(1, c.first_active);
    block.SetActive(2, c.second_active);
    EXPECT_EQ(StopCaptureCode(block), 263);
    EXPECT_EQ(session.StopKeyName(), "Ctrl+Alt+Shift+X");
  }
}

TEST(CaptureCompleteChecks, RowsAndRefusals) {
  EXPECT_EQ(HotKeyUsageRow(0, 0), "Ctrl+A  (Not in Use)");
  EXPECT_EQ(HotKeyUsageRow(0, 1), "Ctrl+A  (1 macro in use)");
  EXPECT_EQ(HotKeyUsageRow(0, 3), "Ctrl+A  (3 macros in use)");

  std::vector<uint8_t> mem(ab::kSize, 0);
  ActivationBlock b(mem.data());
  b.SetMacroCount(3);
  b.SetCode(1, 5);
  b.SetScope(1, kScopeWindow);
  b.SetCode(2, 6);
  b.SetScope(2, kScopePopupMenu);
  b.SetCode(3, kSnapwordCode);
  b.SetScope(3, kScopeGlobal);
  EXPECT_EQ(MacrosWithCode(b, 5), 1);

  CaptureCompleteChoice c;
  EXPECT_EQ(CheckCaptureComplete(c, b, 3).text, kNoHotKeySelectedText);
  c.code = 5;
  EXPECT_EQ(CheckCaptureComplete(c, b, 3).kind, VerdictKind::Accept) << "a window macro leaves the key free";
  c.code = 6;
  EXPECT_EQ(CheckCaptureComplete(c, b, 3).text, kGlobalHotKeyInUseText);
  c.global = false;
  EXPECT_EQ(CheckCaptureComplete(c, b, 3).kind, VerdictKind::Accept);
  c.code = 557;  // Win+D
  const CaptureCompleteVerdict ask = CheckCaptureComplete(c, b, 3);
  EXPECT_EQ(ask.kind, VerdictKind::AskReserved);
  EXPECT_EQ(ask.text,
            "Win+D may be used internally by Windows 95, 98 or NT.  This may cause the hot key not to function "
            "correctly. Would you still like to use Win+D?");
  c.snapword = true;
  c.snapword_name = "  ";
  EXPECT_EQ(CheckCaptureComplete(c, b, 3).text, "No Snapword name entered.");
  c.snapword_name = "a b";
  EXPECT_EQ(CheckCaptureComplete(c, b, 3).text, kSnapwordNameInvalidText);
  c.snapword_name = " sig ";
  EXPECT_EQ(CheckCaptureComplete(c, b, 3).kind, VerdictKind::Accept);
  MacroRecord r = QuickCaptureRecord();
  c.nickname = std::string(60, 'n');
  ApplyCaptureComplete(c, "X.EXE", r);
  EXPECT_EQ(r.Snapword(), "sig");
  EXPECT_EQ(r.Code(), kSnapwordCode);
  EXPECT_EQ(r.Nickname().size(), 50u);
  EXPECT_EQ(r.Scope(), kScopeProgram);
}

TEST(CaptureTexts, TitlesAndPrompts) {
  EXPECT_EQ(CaptureMacroTitle(kSnapwordCode, "abc"), "Snapword: abc");
  EXPECT_EQ(CaptureMacroTitle(144, ""), "Ctrl+Alt+A");
  EXPECT_EQ(PressToEndText("Ctrl+Alt+Shift+X"), "Press Ctrl+Alt+Shift+X to end capture");
  EXPECT_EQ(OrPressToEndText("F3"), "Or Press F3 to end capture");
  EXPECT_EQ(CaptureCompleteForText(kSnapwordCode, "abc"), "Quillon 98 capture is complete for Snapword: abc.");
}

}  // namespace
}  // namespace qlx
