#pragma once
// What every command dialog shares: modal from the resources, centred on the
// screen, "&Help" at its keyword, and a refused OK that shows its message
// and puts the focus back in the offending field.
#include <windows.h>

#include <string>

#include "editor/command_dialogs.h"
#include "editor/win/editor_context.h"

namespace qlx {

class CommandDialog {
 public:
  CommandDialog(EditorContext& ctx, std::string help_keyword)
      : ctx_(ctx), help_keyword_(std::move(help_keyword)) {}
  virtual ~CommandDialog() = default;
  CommandDialog(const CommandDialog&) = delete;
  CommandDialog& operator=(const CommandDialog&) = delete;

  // Shows the dialog modally; true when its OK succeeded.
  bool Run(int template_id, HWND owner);

  INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  HWND hwnd_ = nullptr;

 protected:
  virtual void FormShow() = 0;
  // Reads and checks the controls; true when the dialog may close.
  virtual bool OkButtonClick() = 0;
  // Commands other than OK, Cancel and Help; true when handled.
  virtual bool ControlCommand(int /*id*/, int /*code*/) { return false; }
  // Messages other than the dialog's commands.
  virtual INT_PTR OtherMessage(UINT /*msg*/, WPARAM /*wp*/, LPARAM /*lp*/) { return FALSE; }

  // Shows the refusal (caption and text) and focuses `control`, its text
  // selected.
  void Refuse(const editor::Refusal& refusal, int control);
  bool Ask(const editor::Refusal& question);
  std::string Field(int id) const;
  void SetField(int id, const std::string& text);
  void SetRadio(int first, int last, int chosen);
  int Radio(int first, int last) const;
  void ShowControls(std::initializer_list<int> ids, bool visible);

  EditorContext& ctx_;
  std::string help_keyword_;

 private:
  void HelpButtonClick();
};

// Folder of a path ("" when it has none).
std::string FolderOf(const std::string& path);

}  // namespace qlx
