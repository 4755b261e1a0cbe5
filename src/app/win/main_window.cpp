#include "app/win/main_window.h"

#include <commctrl.h>

#include <exception>

#include "activation/hook_contract.h"
#include "app/macro_list_model.h"
#include "app/window_placement.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "resource.h"

namespace qlx {
namespace {


constexpr char kSystemError[] = "System Error";
constexpr char kBlockNotCreated[] = "Memory Mapped File could not be created.  Quillon will terminate.";
constexpr char kBlockNotMapped[] = "Memory Mapped File could not be mapped.  Quillon will terminate.";

Rect RectOf(const RECT& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

}  // namespace

TMainWin::TMainWin(AppContext& ctx)
    : ctx_(ctx),
      seams_{input_, desktop_, processes_, shell_, pump_, ctx.clock, clipboard_, files_, sound_},
      windows_(seams_, engine_),
      player_(seams_, *this, engine_, windows_),
      dispatch_(ctx.block, engine_, dispatch_state_, desktop_, processes_, input_, windows_, *this),
      list_(ctx.settings, ctx.macro_file.tables()),
      sharing_(ctx.settings, ctx.macro_file, ctx.profile, ctx.clock, ctx.boxes, *this),
      operations_(ctx.macro_file, ctx.boxes, lock_, hooks_, *this, ctx.settings.disable_screen_saver),
      editors_(ctx.settings, ctx.program_dir, desktop_, processes_, ctx.clock, sound_, ctx.block, ctx.hooks,
               dialog_open_),
      edit_operations_(ctx.macro_file, ctx.boxes, lock_, hooks_, *this, editors_, operations_,
                       ctx.settings.disable_screen_saver),
      capture_(ctx.block, ctx.settings, engine_, ctx.clock, *this, ctx.program_dir),
      snapwords_(ctx.block, ctx.settings, engine_, dispatch_state_, desktop_, processes_, input_, pump_, ctx.clock,
                 *this) {}

bool TMainWin::RegisterClass(HINSTANCE instance) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = &TMainWin::WndProc;
  wc.hInstance = instance;
  wc.hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_MAIN));
  wc.hIconSm = static_cast<HICON>(::LoadImageA(instance, MAKEINTRESOURCEA(IDI_MAIN), IMAGE_ICON, 16, 16, 0));
  wc.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszMenuName = MAKEINTRESOURCEA(IDR_MAINMENU);
  wc.lpszClassName = kClassName;
  return ::RegisterClassExA(&wc) != 0;
}

bool TMainWin::Create(HINSTANCE instance) {
  const Settings& s = ctx_.settings;
  HWND h = ::CreateWindowExA(0, kClassName, "Quillon 98", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                             s.main_left, s.main_top, s.main_width, s.main_height, nullptr, nullptr,
                             instance, this);
  if (!h) return false;
  keys_ = ::LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_MAIN_ACCEL));
  FormShow();
  if (!ctx_.settings.use_tray) {
    ::ShowWindow(hwnd_, SW_SHOWNORMAL);
    ::UpdateWindow(hwnd_);
  }
  return true;
}

bool TMainWin::TranslateKeys(MSG& msg) {
  return keys_ && hwnd_ && (msg.hwnd == hwnd_ || ::IsChild(hwnd_, msg.hwnd)) &&
         ::TranslateAcceleratorA(hwnd_, keys_, &msg) != 0;
}

LRESULT CALLBACK TMainWin::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  TMainWin* self = nullptr;
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
    self = static_cast<TMainWin*>(cs->lpCreateParams);
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<TMainWin*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  }
  if (!self) return ::DefWindowProcA(hwnd, msg, wp, lp);
  try {
    return self->HandleMessage(msg, wp, lp);
  } catch (const std::exception& e) {
    // The application's default error message: file errors after a
    // successful open end up here, and the program carries on.
    ShowApplicationError(hwnd, e.what());
    return 0;
  }
}

