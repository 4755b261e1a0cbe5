#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "activation/dispatch.h"
#include "activation/hook_contract.h"
#include "engine/window_commands.h"
#include "fakes/fake_desktop.h"

namespace qlx {
namespace {

constexpr uint32_t kCtrlAltA = 144;

struct MacroSample {
  int16_t scope;
  std::string scope_text;
  uint16_t code;
  bool active = true;
  bool top_most_only = false;
  std::string text;
};

class RecordingHost : public IDispatchHost {
 public:
  std::vector<MacroSample>* macros = nullptr;
  std::vector<std::string> messages;
  std::vector<std::string> played;
  std::vector<int> read_numbers;
  int activate_me = 0, captures = 0, menus = 0, resumes = 0;
  int popup_choice = -1;
  bool popup_flag_seen = false;
  DispatchState* state = nullptr;
  ActivationBlock* block = nullptr;
  bool playback_started_seen = false;

  void DoAMessage(const std::string& caption, const std::string& text) override {
    messages.push_back(caption + "|" + text);
  }
  bool ReadPlaybackRecord(int n, MacroRecord& record) override {
    read_numbers.push_back(n);
    const MacroSample& m = (*macros)[static_cast<size_t>(n - 1)];
    record = MacroRecord();
    record.SetScope(m.scope);
    record.SetText(m.text);
    return true;
  }
  void PlayText(const std::string& text) override {
    playback_started_seen = block->PlaybackStarted();
    played.push_back(text);
    if (play_throws) throw std::runtime_error("Read error");
  }
  bool play_throws = false;
  EngineState* engine = nullptr;
  WindowHandle chooser_target = 0;
  bool chooser_throws = false;
  int ChooseFromPopupMenu(const MacroRecord&) override {
    popup_flag_seen = state->PopupShown;
    // The chooser hands the keyboard back to the top-level window.
    if (engine) engine->TargetWindow = chooser_target;
    if (chooser_throws) throw std::runtime_error("Chooser failed");
    int c = popup_choice;
    popup_choice = -1;  // the chosen macro is not a menu again
    return c;
  }
  void ActivateMe() override { ++activate_me; }
  void StartACapture() override { ++captures; }
  void MenuTopWindow() override { ++menus; }
  void ResumePause() override { ++resumes; }
  bool ReloadIfChangedElsewhere() override { return false; }
  void ClearRememberedTrayIcon() override {}
};

class DispatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host.macros = &macros;
    host.state = &state;
    host.block = &block;
    host.engine = &engine;
  }
  void Load() {
    block.SetMacroCount(static_cast<int32_t>(macros.size()));
    for (size_t i = 0; i < macros.size(); ++i) {
      const int n = static_cast<int>(i) + 1;
      block.SetScope(n, macros[i].scope);
      block.SetScopeText(n, macros[i].scope_text);
      block.SetCode(n, macros[i].code);
      block.SetActive(n, macros[i].active);
      block.SetTopMostOnly(n, macros[i].top_most_only);
    }
  }
  std::vector<std::string> EndMarkers() const {
    std::vector<std::string> out;
    for (const auto& e : desk.events)
      if (e.kind == fake::InputEvent::Kind::Key && e.vk == kEndOfPlaybackKey) out.push_back(e.up ? "up" : "down");
    return out;
  }

  std::vector<uint8_t> memory = std::vector<uint8_t>(ab::kSize, 0);
  ActivationBlock block{memory.data()};
  std::vector<MacroSample> macros;
  fake::FakeDesktop desk;
  EngineState engine;
  DispatchState state;
  RecordingHost host;
  WindowCommands windows{desk.Seams(), engine};
  HotKeyDispatch dispatch{block, engine, state, desk, desk, desk, windows, host};
};

TEST_F(DispatchTest, ScopeMatchingPrefersTheWindowInFrontThenIfRunningThenTheLastGlobal) {
  macros = {{1, "", kCtrlAltA, true, false, "global one"},
            {1, "", kCtrlAltA, true, false, "global two"},
            {2, "notepad", kCtrlAltA, true, true, "window"},
            {3, "calc.exe", kCtrlAltA, true, true, "program"},
            {1, "", kCtrlAltA, false, false, "inactive global"}};
  Load();
  desk.AddProcess(7, "CALC.EXE");
  auto in_front = [&](const char* title, uint32_t pid) {
    const WindowHandle h = desk.AddWindowInFront(title, pid);
    desk.SetForegroundDirect(h);
    return h;
  };
  in_front("Command Prompt", 3);
  // Elsewhere the later of two globals wins; the inactive one never counts.
  EXPECT_EQ(dispatch.GetMacro(kCtrlAltA), 2);

  const WindowHandle note = in_front("Untitled - Notepad", 5);
  EXPECT_EQ(dispatch.GetMacro(kCtrlAltA), 3);
  EXPECT_EQ(engine.TargetWindow, note);

  in_front("Calculator", 7);
  EXPECT_EQ(dispatch.GetMacro(kCtrlAltA), 4);

  // A title with "PAUSE (" never matches in the foreground pass.
  in_front("Notepad Pause (Ctrl+Alt+A)", 5);
  EXPECT_EQ(dispatch.GetMacro(kCtrlAltA), 2);
}

