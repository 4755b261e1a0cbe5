// Macros that start themselves or from menus: the scheduler's timers and
// menu items, "Set Schedule", popup-menu choosers and their builder, the
// top-window menu, and the program's life in the notification area.
#include "app/win/main_window.h"

#include <string>

#include "activation/chooser_windows.h"
#include "activation/schedule_form.h"
#include "activation/win/do_schedule.h"
#include "activation/win/screen_saver.h"
#include "app/tray_life.h"
#include "editor/popup_menu_chooser.h"
#include "editor/win/command_dialogs_win.h"
#include "editor/win/popup_build_menu.h"
#include "editor/win/popup_choose_macro.h"
#include "engine/engine_state.h"
#include "platform/win32/icon_folder_win32.h"
#include "store/hotkey_table.h"
#include "resource.h"

namespace qlx {

// ---------------------------------------------------------------- hooks

void TMainWin::WindowHooks::ClearMenuTaskIcon() { w_.tray_.ClearMenuTaskIcon(); }

void TMainWin::WindowHooks::DoMenuTaskIcon() {
  w_.tray_.DoMenuTaskIcon(w_.ctx_.block, w_.ctx_.settings.names, w_.records_, w_.ctx_.program_dir);
}

void TMainWin::WindowHooks::CheckAndSetTime() { w_.timers_.Rebuild(); }

void TMainWin::WindowHooks::CheckForScreenSaver(bool only_if_timed) {
  qlx::CheckForScreenSaver(w_.ctx_.settings.disable_screen_saver, only_if_timed, w_.ctx_.block);
}

void TMainWin::WindowHooks::EditSchedule(MacroRecord& record) {
  // Opened from a dialog of the window: that dialog owns it.
  HWND owner = ::GetActiveWindow();
  w_.EditSchedule(owner ? owner : w_.hwnd_, record);
}

std::string TMainWin::WindowHooks::ScheduleDescription(const MacroRecord& record) { return GetSched(record); }

bool TMainWin::EditSchedule(HWND owner, MacroRecord& record) {
  FlagScope open(dialog_open_);
  TDoSchedule dialog(record, CivilDateFromDays(ctx_.clock.Now()));
  return dialog.ShowModal(owner);
}

// ---------------------------------------------------------------- timers

void TMainWin::StartScheduleAndTray() {
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(hwnd_, GWLP_HINSTANCE));
  TTrayIcons::Events events;
  events.program_click = [this] { OpenFromTray(); };
  events.program_right_click = [this](POINT p) { TrayMenuPopup(p); };
  events.menu_right_click = [this](int n, POINT p) { MenuIconRightClick(n, p); };
  tray_.Create(instance, std::move(events), ctx_.settings.use_tray);
  timers_.Start(hwnd_, ctx_.settings.timer_seconds);
  WireEditors();
}

bool TMainWin::OnScheduleTimer(UINT_PTR id) { return timers_.OnTimer(id); }

void TMainWin::StopScheduleAndTray() {
  timers_.Stop();
  tray_.ClearMenuTaskIcon();
  tray_.SetProgramIconActive(false);
}

void TMainWin::TimerIntervalClick() {
  FlagScope open(dialog_open_);
  const std::optional<int> seconds =
      RunSchedulerFrequencyDialog(editors_.context(), hwnd_, ctx_.settings.timer_seconds);
  if (!seconds) return;
  ctx_.settings.timer_seconds = static_cast<uint16_t>(*seconds);
  timers_.SetInterval(ctx_.settings.timer_seconds);
  SaveSettings();
}

void TMainWin::AlarmClick() {
  FlagScope open(dialog_open_);
  if (RunSchedulerAlarmDialog(editors_.context(), hwnd_)) SaveSettings();
}

void TMainWin::ScreenSaverClick() {
  ctx_.settings.disable_screen_saver = !ctx_.settings.disable_screen_saver;
  surfaces_.CheckMenuItem(UiCommand::ScreenSaver, ctx_.settings.disable_screen_saver);
  if (ctx_.settings.disable_screen_saver) hooks_.CheckForScreenSaver(true);
  SaveSettings();
}

// ---------------------------------------------------------------- popup menus

// The editors' parts of these features: "Set Schedule", the add dialog's
// Timed Macro and Popup Menu types, and the builder of an existing menu.
void TMainWin::WireEditors() {
  editors_.context().set_schedule = [this](HWND owner, MacroRecord& record) { EditSchedule(owner, record); };
  editors_.add_hooks.timed_macros = true;
  editors_.add_hooks.build_popup_menu = [this](HWND owner, MacroRecord& record, int hot_key) {
    return BuildPopupMenu(owner, record, false, std::string(HotKeyName(hot_key)));
  };
  editors_.modify_popup_menu = [this](HWND owner, MacroRecord& record, const std::string& title) {
    return BuildPopupMenu(owner, record, true, title);
  };
}

editor::AddOutcome TMainWin::BuildPopupMenu(HWND owner, MacroRecord& record, bool modify, const std::string& title) {
  Win32IconFolder icons;
  TDoBuildMenu dialog(record, modify, ctx_.block, ctx_.settings.names, ctx_.program_dir, icons, title);
  const BuildMenuResult result = dialog.ShowModal(owner);
  return {result.saved, result.tray_icons_changed};
}

