#include "editor/win/command_dialog.h"

#include "platform/win32/dialog.h"
#include "resource.h"

namespace qlx {

bool CommandDialog::Run(int template_id, HWND owner) {
  const INT_PTR r = dlg::RunModal(template_id, *this, owner);
  hwnd_ = nullptr;
  return r == IDOK;
}

void CommandDialog::Refuse(const editor::Refusal& refusal, int control) {
  dlg::ShowMessage(hwnd_, refusal.caption, refusal.text);
  dlg::Focus(hwnd_, control);
  dlg::SelectAll(hwnd_, control);
}

bool CommandDialog::Ask(const editor::Refusal& question) {
  return dlg::AskYesNo(hwnd_, question.caption, question.text);
}

std::string CommandDialog::Field(int id) const { return dlg::GetText(hwnd_, id); }
void CommandDialog::SetField(int id, const std::string& text) { dlg::SetText(hwnd_, id, text); }
void CommandDialog::SetRadio(int first, int last, int chosen) {
  dlg::CheckRadio(hwnd_, first, last, chosen);
}
int CommandDialog::Radio(int first, int last) const { return dlg::CheckedRadio(hwnd_, first, last); }
void CommandDialog::ShowControls(std::initializer_list<int> ids, bool visible) {
  for (int id : ids) dlg::Show(hwnd_, id, visible);
}

void CommandDialog::HelpButtonClick() { dlg::OpenHelp(hwnd_, ctx_.program_dir, help_keyword_); }

INT_PTR CommandDialog::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      FormShow();
      dlg::CentreOnScreen(hwnd_);
      return FALSE;  // FormShow set the focus
    case WM_COMMAND: {
      const dlg::Command c = dlg::DecodeCommand(wp, lp);
      switch (c.id) {
        case IDOK:
          if (OkButtonClick()) ::EndDialog(hwnd_, IDOK);
          return TRUE;
        case IDCANCEL:
          ::EndDialog(hwnd_, IDCANCEL);
          return TRUE;
        case IDHELP:
          HelpButtonClick();
          return TRUE;
        default:
          return ControlCommand(c.id, c.code) ? TRUE : FALSE;
      }
    }
    default:
      return OtherMessage(msg, wp, lp);
  }
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace qlx
