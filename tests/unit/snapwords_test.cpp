// Snapwords: the buffer, TestIt with its four options, the busy refusals,
// the scope order and the start with its Backspaces.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "activation/hook_contract.h"
#include "activation/snapwords.h"
#include "fakes/fake_desktop.h"
#include "fakes/fake_profile.h"

namespace qlx {
namespace {

struct SnapMacro {
  std::string word;
  int16_t scope = kScopeGlobal;
  std::string scope_text;
  bool active = true;
  std::string text;
  uint16_t code = kSnapwordCode;
};

class SnapHost : public IDispatchHost {
 public:
  std::vector<SnapMacro>* macros = nullptr;
  std::vector<std::string> messages;
  std::vector<std::string> played;
  void DoAMessage(const std::string& caption, const std::string& text) override {
    messages.push_back(caption + "|" + text);
  }
  bool ReadPlaybackRecord(int n, MacroRecord& record) override {
    record = MacroRecord();
    record.SetText((*macros)[static_cast<size_t>(n - 1)].text);
    return true;
  }
  void PlayText(const std::string& text) override { played.push_back(text); }
  int ChooseFromPopupMenu(const MacroRecord&) override { return -1; }
  void ActivateMe() override {}
  void StartACapture() override {}
  void MenuTopWindow() override {}
  void ResumePause() override {}
  bool ReloadIfChangedElsewhere() override { return false; }
  void ClearRememberedTrayIcon() override {}
};

class SnapwordTest : public ::testing::Test {
 protected:
  void SetUp() override { host.macros = &macros; }
  void Load() {
    block.SetMacroCount(static_cast<int32_t>(macros.size()));
    for (size_t i = 0; i < macros.size(); ++i) {
      const int n = static_cast<int>(i) + 1;
      block.SetScope(n, macros[i].scope);
      block.SetScopeText(n, macros[i].scope_text);
      block.SetCode(n, macros[i].code);
      block.SetActive(n, macros[i].active);
      settings.names.SetSnapword(n, macros[i].word);
    }
  }
  void Type(const std::string& s, uint32_t w = kSnapwordPlain) {
    for (char c : s) snap.OnSnapwordChar(w, static_cast<uint8_t>(c));
  }
  int Backspaces() const {
    int n = 0;
    for (const auto& e : desk.events)
      if (e.kind == fake::InputEvent::Kind::Key && e.vk == 0x08 && !e.up) ++n;
    return n;
  }

