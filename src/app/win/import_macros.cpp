#include "app/win/import_macros.h"

#include "app/win/file_dialogs.h"
#include "platform/win32/dialog.h"
#include "platform/win32/message_boxes_win32.h"
#include "resource.h"

namespace qlx {

int TImportMacros::ShowModal(HWND owner) {
  dlg::RunModal(IDD_IMPORT_MACROS, *this, owner);
  return imported_;
}

void TImportMacros::FormShow() {
  list_.Attach(dlg::Item(hwnd_, IDC_IMPORT_LIST));
  dlg::CentreOnScreen(hwnd_);
}

void TImportMacros::Message(const char* caption, const std::string& text) {
  ::MessageBoxA(hwnd_, text.c_str(), caption, MB_OK);
}

void TImportMacros::OpenFileButtonClick() {
  FileDialogRequest request;
  request.title = kImportOpenTitle;
  request.filter = kImportFilter;
  const auto chosen = AskFileName(hwnd_, request);
  if (!chosen) return;
  const std::string name = *chosen;
  const auto format = ImportFormatOf(name);
  if (!format) {
    Message(kErrorCaption, kImproperFileTypeText);
    return;
  }
  const auto bytes = ReadWholeFile(DiskFileSystem(), name);
  if (!bytes) {
    Message(kErrorCaption, kCannotOpenImportText);
    return;
  }
  import_ = ReadImportBytes(*format, *bytes);
  std::vector<ListedMacro> rows;
  for (const ImportItem& item : import_.items) {
    const MacroRecord& r = item.record;
    rows.push_back(ListedMacroOf(r.Code(), r.Snapword(), r.Nickname(), r.Scope(), r.ScopeText()));
  }
  list_.SetRows(std::move(rows));
  dlg::SetText(hwnd_, IDC_IMPORT_FILE, name);
  for (int id : {IDC_IMPORT_ALL, IDC_IMPORT_CLEAR, IDOK}) dlg::Enable(hwnd_, id, true);
  if (import_.wrong_size) Message(kErrorCaption, kImportWrongSizeText);
  else if (import_.damaged > 0 || import_.partial_tail)
    Message(kWarningCaptionText, DamagedRecordsText(import_.damaged, import_.partial_tail));
}

void TImportMacros::OkButtonClick() {
  std::vector<bool> selected = list_.Selected();
  Win32MessageBoxes boxes(hwnd_);
  const auto chosen = ConfirmImport(import_, selected, file_.tables().block, boxes);
  list_.SetSelected(selected);
  if (!chosen) return;
  const auto added = AppendImported(file_, DiskFileSystem(), import_, *chosen, clock_.Now(), boxes);
  if (!added) return;
  imported_ = *added;
  ::EndDialog(hwnd_, IDOK);
}

INT_PTR TImportMacros::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (list_.HandleOwnerDraw(msg, lp)) return TRUE;
  switch (msg) {
    case WM_INITDIALOG:
      FormShow();
      return TRUE;
    case WM_COMMAND: {
      const dlg::Command c = dlg::DecodeCommand(wp, lp);
      if (c.id == IDC_IMPORT_OPEN) OpenFileButtonClick();
      else if (c.id == IDC_IMPORT_ALL) list_.SelectAll(true);
      else if (c.id == IDC_IMPORT_CLEAR) list_.SelectAll(false);
      else if (c.id == IDOK) OkButtonClick();
      else if (c.id == IDCANCEL) ::EndDialog(hwnd_, IDCANCEL);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

}  // namespace qlx
