#pragma once
// The main window as the list operations see it: a sorted list over the
// tables, dialogs that act from a script, and a lock and feature hooks
// that log what they are asked.
#include <functional>
#include <string>
#include <vector>

#include "app/feature_hooks.h"
#include "app/list_operations.h"
#include "app/sort_order.h"
#include "fakes/macro_file_rig.h"
#include "store/network_lock.h"

namespace qlx::fake {

class RecordingLock : public INetworkLock {
 public:
  bool FileInUse() override {
    log.push_back("FileInUse");
    return in_use;
  }
  void ReleaseSyncFile(bool changed) override { log.push_back(changed ? "Release(1)" : "Release(0)"); }
  bool in_use = false;
  std::vector<std::string> log;
};

class RecordingHooks : public FeatureHooks {
 public:
  void ClearMenuTaskIcon() override { log.push_back("ClearMenuTaskIcon"); }
  void DoMenuTaskIcon() override { log.push_back("DoMenuTaskIcon"); }
  void CheckAndSetTime() override { log.push_back("CheckAndSetTime"); }
  void CheckForScreenSaver(bool only_if_timed) override {
    log.push_back(only_if_timed ? "CheckForScreenSaver(if timed)" : "CheckForScreenSaver");
  }
  void GetSwapFile() override { log.push_back("GetSwapFile"); }
  std::vector<std::string> log;
};

// The main window as the operations see it: a sorted list over the tables
// and dialogs that act from a script.
class FakeListHost : public IListOperationsHost {
 public:
  explicit FakeListHost(MacroFileRig& rig) : rig_(rig) { FillList(); }
  int SelectedMacro() const override { return MacroOnRow(rows, selected_row); }
  int SelectedRow() const override { return selected_row; }
  void FillList() override {
    rows = SortedRowMap(rig_.tables.tables, SortOrder{});
    log.push_back("FillList");
  }
  void SelectMacro(int n) override { selected_row = RowOfMacro(rows, n); }
  void SelectRow(int row) override {
    const int last = static_cast<int>(rows.size()) - 1;
    selected_row = row > last ? last : row;
  }
  void CheckTimeItem() override { log.push_back("CheckTimeItem"); }
  void RepaintList() override { log.push_back("RepaintList"); }
  void SetButtons(bool on) override { log.push_back(on ? "SetButtons(on)" : "SetButtons(off)"); }
  void SetHotKeys() override { log.push_back("SetHotKeys"); }
  void ReloadMacroFile() override {
    rig_.file->Load();
    log.push_back("Load");
  }
  bool RunCopyOrMove(CopyMoveMode mode, MacroRecord& working) override {
    dialogs.push_back(mode == CopyMoveMode::Copy ? "copy" : "move");
    return copy_or_move ? copy_or_move(working) : false;
  }
  bool RunSystemHotKeys(int digit) override {
    dialogs.push_back("system " + std::to_string(digit));
    return system_confirmed;
  }
  void ShowQuickInfo(const MacroRecord& record) override { dialogs.push_back("quick info " + record.Nickname()); }

  void Select(int n) { SelectMacro(n); }

  std::vector<int> rows;
  int selected_row = -1;
  std::vector<std::string> log;
  std::vector<std::string> dialogs;
  std::function<bool(MacroRecord&)> copy_or_move;
  bool system_confirmed = false;

 private:
  MacroFileRig& rig_;
};

}  // namespace qlx::fake