TEST_F(DispatchTest, IfRunningMacroActivatesItsWindowAndBeatsTheGlobalButTopMostOnlyDoesNot) {
  macros = {{1, "", kCtrlAltA, true, false, "global"}, {2, "Editor", kCtrlAltA, true, true, "top most"}};
  Load();
  const WindowHandle editor = desk.AddWindow("My Editor");
  desk.SetForegroundDirect(desk.AddWindowInFront("Somewhere else"));
  EXPECT_EQ(dispatch.GetMacro(kCtrlAltA), 1) << "a Top Most Only macro runs only in front";

  macros[1].top_most_only = false;
  Load();
  EXPECT_EQ(dispatch.GetMacro(kCtrlAltA), 2);
  EXPECT_EQ(desk.Foreground(), editor);
  EXPECT_EQ(engine.TargetWindow, editor);
}

TEST_F(DispatchTest, HotKeyRunsTheMacroAndSendsTheEndMarkerAfterIt) {
  macros = {{1, "", kCtrlAltA, true, false, "hello"}};
  Load();
  const WindowHandle focus = desk.AddWindowInFront("Target");
  dispatch.OnHotKey(kCtrlAltA, focus);
  ASSERT_EQ(host.played, std::vector<std::string>{"hello"});
  EXPECT_TRUE(host.playback_started_seen) << "playback started must be set before the macro plays";
  EXPECT_EQ(EndMarkers(), (std::vector<std::string>{"down", "up"}));
  EXPECT_EQ(engine.CurrentMacro, 1);

  // A code nobody uses in scope does nothing and shows nothing.
  host.played.clear();
  dispatch.OnHotKey(kCtrlAltA + 1, focus);
  EXPECT_TRUE(host.played.empty());
  EXPECT_TRUE(host.messages.empty());
  // Codes outside the table are ignored rather than looked up.
  dispatch.OnHotKey(9999, focus);
  EXPECT_TRUE(host.played.empty());
}

TEST_F(DispatchTest, APlaybackEndedByAnErrorStillSendsTheEndMarkerAndReportsTheError) {
  macros = {{1, "", kCtrlAltA, true, false, "hello"}};
  Load();
  host.play_throws = true;
  EXPECT_THROW(dispatch.OnHotKey(kCtrlAltA, desk.AddWindowInFront("Target")), std::runtime_error);
  EXPECT_EQ(EndMarkers(), (std::vector<std::string>{"down", "up"}));
}

TEST_F(DispatchTest, CapsLockBitSetsCapsLockWasOnOnlyBeforePlaybackStarted) {
  macros = {{1, "", kCtrlAltA, true, false, "x"}};
  Load();
  dispatch.OnHotKey(kCtrlAltA | kHotKeyCapsLockBit, 0);
  EXPECT_TRUE(engine.CapsLockWasOn);
  EXPECT_EQ(host.played.size(), 1u) << "the Caps Lock bit is not part of the code";

  // While a playback is marked started, the flag stays as it was.
  block.SetPlaybackStarted(true);
  dispatch.OnHotKey(kCtrlAltA, 0);
  EXPECT_TRUE(engine.CapsLockWasOn);
  block.SetPlaybackStarted(false);
  dispatch.OnHotKey(kCtrlAltA, 0);
  EXPECT_FALSE(engine.CapsLockWasOn);
}

