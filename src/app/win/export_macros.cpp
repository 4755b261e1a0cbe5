#include "app/win/export_macros.h"

#include "app/win/file_dialogs.h"
#include "platform/win32/dialog.h"
#include "resource.h"

namespace qlx {

void TExportMacros::ShowModal(HWND owner) { RunModal(IDD_EXPORT_MACROS, owner); }

void TExportMacros::FormShow() {
  list_.Attach(dlg::Item(hwnd(), IDC_EXPORT_LIST));
  const MacroTables& t = file_.tables();
  macros_ = ExportableMacros(t.block);
  std::vector<ListedMacro> rows;
  for (int n : macros_)
    rows.push_back(ListedMacroOf(t.block.Code(n), t.names.Snapword(n), t.names.Nickname(n), t.block.Scope(n),
                                 t.block.ScopeText(n)));
  list_.SetRows(std::move(rows));
}

void TExportMacros::Message(const char* caption, const char* text) { ::MessageBoxA(hwnd(), text, caption, MB_OK); }

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
  const auto target = AskFileName(hwnd(), request);
  if (!target) return;
  if (!ExportMacros(file_, DiskFileSystem(), chosen, *target)) {
    Message(kErrorCaption, kCannotCreateExportText);
    return;
  }
  Message(kOkCaptionText, kExportCompleteText);
  End(IDOK);
}

INT_PTR TExportMacros::OnMessage(UINT msg, WPARAM, LPARAM lp) { return list_.HandleOwnerDraw(msg, lp) ? TRUE : FALSE; }

bool TExportMacros::OnCommand(int id, int, HWND) {
  if (id == IDC_EXPORT_ALL) list_.SelectAll(true);
  else if (id == IDC_EXPORT_CLEAR) list_.SelectAll(false);
  else if (id == IDC_EXPORT_SAVE) SaveFileButtonClick();
  else return false;
  return true;
}

}  // namespace qlx
