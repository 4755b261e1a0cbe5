#include "app/win/export_macros.h"

#include "app/win/file_dialogs.h"
#include "platform/win32/dialog.h"
#include "resource.h"

namespace qlx {

void TExportMacros::ShowModal(HWND owner) { dlg::RunModal(IDD_EXPORT_MACROS, *this, owner); }

void TExportMacros::FormShow() {
  list_.Attach(dlg::Item(hwnd_, IDC_EXPORT_LIST));
  const MacroTables& t = file_.tables();
  macros_ = ExportableMacros(t.block);
  std::vector<ListedMacro> rows;
  for (int n : macros_)
    rows.push_back(ListedMacroOf(t.block.Code(n), t.names.Snapword(n), t.names.Nickname(n), t.block.Scope(n),
                                 t.block.ScopeText(n)));
  list_.SetRows(std::move(rows));
  dlg::CentreOnScreen(hwnd_);
}

void TExportMacros::Message(const char* caption, const char* text) { ::MessageBoxA(hwnd_, text, caption, MB_OK); }

void TExportMacros::SaveFileButtonClick() {
  const std::vector<bool> selected = list_.Selected();
  std::vector<int> chosen;
  for (size_t i = 0; i < selected.size(); ++i)
    if (selected[i]) chosen.push_back(macros_[i]);
  if (chosen.empty()) {
    Message(kErrorCaption, kNothingToExportText);
    return;
  }
  FileDialogRequest request;
  request.title = kExportSaveTitle;
  request.filter = kExportFilter;
  request.default_extension = kMacroFileExtension;
  request.save = true;
  const auto target = AskFileName(hwnd_, request);
  if (!target) return;
  if (!ExportMacros(file_, DiskFileSystem(), chosen, *target)) {
    Message(kErrorCaption, kCannotCreateExportText);
    return;
  }
  Message(kOkCaptionText, kExportCompleteText);
  ::EndDialog(hwnd_, IDOK);
}

INT_PTR TExportMacros::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (list_.HandleOwnerDraw(msg, lp)) return TRUE;
  switch (msg) {
    case WM_INITDIALOG:
      FormShow();
      return TRUE;
    case WM_COMMAND: {
      const dlg::Command c = dlg::DecodeCommand(wp, lp);
      if (c.id == IDC_EXPORT_ALL) list_.SelectAll(true);
      else if (c.id == IDC_EXPORT_CLEAR) list_.SelectAll(false);
      else if (c.id == IDC_EXPORT_SAVE) SaveFileButtonClick();
      else if (c.id == IDCANCEL) ::EndDialog(hwnd_, IDCANCEL);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

}  // namespace qlx
