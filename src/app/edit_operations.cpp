#include "app/edit_operations.h"

#include "capture/capture_complete.h"
#include "capture/capture_options.h"

namespace qlx {

int MacroEditOperations::SelectedOrRefuse() {
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

void MacroEditOperations::Refresh(int n) {
  host_.FillList();
  host_.SelectMacro(n);
  host_.CheckTimeItem();
  if (block().Code(n) == kTimedCode) hooks_.CheckAndSetTime();
}

void MacroEditOperations::Add() {
  const int count = block().ClampedCount();
  if (count >= kMaxMacros) {
    boxes_.Show(kErrorCaption, kMacroLimitText);
    return;
  }
  FileChange change(lock_);
  if (!change.Taken()) return;
  working_ = MacroRecord();
  const int n = count + 1;
  const EditOutcome outcome = dialogs_.RunAddMacro(n, working_);
  if (!outcome.saved) return;

  // The new macro is counted in before it is appended behind the others.
  block().SetMacroCount(n);
  if (!file_.WriteRecord(-1, working_)) {
    block().SetMacroCount(count);
    return;
  }
  change.Changed();
  Refresh(n);
  host_.SetButtons(true);
  if (working_.Code() == kTimedCode && disable_screen_saver_) hooks_.CheckForScreenSaver();
  host_.SetHotKeys();
  if (outcome.icons_changed) {
    hooks_.ClearMenuTaskIcon();
    hooks_.DoMenuTaskIcon();
  }
}

void MacroEditOperations::Modify() {
  const int n = SelectedOrRefuse();
  if (n == 0) return;
  // A system macro keeps its scope: the editors would make it an ordinary
  // macro, so its key is changed as a rename does.
  if (block().Scope(n) == kScopeSystem) {
    list_operations_.Rename();
    return;
  }
  FileChange change(lock_);
  if (!change.Taken()) return;
  EditMacro(n, EditorKind::Direct, change);
}

void MacroEditOperations::ScriptingEditor() {
  const int n = SelectedOrRefuse();
  if (n == 0) return;
  // A system macro has no script: its key is changed as a rename does,
  // which takes the lock itself.
  if (block().Scope(n) == kScopeSystem) {
    list_operations_.Rename();
    return;
  }
  FileChange change(lock_);
  if (!change.Taken()) return;
  EditMacro(n, EditorKind::Scripting, change);
}

void MacroEditOperations::EditMacro(int n, EditorKind kind, FileChange& change) {
  if (!file_.ReadRecord(n, working_)) return;
  const uint16_t code = working_.Code();

  if (working_.Scope() == kScopePopupMenu) {
    const EditOutcome outcome = dialogs_.RunMenuBuilder(working_, ActivationTitle(code, working_.Snapword()));
    if (outcome.saved) {
      if (!file_.WriteRecord(n, working_)) return;
      change.Changed();
      Refresh(n);
      host_.SetHotKeys();
    }
    if (outcome.icons_changed) {
      hooks_.ClearMenuTaskIcon();
      hooks_.DoMenuTaskIcon();
    }
    return;
  }

  // Another GLOBAL, popup-menu or system macro on the same hot key keeps
  // this one off the Global scope.
  const bool global_not_allowed = code < kHotKeyCodes && GlobalScopeUses(block(), code, n);
  if (!dialogs_.RunEditor(kind, working_, global_not_allowed)) return;
  if (!file_.WriteRecord(n, working_)) return;
  change.Changed();
  Refresh(n);
  host_.SetHotKeys();
}

}  // namespace qlx
