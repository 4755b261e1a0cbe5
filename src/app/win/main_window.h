#pragma once
// TMainWin: the program's main window. It owns the remap and
// window-activation blocks, installs and removes the hooks, shows the macro
// list and applies the command line.
#include <windows.h>

#include <string>
#include <vector>

#include "app/startup_logic.h"
#include "app/win/hook_library.h"
#include "platform/win32/clock_win32.h"
#include "platform/win32/message_boxes_win32.h"
#include "platform/win32/win_handles.h"
#include "store/macro_file.h"
#include "store/settings.h"
#include "store/shared_blocks.h"

namespace qlx {

class IProfile;

// What program start hands the main window: process-wide state that lives
// from before the window exists until after it is gone.
struct AppContext {
  std::string program_dir;
  ActivationBlock block;
  Settings& settings;
  MacroFile& macro_file;
  HookLibrary& hooks;
  IProfile& profile;
  Win32MessageBoxes& boxes;
  const Win32Clock& clock;
  std::vector<std::string> params;  // command-line parameters 1..n
  int process_show = SW_SHOWDEFAULT;
};

class TMainWin {
 public:
  static constexpr char kClassName[] = "TMainWin";
  static bool RegisterClass(HINSTANCE instance);

  explicit TMainWin(AppContext& ctx) : ctx_(ctx) {}
  TMainWin(const TMainWin&) = delete;
  TMainWin& operator=(const TMainWin&) = delete;

  // Creates the window (FormCreate runs inside) and shows it unless the
  // program lives in the tray.
  bool Create(HINSTANCE instance);
  HWND hwnd() const { return hwnd_; }

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

  // Life cycle.
  void FormCreate();
  void FormShow();
  void FormActivate();
  void FormPaint();
  void FormClose();
  void FormResize();

  void CreateRemapBlock();
  void CreateWindowBlock();
  void InitActivationBlock();
  void InstallKeyboardAndMouseHooks();
  void ApplyStartParams();
  void ApplyBrowseRestrictions();
  void LoadProcessEnumeration();
  void SaveStretchDim();

  // Macro file and list.
  void LoadCurrentFile();
  void DoCaption();
  void SetMenuLastFiles();
  void FillList();
  void SetButtons(bool have_macros);
  void OpenFileWithParam(const std::string& path);
  void OpenFileClick();
  void NewFileClick();
  void RecentFileClick(int slot);
  void SwitchCommon(const std::string& name);

  // Tools.
  void RestoreKeyboardHooksClick();
  void RestoreMouseHooksClick();

  void EnableMenuCommand(UINT id, bool enabled);
  [[noreturn]] void FailBlock(win::BlockError error);

  AppContext& ctx_;
  HWND hwnd_ = nullptr;
  HWND list_ = nullptr;
  HMENU menu_ = nullptr;

  win::NamedBlock remap_block_;
  win::NamedBlock window_block_;
  win::Module process_library_;
  FARPROC enum_entry_[3] = {};

  bool tray_capable_ = false;
  bool nt4_or_later_ = false;
  int startup_show_ = SW_SHOWNORMAL;
  bool first_activation_done_ = false;
  bool hide_at_first_paint_ = false;
  BrowseMode browse_mode_ = BrowseMode::None;
  bool closing_ = false;
  bool closed_ = false;
  std::string caption_file_;
};

}  // namespace qlx
