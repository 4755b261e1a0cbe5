#include "app/win/main_window_editors.h"

#include "editor/win/script_editor_win.h"
#include "editor/win/text_editors_win.h"
#include "engine/engine_state.h"

namespace qlx {

TMainWinEditors::TMainWinEditors(Settings& settings, std::string program_dir, IDesktop& desktop,
                                 IProcesses& processes, const IClock& clock, ISound& sound, ActivationBlock block,
                                 const HookLibrary& hooks, bool& dialog_open)
    : ctx_{settings, std::move(program_dir), desktop, processes, clock, sound, paths_, {}, {}, {}, {}},
      block_(block),
      hooks_(hooks),
      dialog_open_(dialog_open) {
  ctx_.command_wizard = [this](HWND owner, TDoScripting& editor) { TDoWizard(ctx_, editor).ShowModal(owner); };
  // Typing into a direct editor must start no macro.
  ctx_.remove_keyboard_hook = [this] {
    hooks_.UnHook(block_.KeyboardHook());
    block_.SetKeyboardHook(0);
  };
  ctx_.restore_keyboard_hook = [this] { block_.SetKeyboardHook(hooks_.HookKeyboard()); };
}

EditOutcome TMainWinEditors::RunAddMacro(int new_macro, MacroRecord& working) {
  FlagScope open(dialog_open_);
  TAddNewHotKey dialog(ctx_, add_hooks, block_, owner_, new_macro, working);
  return dialog.ShowModal(owner_);
}

bool TMainWinEditors::RunEditor(EditorKind kind, MacroRecord& working, bool global_not_allowed) {
  FlagScope open(dialog_open_);
  EditRequest request{working, /*existing*/ true, global_not_allowed};
  if (kind == EditorKind::Direct) {
    TModHotKeys editor(ctx_, request);
    return editor.Execute(owner_);
  }
  TDoScripting editor(ctx_, request);
  return editor.Execute(owner_);
}

EditOutcome TMainWinEditors::RunMenuBuilder(MacroRecord& working, const std::string& title) {
  if (!modify_popup_menu) return {};
  FlagScope open(dialog_open_);
  return modify_popup_menu(owner_, working, title);
}

}  // namespace qlx
