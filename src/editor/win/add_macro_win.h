#pragma once
// TAddNewHotKey, "Add Macro": how a new macro is started and how it is
// made; it hands the working record over to the chosen editor. TDoWizard,
// the "Scripting Wizard" inside the script editor.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "app/win/hot_key_picking.h"
#include "editor/add_macro.h"
#include "editor/win/editor_context.h"
#include "platform/win32/dialog_base.h"

namespace qlx {

class TDoScripting;

// What "&Capture Macro" hands over: the new macro's number, the title the
// capture dialog shows, and whether its hot key is held by a GLOBAL,
// popup-menu or system macro.
struct CaptureRequest {
  int new_macro = 0;
  std::string title;
  bool key_in_use = false;
};

// The parts of the add dialog that other features bring. Until a hook is
// set its button or type stays greyed.
struct AddMacroHooks {
  // "&Capture Macro": records the new macro into `record`, whose activation
  // (hot key, or 20000 and the Snapword) is already set.
  std::function<editor::AddOutcome(HWND owner, MacroRecord& record, const CaptureRequest& request)> capture_macro;
  // "Build Menu": the popup-menu builder on a new menu macro on this hot key.
  std::function<editor::AddOutcome(HWND owner, MacroRecord& record, int hot_key)> build_popup_menu;
  // The "&Timed Macro" type: the editors then make a macro with code 10000,
  // whose schedule the editor context's set_schedule edits.
  bool timed_macros = false;

  editor::AddFeatures Features() const {
    return {capture_macro != nullptr, timed_macros, build_popup_menu != nullptr};
  }
};

class TAddNewHotKey : public dlg::Dialog {
 public:
  // `record` is the working record of macro number `new_macro`.
  TAddNewHotKey(EditorContext& ctx, const AddMacroHooks& hooks, ActivationBlock block, HWND main_window,
                int new_macro, MacroRecord& record);

  editor::AddOutcome ShowModal(HWND owner);

 private:
  void FormShow() override;
  // Enter starts nothing: the buttons say what to make.
  bool OkButtonClick() override { return false; }
  void FormClose() override { AbortButtonClick(); }
  bool OnCommand(int id, int code, HWND control) override;
  INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void FormResize();
  void TypeClick();
  void KeyListClick();
  void KeyListDrawItem(const DRAWITEMSTRUCT& item);
  void HotKeyPicked(int code);
  void ActionClick(editor::AddAction action);
  void AbortButtonClick();
  void Finish(editor::AddOutcome outcome);
  editor::MacroType Type() const;
  std::optional<int> SelectedCode() const;

  EditorContext& ctx_;
  const AddMacroHooks& hooks_;
  ActivationBlock block_;
  HotKeyPicking picking_;
  int new_macro_;
  MacroRecord& record_;
  editor::HotKeyUse in_use_;
  bool macros_exist_ = false;
  editor::AddOutcome outcome_;
};

// "Scripting Wizard": each task adds one line at the end of the script
// through its command's dialog.
class TDoWizard : public dlg::Dialog {
 public:
  TDoWizard(EditorContext& ctx, TDoScripting& editor) : ctx_(ctx), editor_(editor) {}
  void ShowModal(HWND owner);

 private:
  void FormShow() override;
  // Enter adds nothing: each task has its button.
  bool OkButtonClick() override { return false; }
  void OnHelp() override;
  bool OnCommand(int id, int code, HWND control) override;
  void TaskClick(size_t task);

  EditorContext& ctx_;
  TDoScripting& editor_;
};

}  // namespace qlx
