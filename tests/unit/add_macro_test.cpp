#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "activation/schedule_form.h"
#include "editor/add_macro.h"
#include "editor/script_model.h"
#include "fakes/macro_file_rig.h"

namespace qlx::editor {
namespace {

using fake::HotKeyMacro;
using fake::PopupMacro;
using fake::SnapwordMacro;
using fake::TablesRig;
using fake::TimedMacro;
using fake::WithSystemMacros;

constexpr int kCtrlAltA = 144;
constexpr int kCtrlAltB = 145;
constexpr int kCtrlAltC = 146;
constexpr int kWinD = 557;
constexpr int kWinR = 571;

// ---- What each type shows

TEST(AddMacroTypes, EachTypeShowsItsControlsButtonsAndClientHeight) {
  const AddFeatures all{true, true, true};
  struct Case {
    MacroType type;
    bool hot_keys, snapword, enter, capture, script;
    std::string_view enter_caption;
    int height;
  };
  for (const Case& c : {Case{MacroType::HotKey, true, false, true, true, true, "&Enter Directly", 419},
                        Case{MacroType::PopupMenu, true, false, true, false, false, "Build Menu", 419},
                        Case{MacroType::Snapword, false, true, true, true, true, "&Enter Directly", 160},
                        Case{MacroType::Timed, false, false, true, false, true, "&Enter Directly", 129}}) {
    SCOPED_TRACE(static_cast<int>(c.type));
    const AddTypeView v = ViewOfType(c.type, all);
    EXPECT_EQ(v.hot_key_controls, c.hot_keys);
    EXPECT_EQ(v.snapword_controls, c.snapword);
    EXPECT_EQ(v.enter_enabled, c.enter);
    EXPECT_EQ(v.capture_enabled, c.capture);
    EXPECT_EQ(v.script_enabled, c.script);
    EXPECT_EQ(v.enter_caption, c.enter_caption);
    EXPECT_EQ(v.client_height, c.height);
  }
}

TEST(AddMacroTypes, FeaturesNotYetBuiltStayGreyed) {
  const AddFeatures none;
  EXPECT_TRUE(TypeOffered(MacroType::HotKey, none));
  EXPECT_TRUE(TypeOffered(MacroType::Snapword, none));
  EXPECT_FALSE(TypeOffered(MacroType::Timed, none));
  EXPECT_FALSE(TypeOffered(MacroType::PopupMenu, none));
  EXPECT_FALSE(ViewOfType(MacroType::HotKey, none).capture_enabled);
  EXPECT_FALSE(ViewOfType(MacroType::Snapword, none).capture_enabled);
  EXPECT_TRUE(ViewOfType(MacroType::HotKey, none).enter_enabled);
  EXPECT_TRUE(ViewOfType(MacroType::HotKey, none).script_enabled);
  EXPECT_TRUE(TypeOffered(MacroType::Timed, {false, true, false}));
  EXPECT_TRUE(TypeOffered(MacroType::PopupMenu, {false, false, true}));
}

TEST(AddMacroTypes, EveryShownControlFitsItsTypesClientArea) {
  const AddMacroLayout l = LayoutAddMacro();
  auto bottom = [](const Box& b) { return b.top + b.height; };
  auto right = [](const Box& b) { return b.left + b.width; };
  const AddFeatures all{true, true, true};
  for (MacroType t : {MacroType::HotKey, MacroType::Snapword, MacroType::Timed, MacroType::PopupMenu}) {
    SCOPED_TRACE(static_cast<int>(t));
    const AddTypeView v = ViewOfType(t, all);
    std::vector<Box> shown = {l.type_group, l.hot_key, l.snapword, l.timed, l.popup,
                              l.enter,      l.capture, l.script,   l.abort};
    if (v.hot_key_controls) shown.insert(shown.end(), {l.entry_label, l.entry, l.list_label, l.list});
    if (v.snapword_controls) shown.insert(shown.end(), {l.snapword_label, l.snapword_field});
    for (const Box& b : shown) {
      EXPECT_GT(b.width, 0);
      EXPECT_GT(b.height, 0);
      EXPECT_LE(bottom(b), v.client_height);
      EXPECT_LE(right(b), kAddMacroClientWidth);
    }
  }
  // The list is the tallest part and is not cut short.
  EXPECT_GE(l.list.height, 10 * kHotKeyRowHeight);
}

// ---- The hot-key list and the use table

TEST(AddMacroHotKeys, UseTableHoldsKeysOfGlobalPopupAndSystemMacrosOnly) {
  TablesRig rig(WithSystemMacros({HotKeyMacro("g", kCtrlAltA), HotKeyMacro("w", kCtrlAltB, kScopeWindow),
                                  PopupMacro("m", kCtrlAltC, {1}), HotKeyMacro("p", 150, kScopeProgram),
                                  SnapwordMacro("s", "sig"), TimedMacro("t")}));
  const HotKeyUse use = HotKeyUseTable(rig.block);
  std::set<int> codes;
  for (int c = 0; c < kHotKeyCodes; ++c)
    if (use.test(static_cast<size_t>(c))) codes.insert(c);
  // The four system macros hold Ctrl+Alt+Shift+W to Z.
  EXPECT_EQ(codes, (std::set<int>{kCtrlAltA, kCtrlAltC, 262, 263, 264, 265}));
}

TEST(AddMacroHotKeys, MacrosExistOnlyBesideTheSystemOnes) {
  EXPECT_FALSE(MacrosExist(TablesRig(WithSystemMacros({})).block));
  EXPECT_FALSE(MacrosExist(TablesRig().block));
  EXPECT_TRUE(MacrosExist(TablesRig(WithSystemMacros({TimedMacro("t")})).block));
}

TEST(AddMacroHotKeys, RowsSplitIntoNameAndUsageWithoutParentheses) {
  struct Case {
    std::string row, name, usage;
  };
  for (const Case& c : {Case{"Ctrl+Alt+A  (Not in Use)", "Ctrl+Alt+A", "Not in Use"},
                        Case{"Ctrl+Alt+B  (1 macro in use)", "Ctrl+Alt+B", "1 macro in use"},
                        Case{"Win+D  (2 macros in use)", "Win+D", "2 macros in use"},
                        Case{"Ctrl+(", "Ctrl+(", ""}}) {
    const HotKeyRowColumns cols = SplitHotKeyRow(c.row);
    EXPECT_EQ(cols.name, c.name);
    EXPECT_EQ(cols.usage, c.usage);
  }
  EXPECT_EQ(UsageColumnLeft(420), 252);
}

// ---- The action buttons' checks, in order

struct CheckCase {
  const char* what;
  MacroType type;
  AddAction action;
  std::optional<int> code;
  std::string snapword;
  bool macros_exist;
  AddVerdict::Kind kind;
  std::string text;
  bool focus_snapword = false;
};

TEST(AddMacroChecks, EachRefusalAndQuestionInItsOrder) {
  HotKeyUse in_use;
  in_use.set(kCtrlAltA);
  in_use.set(kWinD);
  const std::string none = "No hot key selected.  Please select one.";
  const std::string win_d = "Win+D may be used internally by Windows 95, 98 or NT.  This may cause the hot key not "
                            "to function correctly. Would you still like to use Win+D?";
  using K = AddVerdict::Kind;
  const CheckCase cases[] = {
      {"hot key: none chosen", MacroType::HotKey, AddAction::EnterDirectly, std::nullopt, "", true, K::Refuse, none},
      {"hot key: same for the script editor", MacroType::HotKey, AddAction::ScriptingEditor, std::nullopt, "", true,
       K::Refuse, none},
      {"hot key: in use globally is still allowed", MacroType::HotKey, AddAction::EnterDirectly, kCtrlAltA, "", true,
       K::Accept, ""},
      {"hot key: reserved asks", MacroType::HotKey, AddAction::ScriptingEditor, kWinD, "", true, K::AskReserved,
       win_d},
      {"hot key: capture checks too", MacroType::HotKey, AddAction::CaptureMacro, kWinR, "", true, K::AskReserved,
       "Win+R may be used internally by Windows 95, 98 or NT.  This may cause the hot key not to function "
       "correctly. Would you still like to use Win+R?"},
      {"snapword: empty", MacroType::Snapword, AddAction::EnterDirectly, std::nullopt, "   ", true, K::Refuse,
       "No Snapword name entered.", true},
      {"snapword: given", MacroType::Snapword, AddAction::ScriptingEditor, std::nullopt, " ab ", true, K::Accept, ""},
      {"timed: nothing to check", MacroType::Timed, AddAction::EnterDirectly, std::nullopt, "", false, K::Accept, ""},
      {"menu: no macros first", MacroType::PopupMenu, AddAction::EnterDirectly, std::nullopt, "", false, K::Refuse,
       "No macros have been defined yet.  A popup menu is created with existing macros."},
      {"menu: then a key", MacroType::PopupMenu, AddAction::EnterDirectly, std::nullopt, "", true, K::Refuse, none},
      {"menu: a global key is refused", MacroType::PopupMenu, AddAction::EnterDirectly, kCtrlAltA, "", true,
       K::Refuse, "Selected Hot Key is already either a GLOBAL or Popup Menu Hot Key.  Hot Key cannot be added."},
      {"menu: in-use before reserved", MacroType::PopupMenu, AddAction::EnterDirectly, kWinD, "", true, K::Refuse,
       "Selected Hot Key is already either a GLOBAL or Popup Menu Hot Key.  Hot Key cannot be added."},
      {"menu: reserved and free asks", MacroType::PopupMenu, AddAction::EnterDirectly, kWinR, "", true,
       K::AskReserved,
       "Win+R may be used internally by Windows 95, 98 or NT.  This may cause the hot key not to function "
       "correctly. Would you still like to use Win+R?"},
      {"menu: a free key", MacroType::PopupMenu, AddAction::EnterDirectly, kCtrlAltB, "", true, K::Accept, ""},
  };
  for (const CheckCase& c : cases) {
    SCOPED_TRACE(c.what);
    const AddVerdict v = CheckAddAction(c.type, c.action, c.code, c.snapword, in_use, c.macros_exist);
    EXPECT_EQ(v.kind, c.kind);
    EXPECT_EQ(v.text, c.text);
    EXPECT_EQ(v.focus_snapword, c.focus_snapword);
  }
}

// ---- The activation handed to the editor

TEST(AddMacroRecord, EachTypeGivesTheRecordItsActivation) {
  struct Case {
    MacroType type;
    int code;
    std::string snapword;
    uint16_t want_code;
    std::string want_snapword;
  };
  for (const Case& c : {Case{MacroType::HotKey, kCtrlAltB, "ignored", kCtrlAltB, ""},
                        Case{MacroType::PopupMenu, kCtrlAltC, "", kCtrlAltC, ""},
                        Case{MacroType::Snapword, 0, "  ab  ", kSnapwordCode, "ab"},
                        Case{MacroType::Snapword, 0, "abcdefghijkl", kSnapwordCode, "abcdefghij"},
                        Case{MacroType::Timed, 0, "", kTimedCode, ""}}) {
    SCOPED_TRACE(c.snapword);
    MacroRecord r;
    r.SetSnapword("old");
    PrepareAddedMacro(r, c.type, c.code, c.snapword, CivilDate{1998, 3, 30, 2});
    EXPECT_EQ(r.Code(), c.want_code);
    EXPECT_EQ(r.Snapword(), c.want_snapword);
    // Only a timed macro is given a schedule.
    EXPECT_EQ(r.ScheduleKind(), c.type == MacroType::Timed ? kScheduleDaily : 0);
  }
}

TEST(AddMacroRecord, ANewTimedMacroRunsDailyAtNoonUntilItsScheduleIsSet) {
  MacroRecord r;
  PrepareAddedMacro(r, MacroType::Timed, 0, "", CivilDate{1998, 3, 30, 2});
  EXPECT_EQ(GetSched(r), "Daily at 12:00PM,Sun,Mon,Tue,Wed,Thu,Fri,Sat");
  EXPECT_EQ(r.Interval(), 15);
  EXPECT_EQ(r.MinutePastHour(), 15);
  EXPECT_EQ(r.Weekday(), 2);
  EXPECT_EQ((std::array<int, 3>{r.Year(), r.Month(), r.Day()}), (std::array<int, 3>{1998, 3, 30}));
}

TEST(AddMacroRecord, OnlyAHotKeyHeldGloballyKeepsTheEditorOffGlobal) {
  HotKeyUse in_use;
  in_use.set(kCtrlAltA);
  EXPECT_TRUE(GlobalNotAllowed(MacroType::HotKey, kCtrlAltA, in_use));
  EXPECT_FALSE(GlobalNotAllowed(MacroType::HotKey, kCtrlAltB, in_use));
  EXPECT_FALSE(GlobalNotAllowed(MacroType::Snapword, kCtrlAltA, in_use));
  EXPECT_FALSE(GlobalNotAllowed(MacroType::HotKey, -1, in_use));
  EXPECT_FALSE(GlobalNotAllowed(MacroType::HotKey, kHotKeyCodes, in_use));
}

TEST(AddMacroRecord, CaptureTitleNamesTheSnapwordOrTheKey) {
  EXPECT_EQ(CaptureTitle(MacroType::Snapword, 0, " sig "), "Snapword: sig");
  EXPECT_EQ(CaptureTitle(MacroType::HotKey, kCtrlAltA, ""), "Ctrl+Alt+A");
}

// ---- The wizard

TEST(ScriptingWizard, TasksAddTheirCommandsInOrder) {
  std::vector<int> commands;
  for (const WizardTask& t : kWizardTasks) commands.push_back(WizardCommand(t));
  EXPECT_EQ(commands, (std::vector<int>{cmd::kText, cmd::kMouseMove, cmd::kActivateOrLaunch, cmd::kWebSite, cmd::kDate,
                                        cmd::kTime, cmd::kPause, cmd::kRemark, cmd::kKeystrokeSpeed, cmd::kDelay,
                                        cmd::kResizeWindow, cmd::kMinimizeWindow, cmd::kClipboardFileCopy,
                                        cmd::kSoundWaveFile, cmd::kChangeDirectory, cmd::kRepeatStart}));
  EXPECT_EQ(WizardCommand({"&Nothing", "No Such Command"}), 0);
}

TEST(ScriptingWizard, EachTaskUnderlinesItsOwnAltKey) {
  // The letter after "&" in each label, then Exit's and Help's.
  std::string keys;
  for (const WizardTask& t : kWizardTasks) {
    const size_t amp = t.label.find('&');
    ASSERT_NE(amp, std::string_view::npos) << t.label;
    keys += static_cast<char>(std::toupper(static_cast<unsigned char>(t.label[amp + 1])));
  }
  EXPECT_EQ(keys, "EKAWDTPNSIZMCYFL");
  keys += "XH";
  EXPECT_EQ(std::set<char>(keys.begin(), keys.end()).size(), keys.size());
}

}  // namespace
}  // namespace qlx::editor
