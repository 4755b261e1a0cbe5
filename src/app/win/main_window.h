#pragma once
// TMainWin: the program's main window. It owns the remap and
// window-activation blocks, installs and removes the hooks, and routes
// messages: the macro list (TMacroListView), the commands' menu, speed bar
// and button panel (TCommandSurfaces), the list operations, the macro-file
// switch, playback and the dialogs each live in files of their own.
//   main_window.cpp           creation, routing, layout, shutdown
//   macro_file_switch.cpp     Open, New, recent files, "/F" and "<SWAP:"
//   main_window_commands.cpp  list operations, options and their dialogs
//   main_window_playback.cpp  what playback and dispatch ask of the window
//   main_window_capture.cpp   capture, Snapwords and key remapping
//   main_window_help.cpp      Help > Contents
//   main_window_schedule.cpp  timed macros, popup menus, the top-window menu
//                             and the tray
//   main_window_sharing.cpp   printing, import, export and network mode
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "activation/dispatch.h"
#include "activation/snapwords.h"
#include "activation/record_source.h"
#include "activation/scheduler.h"
#include "activation/top_window_menu.h"
#include "activation/win/scheduler_timers.h"
#include "app/command_states.h"
#include "app/edit_operations.h"
#include "app/feature_hooks.h"
#include "app/file_switch.h"
#include "app/list_operations.h"
#include "app/startup_logic.h"
#include "app/win/command_surfaces.h"
#include "app/win/hook_library.h"
#include "app/win/macro_list_view.h"
#include "app/win/main_window_editors.h"
#include "capture/capture_session.h"
#include "app/win/tray_icons.h"
#include "app/win/sharing_commands.h"
#include "engine/player.h"
#include "engine/window_commands.h"
#include "platform/win32/clipboard_win32.h"
#include "platform/win32/clock_win32.h"
#include "platform/win32/desktop_win32.h"
#include "platform/win32/file_operations_win32.h"
#include "platform/win32/input_win32.h"
#include "platform/win32/message_boxes_win32.h"
#include "platform/win32/message_pump_win32.h"
#include "platform/win32/processes_win32.h"
#include "platform/win32/screen_metrics_win32.h"
#include "platform/win32/shell_win32.h"
#include "platform/win32/sound_win32.h"
#include "platform/win32/task_icon.h"
#include "platform/win32/win_handles.h"
#include "store/macro_file.h"
#include "store/network_lock.h"
#include "store/settings.h"
#include "store/shared_blocks.h"

namespace qlx {

class IProfile;
class TPauseMacro;

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
  Win32Clock& clock;
  std::vector<std::string> params;  // command-line parameters 1..n
  int process_show = SW_SHOWDEFAULT;
};