LRESULT TMainWin::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      FormCreate();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE) FormActivate();
      break;
    case WM_ACTIVATEAPP:
      if (!wp) ApplicationDeactivated();
      break;
    case WM_PAINT:
      FormPaint();
      break;
    case WM_SIZE:
      FormResize();
      return 0;
    case WM_SETFOCUS:
      ::SetFocus(list_.hwnd());
      return 0;
    case WM_TIMER:
      if (sharing_.OnTimer(wp)) return 0;
      if (OnScheduleTimer(wp)) MyTimerTick();
      return 0;
    case WM_COMMAND:
      CommandClick(LOWORD(wp));
      return 0;
    case WM_NOTIFY:
      return NotifyReceived(reinterpret_cast<NMHDR*>(lp));
    case kMsgHotKey:
      if (!closed_) dispatch_.OnHotKey(static_cast<uint32_t>(wp), static_cast<WindowHandle>(lp));
      return 0;
    case kMsgAbort:
      engine_.AbortRequested = true;
      return 0;
    case kMsgCaptureChar:
    case kMsgCaptureDone:
    case kMsgSnapwordChar:
      if (!closed_) OnCaptureMessage(msg, wp, lp);
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      if (wp) FormClose();
      return 0;
    case WM_CLOSE:
      FormClose();
      ::DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return ::DefWindowProcA(hwnd_, msg, wp, lp);
}

void TMainWin::CommandClick(UINT id) {
  if (id == IDM_OPEN_SELECTED) {
    OpenSelectedMacro();
    return;
  }
  const std::optional<UiCommand> c = CommandOfId(id);
  if (!c || !surfaces_.Offers(*c)) return;
  switch (*c) {
    case UiCommand::NewFile: NewFileClick(); return;
    case UiCommand::OpenFile: OpenFileClick(); return;
    case UiCommand::Recent1:
    case UiCommand::Recent2:
    case UiCommand::Recent3:
    case UiCommand::Recent4:
    case UiCommand::Recent5:
      RecentFileClick(static_cast<int>(*c) - static_cast<int>(UiCommand::Recent1) + 1);
      return;
    case UiCommand::Terminate: ::SendMessageA(hwnd_, WM_CLOSE, 0, 0); return;
    case UiCommand::AddMacro:
      edit_operations_.Add();
      StartPendingCapture();
      return;
    case UiCommand::ModifyDirectly: edit_operations_.Modify(); return;
    case UiCommand::ScriptingEditor: edit_operations_.ScriptingEditor(); return;
    case UiCommand::Hide: HideClick(); return;
    case UiCommand::SystemTray: SystemTrayClick(); return;
    case UiCommand::TimerInterval: TimerIntervalClick(); return;
    case UiCommand::Alarm: AlarmClick(); return;
    case UiCommand::ScreenSaver: ScreenSaverClick(); return;
    case UiCommand::CopyMacro: operations_.Copy(); return;
    case UiCommand::RenameMacro: operations_.Rename(); return;
    case UiCommand::RemoveMacro: operations_.Remove(); return;
    case UiCommand::ActivateMacro: operations_.Activate(); return;
    case UiCommand::QuickInfo: operations_.QuickInfo(); return;
    case UiCommand::Appearance: AppearanceClick(); return;
    case UiCommand::SortOrder: SortOrderClick(); return;
    case UiCommand::SystemHotKeys: SystemHotKeysClick(); return;
    case UiCommand::ShowDate: ShowDateClick(); return;
    case UiCommand::PrintList:
    case UiCommand::PrinterSetup:
    case UiCommand::PrinterFont:
    case UiCommand::OutputInfo:
    case UiCommand::Import:
    case UiCommand::Export:
    case UiCommand::Network: sharing_.OnCommand(*c); return;
    case UiCommand::RestoreKeyboardHooks: RestoreKeyboardHooksClick(); return;
    case UiCommand::RestoreMouseHooks: RestoreMouseHooksClick(); return;
    case UiCommand::Recapture: RecaptureClick(); return;
    case UiCommand::CaptureOptions: CaptureOptionsClick(); return;
    case UiCommand::SnapwordOptions: SnapwordOptionsClick(); return;
    case UiCommand::Remap: RemapClick(); return;
    case UiCommand::HelpContents: HelpContentsClick(); return;
    default:
      // The commands of features still to come: greyed, nothing to do.
      return;
  }
}