  std::vector<uint8_t> memory = std::vector<uint8_t>(ab::kSize, 0);
  ActivationBlock block{memory.data()};
  std::vector<SnapMacro> macros;
  Settings settings;
  fake::FakeDesktop desk;
  EngineState engine;
  DispatchState state;
  SnapHost host;
  SnapwordDispatch snap{block, settings, engine, state, desk, desk, desk, desk, desk, host};
};

TEST_F(SnapwordTest, DefaultsStartAsSoonAsTheLastLetterIsTyped) {
  macros = {{"abc", kScopeGlobal, "", true, "ABC!"}};
  Load();
  Type("xxab");
  EXPECT_TRUE(host.played.empty());
  Type("c");
  EXPECT_EQ(host.played, std::vector<std::string>{"ABC!"});
  EXPECT_EQ(Backspaces(), 3);
  EXPECT_EQ(snap.buffer(), "");
  EXPECT_EQ(engine.CurrentMacro, 1);
}

TEST_F(SnapwordTest, TheStartErasesThenWaitsThenPlaysThenMarksTheEnd) {
  macros = {{"go", kScopeGlobal, "", true, "text"}};
  Load();
  desk.now_ms = 1000;
  Type("go");
  ASSERT_EQ(host.played.size(), 1u);
  std::vector<std::string> keys;
  for (const auto& e : desk.events)
    if (e.kind == fake::InputEvent::Kind::Key) keys.push_back(std::to_string(e.vk) + (e.up ? "u" : "d"));
  EXPECT_EQ(keys, (std::vector<std::string>{"8d", "8u", "8d", "8u", "43d", "43u"}));
  EXPECT_TRUE(block.PlaybackStarted());
  // The end marker follows a wait of at least 0.1 s after the Backspaces.
  EXPECT_GE(desk.events.back().at_ms - desk.events[3].at_ms, static_cast<uint64_t>(kSnapwordWaitDefaultMs));
}

TEST_F(SnapwordTest, TheWaitSettingIsClampedOnReadAndZeroHandsOverInsteadOfWaiting) {
  macros = {{"go", kScopeGlobal, "", true, "text"}};
  Load();
  const WindowHandle target = desk.AddWindow("Target");
  desk.SetForegroundDirect(target);
  const struct { const char* stored; int32_t ms; } rows[] = {
      {"0", 0}, {"100", 100}, {"250", 250}, {"99999", 5000}, {"-7", 0}, {"1O0", 100}};
  for (const auto& row : rows) {
    fake::FakeProfile in, out;
    in.Set("Snapwords", "Snapword Wait", row.stored);
    Settings read;
    ReadSettings(in, "C:\\Q", read);
    WriteSettings(out, read);
    EXPECT_EQ((out.values[{"Snapwords", "Snapword Wait"}]), std::to_string(row.ms)) << row.stored;
    settings.snap_wait_ms = read.snap_wait_ms;
    desk.events.clear();
    desk.window_log.clear();
    Type("go");
    const uint64_t waited = desk.events.back().at_ms - desk.events[3].at_ms;
    if (row.ms == 0) EXPECT_EQ(waited, 0u) << row.stored;
    else EXPECT_GE(waited, static_cast<uint64_t>(row.ms)) << row.stored;
    EXPECT_EQ(desk.window_log, row.ms == 0 ? std::vector<std::string>{"takeinput " + std::to_string(target)}
                                           : std::vector<std::string>{}) << row.stored;
  }
}

TEST_F(SnapwordTest, UseSuffixFiresOnSpaceOrEnterOnly) {
  macros = {{"abc", kScopeGlobal, "", true, "X"}};
  Load();
  settings.snap_use_suffix = true;
  settings.prefix_keys = ";;";  // no prefix is used with a suffix
  Type("abc");
  EXPECT_TRUE(host.played.empty());
  Type(":");
  EXPECT_TRUE(host.played.empty()) << "a colon is not a suffix";
  EXPECT_EQ(snap.buffer(), "");
  Type("abc ");
  EXPECT_EQ(host.played.size(), 1u);
  EXPECT_EQ(Backspaces(), 4);
  Type("abc\r");
  EXPECT_EQ(host.played.size(), 2u);
}

TEST_F(SnapwordTest, APrefixIsPartOfTheWordAndTheBufferKeepsTwelve) {
  macros = {{"abc", kScopeGlobal, "", true, "X"}};
  Load();
  settings.prefix_keys = ";;";
  Type("abc");
  EXPECT_TRUE(host.played.empty()) << "without the prefix nothing fires";
  Type("0123456789xyz");
  EXPECT_EQ(snap.buffer(), "123456789xyz");
  Type(";");
  EXPECT_EQ(snap.buffer().size(), 12u);
  Type("wordmore;;ab");
  EXPECT_TRUE(host.played.empty());
  Type("c");
  EXPECT_EQ(host.played.size(), 1u);
  EXPECT_EQ(Backspaces(), 5);
}

TEST_F(SnapwordTest, SolitaryAndCaseOptions) {
  macros = {{"Abc", kScopeGlobal, "", true, "X"}};
  Load();
  Type("abc");
  EXPECT_TRUE(host.played.empty()) << "case-sensitive by default";
  snap.OnSnapwordChar(kSnapwordClear, 0);
  settings.snap_case_sensitive = false;
  Type("zABC");
  EXPECT_EQ(host.played.size(), 1u);
  settings.snap_solitary_usage = true;
  Type("zabc");
  EXPECT_EQ(host.played.size(), 1u) << "solitary: the buffer must be the word alone";
  snap.OnSnapwordChar(kSnapwordClear, 0);
  Type("abc");
  EXPECT_EQ(host.played.size(), 2u);
}

TEST_F(SnapwordTest, AnApostropheAndAClearRequestEndTheWord) {
  macros = {{"abc", kScopeGlobal, "", true, "X"}};
  Load();
  Type("ab'c");
  EXPECT_TRUE(host.played.empty());
  Type("ab");
  snap.OnSnapwordChar(kSnapwordClear, 'c');
  Type("c");
  EXPECT_TRUE(host.played.empty());
}

TEST_F(SnapwordTest, PopupAndSystemSnapwordsNeverFireAndInactiveOnesDoNot) {
  macros = {{"abc", kScopePopupMenu, "", true, "menu"},
            {"abc", kScopeSystem, "2", true, "sys"},
            {"abc", kScopeGlobal, "", false, "off"},
            {"abc", kScopeGlobal, "", true, "on", 5}};  // a hot-key macro with a Snapword field
  Load();
  Type("abc");
  EXPECT_TRUE(host.played.empty());
  EXPECT_EQ(Backspaces(), 0);
}

TEST_F(SnapwordTest, WindowThenProgramThenGlobal) {
  macros = {{"abc", kScopeGlobal, "", true, "global"},
            {"abc", kScopeWindow, "notepad", true, "window"},
            {"abc", kScopeProgram, "calc.exe", true, "program"}};
  Load();
  desk.AddProcess(7, "CALC.EXE");
  desk.SetForegroundDirect(desk.AddWindowInFront("Untitled - Notepad", 3));
  Type("abc");
  desk.SetForegroundDirect(desk.AddWindowInFront("Calculator", 7));
  Type("abc");
  desk.SetForegroundDirect(desk.AddWindowInFront("Other", 9));
  Type("abc");
  EXPECT_EQ(host.played, (std::vector<std::string>{"window", "program", "global"}));
}

TEST_F(SnapwordTest, BusyRefusalsComeInOrderAndKeepTheBuffer) {
  macros = {{"abc", kScopeGlobal, "", true, "X"}};
  Load();
  block.SetCaptureActive(true);
  engine.PauseInProgress = true;
  Type("abc");
  EXPECT_TRUE(host.played.empty());
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0], std::string("Warning|") + kCaptureBusyText);
  EXPECT_EQ(snap.buffer(), "abc");
  state.PopupShown = true;
  Type("d");  // "abcd" still holds abc
  EXPECT_EQ(host.messages.back(), std::string("Warning|") + kPopupBusyText);
  state.PopupShown = false;
  block.SetCaptureActive(false);
  Type("e");
  EXPECT_EQ(host.messages.back(), std::string("Warning|") + kPauseBusyText);
  EXPECT_EQ(Backspaces(), 0);
}

