// The list operations' window side, and the option dialogs.
#include "app/win/main_window.h"

#include "app/system_hot_keys.h"
#include "app/quick_info.h"
#include "app/win/appearance_dialog.h"
#include "app/win/copy_or_move_dialog.h"
#include "app/win/quick_info_dialog.h"
#include "app/win/sort_order_dialog.h"
#include "app/win/system_keys_dialog.h"
#include "engine/engine_state.h"
#include "platform/files.h"

namespace qlx {

int TMainWin::SelectedMacro() const { return list_.SelectedMacro(); }
int TMainWin::SelectedRow() const { return list_.SelectedRow(); }
void TMainWin::SelectMacro(int n) { list_.SelectMacro(n); }
void TMainWin::SelectRow(int row) { list_.SelectRow(row); }
void TMainWin::RepaintList() { list_.Repaint(); }
void TMainWin::SetButtons(bool) { CheckTimeItem(); }
void TMainWin::ReloadMacroFile() { LoadCurrentFile(); }

bool TMainWin::RunCopyOrMove(CopyMoveMode mode, MacroRecord& working) {
  FlagScope open(dialog_open_);
  TCopyOrMove dialog(mode, working, list_.SelectedMacro(), ctx_.block, hwnd_, hooks_, ctx_.clock);
  return dialog.ShowModal(hwnd_);
}

bool TMainWin::RunSystemHotKeys(int digit) {
  FlagScope open(dialog_open_);
  TSystemKeys dialog(ctx_.macro_file, ctx_.settings, ctx_.profile, hwnd_, digit);
  return dialog.ShowModal(hwnd_);
}

void TMainWin::ShowQuickInfo(const MacroRecord& record) {
  FlagScope open(dialog_open_);
  TQuickInfo dialog(MakeQuickInfo(record, hooks_.ScheduleDescription(record), ctx_.program_dir,
                                  [](const std::string& path) { return FileExists(path); }));
  dialog.ShowModal(hwnd_);
}

void TMainWin::SystemHotKeysClick() { operations_.EditSystemHotKeys(); }

void TMainWin::SortOrderClick() {
  FlagScope open(dialog_open_);
  TSortOrder dialog(ctx_.settings, ctx_.profile);
  if (!dialog.ShowModal(hwnd_)) return;
  // The list keeps the selected macro selected wherever it now stands.
  FillList();
}

void TMainWin::AppearanceClick() {
  FlagScope open(dialog_open_);
  TAppearance dialog(ctx_.settings, ctx_.profile);
  if (!dialog.ShowModal(hwnd_)) return;
  list_.ApplyColumnWidths();
  list_.ApplyFonts();
  FormResize();
  CheckTimeItem();
}

}  // namespace qlx