LRESULT TMainWin::NotifyReceived(NMHDR* header) {
  if (surfaces_.OnNotify(header)) return 0;
  LRESULT result = 0;
  switch (list_.OnNotify(header, result)) {
    case TMacroListView::Event::SelectionChanged:
      CheckTimeItem();
      break;
    case TMacroListView::Event::DoubleClick:
      OpenSelectedMacro();
      break;
    case TMacroListView::Event::RightClick:
      CheckTimeItem();
      if (::GetMenuState(::GetMenu(hwnd_), IDM_QUICK_INFO, MF_BYCOMMAND) & MF_GRAYED) break;
      operations_.QuickInfo();
      break;
    case TMacroListView::Event::ColumnResized:
    case TMacroListView::Event::None:
      break;
  }
  return result;
}

// ---------------------------------------------------------------- creation

void TMainWin::FormCreate() {
  ctx_.boxes.SetOwner(hwnd_);
  // Programs and addresses are opened with the main window as owner; the
  // clipboard needs an owner to take new text.
  shell_.SetOwner(hwnd_);
  clipboard_.SetOwner(hwnd_);
  editors_.SetOwner(hwnd_);
  editors_.add_hooks.capture_macro = [this](HWND owner, MacroRecord& record, const CaptureRequest& request) {
    return CaptureNewMacro(owner, record, request);
  };
  sharing_.SetOwner(hwnd_);

  // Operating-system family.
  OSVERSIONINFOA vi{};
  vi.dwOSVersionInfoSize = sizeof vi;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  ::GetVersionExA(&vi);
#pragma GCC diagnostic pop
  OsFamily os = ClassifyOs(static_cast<int>(vi.dwPlatformId), static_cast<int>(vi.dwMajorVersion));
  tray_capable_ = os.tray_capable;
  nt4_or_later_ = os.nt4_or_later;
  if (!tray_capable_) ctx_.settings.use_tray = false;

  CreateRemapBlock();
  CreateWindowBlock();
  InitActivationBlock();
  qlx::SetHotKeys(ctx_.block);
  InstallKeyboardAndMouseHooks();

  // Start-up show state.
  std::optional<int> startup_info_show;
  if (ctx_.process_show == SW_SHOWDEFAULT) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    ::GetStartupInfoA(&si);
    if (si.dwFlags & STARTF_USESHOWWINDOW) startup_info_show = si.wShowWindow;
  }
  startup_show_ = FoldStartupShowState(ctx_.process_show, startup_info_show);

  // The list and the commands exist before anything fills them.
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(hwnd_, GWLP_HINSTANCE));
  list_.Create(hwnd_, IDC_MACRO_LIST, instance);
  surfaces_.Create(hwnd_, instance);

  SetMenuLastFiles();
  hide_at_first_paint_ = false;
  browse_mode_ = BrowseMode::None;
  ApplyStartParams();
  // The start-up file, or the one "/F" chose, with "/N" or the setting.
  hooks_.ReadSyncRecord(ctx_.macro_file.name());
  sharing_.StartTimers();

  StartScheduleAndTray();

  // The screen once, for absolute mouse positions and centred dialogs.
  engine_.Screen = MakeScreenSize(screen_metrics_.Width(), screen_metrics_.Height());

  surfaces_.CheckMenuItem(UiCommand::ShowDate, ctx_.settings.show_date);
  surfaces_.CheckMenuItem(UiCommand::ScreenSaver, ctx_.settings.disable_screen_saver);
  surfaces_.CheckMenuItem(UiCommand::SystemTray, ctx_.settings.use_tray);
  hooks_.DoMenuTaskIcon();
  hooks_.CheckAndSetTime();
}

[[noreturn]] void TMainWin::FailBlock(win::BlockError error) {
  ::MessageBoxA(hwnd_, error == win::BlockError::NotMapped ? kBlockNotMapped : kBlockNotCreated, kSystemError,
                MB_OK);
  ::ExitProcess(1);
}

void TMainWin::CreateRemapBlock() {
  win::BlockError e = win::CreateNamedBlock(kRemapBlockName, rb::kSize, remap_block_);
  if (e != win::BlockError::None) FailBlock(e);
  RemapBlock remap(remap_block_.bytes());
  remap.SetMainWindow(win::HandleField(hwnd_));
  remap.SetStartupByte(0);
  remap.SetRemapHook(ctx_.hooks.HookSwap());
  hooks_.GetSwapFile();
}

