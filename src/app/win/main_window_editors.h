#pragma once
// The main window's editors: the add-macro dialog, the direct editor, the
// scripting editor with its wizard, and the popup-menu builder of features
// still to come, run over the main window on its working record.
#include <windows.h>

#include <functional>
#include <string>

#include "app/edit_operations.h"
#include "app/win/hook_library.h"
#include "editor/win/add_macro_win.h"
#include "editor/win/editor_context.h"
#include "editor/win/path_checks_win32.h"
#include "store/shared_blocks.h"

namespace qlx {

class TMainWinEditors : public IEditDialogs {
 public:
  // `dialog_open` is the window's flag that one of its dialogs is open.
  TMainWinEditors(Settings& settings, std::string program_dir, IDesktop& desktop, IProcesses& processes,
                  const IClock& clock, ISound& sound, ActivationBlock block, const HookLibrary& hooks,
                  bool& dialog_open);
  TMainWinEditors(const TMainWinEditors&) = delete;
  TMainWinEditors& operator=(const TMainWinEditors&) = delete;

  void SetOwner(HWND main_window) { owner_ = main_window; }

  EditOutcome RunAddMacro(int new_macro, MacroRecord& working) override;
  bool RunEditor(EditorKind kind, MacroRecord& working, bool global_not_allowed) override;
  EditOutcome RunMenuBuilder(MacroRecord& working, const std::string& title) override;

  // Where features that arrive later hook in: the editors' "Se&t Schedule"
  // (context().set_schedule), the add dialog's capture, timed and popup
  // types (add_hooks), and the builder that changes a popup menu.
  EditorContext& context() { return ctx_; }
  AddMacroHooks add_hooks;
  std::function<EditOutcome(HWND owner, MacroRecord& record, const std::string& title)> modify_popup_menu;

 private:
  Win32PathChecks paths_;
  EditorContext ctx_;
  ActivationBlock block_;
  const HookLibrary& hooks_;
  bool& dialog_open_;
  HWND owner_ = nullptr;
};

}  // namespace qlx
