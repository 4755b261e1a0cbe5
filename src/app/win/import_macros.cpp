#include "app/win/import_macros.h"

#include "app/win/file_dialogs.h"
#include "platform/win32/dialog.h"
#include "platform/win32/message_boxes_win32.h"
#include "resource.h"

namespace qlx {

int TImportMacros::ShowModal(HWND owner) {
  RunModal(IDD_IMPORT_MACROS, owner);
  return imported_;
}

void TImportMacros::FormShow() {
  list_.Attach(dlg::Item(hwnd(), IDC_IMPORT_LIST));
}

void TImportMacros::Message(const char* caption, const std::string& text) {
  ::MessageBoxA(hwnd(), text.c_str(), caption, MB_OK);
}

void TImportMacros::OpenFileButtonClick() {
  FileDialogRequest request;
  request.title = kImportOpenTitle;
  request.filter = kImportFilter;
  const auto chosen = AskFileName(hwnd(), request);
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
  dlg::SetText(hwnd(), IDC_IMPORT_FILE, name);
  for (int id : {IDC_IMPORT_ALL, IDC_IMPORT_CLEAR, IDOK}) dlg::Enable(hwnd(), id, true);
  if (import_.wrong_size) Message(kErrorCaption, kImportWrongSizeText);
  else if (import_.damaged > 0 || import_.partial_tail)
    Message(kWarningCaptionText, DamagedRecordsText(import_.damaged, import_.partial_tail));
}

bool TImportMacros::OkButtonClick() {
  std::vector<bool> selected = list_.Selected();
  Win32MessageBoxes boxes(hwnd());
  const auto chosen = ConfirmImport(import_, selected, file_.tables().block, boxes);
  list_.SetSelected(selected);
  if (!chosen) return false;
  const auto added = AppendImported(file_, DiskFileSystem(), import_, *chosen, clock_.Now(), boxes);
  if (!added) return false;
  imported_ = *added;
  return true;
}

INT_PTR TImportMacros::OnMessage(UINT msg, WPARAM, LPARAM lp) { return list_.HandleOwnerDraw(msg, lp) ? TRUE : FALSE; }

bool TImportMacros::OnCommand(int id, int, HWND) {
  if (id == IDC_IMPORT_OPEN) OpenFileButtonClick();
  else if (id == IDC_IMPORT_ALL) list_.SelectAll(true);
  else if (id == IDC_IMPORT_CLEAR) list_.SelectAll(false);
  else return false;
  return true;
}

}  // namespace qlx
