// "Recapture Macro" and the captured macro's append, without a window.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "capture/capture_options.h"
#include "capture/recapture.h"
#include "fakes/macro_file_rig.h"

namespace qlx {
namespace {

using fake::HotKeyMacro;
using fake::MacroFileRig;
using fake::SnapwordMacro;
using fake::TablesRig;

constexpr uint16_t kCtrlAltA = 144;
constexpr uint16_t kCtrlAltB = 145;

TEST(RecaptureRefusal, EachStateAndItsMessage) {
  struct Case {
    const char* name;
    int count;
    int selected;
    bool recording;
    std::optional<std::string> refusal;
  };
  const std::vector<Case> cases = {
      {"empty list", 0, 0, false, kNoHotKeysYetText},
      {"empty list wins over no row", 0, 3, false, kNoHotKeysYetText},
      {"no row selected", 4, 0, false, kNoHotKeySelectedText},
      {"row past the count", 4, 5, false, kNoHotKeySelectedText},
      {"a capture still recording", 4, 2, true, kCaptureInProgressText},
      {"allowed", 4, 2, false, std::nullopt},
      {"last macro allowed", 4, 4, false, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(RecaptureRefusal(c.count, c.selected, c.recording), c.refusal) << c.name;
}

TEST(GlobalTriggerTaken, HotKeyMacros) {
  TablesRig rig({HotKeyMacro("global a", kCtrlAltA), HotKeyMacro("window a", kCtrlAltA, kScopeWindow, "Notepad"),
                 HotKeyMacro("program b", kCtrlAltB, kScopeProgram, "calc.exe"),
                 HotKeyMacro("inactive global b", kCtrlAltB, kScopeGlobal, "", false),
                 HotKeyMacro("program a", kCtrlAltA, kScopeProgram, "calc.exe"),
                 HotKeyMacro("window c", kCtrlAltB + 1, kScopeWindow, "Notepad")});
  struct Case {
    int macro;
    bool taken;
    const char* why;
  };
  for (const Case& c : std::vector<Case>{
           {1, false, "a GLOBAL macro itself keeps its choice"},
           {2, true, "a window macro sharing a GLOBAL macro's key"},
           {5, true, "a program macro sharing a GLOBAL macro's key"},
           {3, true, "an inactive GLOBAL macro on the key counts: it may be activated"},
           {6, false, "no GLOBAL macro on its key"},
           {0, false, "no macro"},
           {7, false, "past the count"},
       })
    EXPECT_EQ(GlobalTriggerTaken(rig.block, *rig.names, c.macro), c.taken) << c.why;
}

TEST(GlobalTriggerTaken, SnapwordMacrosCompareTheirWords) {
  TablesRig rig({SnapwordMacro("global sig", "sig"), SnapwordMacro("window SIG", "SIG", kScopeWindow),
                 SnapwordMacro("window addr", "addr", kScopeWindow)});
  EXPECT_TRUE(GlobalTriggerTaken(rig.block, *rig.names, 2)) << "same word in another case";
  EXPECT_FALSE(GlobalTriggerTaken(rig.block, *rig.names, 3)) << "another word on the shared code";
}

TEST(AppendMacroRecord, AppendsAsTheNextNumberAndFillsTheTables) {
  MacroFileRig rig("recapture");
  rig.Write(fake::WithSystemMacros({HotKeyMacro("first", kCtrlAltA), HotKeyMacro("second", kCtrlAltB)}));
  ASSERT_EQ(rig.block().ClampedCount(), 6);
  MacroRecord captured = QuickCaptureRecord();
  captured.SetText("typed");
  ASSERT_EQ(AppendMacroRecord(*rig.file, captured), 7);
  EXPECT_EQ(rig.block().ClampedCount(), 7);
  EXPECT_EQ(rig.block().Code(7), kSnapwordCode);
  EXPECT_EQ(rig.tables.names->Snapword(7), kQuickCaptureSnapword);
  const std::vector<MacroRecord> on_disk = rig.Records();
  ASSERT_EQ(on_disk.size(), 7u);
  EXPECT_EQ(on_disk[6].Nickname(), kQuickCaptureNickname);
  EXPECT_EQ(on_disk[6].Text(), "typed");
  EXPECT_EQ(on_disk[0].Nickname(), "first");
}

TEST(AppendMacroRecord, AFileThatCannotBeWrittenKeepsTheCount) {
  MacroFileRig rig("recapture");
  rig.Write(fake::WithSystemMacros({HotKeyMacro("first", kCtrlAltA)}));
  rig.file->SetName((rig.dir / "missing-folder" / "QUILX.QLX").string());
  EXPECT_EQ(AppendMacroRecord(*rig.file, QuickCaptureRecord()), 0);
  EXPECT_EQ(rig.block().ClampedCount(), 5);
}

TEST(AppendMacroRecord, FiveHundredMacrosLeaveNoRoom) {
  MacroFileRig rig("recapture");
  rig.Write(fake::WithSystemMacros({HotKeyMacro("first", kCtrlAltA)}));
  rig.block().SetMacroCount(kMaxMacros);
  EXPECT_EQ(AppendMacroRecord(*rig.file, QuickCaptureRecord()), 0);
  EXPECT_EQ(rig.block().ClampedCount(), kMaxMacros);
  EXPECT_EQ(rig.Records().size(), 5u);
}

}  // namespace
}  // namespace qlx
