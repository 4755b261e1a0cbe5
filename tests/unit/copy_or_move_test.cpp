#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "activation/snapwords.h"
#include "store/hotkey_table.h"
#include "app/copy_or_move.h"
#include "capture/capture_complete.h"
#include "fakes/macro_file_rig.h"

namespace qlx {
namespace {

using fake::HotKeyMacro;
using fake::PopupMacro;
using fake::SnapwordMacro;
using fake::SystemMacroRecord;
using fake::TablesRig;
using fake::TimedMacro;
using Kind = CopyMoveCheck::Kind;
using Field = CopyMoveCheck::Field;

constexpr char kNoSnapword[] = "No Snapword name was entered.";
constexpr char kBadSnapword[] =
    "The Snapword name has invalid characters in it.  Valid characters are A - Z, a - z, 0 - 9 and "
    "' ! @ # $ % ^ & _ = < > ? . ; , * - / +";

constexpr uint16_t kCtrlAltA = 144;
constexpr uint16_t kCtrlAltB = 145;
constexpr uint16_t kCtrlAltC = 146;

TEST(CopyOrMove, OnlyGlobalAndPopupMacrosTakeAKeyForThemselves) {
  TablesRig rig({HotKeyMacro("win", kCtrlAltA, kScopeWindow, "Pad"), HotKeyMacro("prog", kCtrlAltA, kScopeProgram, "x"),
                 PopupMacro("menu", kCtrlAltB, {1}), HotKeyMacro("global", kCtrlAltC, kScopeGlobal, "", false),
                 SystemMacroRecord(1)});
  EXPECT_FALSE(TakenByGlobalOrPopup(rig.block, kCtrlAltA, 0));
  EXPECT_TRUE(TakenByGlobalOrPopup(rig.block, kCtrlAltB, 0));
  EXPECT_TRUE(TakenByGlobalOrPopup(rig.block, kCtrlAltC, 0));  // inactive or not
  EXPECT_FALSE(TakenByGlobalOrPopup(rig.block, 262, 0));       // system keys are the System Hot Keys' affair
  // The macro being moved does not stand in its own way.
  EXPECT_FALSE(TakenByGlobalOrPopup(rig.block, kCtrlAltC, 4));
  EXPECT_TRUE(TakenByGlobalOrPopup(rig.block, kCtrlAltC, 1));
}

TEST(CopyOrMove, CaptionAndLabelNameTheModeAndTheActivation) {
  EXPECT_EQ(CopyMoveCaption(CopyMoveMode::Copy), "Copy Hot Key");
  EXPECT_EQ(CopyMoveCaption(CopyMoveMode::Move), "Move Hot Key");
  EXPECT_EQ(CopyMoveLabel(CopyMoveMode::Copy, kTimedCode, ""), "COPY Timed Macro TO");
  EXPECT_EQ(CopyMoveLabel(CopyMoveMode::Move, kSnapwordCode, "sig"), "MOVE sig TO");
  EXPECT_EQ(CopyMoveLabel(CopyMoveMode::Copy, kCtrlAltA, "ignored"), "COPY Ctrl+Alt+A TO");
  EXPECT_EQ(InitialChoice(kTimedCode), CopyMoveChoice::Timed);
  EXPECT_EQ(InitialChoice(kSnapwordCode), CopyMoveChoice::Snapword);
  EXPECT_EQ(InitialChoice(kCtrlAltA), CopyMoveChoice::HotKey);
}

TEST(CopyOrMove, SnapwordChoiceIsTrimmedAndChecked) {
  TablesRig rig({HotKeyMacro("a", kCtrlAltA)});
  struct Case {
    const char* field;
    Kind kind;
    const char* text;
  };
  const std::vector<Case> cases = {
      {"  ab  ", Kind::Accept, ""},
      {"x!#$%&*+,-", Kind::Accept, ""},
      {"./;<=>?@^_", Kind::Accept, ""},
      {"", Kind::Refuse, kNoSnapword},
      {"    ", Kind::Refuse, kNoSnapword},
      {"a:b", Kind::Refuse, kBadSnapword},
      {"a b", Kind::Refuse, kBadSnapword},  // inner blanks stay and are refused
      {"it's", Kind::Refuse, kBadSnapword},
      {"\"q\"", Kind::Refuse, kBadSnapword},
      {"(x)", Kind::Refuse, kBadSnapword},
      {"[x]", Kind::Refuse, kBadSnapword},
      {"a\\b", Kind::Refuse, kBadSnapword},
      {"`{|}~", Kind::Refuse, kBadSnapword},
      {"caf\xe9", Kind::Refuse, kBadSnapword},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    for (CopyMoveMode mode : {CopyMoveMode::Copy, CopyMoveMode::Move}) {
      CopyMoveCheck check =
          CheckCopyOrMove(mode, CopyMoveChoice::Snapword, std::nullopt, c.field, kScopeGlobal, rig.block, 0);
      EXPECT_EQ(check.kind, c.kind);
      EXPECT_EQ(check.text, c.text);
      if (c.kind == Kind::Refuse) {
        EXPECT_EQ(check.caption, "Error");
        EXPECT_EQ(check.focus, Field::Snapword);
      }
    }
  }
  // The record gets the trimmed word and the Snapword code.
  MacroRecord r = HotKeyMacro("a", kCtrlAltA);
  ApplyCopyOrMove(CopyMoveChoice::Snapword, 0, "  ab  ", r, CivilDate{});
  EXPECT_EQ(r.Code(), kSnapwordCode);
  EXPECT_EQ(r.Snapword(), "ab");
}

TEST(CopyOrMove, AHotKeyTakenByAGlobalOrPopupMacroIsRefusedToGlobalAndPopupMacros) {
  // Ctrl+Alt+A: a global macro. Ctrl+Alt+B: a popup menu. Ctrl+Alt+C: a
  // window macro only.
  TablesRig rig({HotKeyMacro("g", kCtrlAltA), PopupMacro("menu", kCtrlAltB, {1}),
                 HotKeyMacro("w", kCtrlAltC, kScopeWindow, "Pad")});
  const std::string copy_refusal =
      "A \"GLOBAL\" or \"POPUP MENU\" hot key already exists for this selection. The \"COPY\" did not take place.";
  const std::string move_refusal =
      "A \"GLOBAL\" or \"POPUP MENU\" hot key already exists for this selection. The \"MOVE\" did not take place.";
  struct Case {
    CopyMoveMode mode;
    int16_t scope;
    uint16_t code;
    std::string refusal;  // empty: accepted
  };
  const std::vector<Case> cases = {
      {CopyMoveMode::Copy, kScopeGlobal, kCtrlAltA, copy_refusal},
      {CopyMoveMode::Move, kScopeGlobal, kCtrlAltA, move_refusal},
      {CopyMoveMode::Move, kScopeGlobal, kCtrlAltB, move_refusal},
      {CopyMoveMode::Copy, kScopePopupMenu, kCtrlAltA, copy_refusal},
      {CopyMoveMode::Move, kScopeWindow, kCtrlAltA, ""},
      {CopyMoveMode::Copy, kScopeProgram, kCtrlAltB, ""},
      {CopyMoveMode::Copy, kScopeGlobal, kCtrlAltC, ""},
      {CopyMoveMode::Move, kScopeGlobal, 147, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.code) + " scope " + std::to_string(c.scope));
    CopyMoveCheck check = CheckCopyOrMove(c.mode, CopyMoveChoice::HotKey, c.code, "", c.scope, rig.block, 0);
    if (c.refusal.empty()) {
      EXPECT_EQ(check.kind, Kind::Accept);
    } else {
      EXPECT_EQ(check.kind, Kind::Refuse);
      EXPECT_EQ(check.caption, "Error");
      EXPECT_EQ(check.text, c.refusal);
      EXPECT_EQ(check.focus, Field::HotKeyList);
    }
  }
  // Moving the global macro onto its own key is no conflict.
  EXPECT_EQ(CheckCopyOrMove(CopyMoveMode::Move, CopyMoveChoice::HotKey, kCtrlAltA, "", kScopeGlobal, rig.block, 1)
                .kind,
            Kind::Accept);
}

TEST(CopyOrMove, HotKeyChoiceNeedsALineAndAsksBeforeAReservedKey) {
  TablesRig rig;
  for (std::optional<int> none : {std::optional<int>{}, std::optional<int>{-1}, std::optional<int>{720}}) {
    CopyMoveCheck check =
        CheckCopyOrMove(CopyMoveMode::Copy, CopyMoveChoice::HotKey, none, "", kScopeGlobal, rig.block, 0);
    EXPECT_EQ(check.kind, Kind::Refuse);
    EXPECT_EQ(check.text, "No hot key selected.  Please select one.");
  }
  for (int code : {89, 185, 233, 590, 557, 558, 559, 566, 571, 607}) {
    CopyMoveCheck check =
        CheckCopyOrMove(CopyMoveMode::Move, CopyMoveChoice::HotKey, code, "", kScopeWindow, rig.block, 0);
    EXPECT_EQ(check.kind, Kind::AskReserved) << code;
    EXPECT_EQ(check.caption, "Warning");
  }
  EXPECT_EQ(CheckCopyOrMove(CopyMoveMode::Copy, CopyMoveChoice::HotKey, 571, "", kScopeGlobal, rig.block, 0).text,
            "Win+R may be used internally by Windows 95, 98 or NT.  This may cause the hot key not to function "
            "correctly. Would you still like to use Win+R?");
  EXPECT_EQ(CheckCopyOrMove(CopyMoveMode::Copy, CopyMoveChoice::HotKey, 572, "", kScopeGlobal, rig.block, 0).kind,
            Kind::Accept);
  MacroRecord r = SnapwordMacro("s", "sig");
  ApplyCopyOrMove(CopyMoveChoice::HotKey, 571, "", r, CivilDate{});
  EXPECT_EQ(r.Code(), 571);
}

TEST(CopyOrMove, BecomingTimedSetsTheDefaultScheduleOnlyOnce) {
  const CivilDate today{2024, 3, 14, 5};
  MacroRecord r = HotKeyMacro("a", kCtrlAltA);
  EXPECT_EQ(
      CheckCopyOrMove(CopyMoveMode::Copy, CopyMoveChoice::Timed, std::nullopt, "", kScopeGlobal, TablesRig().block, 0)
          .kind,
      Kind::Accept);
  ApplyCopyOrMove(CopyMoveChoice::Timed, 0, "", r, today);
  EXPECT_EQ(r.Code(), kTimedCode);
  EXPECT_EQ(r.ScheduleKind(), kScheduleDaily);
  EXPECT_EQ(r.Hour(), 12);
  EXPECT_TRUE(r.Pm());
  EXPECT_EQ(r.Year(), 2024);
  EXPECT_EQ(r.Interval(), 15);

  // A macro that was timed keeps its own schedule.
  MacroRecord timed = TimedMacro("t");
  timed.SetScheduleKind(kScheduleHourly);
  timed.SetMinutePastHour(40);
  ApplyCopyOrMove(CopyMoveChoice::Timed, 0, "", timed, today);
  EXPECT_EQ(timed.ScheduleKind(), kScheduleHourly);
  EXPECT_EQ(timed.MinutePastHour(), 40);
}

}  // namespace
}  // namespace qlx
