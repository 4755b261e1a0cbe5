#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/edit_operations.h"
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

std::string Bytes(const MacroRecord& r) {
  return std::string(reinterpret_cast<const char*>(r.data()), MacroRecord::kSize);
}

// The add dialog and the editors, acting from a script on the record.
class ScriptedDialogs : public IEditDialogs {
 public:
  EditOutcome RunAddMacro(int new_macro, MacroRecord& working) override {
    calls.push_back("add " + std::to_string(new_macro));
    return add ? add(working) : EditOutcome{};
  }
  bool RunEditor(EditorKind kind, MacroRecord& working, bool global_not_allowed) override {
    calls.push_back(std::string(kind == EditorKind::Direct ? "direct " : "script ") + working.Nickname() +
                    (global_not_allowed ? " no-global" : ""));
    return edit ? edit(working) : false;
  }
  EditOutcome RunMenuBuilder(MacroRecord& working, const std::string& title) override {
    calls.push_back("menu " + working.Nickname() + " " + title);
    return menu ? menu(working) : EditOutcome{};
  }
  std::vector<std::string> calls;
  std::function<EditOutcome(MacroRecord&)> add;
  std::function<bool(MacroRecord&)> edit;
  std::function<EditOutcome(MacroRecord&)> menu;
};

class EditOperations : public ::testing::Test {
 protected:
  void Start(const std::vector<MacroRecord>& records) {
    rig_.Write(records);
    host_ = std::make_unique<FakeListHost>(rig_);
    host_->log.clear();
    list_ops_ = std::make_unique<MacroListOperations>(*rig_.file, rig_.boxes, lock_, hooks_, *host_, screen_saver_);
    ops_ = std::make_unique<MacroEditOperations>(*rig_.file, rig_.boxes, lock_, hooks_, *host_, dialogs_, *list_ops_,
                                                 screen_saver_);
  }
  std::string FileBytes() const { return fake::ReadBytes(rig_.path); }
  int SelectedMacro() const { return host_->SelectedMacro(); }

  MacroFileRig rig_{"editops"};
  RecordingLock lock_;
  RecordingHooks hooks_;
  ScriptedDialogs dialogs_;
  bool screen_saver_ = true;
  std::unique_ptr<FakeListHost> host_;
  std::unique_ptr<MacroListOperations> list_ops_;
  std::unique_ptr<MacroEditOperations> ops_;
};

// ---- Add

TEST_F(EditOperations, AddAppendsTheAcceptedMacroCountsItInAndSelectsIt) {
  Start(WithSystemMacros({HotKeyMacro("b", kCtrlAltB)}));
  const std::vector<MacroRecord> before = rig_.Records();
  dialogs_.add = [](MacroRecord& r) {
    r.SetCode(kCtrlAltA);
    r.SetNickname("new one");
    r.SetText("hello");
    r.SetActive(true);
    return EditOutcome{true, false};
  };
  ops_->Add();

  EXPECT_EQ(dialogs_.calls, (std::vector<std::string>{"add 6"}));
  const std::vector<MacroRecord> after = rig_.Records();
  ASSERT_EQ(after.size(), 6u);
  for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(Bytes(after[i]), Bytes(before[i])) << i;
  EXPECT_EQ(after[5].Nickname(), "new one");
  EXPECT_EQ(after[5].Text(), "hello");
  EXPECT_EQ(rig_.block().ClampedCount(), 6);
  EXPECT_EQ(rig_.block().Code(6), kCtrlAltA);
  EXPECT_TRUE(rig_.block().Active(6));
  EXPECT_EQ(SelectedMacro(), 6);
  EXPECT_EQ(host_->log, (std::vector<std::string>{"FillList", "CheckTimeItem", "SetButtons(on)", "SetHotKeys"}));
  EXPECT_EQ(lock_.log, (std::vector<std::string>{"FileInUse", "Release(1)"}));
  EXPECT_TRUE(hooks_.log.empty());
}

TEST_F(EditOperations, AddOfATimedMacroArmsTheScheduleAndAChangedMenuIconIsRedrawn) {
  struct Case {
    uint16_t code;
    bool icons_changed;
    std::vector<std::string> hooks;
  };
  for (const Case& c : {Case{kTimedCode, false, {"CheckAndSetTime", "CheckForScreenSaver"}},
                        Case{kCtrlAltA, true, {"ClearMenuTaskIcon", "DoMenuTaskIcon"}}}) {
    SCOPED_TRACE(c.code);
    Start(WithSystemMacros({}));
    hooks_.log.clear();
    dialogs_.add = [&](MacroRecord& r) {
      r.SetCode(c.code);
      return EditOutcome{true, c.icons_changed};
    };
    ops_->Add();
    EXPECT_EQ(hooks_.log, c.hooks);
  }
}

