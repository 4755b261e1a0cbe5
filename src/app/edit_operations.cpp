#include "app/edit_operations.h"

#include "app/macro_list_model.h"
#include "capture/capture_complete.h"

namespace qlx {

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
  if (outcome.capture_started) {
    // Nothing is counted or appended yet: the capture does both at its end.
    change.HandOver();
    return;
  }
  if (!outcome.saved) return;

  // The new macro is counted in before it is appended behind the others.
  block().SetMacroCount(n);
  if (!file_.WriteRecord(-1, working_)) {
    block().SetMacroCount(count);
    return;
  }
  change.Changed();
  list_operations_.Refresh(n);
  host_.SetButtons(true);
  if (working_.Code() == kTimedCode && disable_screen_saver_) hooks_.CheckForScreenSaver(false);
  host_.SetHotKeys();
  if (outcome.icons_changed) {
    hooks_.ClearMenuTaskIcon();
    hooks_.DoMenuTaskIcon();
  }
}

void MacroEditOperations::Modify() { OpenEditor(EditorKind::Direct); }

void MacroEditOperations::ScriptingEditor() { OpenEditor(EditorKind::Scripting); }

void MacroEditOperations::OpenEditor(EditorKind kind) {
  const int n = list_operations_.SelectedOrRefuse();
  if (n == 0) return;
  // A system macro has no script and keeps its scope (an editor would make
  // it an ordinary macro): its key is changed as a rename does, which takes
  // the lock itself.
  if (block().Scope(n) == kScopeSystem) {
    list_operations_.Rename();
    return;
  }
  FileChange change(lock_);
  if (!change.Taken()) return;
  EditMacro(n, kind, change);
}

void MacroEditOperations::EditMacro(int n, EditorKind kind, FileChange& change) {
  if (!file_.ReadRecord(n, working_)) return;
  const uint16_t code = working_.Code();

  if (working_.Scope() == kScopePopupMenu) {
    const EditOutcome outcome = dialogs_.RunMenuBuilder(working_, ActivationColumnText(code, working_.Snapword()));
    if (outcome.saved) {
      if (!file_.WriteRecord(n, working_)) return;
      change.Changed();
      list_operations_.Refresh(n);
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
  list_operations_.Refresh(n);
  host_.SetHotKeys();
}

}  // namespace qlx
