#include "app/list_operations.h"

#include <vector>

#include "app/macro_list_model.h"
#include "store/hotkey_table.h"
#include "capture/capture_options.h"
#include "app/macro_removal.h"

namespace qlx {

std::string RemoveQuestion(uint16_t code, std::string_view snapword) {
  if (code == kSnapwordCode) return "Are you sure you want to remove the Snapword \"" + std::string(snapword) + "\"?";
  return "Are you sure you want to remove \"" + ActivationColumnText(code, snapword) + "\"?";
}

std::string RemoveFromMenuQuestion(uint16_t code, std::string_view snapword) {
  return "This macro is contained in a \"Popup Menu\".  It will be removed from the \"Popup Menu\".  "
         "Are you sure you want to remove \"" +
         ActivationColumnText(code, snapword) + "\"?";
}

int MacroListOperations::SelectedOrRefuse() {
  if (block().ClampedCount() <= 0) {
    boxes_.Show(kErrorCaption, kNoHotKeysYetText);
    return 0;
  }
  const int n = host_.SelectedMacro();
  if (n < 1 || n > block().ClampedCount()) {
    boxes_.Show(kErrorCaption, kNoHotKeySelectedText);
    return 0;
  }
  return n;
}

void MacroListOperations::Refresh(int n) {
  host_.FillList();
  host_.SelectMacro(n);
  host_.CheckTimeItem();
  if (block().Code(n) == kTimedCode) hooks_.CheckAndSetTime();
}

void MacroListOperations::ScreenSaverCheck() {
  if (disable_screen_saver_) hooks_.CheckForScreenSaver(false);
}

void MacroListOperations::Copy() {
  const int n = SelectedOrRefuse();
  if (n == 0) return;
  const int count = block().ClampedCount();
  if (count >= kMaxMacros) {
    boxes_.Show(kErrorCaption, kMacroLimitText);
    return;
  }
  FileChange change(lock_);
  if (!change.Taken()) return;
  if (!file_.ReadRecord(n, working_)) return;
  if (!host_.RunCopyOrMove(CopyMoveMode::Copy, working_)) return;

  block().SetMacroCount(count + 1);
  if (!file_.WriteRecord(-1, working_)) {
    block().SetMacroCount(count);
    return;
  }
  change.Changed();
  const int copy = count + 1;
  Refresh(copy);
  host_.SetButtons(true);
  if (working_.Code() == kTimedCode) ScreenSaverCheck();
  if (working_.Scope() == kScopePopupMenu) {
    hooks_.ClearMenuTaskIcon();
    hooks_.DoMenuTaskIcon();
  }
  host_.SetHotKeys();
}

void MacroListOperations::Rename() {
  const int n = SelectedOrRefuse();
  if (n == 0) return;
  FileChange change(lock_);
  if (!change.Taken()) return;
  if (!file_.ReadRecord(n, working_)) return;

  if (working_.Scope() == kScopeSystem) {
    if (!host_.RunSystemHotKeys(SystemMacroDigit(working_.Scope(), working_.ScopeText()))) return;
    change.Changed();
    Refresh(n);
    host_.SetHotKeys();
    return;
  }

  const bool was_timed = working_.Code() == kTimedCode;
  if (!host_.RunCopyOrMove(CopyMoveMode::Move, working_)) return;
  if (!file_.WriteRecord(n, working_)) return;
  change.Changed();
  Refresh(n);
  const bool timed = working_.Code() == kTimedCode;
  if (was_timed && !timed) hooks_.CheckAndSetTime();
  if (timed) ScreenSaverCheck();
  host_.SetHotKeys();
}

void MacroListOperations::Remove() {
  const int n = SelectedOrRefuse();
  if (n == 0) return;
  FileChange change(lock_);
  if (!change.Taken()) return;

  const uint16_t code = block().Code(n);
  const int16_t scope = block().Scope(n);
  const std::string snapword = file_.tables().names.Snapword(n);
  if (!boxes_.AskYesNo(kDeleteCaption, RemoveQuestion(code, snapword))) return;

  std::vector<MacroRecord> records;
  if (!file_.ReadAllRecords(records) || n > static_cast<int>(records.size())) return;
  const int listed = std::min(block().ClampedCount(), static_cast<int>(records.size()));
  bool in_menu = false;
  for (int k = 1; k <= listed && !in_menu; ++k) in_menu = MenuListsMacro(records[static_cast<size_t>(k - 1)], n);
  if (in_menu && !boxes_.AskYesNo(kDeleteCaption, RemoveFromMenuQuestion(code, snapword))) return;

  // The menus are renumbered and the macro leaves in one replacement of
  // the file: a crash leaves either the old file or the new one.
  const int row = host_.SelectedRow();
  if (!file_.ReplaceAllRecords(RecordsWithoutMacro(std::move(records), n))) return;
  change.Changed();

  if (scope == kScopePopupMenu) hooks_.ClearMenuTaskIcon();
  host_.ReloadMacroFile();
  hooks_.GetSwapFile();
  host_.FillList();
  host_.SetHotKeys();
  if (code == kTimedCode) hooks_.CheckAndSetTime();
  if (scope == kScopePopupMenu) hooks_.DoMenuTaskIcon();
  if (block().ClampedCount() > 0) host_.SelectRow(row < 0 ? 0 : row);
  else host_.SetButtons(false);
  host_.CheckTimeItem();
}

void MacroListOperations::Activate() {
  const int n = SelectedOrRefuse();
  if (n == 0) return;
  FileChange change(lock_);
  if (!change.Taken()) return;
  const bool flag = !block().Active(n);
  if (!file_.SetActive(n, flag)) return;  // the table keeps the file's state
  change.Changed();
  host_.CheckTimeItem();
  const bool timed = block().Code(n) == kTimedCode;
  if (timed) hooks_.CheckAndSetTime();
  host_.SetHotKeys();
  host_.RepaintList();
  if (timed && flag) ScreenSaverCheck();
}

void MacroListOperations::EditSystemHotKeys() {
  FileChange change(lock_);
  if (!change.Taken()) return;
  const int n = host_.SelectedMacro();
  if (!host_.RunSystemHotKeys(1)) return;
  change.Changed();
  host_.FillList();
  if (n > 0) host_.SelectMacro(n);
  host_.CheckTimeItem();
  host_.SetHotKeys();
}

void MacroListOperations::QuickInfo() {
  const int n = SelectedOrRefuse();
  if (n == 0) return;
  MacroRecord record;
  if (!file_.ReadRecord(n, record)) return;
  host_.ShowQuickInfo(record);
}

}  // namespace qlx