TEST_F(EditOperations, AddNotSavedLeavesFileAndTablesAlone) {
  Start(WithSystemMacros({HotKeyMacro("b", kCtrlAltB)}));
  const std::string before = FileBytes();
  ops_->Add();
  EXPECT_EQ(dialogs_.calls.size(), 1u);
  EXPECT_EQ(FileBytes(), before);
  EXPECT_EQ(rig_.block().ClampedCount(), 5);
  EXPECT_EQ(lock_.log, (std::vector<std::string>{"FileInUse", "Release(0)"}));
  EXPECT_TRUE(host_->log.empty());
}

TEST_F(EditOperations, AFailedAppendTakesTheNewMacroOutOfTheCountAgain) {
  Start(WithSystemMacros({HotKeyMacro("b", kCtrlAltB)}));
  dialogs_.add = [&](MacroRecord& r) {
    r.SetCode(kCtrlAltA);
    // The file goes while the dialog is open: the record cannot follow the others.
    std::filesystem::remove(rig_.path);
    return EditOutcome{true, false};
  };
  ops_->Add();
  EXPECT_EQ(rig_.boxes.shown, (std::vector<std::pair<std::string, std::string>>{{"Error", kSavingFailedText}}));
  EXPECT_EQ(rig_.block().ClampedCount(), 5);
  EXPECT_EQ(lock_.log, (std::vector<std::string>{"FileInUse", "Release(0)"}));
  EXPECT_TRUE(host_->log.empty());
}

TEST_F(EditOperations, AddThatStartedACaptureCountsNothingYetAndLeavesTheLockToIt) {
  Start(WithSystemMacros({HotKeyMacro("b", kCtrlAltB)}));
  const std::string before = FileBytes();
  dialogs_.add = [](MacroRecord& r) {
    r.SetCode(kCtrlAltA);
    EditOutcome started;
    started.capture_started = true;
    return started;
  };
  ops_->Add();
  EXPECT_EQ(FileBytes(), before);
  EXPECT_EQ(rig_.block().ClampedCount(), 5);
  EXPECT_EQ(lock_.log, std::vector<std::string>{"FileInUse"}) << "released when the capture ends";
  EXPECT_TRUE(host_->log.empty());
}

TEST_F(EditOperations, AddAtTheLimitOrWhileTheFileIsInUseOpensNoDialog) {
  std::vector<MacroRecord> full;
  for (int i = 0; i < kMaxMacros; ++i) full.push_back(HotKeyMacro("m" + std::to_string(i), kCtrlAltB));
  Start(full);
  ops_->Add();
  EXPECT_EQ(rig_.boxes.shown, (std::vector<std::pair<std::string, std::string>>{
                                  {"Error", "Maximum number of hot keys has been reached.  Add not allowed."}}));
  EXPECT_TRUE(lock_.log.empty());

  Start(WithSystemMacros({}));
  lock_.in_use = true;
  ops_->Add();
  EXPECT_TRUE(dialogs_.calls.empty());
}

// ---- Modify and the Scripting Editor

TEST_F(EditOperations, EachEditorTellsWhyThereIsNothingToEdit) {
  Start(WithSystemMacros({HotKeyMacro("a", kCtrlAltA)}));
  for (const auto& op : std::vector<std::function<void()>>{[&] { ops_->Modify(); }, [&] { ops_->ScriptingEditor(); }}) {
    rig_.boxes.shown.clear();
    host_->selected_row = -1;
    rig_.block().SetMacroCount(5);
    op();
    rig_.block().SetMacroCount(0);
    op();
    EXPECT_EQ(rig_.boxes.shown, (std::vector<std::pair<std::string, std::string>>{
                                    {"Error", "No hot key selected.  Please select one."},
                                    {"Error", "No hot keys have been added yet.  Please add one first."}}));
  }
  EXPECT_TRUE(dialogs_.calls.empty());
  EXPECT_TRUE(lock_.log.empty());
}

TEST_F(EditOperations, AnAcceptedEditIsWrittenAtItsNumberAndTheSelectionFollowsIt) {
  struct Case {
    std::function<void(MacroEditOperations&)> run;
    const char* call;
  };
  for (const Case& c : {Case{[](MacroEditOperations& o) { o.Modify(); }, "direct b"},
                        Case{[](MacroEditOperations& o) { o.ScriptingEditor(); }, "script b"}}) {
    SCOPED_TRACE(c.call);
    Start(WithSystemMacros({HotKeyMacro("a", kCtrlAltA), HotKeyMacro("b", kCtrlAltB)}));
    dialogs_.calls.clear();
    lock_.log.clear();
    const std::vector<MacroRecord> before = rig_.Records();
    host_->Select(2);
    dialogs_.edit = [](MacroRecord& r) {
      r.SetText("changed");
      return true;
    };
    c.run(*ops_);
    EXPECT_EQ(dialogs_.calls, (std::vector<std::string>{c.call}));
    const std::vector<MacroRecord> after = rig_.Records();
    EXPECT_EQ(after[1].Text(), "changed");
    EXPECT_EQ(Bytes(after[0]), Bytes(before[0]));
    EXPECT_EQ(SelectedMacro(), 2);
    EXPECT_EQ(host_->log, (std::vector<std::string>{"FillList", "CheckTimeItem", "SetHotKeys"}));
    EXPECT_EQ(lock_.log, (std::vector<std::string>{"FileInUse", "Release(1)"}));
  }
}

