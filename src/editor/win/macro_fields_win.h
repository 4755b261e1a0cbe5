#pragma once
// The fields the script editor and the direct editor share above their
// macro: nickname, scope with the window or program choice, the icon
// button and the activation panel. They work on a copy of the working
// record, which goes back to the caller only when the user accepts.
#include <windows.h>

#include <string>

#include "editor/macro_editing.h"
#include "editor/win/editor_context.h"
#include "platform/win32/dialog.h"

namespace qlx {

class MacroFields {
 public:
  MacroFields(EditorContext& ctx, const EditRequest& request, const char* caption_base);

  const MacroRecord& working() const { return working_; }
  editor::ActivationMode mode() const { return mode_; }

  void FormShow(HWND dialog);
  // Scope buttons, "&Select", the icon and "Se&t Schedule"; true when handled.
  bool Command(int id, int code);
  // A right click on the icon button; true when handled.
  bool ContextMenu(HWND control);
  // The Snapword name of a Snapword macro; false after the refusal (the
  // focus is then in the field).
  bool CheckSnapword();
  // Stores the accepted edit with its macro text into the caller's record,
  // after the truncation message when the text is too long.
  void Accept(const std::string& text);

 private:
  editor::ScopeChoice Scope() const;
  void UpdateCaption();
  void ScopeClick();
  void ChooseWinProgClick();
  void SetScheduleClick();
  void MySpeedClick();
  void MySpeedReset();
  void ShowIcon(const std::string& name);

  EditorContext& ctx_;
  MacroRecord& target_;
  MacroRecord working_;
  bool existing_;
  bool global_not_allowed_;
  const char* caption_base_;
  editor::ActivationMode mode_;
  HWND dialog_ = nullptr;
  std::string icon_name_;
  dlg::OwnedIcon icon_;
};

}  // namespace qlx
