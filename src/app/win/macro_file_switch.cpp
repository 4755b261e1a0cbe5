// The macro-file switch: the four ways of choosing another file, each of
// which runs the one switch sequence, and the window's part of its steps.
#include "app/win/main_window.h"

#include "app/win/file_dialogs.h"
#include "platform/files.h"

namespace qlx {
namespace {

constexpr char kTooManyMacros[] =
    "This macro file holds more than 500 macros.  Only the first 500 can be used; "
    "the others stay in the file unchanged.";

// The open and save dialogs share filter and extension.
bool AskForMacroFile(HWND owner, bool save, std::string& out) {
  FileDialogRequest request;
  request.title = save ? "New Quillon File" : "Open Quillon File";
  request.filter = "Quillon (*.QLX)|*.QLX";
  request.default_extension = kMacroFileExtension;
  request.flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  request.save = save;
  const std::optional<std::string> name = AskFileName(owner, request);
  if (!name) return false;
  out = *name;
  return true;
}

}  // namespace

SwitchOptions TMainWin::CurrentSwitchOptions() const {
  return {ctx_.settings.network_mode, ctx_.settings.disable_screen_saver};
}

void TMainWin::OpenFileClick() {
  std::string name;
  if (!AskForMacroFile(hwnd_, false, name)) return;
  if (!HasMacroFileExtension(name)) {
    ctx_.boxes.Show(kErrorCaption, kInvalidFileTypeText);
    return;
  }
  SwitchMacroFile(SwitchEntry::Open, name, CurrentSwitchOptions(), *this, hooks_);
}

void TMainWin::NewFileClick() {
  std::string name;
  if (!AskForMacroFile(hwnd_, true, name)) return;
  if (!HasMacroFileExtension(name)) {
    ctx_.boxes.Show(kErrorCaption, kInvalidFileTypeText);
    return;
  }
  // A missing file is created with the system macros.
  SwitchMacroFile(SwitchEntry::New, name, CurrentSwitchOptions(), *this, hooks_);
}

void TMainWin::RecentFileClick(int slot) {
  if (slot < 1 || slot > static_cast<int>(kRecentFileSlots)) return;
  const std::string name = ctx_.settings.recent_files[static_cast<size_t>(slot - 1)];
  if (name.empty() || !FileExists(name)) {
    ctx_.boxes.Show(kErrorCaption, kFileDoesNotExistText);
    return;
  }
  SwitchMacroFile(SwitchEntry::RecentFile, name, CurrentSwitchOptions(), *this, hooks_);
}

void TMainWin::OpenFileWithParam(const std::string& path) {
  SwitchMacroFile(SwitchEntry::CommandLine, path, CurrentSwitchOptions(), *this, hooks_);
}

void TMainWin::SwapMacroFile(std::string_view path) {
  // The full path, so that a later "<CHDIR:" does not change which file is
  // current; the caption shows its file name.
  const std::string given(path);
  char full[MAX_PATH] = {};
  const DWORD n = ::GetFullPathNameA(given.c_str(), sizeof full, full, nullptr);
  const std::string name = (n > 0 && n < sizeof full) ? std::string(full, n) : given;
  SwitchMacroFile(SwitchEntry::SwapToken, name, CurrentSwitchOptions(), *this, hooks_);
}

// ---------------------------------------------------------------- the steps

std::string TMainWin::CurrentFile() const { return ctx_.settings.current_file; }

void TMainWin::SetCurrentFile(const std::string& name) { ctx_.settings.current_file = name; }

void TMainWin::LoadMacroFile(const std::string& name) {
  ctx_.macro_file.SetName(name);
  LoadCurrentFile();
}

void TMainWin::LoadCurrentFile() {
  LoadResult r = ctx_.macro_file.Load();
  if (r.truncated) ctx_.boxes.Show("Warning", kTooManyMacros);
}

void TMainWin::SetHotKeys() { qlx::SetHotKeys(ctx_.block); }

void TMainWin::DoCaption(const std::string& name) {
  // The caption is made from the current name; a recent file becomes
  // current only at the end of its switch.
  const std::string current = ctx_.settings.current_file;
  ctx_.settings.current_file = name;
  DoCaption();
  ctx_.settings.current_file = current;
}

void TMainWin::FillList() {
  list_.Fill(CurrentSortOrder());
  CheckTimeItem();
}

void TMainWin::SetButtons() { SetButtons(ctx_.block.ClampedCount() > 0); }

void TMainWin::DoLastFiles(const std::string& previous, const std::string& opened) {
  qlx::DoLastFiles(ctx_.settings.recent_files, previous, opened);
  SetMenuLastFiles();
}

void TMainWin::SetMenuLastFiles() {
  surfaces_.SetMenuLastFiles(MenuForRecentFiles(ctx_.settings.recent_files));
  // New menu items start enabled: the browse restrictions apply to them too.
  CheckTimeItem();
}

}  // namespace qlx
