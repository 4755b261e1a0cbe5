#pragma once
// What every command dialog shares: modal from the resources, "&Help" at
// its keyword, and a refused OK that shows its message and puts the focus
// back in the offending field.
#include <windows.h>

#include <string>

#include "editor/command_dialogs.h"
#include "editor/win/editor_context.h"
#include "platform/win32/dialog_base.h"

namespace qlx {

class CommandDialog : public dlg::Dialog {
 public:
  CommandDialog(EditorContext& ctx, std::string help_keyword)
      : ctx_(ctx), help_keyword_(std::move(help_keyword)) {}

  // Shows the dialog modally; true when its OK succeeded.
  bool Run(int template_id, HWND owner) { return RunModal(template_id, owner) == IDOK; }

 protected:
  void OnHelp() override;

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
};

// Folder of a path ("" when it has none).
std::string FolderOf(const std::string& path);

}  // namespace qlx