void TMainWin::CreateWindowBlock() {
  win::BlockError e = win::CreateNamedBlock(kWindowBlockName, wb::kSize, window_block_);
  if (e != win::BlockError::None) FailBlock(e);
  WindowBlock wnd(window_block_.bytes());
  wnd.SetMainWindow(win::HandleField(hwnd_));
  wnd.SetLastOutsideWindows(win::HandleField(hwnd_));
  wnd.SetActivationHook(ctx_.hooks.HookCBT());
  wnd.SetIsNt(nt4_or_later_);
}

void TMainWin::InitActivationBlock() {
  ActivationBlock& b = ctx_.block;
  b.SetMainWindow(win::HandleField(hwnd_));
  b.SetHotKeyEntryWindow(win::HandleField(hwnd_));
  for (size_t off : {ab::kStartupByte4, ab::kCaptureInProgress, ab::kCaptureState740, ab::kCaptureDoubleAlt,
                     ab::kHotKeyEntryActive, ab::kStopCtrl, ab::kStopAlt, ab::kStopShift, ab::kCaptureState765,
                     ab::kStartupByte14296}) {
    b.SetByte(off, 0);
  }
  b.SetI16(ab::kStopVirtualKey, 0);
  b.SetByte(ab::kIsNt, nt4_or_later_ ? 1 : 0);
}

void TMainWin::InstallKeyboardAndMouseHooks() {
  ctx_.block.SetKeyboardHook(ctx_.hooks.HookKeyboard());
  ctx_.block.SetMouseHook(ctx_.hooks.HookMouse());
}

void TMainWin::ApplyStartParams() {
  for (const std::string& raw : ctx_.params) {
    StartParam p = ClassifyStartParam(raw);
    switch (p.kind) {
      case StartParamKind::Hide: hide_at_first_paint_ = true; break;
      case StartParamKind::Browse: browse_mode_ = BrowseMode::Browse; break;
      case StartParamKind::BrowseAll: browse_mode_ = BrowseMode::BrowseAll; break;
      case StartParamKind::AutoSync: ctx_.settings.auto_sync = true; break;
      case StartParamKind::Network: ctx_.settings.network_mode = true; break;
      case StartParamKind::SyncMinutes: ctx_.settings.sync_minutes = static_cast<uint16_t>(p.minutes); break;
      case StartParamKind::OpenFile:
        if (!p.path.empty() && FileExists(p.path)) OpenFileWithParam(p.path);
        break;
      case StartParamKind::Ignored: break;
    }
  }
}

// ---------------------------------------------------------------- showing

void TMainWin::FormShow() {
  DoCaption();
  list_.ApplyColumnWidths();
  FillList();
  FormResize();
  CheckTimeItem();
}

void TMainWin::FormActivate() {
  // The start-up show state applies to the first activation only.
  if (first_activation_done_) return;
  first_activation_done_ = true;
  if (ctx_.settings.use_tray) return;
  if (startup_show_ == SW_MINIMIZE) ::ShowWindow(hwnd_, SW_MINIMIZE);
  else if (startup_show_ == SW_SHOWMAXIMIZED) ::ShowWindow(hwnd_, SW_SHOWMAXIMIZED);
}

void TMainWin::FormPaint() {
  if (hide_at_first_paint_) {
    hide_at_first_paint_ = false;
    remembered_row_ = list_.SelectedRow();
    ::ShowWindow(hwnd_, SW_HIDE);
  }
}

void TMainWin::FormResize() {
  if (!list_.hwnd()) return;
  RECT rc;
  ::GetClientRect(hwnd_, &rc);
  const MainLayout layout = LayoutMainWindow(rc.right, rc.bottom, ctx_.settings.use_speed);
  list_.Place(layout.list);
  surfaces_.Layout(layout, ctx_.settings.use_speed);
}

void TMainWin::DoCaption() {
  caption_file_ = CaptionFileName(ctx_.settings.current_file);
  std::string when;
  if (ctx_.settings.show_date) {
    char date[64] = {}, time[64] = {};
    ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, sizeof date);
    ::GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, time, sizeof time);
    when = std::string(date) + "  " + time;
  }
  ::SetWindowTextA(hwnd_, MainCaption(caption_file_, when, browse_mode_).c_str());
}

void TMainWin::MyTimerTick() {
  // The caption's clock follows the time.
  if (ctx_.settings.show_date) DoCaption();
}