TEST_F(EditOperations, ACancelledEditLeavesTheFileByteForByte) {
  Start(WithSystemMacros({HotKeyMacro("a", kCtrlAltA)}));
  const std::string before = FileBytes();
  host_->Select(1);
  dialogs_.edit = [](MacroRecord& r) {
    r.SetText("thrown away");
    return false;
  };
  ops_->ScriptingEditor();
  ops_->Modify();
  EXPECT_EQ(FileBytes(), before);
  EXPECT_EQ(lock_.log, (std::vector<std::string>{"FileInUse", "Release(0)", "FileInUse", "Release(0)"}));
}

TEST_F(EditOperations, AnotherGlobalMacroOnTheSameKeyKeepsTheEditorOffGlobal) {
  struct Case {
    int16_t other_scope;
    bool no_global;
  };
  for (const Case& c : {Case{kScopeGlobal, true}, Case{kScopePopupMenu, true}, Case{kScopeWindow, false},
                        Case{kScopeProgram, false}}) {
    SCOPED_TRACE(c.other_scope);
    Start(WithSystemMacros({HotKeyMacro("a", kCtrlAltA, kScopeWindow), HotKeyMacro("other", kCtrlAltA, c.other_scope)}));
    dialogs_.calls.clear();
    host_->Select(1);
    ops_->Modify();
    EXPECT_EQ(dialogs_.calls, (std::vector<std::string>{c.no_global ? "direct a no-global" : "direct a"}));
  }
  // The macro's own scope never counts against it.
  Start(WithSystemMacros({HotKeyMacro("alone", kCtrlAltA)}));
  dialogs_.calls.clear();
  host_->Select(1);
  ops_->ScriptingEditor();
  EXPECT_EQ(dialogs_.calls, (std::vector<std::string>{"script alone"}));
}

TEST_F(EditOperations, SnapwordAndTimedMacrosOpenTheirEditorsAndATimedEditReArmsTheSchedule) {
  Start(WithSystemMacros({SnapwordMacro("s", "sig"), TimedMacro("t")}));
  dialogs_.edit = [](MacroRecord&) { return true; };
  host_->Select(1);
  ops_->ScriptingEditor();
  EXPECT_TRUE(hooks_.log.empty());
  host_->Select(2);
  ops_->Modify();
  EXPECT_EQ(dialogs_.calls, (std::vector<std::string>{"script s", "direct t"}));
  EXPECT_EQ(hooks_.log, (std::vector<std::string>{"CheckAndSetTime"}));
}

TEST_F(EditOperations, APopupMenuMacroGoesToItsBuilderFromEitherCommand) {
  Start(WithSystemMacros({HotKeyMacro("a", kCtrlAltA), PopupMacro("menu", kCtrlAltB, {1})}));
  host_->Select(2);
  const std::string before = FileBytes();
  ops_->ScriptingEditor();  // the builder not saved
  EXPECT_EQ(FileBytes(), before);
  dialogs_.menu = [](MacroRecord& r) {
    r.SetNickname("menu 2");
    return EditOutcome{true, true};
  };
  ops_->Modify();
  EXPECT_EQ(dialogs_.calls, (std::vector<std::string>{"menu menu Ctrl+Alt+B", "menu menu Ctrl+Alt+B"}));
  EXPECT_EQ(rig_.Records()[1].Nickname(), "menu 2");
  EXPECT_EQ(hooks_.log, (std::vector<std::string>{"ClearMenuTaskIcon", "DoMenuTaskIcon"}));
  EXPECT_EQ(lock_.log, (std::vector<std::string>{"FileInUse", "Release(0)", "FileInUse", "Release(1)"}));
}

TEST_F(EditOperations, ASystemMacroIsRenamedAndNeverTurnedIntoAnOrdinaryOne) {
  Start(WithSystemMacros({HotKeyMacro("a", kCtrlAltA)}));
  const std::string before = FileBytes();
  for (const auto& op : std::vector<std::function<void()>>{[&] { ops_->Modify(); }, [&] { ops_->ScriptingEditor(); }}) {
    host_->Select(2);  // the first system macro
    op();
  }
  EXPECT_TRUE(dialogs_.calls.empty());
  EXPECT_EQ(host_->dialogs, (std::vector<std::string>{"system 1", "system 1"}));
  EXPECT_EQ(FileBytes(), before);
  // One lock per command, taken by the rename.
  EXPECT_EQ(lock_.log, (std::vector<std::string>{"FileInUse", "Release(0)", "FileInUse", "Release(0)"}));
}

}  // namespace
}  // namespace qlx
