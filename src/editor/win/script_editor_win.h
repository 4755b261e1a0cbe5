#pragma once
// TDoScripting, the "Macro Scripting Editor": a macro as one readable line
// per command, built and changed through the command dialogs.
#include <windows.h>

#include "editor/macro_editing.h"
#include "editor/win/editor_context.h"
#include "editor/win/macro_fields_win.h"
#include "platform/win32/dialog_base.h"

namespace qlx {

class TDoScripting : public dlg::Dialog {
 public:
  TDoScripting(EditorContext& ctx, EditRequest request);

  // Creates and shows the window over `owner`, which it disables.
  bool Open(HWND owner);
  // Runs until the window closes; true when the user accepted (the record
  // then holds the macro).
  bool Run();
  bool Execute(HWND owner) { return Open(owner) && Run(); }

  // A command's add procedure, as "&Add" runs it for the chosen command
  // (the command wizard's way in, whose window then owns the command's
  // dialog). True when a line was added.
  bool AddCommand(int command, editor::InsertMode mode, HWND dialog_owner = nullptr);
  const editor::ScriptList& script() const { return script_; }

 private:
  void FormShow() override;
  bool OkButtonClick() override;
  void FormClose() override { FormClose(false); }
  void OnHelp() override;
  bool OnCommand(int id, int code, HWND control) override;
  INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  bool PreviewMessage(MSG& msg) override;
  void FormResize();
  void FormClose(bool accepted);
  void AddButtonClick(editor::InsertMode mode);
  void DoEditClick();
  void DoCopyClick();
  void DoDeleteClick();
  void DoUpClick();
  void DoDownClick();
  void WizardClick();
  void ScriptSelChange();

  // The script list control shows script_.
  void FillScript();
  void UpdateButtons();

  EditorContext& ctx_;
  MacroFields fields_;
  editor::ScriptList script_;
  bool accepted_ = false;
};

}  // namespace qlx