class TMainWin : private IPlaybackHost,
                 private IDispatchHost,
                 private IFileSwitchHost,
                 private IListOperationsHost,
                 private ICaptureHost,
                 private ITopWindowMenuHost,
                 private ISharingHost {
 public:
  static constexpr char kClassName[] = "TMainWin";
  static bool RegisterClass(HINSTANCE instance);

  explicit TMainWin(AppContext& ctx);
  TMainWin(const TMainWin&) = delete;
  TMainWin& operator=(const TMainWin&) = delete;

  // Creates the window (FormCreate runs inside) and shows it unless the
  // program lives in the tray.
  bool Create(HINSTANCE instance);
  HWND hwnd() const { return hwnd_; }
  // The keys of the list commands; true when `msg` was one of them.
  bool TranslateKeys(MSG& msg);

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

  // ---- main_window.cpp: life cycle, routing, layout
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
  void SaveStretchDim();
  void CommandClick(UINT id);
  LRESULT NotifyReceived(NMHDR* header);
  // The command states for the selected row, on menu, bar and panel.
  void CheckTimeItem() override;
  CommandContext CurrentCommandContext() const;
  // The list's double click and Enter.
  void OpenSelectedMacro();
  void DoCaption();
  void MyTimerTick();
  void RestoreKeyboardHooksClick();
  void RestoreMouseHooksClick();
  void ShowDateClick();
  void SaveSettings();
  SortOrder CurrentSortOrder() const;

  // ---- macro_file_switch.cpp
  void OpenFileClick();
  void NewFileClick();
  void RecentFileClick(int slot);
  void OpenFileWithParam(const std::string& path);
  void LoadCurrentFile();
  SwitchOptions CurrentSwitchOptions() const;
  std::string CurrentFile() const override;
  void SetCurrentFile(const std::string& name) override;
  void LoadMacroFile(const std::string& name) override;
  void SetHotKeys() override;
  void DoCaption(const std::string& name) override;
  void FillList() override;
  void SetButtons() override;
  void DoLastFiles(const std::string& previous, const std::string& opened) override;
  void SetMenuLastFiles();

  // ---- main_window_commands.cpp
  int SelectedMacro() const override;
  int SelectedRow() const override;
  void SelectMacro(int n) override;
  void SelectRow(int row) override;
  void RepaintList() override;
  void SetButtons(bool on) override;
  void ReloadMacroFile() override;
  bool RunCopyOrMove(CopyMoveMode mode, MacroRecord& working) override;
  bool RunSystemHotKeys(int digit) override;
  void ShowQuickInfo(const MacroRecord& record) override;
  void AppearanceClick();
  void SortOrderClick();
  void SystemHotKeysClick();

  // ---- main_window_help.cpp
  void HelpContentsClick();

  // ---- main_window_playback.cpp
  void DoAMessage(const std::string& caption, const std::string& text) override;
  uint16_t DoRepPrompt() override;
  bool ShowPauseBox(int top, int left, const std::string& message) override;
  void SwapMacroFile(std::string_view path) override;
  bool UseTray() const override { return ctx_.settings.use_tray; }
  void ShowApplication() override;
  void HideApplication() override;
  bool ApplicationMinimized() override;
  void RestoreApplication() override;
  void MinimizeApplication() override;
  bool MainWindowVisible() override;
  void ShowMainWindow() override;
  void HideMainWindow() override;
  // Gives an X window manager (under Wine) time to act on a window just
  // shown; its focusing comes asynchronously.
  void LetWindowManagerFollow();
  static constexpr uint64_t kWindowManagerSettleMs = 100;
  bool ReadPlaybackRecord(int n, MacroRecord& record) override;
  void PlayText(const std::string& text) override;
  int ChooseFromPopupMenu(const MacroRecord& menu) override;
  void ActivateMe() override;
  void StartACapture() override;
  void MenuTopWindow() override;
  void ResumePause() override;
  bool ReloadIfChangedElsewhere() override;
  void ClearRememberedTrayIcon() override { chooser_x_ = -1; }

  // The features' steps at their places in the list operations and the
  // macro-file switch (defined in main_window_schedule.cpp, but for the
  // key-remap file of main_window_capture.cpp).
  class WindowHooks : public FeatureHooks {
   public:
    explicit WindowHooks(TMainWin& w) : w_(w) {}
    void ClearMenuTaskIcon() override;
    void DoMenuTaskIcon() override;
    void CheckAndSetTime() override;
    void CheckForScreenSaver(bool only_if_timed) override;
    void EditSchedule(MacroRecord& record) override;
    std::string ScheduleDescription(const MacroRecord& record) override;
    void GetSwapFile() override { w_.GetSwapFile(); }
    void ReadSyncRecord(const std::string& macro_file) override { w_.sharing_.MacroFileChanged(macro_file); }

   private:
    TMainWin& w_;
  };

  // ---- main_window_schedule.cpp
  void StartScheduleAndTray();
  bool OnScheduleTimer(UINT_PTR id);
  void StopScheduleAndTray();
  // "Set Schedule" for a timed macro; true when the schedule was updated.
  bool EditSchedule(HWND owner, MacroRecord& record);
  void TimerIntervalClick();
  void AlarmClick();
  void ScreenSaverClick();
  void WireEditors();
  // "Build Macro Menu" on a new menu of the add dialog or an existing one.
  // `title`: the menu's hot-key name, the builder's caption.
  editor::AddOutcome BuildPopupMenu(HWND owner, MacroRecord& record, bool modify, const std::string& title);
  int ChooseFromTopWindowMenu(const MacroRecord& menu, WindowHandle front) override;
  void RunChosenMacro(int n) override;
  void SystemTrayClick();
  void HideClick();
  void OpenFromTray();
  void TrayMenuPopup(POINT at);
  void MenuIconRightClick(int macro, POINT at);
  void ApplicationDeactivated();
  void CloseOpenDialogs();

  // ---- main_window_capture.cpp
  bool OnCaptureMessage(UINT msg, WPARAM wp, LPARAM lp);
  void RecaptureClick();
  // The add dialog's "&Capture Macro": the Capture Macro dialog for the new
  // macro; its capture starts once the add dialog has closed.
  EditOutcome CaptureNewMacro(HWND owner, MacroRecord& record, const CaptureRequest& request);
  void StartPendingCapture();
  void CaptureOptionsClick();
  void SnapwordOptionsClick();
  void RemapClick();
  // The key-remap file of the current macro file into the remap block.
  void GetSwapFile();
  std::string GetTopProgram() override;
  bool TakeNetworkLock() override;
  void ReleaseNetworkLock(bool changed) override;
  int AppendMacro(const MacroRecord& record) override;
  bool ReadRecord(int n, MacroRecord& record) override;
  bool WriteRecord(int n, const MacroRecord& record) override;
  void ShowRecordingIcon(bool shown) override;
  void StepAsideForCapture() override;
  bool RunCaptureComplete(MacroRecord& record, const std::string& top_program) override;
  void CaptureFinished(int macro) override;

  // ---- main_window_sharing.cpp
  std::vector<int> ListOrder() override;
  void NetworkReload() override;
  void AfterImport() override;

  [[noreturn]] void FailBlock(win::BlockError error);

  AppContext& ctx_;
  HWND hwnd_ = nullptr;

  win::NamedBlock remap_block_;
  win::NamedBlock window_block_;
  // The engine and its seams. The process lookup binds PSAPI (or Toolhelp)
  // at run time; it lives as long as the window so playback never sees it go.
  Win32Input input_;
  Win32Desktop desktop_;
  Win32Processes processes_;
  Win32Shell shell_;
  Win32MessagePump pump_;
  Win32Clipboard clipboard_;
  Win32FileOperations files_;
  Win32Sound sound_;
  Win32ScreenMetrics screen_metrics_;
  EngineSeams seams_;
  EngineState engine_;
  WindowCommands windows_;
  Player player_;
  DispatchState dispatch_state_;
  HotKeyDispatch dispatch_;

  // Timed macros: the records they are read from, what starts one, the
  // table with its ticks (built at program start, which the first tick
  // looks back to).
  static constexpr UINT_PTR kMyTimer = 1;  // scheduler tick
  static constexpr UINT_PTR kTimer2 = 2;   // one-shot start-up macros
  MacroFileRecords records_{ctx_.macro_file};
  TimedMacroStarter starter_{records_, windows_, sound_, player_, engine_, ctx_.settings};
  Scheduler scheduler_{ctx_.clock, records_, ctx_.block, starter_, ctx_.clock.Read()};
  SchedulerTimers timers_{scheduler_, kMyTimer, kTimer2};
  // The tray: the program's icon and the menu icons. A chooser opened from
  // a menu icon stands at the click's x; -1 centres it.
  TTrayIcons tray_;
  int chooser_x_ = -1;
  bool unloading_ = false;          // "&Terminate and Unload" was chosen
  // The capture-complete handling sets it: the next switch away does not
  // hide the program.
  bool skip_deactivation_ = false;
  TPauseMacro* pause_dialog_ = nullptr;  // while a pause dialog is open

  // The list and the commands.
  TMacroListView list_;
  TCommandSurfaces surfaces_;
  HACCEL keys_ = nullptr;
  // Features hook in here; network mode's lock guards every change.
  WindowHooks hooks_{*this};
  SharingCommands sharing_;
  INetworkLock& lock_{sharing_.lock()};
  MacroListOperations operations_;
  // Add, Modify Directly and the Scripting Editor.
  TMainWinEditors editors_;
  MacroEditOperations edit_operations_;

  // Capture, Snapwords and the key-remap file of the current macro file.
  CaptureSession capture_;
  SnapwordDispatch snapwords_;
  std::unique_ptr<TTaskIcon> recording_icon_;
  std::optional<DialogCaptureStart> pending_capture_;
  std::string remap_file_;

  bool tray_capable_ = false;
  bool nt4_or_later_ = false;
  int startup_show_ = SW_SHOWNORMAL;
  bool first_activation_done_ = false;
  bool hide_at_first_paint_ = false;
  BrowseMode browse_mode_ = BrowseMode::None;
  bool closing_ = false;
  bool closed_ = false;
  // A dialog of the window is open (the tray's hiding asks).
  bool dialog_open_ = false;
  // The row selected when the window was last hidden; showing it again
  // selects that row.
  int remembered_row_ = -1;
  std::string caption_file_;
};

}  // namespace qlx
