#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/list_operations.h"
#include "app/macro_removal.h"
#include "app/sort_order.h"
#include "fakes/list_host.h"
#include "fakes/macro_file_rig.h"

namespace qlx {
namespace {

using fake::FakeListHost;
using fake::HotKeyMacro;
using fake::MacroFileRig;
using fake::PopupMacro;
using fake::RecordingHooks;
using fake::RecordingLock;
using fake::SnapwordMacro;
using fake::TimedMacro;
using fake::WithSystemMacros;

constexpr uint16_t kCtrlAltA = 144;
constexpr uint16_t kCtrlAltB = 145;
constexpr uint16_t kCtrlAltC = 146;

class ListOperations : public ::testing::Test {
 protected:
  void Start(const std::vector<MacroRecord>& records) {
    rig_.Write(records);
    host_ = std::make_unique<FakeListHost>(rig_);
    host_->log.clear();
    ops_ = std::make_unique<MacroListOperations>(*rig_.file, rig_.boxes, lock_, hooks_, *host_, screen_saver_);
  }
  std::string FileBytes() const { return fake::ReadBytes(rig_.path); }

  MacroFileRig rig_{"listops"};
  RecordingLock lock_;
  RecordingHooks hooks_;
  bool screen_saver_ = true;
  std::unique_ptr<FakeListHost> host_;
  std::unique_ptr<MacroListOperations> ops_;
};

TEST_F(ListOperations, EveryOperationTellsWhyThereIsNothingToActOn) {
  // A file whose only macros are the system ones, then none selected.
  Start(WithSystemMacros({HotKeyMacro("a", kCtrlAltA)}));
  const std::vector<std::function<void()>> operations = {[&] { ops_->Copy(); }, [&] { ops_->Rename(); },
                                                         [&] { ops_->Remove(); }, [&] { ops_->Activate(); },
                                                         [&] { ops_->QuickInfo(); }};
  host_->selected_row = -1;
  for (const auto& op : operations) op();
  ASSERT_EQ(rig_.boxes.shown.size(), operations.size());
  for (const auto& [caption, text] : rig_.boxes.shown) {
    EXPECT_EQ(caption, "Error");
    EXPECT_EQ(text, "No hot key selected.  Please select one.");
  }
  rig_.boxes.shown.clear();
  rig_.block().SetMacroCount(0);
  for (const auto& op : operations) op();
  for (const auto& [caption, text] : rig_.boxes.shown)
    EXPECT_EQ(text, "No hot keys have been added yet.  Please add one first.");
  EXPECT_TRUE(lock_.log.empty());
  EXPECT_TRUE(host_->dialogs.empty());
}

TEST_F(ListOperations, RemovingAMacroThatMenusListRenumbersThemInTheSameReplacement) {
  // Macro 3 is listed by menu 1 (5, 3, 7); menu 2 lists 9.
  std::vector<MacroRecord> records = {PopupMacro("menu one", kCtrlAltB, {5, 3, 7}), PopupMacro("menu two", kCtrlAltC, {9}),
                                      HotKeyMacro("doomed", kCtrlAltA)};
  for (int i = 4; i <= 9; ++i) records.push_back(HotKeyMacro("m" + std::to_string(i), static_cast<uint16_t>(i)));
  Start(WithSystemMacros(records));
  host_->Select(3);
  rig_.boxes.answers = {true, true};
  ops_->Remove();

  ASSERT_EQ(rig_.boxes.asked.size(), 2u);
  EXPECT_EQ(rig_.boxes.asked[0], (std::pair<std::string, std::string>{"Delete",
                                                                      "Are you sure you want to remove \"Ctrl+Alt+A\"?"}));
  EXPECT_EQ(rig_.boxes.asked[1].first, "Delete");
  EXPECT_EQ(rig_.boxes.asked[1].second,
            "This macro is contained in a \"Popup Menu\".  It will be removed from the \"Popup Menu\".  Are you sure "
            "you want to remove \"Ctrl+Alt+A\"?");

  std::vector<MacroRecord> after = rig_.Records();
  ASSERT_EQ(after.size(), records.size() - 1 + 4);
  EXPECT_EQ(PopupMenuView(after[0]).Entries(), (std::vector<int>{4, 6}));
  EXPECT_EQ(PopupMenuView(after[1]).Entries(), (std::vector<int>{8}));
  EXPECT_EQ(after[2].Nickname(), "m4");
  EXPECT_EQ(rig_.block().ClampedCount(), 12);
  EXPECT_FALSE(std::filesystem::exists(rig_.file->TempName()));
  EXPECT_EQ(lock_.log, (std::vector<std::string>{"FileInUse", "Release(1)"}));
  EXPECT_EQ(host_->log, (std::vector<std::string>{"Load", "FillList", "SetHotKeys", "CheckTimeItem"}));
  EXPECT_EQ(hooks_.log, (std::vector<std::string>{"GetSwapFile"}));
}

TEST_F(ListOperations, AnsweringNoToEitherQuestionLeavesTheFileAsItWas) {
  Start(WithSystemMacros({PopupMacro("menu", kCtrlAltB, {2}), HotKeyMacro("listed", kCtrlAltA)}));
  const std::string before = FileBytes();
  for (std::deque<bool> answers : {std::deque<bool>{false}, std::deque<bool>{true, false}}) {
    rig_.boxes.asked.clear();
    lock_.log.clear();
    host_->Select(2);
    rig_.boxes.answers = answers;
    ops_->Remove();
    EXPECT_EQ(rig_.boxes.asked.size(), answers.size());
    EXPECT_EQ(FileBytes(), before);
    EXPECT_EQ(lock_.log, (std::vector<std::string>{"FileInUse", "Release(0)"}));
  }
}

TEST_F(ListOperations, RemoveAsksOnceForEachKindOfActivationAndSelectsTheSameRow) {
  Start(WithSystemMacros({HotKeyMacro("a", kCtrlAltA), SnapwordMacro("b", "sig"), TimedMacro("c")}));
  struct Case {
    int macro;
    const char* question;
  };
  // Rows are sorted: Ctrl+Alt+A, the system keys, then Snapword, then timed.
  for (const Case& c : {Case{3, "Are you sure you want to remove \"Timed Macro\"?"},
                        Case{2, "Are you sure you want to remove the Snapword \"sig\"?"},
                        Case{1, "Are you sure you want to remove \"Ctrl+Alt+A\"?"}}) {
    SCOPED_TRACE(c.macro);
    rig_.boxes.asked.clear();
    host_->Select(c.macro);
    const int row = host_->selected_row;
    rig_.boxes.answers = {true};
    ops_->Remove();
    ASSERT_EQ(rig_.boxes.asked.size(), 1u);
    EXPECT_EQ(rig_.boxes.asked[0].second, c.question);
    // The same row again, or the last one when the list got shorter.
    EXPECT_EQ(host_->selected_row, std::min(row, static_cast<int>(host_->rows.size()) - 1));
  }
  EXPECT_EQ(rig_.block().ClampedCount(), 4);
}

TEST_F(ListOperations, RemovingTheLastMacroSwitchesTheButtonsOff) {
  Start({HotKeyMacro("only", kCtrlAltA)});
  // Loading put the system macros behind it; a file holding just one user
  // macro is left once they are gone from the tables.
  rig_.block().SetMacroCount(1);
  host_->FillList();
  host_->Select(1);
  rig_.boxes.answers = {true};
  ops_->Remove();
  // The reload brings the system macros back: the list is never empty.
  EXPECT_EQ(rig_.block().ClampedCount(), 4);
  EXPECT_EQ(host_->selected_row, 0);
}

TEST_F(ListOperations, CopyingAHotKeyMacroToASnapwordAppendsTheCopy) {
  Start(WithSystemMacros({HotKeyMacro("source", kCtrlAltA)}));
  const MacroRecord source = rig_.Records()[0];
  host_->Select(1);
  host_->copy_or_move = [](MacroRecord& working) {
    ApplyCopyOrMove(CopyMoveChoice::Snapword, 0, "  ab  ", working, CivilDate{});
    return true;
  };
  ops_->Copy();

  EXPECT_EQ(host_->dialogs, std::vector<std::string>{"copy"});
  std::vector<MacroRecord> after = rig_.Records();
  ASSERT_EQ(after.size(), 6u);
  EXPECT_EQ(after[0].bytes(), source.bytes());
  EXPECT_EQ(after[5].Code(), kSnapwordCode);
  EXPECT_EQ(after[5].Snapword(), "ab");
  EXPECT_EQ(after[5].Nickname(), "source");
  EXPECT_EQ(after[5].Text(), source.Text());
  EXPECT_EQ(rig_.block().ClampedCount(), 6);
  EXPECT_EQ(host_->SelectedMacro(), 6);
  EXPECT_EQ(lock_.log, (std::vector<std::string>{"FileInUse", "Release(1)"}));
  EXPECT_EQ(host_->log.back(), "SetHotKeys");
}

TEST_F(ListOperations, CopyIsRefusedAtFiveHundredMacrosBeforeAnyDialog) {
  std::vector<MacroRecord> records;
  for (int i = 0; i < 496; ++i) records.push_back(HotKeyMacro("m", static_cast<uint16_t>(i % 700)));
  Start(WithSystemMacros(records));
  ASSERT_EQ(rig_.block().ClampedCount(), 500);
  host_->Select(1);
  ops_->Copy();
  EXPECT_EQ(rig_.boxes.shown,
            (std::vector<std::pair<std::string, std::string>>{
                {"Error", "Maximum number of hot keys has been reached.  Add not allowed."}}));
  EXPECT_TRUE(host_->dialogs.empty());
  EXPECT_TRUE(lock_.log.empty());
}

TEST_F(ListOperations, CancelledDialogsAndABusyLockChangeNothing) {
  Start(WithSystemMacros({HotKeyMacro("a", kCtrlAltA)}));
  const std::string before = FileBytes();
  host_->Select(1);
  ops_->Copy();
  ops_->Rename();
  EXPECT_EQ(host_->dialogs, (std::vector<std::string>{"copy", "move"}));
  EXPECT_EQ(lock_.log, (std::vector<std::string>{"FileInUse", "Release(0)", "FileInUse", "Release(0)"}));

  // Another machine holds the file: no dialog opens, nothing is released.
  lock_.log.clear();
  host_->dialogs.clear();
  lock_.in_use = true;
  rig_.boxes.answers = {true};
  for (auto op : {&MacroListOperations::Copy, &MacroListOperations::Rename, &MacroListOperations::Remove,
                   &MacroListOperations::Activate})
    ((*ops_).*op)();
  EXPECT_TRUE(host_->dialogs.empty());
  EXPECT_TRUE(rig_.boxes.asked.empty());
  EXPECT_EQ(lock_.log, std::vector<std::string>(4, "FileInUse"));
  EXPECT_EQ(FileBytes(), before);
}

TEST_F(ListOperations, RenameRewritesTheMacroInPlace) {
  Start(WithSystemMacros({HotKeyMacro("a", kCtrlAltA), TimedMacro("t")}));
  host_->Select(1);
  host_->copy_or_move = [](MacroRecord& working) {
    working.SetCode(kCtrlAltC);
    return true;
  };
  ops_->Rename();
  std::vector<MacroRecord> after = rig_.Records();
  ASSERT_EQ(after.size(), 6u);
  EXPECT_EQ(after[0].Code(), kCtrlAltC);
  EXPECT_EQ(rig_.block().Code(1), kCtrlAltC);
  EXPECT_EQ(host_->SelectedMacro(), 1);
  EXPECT_EQ(lock_.log.back(), "Release(1)");

  // A timed macro moved to a hot key leaves the schedule; one moved to timed
  // joins it and may switch the screen saver off.
  hooks_.log.clear();
  host_->Select(2);
  ops_->Rename();
  EXPECT_EQ(hooks_.log, std::vector<std::string>{"CheckAndSetTime"});
  hooks_.log.clear();
  host_->copy_or_move = [](MacroRecord& working) {
    ApplyCopyOrMove(CopyMoveChoice::Timed, 0, "", working, CivilDate{});
    return true;
  };
  ops_->Rename();
  EXPECT_EQ(hooks_.log, (std::vector<std::string>{"CheckAndSetTime", "CheckForScreenSaver"}));
}

TEST_F(ListOperations, RenamingASystemMacroOpensTheSystemHotKeysWithItsDigit) {
  Start(WithSystemMacros({HotKeyMacro("a", kCtrlAltA)}));
  host_->Select(4);  // "Resume Pause"
  ops_->Rename();
  host_->system_confirmed = true;
  ops_->Rename();
  EXPECT_EQ(host_->dialogs, (std::vector<std::string>{"system 3", "system 3"}));
  EXPECT_EQ(lock_.log, (std::vector<std::string>{"FileInUse", "Release(0)", "FileInUse", "Release(1)"}));
}

TEST_F(ListOperations, SystemHotKeysFromTheMenuKeepTheSelectionAndRebuildTheHotKeys) {
  Start(WithSystemMacros({HotKeyMacro("a", kCtrlAltA), HotKeyMacro("b", kCtrlAltB)}));
  host_->Select(2);
  ops_->EditSystemHotKeys();
  EXPECT_EQ(lock_.log, (std::vector<std::string>{"FileInUse", "Release(0)"}));
  EXPECT_TRUE(host_->log.empty());
  host_->system_confirmed = true;
  ops_->EditSystemHotKeys();
  EXPECT_EQ(host_->dialogs, (std::vector<std::string>{"system 1", "system 1"}));
  EXPECT_EQ(lock_.log.back(), "Release(1)");
  EXPECT_EQ(host_->log, (std::vector<std::string>{"FillList", "CheckTimeItem", "SetHotKeys"}));
  EXPECT_EQ(host_->SelectedMacro(), 2);
}

TEST_F(ListOperations, ActivateFlipsTheFlagInFileAndTables) {
  Start(WithSystemMacros({HotKeyMacro("a", kCtrlAltA), TimedMacro("t")}));
  const size_t active_at = mr::kActive;
  host_->Select(1);
  ops_->Activate();
  EXPECT_FALSE(rig_.block().Active(1));
  EXPECT_EQ(static_cast<uint8_t>(FileBytes()[active_at]), 0);
  EXPECT_EQ(host_->log, (std::vector<std::string>{"CheckTimeItem", "SetHotKeys", "RepaintList"}));
  ops_->Activate();
  EXPECT_TRUE(rig_.block().Active(1));
  EXPECT_EQ(static_cast<uint8_t>(FileBytes()[active_at]), 1);
  EXPECT_EQ(lock_.log, (std::vector<std::string>{"FileInUse", "Release(1)", "FileInUse", "Release(1)"}));

  // A timed macro that becomes active again checks the screen saver.
  host_->Select(2);
  ops_->Activate();
  EXPECT_EQ(hooks_.log, std::vector<std::string>{"CheckAndSetTime"});
  ops_->Activate();
  EXPECT_EQ(hooks_.log, (std::vector<std::string>{"CheckAndSetTime", "CheckAndSetTime", "CheckForScreenSaver"}));
}

TEST_F(ListOperations, QuickInfoReadsTheSelectedRecord) {
  Start(WithSystemMacros({HotKeyMacro("first", kCtrlAltB), HotKeyMacro("second", kCtrlAltA)}));
  host_->selected_row = 0;  // Ctrl+Alt+A sorts first
  ops_->QuickInfo();
  EXPECT_EQ(host_->dialogs, std::vector<std::string>{"quick info second"});
  EXPECT_TRUE(lock_.log.empty());
}

TEST(PopupMenuRecord, RemovalTakesEveryEntryOfTheMacroAndMovesTheHigherOnesDown) {
  struct Case {
    std::vector<int> menu;
    int removed;
    std::vector<int> after;
    bool changed;
  };
  const std::vector<Case> cases = {
      {{5, 3, 7}, 3, {4, 6}, true},
      {{9}, 3, {8}, true},
      {{1, 2}, 3, {1, 2}, false},
      {{3, 3, 4}, 3, {3}, true},  // a second entry of the macro would point at its successor
      {{}, 3, {}, false},
  };
  for (const Case& c : cases) {
    MacroRecord r = PopupMacro("m", 1, c.menu);
    EXPECT_EQ(RenumberMenuForRemoval(r, c.removed), c.changed);
    EXPECT_EQ(PopupMenuView(r).Entries(), c.after);
  }
  // Only popup-menu records hold menus.
  MacroRecord plain = HotKeyMacro("p", 1);
  SetMenuEntries(plain, {5});
  const MacroRecord before = plain;
  EXPECT_FALSE(RenumberMenuForRemoval(plain, 3));
  EXPECT_EQ(plain.bytes(), before.bytes());
  EXPECT_FALSE(MenuListsMacro(plain, 5));
}

}  // namespace
}  // namespace qlx
