#pragma once
// The editors that show macro text itself: the direct editor TModHotKeys
// (a whole macro) and the keystroke editor TModText (the text of one
// "Text" line). Both insert tokens at the caret, and both take the
// program's keyboard hook away while they are open.
#include <windows.h>

#include <string>
#include <string_view>

#include "editor/win/editor_context.h"
#include "editor/win/macro_fields_win.h"
#include "platform/win32/dialog_base.h"

namespace qlx {

// What both share: the text box, the key buttons and menus, the
// Miscellaneous keys, the Edit menu, insertion at the caret, Esc.
class TokenTextEditor : public dlg::Dialog {
 public:
  bool accepted() const { return accepted_; }

 protected:
  TokenTextEditor(EditorContext& ctx, std::string help_keyword);
  ~TokenTextEditor() override;

  bool OpenWindow(int template_id, HWND owner);
  bool RunWindow();

  // The shared controls; the derived window's FormShow calls this first.
  void FormShow() override;
  // Enter closes nothing: Update and Cancel say how the editor ends.
  bool OkButtonClick() override { return false; }
  void FormClose() override { Close(false); }
  void OnHelp() override;
  bool OnCommand(int id, int code, HWND control) override;
  INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  bool PreviewMessage(MSG& msg) override;
  virtual void UpdateButtonClick() = 0;
  // Commands of the derived window; true when handled.
  virtual bool OtherCommand(int /*id*/, int /*code*/) { return false; }
  virtual bool ContextMenu(HWND /*control*/) { return false; }

  // Inserts at the caret, unless the text would pass 5000 characters.
  void InsertToken(std::string_view token);
  // The text box's text with every tab made "<TAB>".
  std::string TakeText() const;
  void SetTextBox(const std::string& text);
  void FillMiscBox();
  void Close(bool accepted);

  EditorContext& ctx_;
  HWND text_box_ = nullptr;

 private:
  void KeyButtonClick(int index);
  void MiscOkClick();
  void EditMenuClick(int id);
  void RememberCaret();
  size_t CaretForInsert() const;

  std::string help_keyword_;
  HACCEL accelerators_ = nullptr;
  bool accepted_ = false;
  bool hook_removed_ = false;
  int remembered_caret_ = -1;
};

// "Enter Keystrokes": the text of a "Text" line.
class TModText : public TokenTextEditor {
 public:
  TModText(EditorContext& ctx, std::string text) : TokenTextEditor(ctx, "Text Insertion"), text_(std::move(text)) {}
  // True when the user updated; the text is then in result().
  bool Execute(HWND owner);
  const std::string& result() const { return text_; }

 private:
  void FormShow() override;
  void UpdateButtonClick() override;
  bool OtherCommand(int id, int code) override;
  std::string text_;
};

// "Modify Hot Key": a whole macro, its text and its fields.
class TModHotKeys : public TokenTextEditor {
 public:
  TModHotKeys(EditorContext& ctx, EditRequest request);
  bool Open(HWND owner);
  // Runs until the window closes; true when the user updated (the record
  // then holds the edit).
  bool Run() { return RunWindow(); }
  bool Execute(HWND owner) { return Open(owner) && Run(); }

 private:
  void FormShow() override;
  void UpdateButtonClick() override;
  bool OtherCommand(int id, int code) override;
  bool ContextMenu(HWND control) override;
  MacroFields fields_;
};

}  // namespace qlx
