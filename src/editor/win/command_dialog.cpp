#include "editor/win/command_dialog.h"

#include "platform/win32/dialog.h"
#include "resource.h"

namespace qlx {

void CommandDialog::Refuse(const editor::Refusal& refusal, int control) {
  dlg::ShowMessage(hwnd(), refusal.caption, refusal.text);
  dlg::Focus(hwnd(), control);
  dlg::SelectAll(hwnd(), control);
}

bool CommandDialog::Ask(const editor::Refusal& question) {
  return dlg::AskYesNo(hwnd(), question.caption, question.text);
}

std::string CommandDialog::Field(int id) const { return dlg::GetText(hwnd(), id); }
void CommandDialog::SetField(int id, const std::string& text) { dlg::SetText(hwnd(), id, text); }
void CommandDialog::SetRadio(int first, int last, int chosen) {
  dlg::CheckRadio(hwnd(), first, last, chosen);
}
int CommandDialog::Radio(int first, int last) const { return dlg::CheckedRadio(hwnd(), first, last); }
void CommandDialog::ShowControls(std::initializer_list<int> ids, bool visible) {
  for (int id : ids) dlg::Show(hwnd(), id, visible);
}

void CommandDialog::OnHelp() { dlg::OpenHelp(hwnd(), ctx_.program_dir, help_keyword_); }

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace qlx