void TMainWin::OpenSelectedMacro() {
  // The editor's routing sends a menu to its builder and a system macro to
  // System Hot Keys, which the greyed Scripting Editor command would not.
  if (ListOpensSelectedMacro(CurrentCommandContext())) edit_operations_.ScriptingEditor();
}

void TMainWin::CheckTimeItem() { surfaces_.Apply(ComputeCommandStates(CurrentCommandContext())); }

CommandContext TMainWin::CurrentCommandContext() const {
  const ActivationBlock& b = ctx_.block;
  CommandContext c;
  c.macro_count = b.ClampedCount();
  const int n = list_.SelectedMacro();
  c.row_selected = n > 0;
  if (n > 0) {
    c.scope = b.Scope(n);
    c.code = b.Code(n);
    c.active = b.Active(n);
  }
  c.browse = browse_mode_;
  c.use_tray = ctx_.settings.use_tray;
  c.tray_capable = tray_capable_;
  c.features = BuiltFeatures();
  return c;
}

SortOrder TMainWin::CurrentSortOrder() const {
  return {ctx_.settings.primary_sort, ctx_.settings.activation_sort, ctx_.settings.scope_sort};
}

void TMainWin::SaveSettings() {
  RefreshFontStyleFlags(ctx_.settings);
  WriteSettings(ctx_.profile, ctx_.settings);
}

void TMainWin::ShowDateClick() {
  ctx_.settings.show_date = !ctx_.settings.show_date;
  surfaces_.CheckMenuItem(UiCommand::ShowDate, ctx_.settings.show_date);
  DoCaption();
  SaveSettings();
}

// ---------------------------------------------------------------- tools

void TMainWin::RestoreKeyboardHooksClick() {
  if (!ctx_.boxes.AskYesNo("Keyboard Hooks", "Restore the keyboard hooks?")) return;
  ctx_.hooks.UnHook(ctx_.block.KeyboardHook());
  ctx_.block.SetKeyboardHook(ctx_.hooks.HookKeyboard());
  RemapBlock remap(remap_block_.bytes());
  ctx_.hooks.UnHook(remap.RemapHook());
  remap.SetRemapHook(ctx_.hooks.HookSwap());
}

void TMainWin::RestoreMouseHooksClick() {
  if (!ctx_.boxes.AskYesNo("Mouse Hooks", "Restore the mouse hooks?")) return;
  ctx_.hooks.UnHook(ctx_.block.MouseHook());
  ctx_.block.SetMouseHook(ctx_.hooks.HookMouse());
}

// ---------------------------------------------------------------- shutdown

void TMainWin::SaveStretchDim() {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  ::GetWindowPlacement(hwnd_, &wp);
  RECT window{};
  ::GetWindowRect(hwnd_, &window);
  // The normal position counts from the work area's corner; the settings
  // and CreateWindow count from the screen's.
  WorkArea work;
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  if (::GetMonitorInfoA(::MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &mi))
    work = {mi.rcWork.left - mi.rcMonitor.left, mi.rcWork.top - mi.rcMonitor.top};
  const bool restored_elsewhere = ::IsIconic(hwnd_) || ::IsZoomed(hwnd_);
  const Rect r = SavedWindowRect(restored_elsewhere, RectOf(window), RectOf(wp.rcNormalPosition), work);
  ctx_.settings.main_width = r.width;
  ctx_.settings.main_height = r.height;
  ctx_.settings.main_left = r.left;
  ctx_.settings.main_top = r.top;
}

void TMainWin::FormClose() {
  if (closed_) return;
  closed_ = true;
  closing_ = true;
  engine_.AbortRequested = true;  // a playing macro ends at its next step
  ctx_.hooks.UnHook(ctx_.block.KeyboardHook());
  ctx_.hooks.UnHook(ctx_.block.MouseHook());
  if (remap_block_.bytes()) ctx_.hooks.UnHook(RemapBlock(remap_block_.bytes()).RemapHook());
  if (window_block_.bytes()) ctx_.hooks.UnHook(WindowBlock(window_block_.bytes()).ActivationHook());
  window_block_.Close();
  remap_block_.Close();
  SaveStretchDim();
  SaveSettings();
  StopScheduleAndTray();
  sharing_.StopTimers();
}

}  // namespace qlx