TEST_F(SnapwordTest, CapsLockFlagFollowsEachCharacterAndAnEmptyFileIgnoresAll) {
  Type("a", kSnapwordCapsLock);
  EXPECT_FALSE(engine.CapsLockWasOn) << "no macros: the message is ignored";
  macros = {{"zz", kScopeGlobal, "", true, "X"}};
  Load();
  Type("a", kSnapwordCapsLock);
  EXPECT_TRUE(engine.CapsLockWasOn);
  Type("b");
  EXPECT_FALSE(engine.CapsLockWasOn);
}

TEST(SnapwordTexts, PrefixAndNameChecks) {
  EXPECT_FALSE(PrefixKeysError(";;"));
  EXPECT_FALSE(PrefixKeysError(""));
  EXPECT_EQ(PrefixKeysError("a'"), std::string(kPrefixKeysInvalidText));
  EXPECT_EQ(PrefixKeysError(" "), std::string(kPrefixKeysInvalidText));
  EXPECT_EQ(SnapwordNameError("", false), std::string("No Snapword name was entered."));
  EXPECT_EQ(SnapwordNameError("", true), std::string("No Snapword name entered."));
  EXPECT_EQ(SnapwordNameError("ab|", true), std::string(kSnapwordNameInvalidText));
  EXPECT_FALSE(SnapwordNameError("a!#$%&*+,-./;<=>?@^_", true));
  for (int c = 0; c < 256; ++c) {
    const bool word = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      std::string_view("!#$%&*+,-./;<=>?@^_").find(static_cast<char>(c)) != std::string_view::npos;
    EXPECT_EQ(IsWordChar(static_cast<uint8_t>(c)), word && c != 0) << c;
  }
}

TEST(SnapwordTexts, OptionsRoundTripThroughTheSettings) {
  Settings s;
  SnapwordOptions o = SnapwordOptionsOf(s);
  EXPECT_FALSE(o.solitary);
  EXPECT_TRUE(o.case_sensitive);
  EXPECT_FALSE(o.use_suffix);
  o.prefix = ";;;";
  o.use_suffix = true;
  StoreSnapwordOptions(o, s);
  EXPECT_EQ(s.prefix_keys, ";;") << "at most two prefix keys";
  EXPECT_TRUE(s.snap_use_suffix);
}

}  // namespace
}  // namespace qlx