int TMainWin::ChooseFromPopupMenu(const MacroRecord& menu) {
  // Focus goes back to the top-level window the key was pressed in.
  const WindowHandle top = windows_.MakeSureItsAParent(engine_.TargetWindow);
  engine_.TargetWindow = top;
  ChooserWindows around(*this, desktop_, top);
  return ChooseFromMenu(menu, records_, ctx_.program_dir, chooser_x_, nullptr);
}

void TMainWin::MenuTopWindow() {
  MacroRecord menu;
  qlx::MenuTopWindow(desktop_, processes_, ctx_.block, ctx_.settings.system_menu, dispatch_state_.PopupShown, menu,
                     *this);
}

int TMainWin::ChooseFromTopWindowMenu(const MacroRecord& menu, WindowHandle front) {
  ChooserWindows around(*this, desktop_, front);
  return ChooseFromMenu(menu, records_, ctx_.program_dir, -1, nullptr);
}

void TMainWin::RunChosenMacro(int n) {
  engine_.CurrentMacro = n;
  dispatch_.RunCurrentMacro();
}

// ---------------------------------------------------------------- the tray

void TMainWin::SystemTrayClick() {
  ctx_.settings.use_tray = !ctx_.settings.use_tray;
  tray_.SetProgramIconActive(ctx_.settings.use_tray);
  surfaces_.CheckMenuItem(UiCommand::SystemTray, ctx_.settings.use_tray);
  CheckTimeItem();  // "&Hide Quillon 98" follows the option
  SaveSettings();
}

void TMainWin::HideClick() {
  if (!ctx_.settings.use_tray) return;
  remembered_row_ = list_.SelectedRow();
  ::ShowWindow(hwnd_, SW_HIDE);
}

void TMainWin::CloseOpenDialogs() {
  // Every dialog the window owns (directly or through another dialog) is
  // cancelled; each modal loop then ends in turn.
  struct Search {
    HWND main;
    std::vector<HWND> found;
  } search{hwnd_, {}};
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND w, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        char cls[16] = {};
        ::GetClassNameA(w, cls, sizeof cls);
        if (std::string(cls) != "#32770") return TRUE;
        for (HWND o = ::GetWindow(w, GW_OWNER); o; o = ::GetWindow(o, GW_OWNER)) {
          if (o == s->main) {
            s->found.push_back(w);
            break;
          }
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  for (HWND w : search.found) ::PostMessageA(w, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

void TMainWin::OpenFromTray() {
  if (!ctx_.settings.use_tray) {
    ::SetForegroundWindow(hwnd_);
    return;
  }
  // A dialog that changes macros holds the network lock through its
  // operation, which lets go of it as the cancelled dialog returns.
  CloseOpenDialogs();
  ActivateMe();
}

void TMainWin::TrayMenuPopup(POINT at) {
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(hwnd_, GWLP_HINSTANCE));
  win::Menu menu(::LoadMenuA(instance, MAKEINTRESOURCEA(IDR_TRAY_MENU)));
  if (!menu) return;
  HMENU popup = ::GetSubMenu(menu.get(), 0);
  if (!BuiltFeatures().test(static_cast<size_t>(Feature::Help)))
    ::EnableMenuItem(popup, IDM_TRAY_HELP, MF_BYCOMMAND | MF_GRAYED);
  // The window in front owns the menu, or it would not close when the
  // user clicks elsewhere.
  ::SetForegroundWindow(hwnd_);
  const UINT chosen = static_cast<UINT>(
      ::TrackPopupMenu(popup, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, hwnd_, nullptr));
  ::PostMessageA(hwnd_, WM_NULL, 0, 0);
  switch (chosen) {
    case IDM_TRAY_OPEN: OpenFromTray(); break;
    case IDM_TRAY_HELP: CommandClick(IDM_HELP_CONTENTS); break;
    case IDM_TRAY_UNLOAD:
      unloading_ = true;
      ::PostMessageA(hwnd_, WM_CLOSE, 0, 0);
      break;
    default: break;
  }
}

void TMainWin::MenuIconRightClick(int macro, POINT at) {
  const MenuIconClick click = qlx::MenuIconRightClick(macro, at.x, WindowBlock(window_block_.bytes()));
  engine_.TargetWindow = click.target_window;
  chooser_x_ = click.chooser_x;
  if (!closed_) dispatch_.OnHotKey(click.wparam, click.target_window);
}

void TMainWin::ApplicationDeactivated() {
  DeactivationState state;
  state.skip_once = skip_deactivation_;
  state.unloading = unloading_;
  state.use_tray = ctx_.settings.use_tray;
  state.pause_open = engine_.PauseInProgress;
  state.popup_shown = dispatch_state_.PopupShown;
  state.dialog_open = dialog_open_;
  const DeactivationStep step = OnApplicationDeactivate(state);
  skip_deactivation_ = state.skip_once;
  if (step == DeactivationStep::Nothing) return;
  remembered_row_ = list_.SelectedRow();
  if (step != DeactivationStep::RememberRowAndHide) return;
  if (::IsIconic(hwnd_)) ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
  ::ShowWindow(hwnd_, SW_HIDE);
}

}  // namespace qlx