TEST_F(DispatchTest, BusyStatesRefuseWithTheirTextsInOrderAndPauseResumes) {
  macros = {{1, "", kCtrlAltA, true, false, "a"},
            {1, "", kCtrlAltA + 1, true, false, "b"},
            {5, "3", 264, true, false, ""}};
  Load();
  state.PopupShown = true;
  block.SetCaptureActive(true);
  dispatch.OnHotKey(kCtrlAltA, 0);
  state.PopupShown = false;
  dispatch.OnHotKey(kCtrlAltA, 0);
  block.SetCaptureActive(false);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0], std::string("Warning|") + kPopupBusyText);
  EXPECT_EQ(host.messages[1], std::string("Warning|") + kCaptureBusyText);
  EXPECT_TRUE(host.played.empty());

  // During a pause the paused macro's own key and Resume Pause resume it,
  // anything else is refused.
  engine.PauseInProgress = true;
  engine.CurrentMacro = 1;
  dispatch.OnHotKey(kCtrlAltA, 0);
  dispatch.OnHotKey(264 | kHotKeyCapsLockBit, 0);
  dispatch.OnHotKey(kCtrlAltA + 1, 0);
  EXPECT_EQ(host.resumes, 2);
  EXPECT_EQ(host.messages.back(), std::string("Warning|") + kPauseBusyText);
  EXPECT_TRUE(host.played.empty());
  // Resuming with Caps Lock on hands the toggle back first.
  int caps = 0;
  for (const auto& e : desk.events)
    if (e.vk == 0x14) ++caps;
  EXPECT_EQ(caps, 2);
}

TEST_F(DispatchTest, SystemMacrosRunTheirFunctionAndMacroNumberFormIsBoundsChecked) {
  macros = {{5, "1", 262, true, false, ""},
            {5, "3", 264, true, false, ""},
            {5, "2", 263, false, false, ""},
            {1, "", 263, true, false, "global on an inactive system key"}};
  Load();
  dispatch.OnHotKey(262, 0);
  EXPECT_EQ(host.activate_me, 1);
  dispatch.OnHotKey(264, 0);  // Resume Pause outside a pause does nothing
  EXPECT_TRUE(host.played.empty());
  dispatch.OnHotKey(263, 0);  // an inactive system macro does not count
  EXPECT_EQ(host.captures, 0);
  EXPECT_EQ(host.played, std::vector<std::string>{"global on an inactive system key"});

  host.played.clear();
  host.read_numbers.clear();
  dispatch.OnHotKey(kHotKeyMacroNumberBit | kHotKeyBit12 | 4, 0);
  EXPECT_EQ(host.read_numbers, std::vector<int>{4});
  for (uint32_t bad : {0u, 5u, 0xFFFu}) dispatch.OnHotKey(kHotKeyMacroNumberBit | bad, 0);
  EXPECT_EQ(host.read_numbers, std::vector<int>{4});
}

TEST_F(DispatchTest, PopupMenuMacroOpensItsChooserAndPlaysTheChoice) {
  macros = {{4, "", kCtrlAltA, true, false, ""}, {1, "", 5, true, false, "chosen"}};
  Load();
  host.popup_choice = 2;
  dispatch.OnHotKey(kCtrlAltA, 0);
  EXPECT_TRUE(host.popup_flag_seen);
  EXPECT_FALSE(state.PopupShown);
  EXPECT_EQ(host.played, std::vector<std::string>{"chosen"});
  EXPECT_EQ(engine.CurrentMacro, 2);

  host.played.clear();
  dispatch.OnHotKey(kCtrlAltA, 0);  // cancelled chooser: nothing plays
  EXPECT_TRUE(host.played.empty());
}

TEST_F(DispatchTest, ACancelledChooserLeavesDispatchAsItFoundIt) {
  macros = {{4, "", kCtrlAltA, true, false, ""}, {1, "", 5, true, false, "entry"}};
  Load();
  host.chooser_target = 77;
  constexpr WindowHandle kFocus = 42;
  dispatch.OnHotKey(kCtrlAltA, kFocus);
  EXPECT_TRUE(host.played.empty());
  EXPECT_FALSE(state.PopupShown);
  EXPECT_EQ(engine.TargetWindow, kFocus);
  EXPECT_EQ(EndMarkers(), (std::vector<std::string>{"down", "up"}));

  // A chooser that fails clears the flag too: later hot keys are not
  // refused as if a menu were still shown.
  host.chooser_throws = true;
  EXPECT_THROW(dispatch.OnHotKey(kCtrlAltA, kFocus), std::runtime_error);
  EXPECT_FALSE(state.PopupShown);
}

TEST_F(DispatchTest, ActivateMeRefusalsInOrder) {
  EXPECT_FALSE(dispatch.ActivateMeRefusal().has_value());
  block.SetCaptureActive(true);
  EXPECT_EQ(dispatch.ActivateMeRefusal(), std::string(kActivateMeCaptureText));
  state.PopupShown = true;
  EXPECT_EQ(dispatch.ActivateMeRefusal(), std::string(kActivateMePopupText));
  engine.PauseInProgress = true;
  EXPECT_EQ(dispatch.ActivateMeRefusal(), std::string(kActivateMePauseText));
}

}  // namespace
}  // namespace qlx
