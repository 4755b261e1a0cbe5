#pragma once
// What the main window does to make or change a macro's content: Add,
// Modify Directly, the Scripting Editor and the list's double click. The
// checks, the lock, the record read and written and the refresh that
// follows are decided here; the window supplies the dialogs and the list.
#include <cstdint>
#include <string>

#include "app/feature_hooks.h"
#include "app/list_operations.h"
#include "editor/add_macro.h"
#include "platform/ui.h"
#include "store/macro_file.h"
#include "store/network_lock.h"

namespace qlx {

enum class EditorKind : uint8_t { Direct, Scripting };

// What a dialog that may add or change a macro reports.
using EditOutcome = editor::AddOutcome;

// The dialogs, each on the working record.
class IEditDialogs {
 public:
  virtual ~IEditDialogs() = default;
  // The add-macro dialog for macro number `new_macro`, with the editor it
  // hands over to.
  virtual EditOutcome RunAddMacro(int new_macro, MacroRecord& working) = 0;
  // An editor on existing macro `n`.
  virtual bool RunEditor(EditorKind kind, MacroRecord& working, bool global_not_allowed) = 0;
  // The popup-menu builder on existing menu macro `n`, titled with its hot key.
  virtual EditOutcome RunMenuBuilder(MacroRecord& working, const std::string& title) = 0;
};

class MacroEditOperations {
 public:
  MacroEditOperations(MacroFile& file, IMessageBoxes& boxes, INetworkLock& lock, FeatureHooks& hooks,
                      IListOperationsHost& host, IEditDialogs& dialogs, MacroListOperations& list_operations,
                      const bool& disable_screen_saver)
      : file_(file),
        boxes_(boxes),
        lock_(lock),
        hooks_(hooks),
        host_(host),
        dialogs_(dialogs),
        list_operations_(list_operations),
        disable_screen_saver_(disable_screen_saver) {}

  void Add();
  void Modify();
  // The Scripting Editor command and the list's double click.
  void ScriptingEditor();

 private:
  void OpenEditor(EditorKind kind);
  // Opens the direct editor, the scripting editor or the menu builder on
  // macro n; the lock is held by the caller.
  void EditMacro(int n, EditorKind kind, FileChange& change);
  ActivationBlock& block() { return file_.tables().block; }

  MacroFile& file_;
  IMessageBoxes& boxes_;
  INetworkLock& lock_;
  FeatureHooks& hooks_;
  IListOperationsHost& host_;
  IEditDialogs& dialogs_;
  MacroListOperations& list_operations_;
  const bool& disable_screen_saver_;
  MacroRecord working_;
};

}  // namespace qlx
