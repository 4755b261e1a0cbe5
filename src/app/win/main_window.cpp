#include "app/win/main_window.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstdio>
#include <exception>
#include <utility>

#include "activation/hook_contract.h"
#include "store/hotkey_table.h"
#include "engine/program_hiding.h"
#include "engine/win/on_top_message.h"
#include "engine/win/pause_macro.h"
#include "engine/win/repeat_prompt.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "resource.h"

namespace qlx {
namespace {

constexpr UINT_PTR kMyTimer = 1;    // scheduler tick
constexpr UINT_PTR kTimer2 = 2;     // one-shot start-up macros
constexpr UINT_PTR kSyncTimer = 3;  // network synchronisation
constexpr UINT kSyncTimerMs = 60000;
constexpr UINT kTimer2Ms = 5000;

constexpr char kSystemError[] = "System Error";
constexpr char kBlockNotCreated[] = "Memory Mapped File could not be created.  Quillon will terminate.";
constexpr char kBlockNotMapped[] = "Memory Mapped File could not be mapped.  Quillon will terminate.";
constexpr char kTooManyMacros[] =
    "This macro file holds more than 500 macros.  Only the first 500 can be used; "
    "the others stay in the file unchanged.";

// Commands that "/B" disables; "/BA" disables these and kBrowseAllExtra.
constexpr UINT kBrowseDisabled[] = {
    IDM_NEW_FILE,       IDM_NETWORK,          IDM_REMOVE_MACRO, IDM_COPY_MACRO, IDM_RENAME_MACRO,
    IDM_ACTIVATE_MACRO, IDM_SCRIPTING_EDITOR, IDM_IMPORT,       IDM_EXPORT,     IDM_MODIFY_DIRECTLY,
    IDM_RECAPTURE,      IDM_ADD_MACRO,        IDM_APPEARANCE,   IDM_REMAP,      IDM_SNAPWORDS,
    IDM_CAPTURE,        IDM_SCREEN_SAVER_DISABLE};
constexpr UINT kBrowseAllExtra[] = {
    IDM_OPEN_FILE,   IDM_RECENT_1,      IDM_RECENT_1 + 1, IDM_RECENT_1 + 2, IDM_RECENT_1 + 3,
    IDM_RECENT_1 + 4, IDM_OUTPUT_INFO,  IDM_PRINT_LIST,   IDM_PRINTER_SETUP, IDM_PRINTER_FONT,
    IDM_HIDE,        IDM_QUICK_INFO,    IDM_TIMER_INTERVAL, IDM_ALARM,       IDM_SORT,
    IDM_SYSTEM_TRAY};

std::string ScopeColumnText(int16_t scope, const std::string& text) {
  switch (scope) {
    case 1: return "GLOBAL";
    case 2: return "Window: " + text;
    case 3: return "Program: " + text;
    case 4: return "Popup Menu";
    case 5: return "SYSTEM";
    default: return std::string();
  }
}

std::string ActivationColumnText(uint16_t code, const std::string& snapword) {
  if (code == kTimedCode) return "Timed Macro";
  if (code == kSnapwordCode) return snapword;
  return std::string(HotKeyName(code));
}

}  // namespace

TMainWin::TMainWin(AppContext& ctx)
    : ctx_(ctx),
      seams_{input_, desktop_, processes_, shell_, pump_, ctx.clock, clipboard_, files_, sound_},
      windows_(seams_, engine_),
      player_(seams_, *this, engine_, windows_),
      dispatch_(ctx.block, engine_, dispatch_state_, desktop_, processes_, input_, windows_, *this) {}

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
  FormShow();
  if (!ctx_.settings.use_tray) {
    ::ShowWindow(hwnd_, SW_SHOWNORMAL);
    ::UpdateWindow(hwnd_);
  }
  return true;
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
    ::MessageBoxA(hwnd, e.what(), "Quillon 98", MB_OK | MB_ICONERROR);
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
    case WM_PAINT:
      FormPaint();
      break;
    case WM_SIZE:
      FormResize();
      return 0;
    case WM_TIMER:
      if (wp == kTimer2) {
        // Start-up macros run once; the timer only ever fires once.
        ::KillTimer(hwnd_, kTimer2);
      }
      return 0;
    case WM_COMMAND: {
      const UINT id = LOWORD(wp);
      if (id >= IDM_RECENT_1 && id < IDM_RECENT_1 + kRecentFileSlots) {
        RecentFileClick(static_cast<int>(id - IDM_RECENT_1) + 1);
        return 0;
      }
      switch (id) {
        case IDM_NEW_FILE: NewFileClick(); return 0;
        case IDM_OPEN_FILE: OpenFileClick(); return 0;
        case IDM_TERMINATE: ::SendMessageA(hwnd_, WM_CLOSE, 0, 0); return 0;
        case IDM_RESTORE_KEYBOARD: RestoreKeyboardHooksClick(); return 0;
        case IDM_RESTORE_MOUSE: RestoreMouseHooksClick(); return 0;
        default: break;
      }
      break;
    }
    case kMsgHotKey:
      if (!closed_) dispatch_.OnHotKey(static_cast<uint32_t>(wp), static_cast<WindowHandle>(lp));
      return 0;
    case kMsgAbort:
      engine_.AbortRequested = true;
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

// ---------------------------------------------------------------- creation

void TMainWin::FormCreate() {
  menu_ = ::GetMenu(hwnd_);
  ctx_.boxes.SetOwner(hwnd_);
  // Programs and addresses are opened with the main window as owner; the
  // clipboard needs an owner to take new text.
  shell_.SetOwner(hwnd_);
  clipboard_.SetOwner(hwnd_);

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
  if (!tray_capable_) {
    ctx_.settings.use_tray = false;
    EnableMenuCommand(IDM_SYSTEM_TRAY, false);
  }
  if (!ctx_.settings.use_tray) EnableMenuCommand(IDM_HIDE, false);

  CreateRemapBlock();
  CreateWindowBlock();
  InitActivationBlock();
  SetHotKeys(ctx_.block);
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

  SetMenuLastFiles();
  hide_at_first_paint_ = false;
  browse_mode_ = BrowseMode::None;
  ApplyStartParams();

  ::SetTimer(hwnd_, kMyTimer, static_cast<UINT>(ctx_.settings.timer_seconds) * 1000u, nullptr);
  ::SetTimer(hwnd_, kTimer2, kTimer2Ms, nullptr);

  // The screen once, for absolute mouse positions and centred dialogs.
  engine_.Screen = MakeScreenSize(screen_metrics_.Width(), screen_metrics_.Height());

  if (ctx_.settings.show_date) ::CheckMenuItem(menu_, IDM_SHOW_DATE, MF_BYCOMMAND | MF_CHECKED);
  if (ctx_.settings.disable_screen_saver)
    ::CheckMenuItem(menu_, IDM_SCREEN_SAVER_DISABLE, MF_BYCOMMAND | MF_CHECKED);
  if (ctx_.settings.use_tray) ::CheckMenuItem(menu_, IDM_SYSTEM_TRAY, MF_BYCOMMAND | MF_CHECKED);

  // The macro list.
  list_ = ::CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                            WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                            0, 0, 10, 10, hwnd_, reinterpret_cast<HMENU>(IDC_MACRO_LIST),
                            reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(hwnd_, GWLP_HINSTANCE)),
                            nullptr);
  ::SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
  const char* titles[] = {"", "Activation", "Nickname", "Scope"};
  const int widths[] = {40, ctx_.settings.col1_width, ctx_.settings.col2_width, ctx_.settings.col3_width};
  for (int c = 0; c < 4; ++c) {
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    col.pszText = const_cast<char*>(titles[c]);
    col.cx = widths[c];
    col.iSubItem = c;
    ::SendMessageA(list_, LVM_INSERTCOLUMNA, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&col));
  }

  if (ctx_.settings.network_mode && ctx_.settings.auto_sync) ::SetTimer(hwnd_, kSyncTimer, kSyncTimerMs, nullptr);
  if (browse_mode_ != BrowseMode::None) ApplyBrowseRestrictions();
  SetButtons(ctx_.block.ClampedCount() > 0);
}

[[noreturn]] void TMainWin::FailBlock(win::BlockError error) {
  ::MessageBoxA(hwnd_, error == win::BlockError::NotCreated ? kBlockNotCreated : kBlockNotMapped, kSystemError,
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
  // The key-remap file arrives with key remapping; until then the tables
  // stay as the block was created (all zero means "no remapping").
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

void TMainWin::ApplyBrowseRestrictions() {
  for (UINT id : kBrowseDisabled) EnableMenuCommand(id, false);
  if (browse_mode_ == BrowseMode::BrowseAll)
    for (UINT id : kBrowseAllExtra) EnableMenuCommand(id, false);
}

// ---------------------------------------------------------------- showing

void TMainWin::FormShow() {
  DoCaption();
  FillList();
  FormResize();
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
    ::ShowWindow(hwnd_, SW_HIDE);
  }
}

void TMainWin::FormResize() {
  if (!list_) return;
  RECT rc;
  ::GetClientRect(hwnd_, &rc);
  ::MoveWindow(list_, 4, 4, rc.right - 8, rc.bottom - 8, TRUE);
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

void TMainWin::FillList() {
  if (!list_) return;
  ::SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
  const ActivationBlock& b = ctx_.block;
  const int count = b.ClampedCount();
  for (int n = 1; n <= count; ++n) {
    const std::string cells[4] = {std::to_string(n),
                                  ActivationColumnText(b.Code(n), ctx_.settings.names.Snapword(n)),
                                  ctx_.settings.names.Nickname(n), ScopeColumnText(b.Scope(n), b.ScopeText(n))};
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = n - 1;
    item.pszText = const_cast<char*>(cells[0].c_str());
    item.lParam = n;
    int row = static_cast<int>(::SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    for (int c = 1; c < 4; ++c) {
      LVITEMA sub{};
      sub.iSubItem = c;
      sub.pszText = const_cast<char*>(cells[c].c_str());
      ::SendMessageA(list_, LVM_SETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&sub));
    }
  }
}

void TMainWin::SetButtons(bool /*have_macros*/) {
  // The macro commands arrive with the list operations; they stay disabled
  // in the menu until then.
}

void TMainWin::SetMenuLastFiles() {
  HMENU file_menu = ::GetSubMenu(menu_, 0);
  ::DeleteMenu(file_menu, IDM_RECENT_SEPARATOR, MF_BYCOMMAND);
  for (UINT k = 0; k < kRecentFileSlots; ++k) ::DeleteMenu(file_menu, IDM_RECENT_1 + k, MF_BYCOMMAND);

  RecentFilesMenu m = MenuForRecentFiles(ctx_.settings.recent_files);
  if (!m.separator_visible) return;
  // The recent files stand above the separator that precedes "&Hide".
  int pos = 0;
  const int n = ::GetMenuItemCount(file_menu);
  for (; pos < n; ++pos)
    if (::GetMenuItemID(file_menu, pos) == IDM_HIDE) break;
  pos = pos > 0 ? pos - 1 : n;
  ::InsertMenuA(file_menu, static_cast<UINT>(pos++), MF_BYPOSITION | MF_SEPARATOR, IDM_RECENT_SEPARATOR, nullptr);
  for (UINT k = 0; k < kRecentFileSlots; ++k) {
    if (!m.items[k].visible) continue;
    ::InsertMenuA(file_menu, static_cast<UINT>(pos++), MF_BYPOSITION | MF_STRING, IDM_RECENT_1 + k,
                  m.items[k].caption.c_str());
  }
  ::DrawMenuBar(hwnd_);
}

void TMainWin::EnableMenuCommand(UINT id, bool enabled) {
  ::EnableMenuItem(menu_, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

// ---------------------------------------------------------------- files

void TMainWin::LoadCurrentFile() {
  ctx_.macro_file.SetName(ctx_.settings.current_file);
  LoadResult r = ctx_.macro_file.Load();
  if (r.truncated) ctx_.boxes.Show("Warning", kTooManyMacros);
}

// The steps every way of switching files shares, after the name is chosen.
void TMainWin::SwitchCommon(const std::string& name) {
  ctx_.settings.current_file = name;
  LoadCurrentFile();
  SetHotKeys(ctx_.block);
  DoCaption();
  FillList();
  SetButtons(ctx_.block.ClampedCount() > 0);
  // The schedule and the key-remap file are rebuilt here once those exist.
}

void TMainWin::OpenFileWithParam(const std::string& path) { SwitchCommon(path); }

namespace {

// The open and save dialogs share filter, extension and buffer.
bool AskForMacroFile(HWND owner, bool save, std::string& out) {
  char buffer[MAX_PATH] = {};
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = "Quillon (*.QLX)\0*.QLX\0";
  ofn.lpstrFile = buffer;
  ofn.nMaxFile = sizeof buffer;
  ofn.lpstrDefExt = kMacroFileExtension;
  ofn.lpstrTitle = save ? "New Quillon File" : "Open Quillon File";
  ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  BOOL ok = save ? ::GetSaveFileNameA(&ofn) : ::GetOpenFileNameA(&ofn);
  if (!ok) return false;
  out = buffer;
  return true;
}

}  // namespace

void TMainWin::OpenFileClick() {
  std::string name;
  if (!AskForMacroFile(hwnd_, false, name)) return;
  if (!HasMacroFileExtension(name)) {
    ctx_.boxes.Show(kErrorCaption, kInvalidFileTypeText);
    return;
  }
  const std::string previous = ctx_.settings.current_file;
  SwitchCommon(name);
  DoLastFiles(ctx_.settings.recent_files, previous, name);
  SetMenuLastFiles();
}

void TMainWin::NewFileClick() {
  std::string name;
  if (!AskForMacroFile(hwnd_, true, name)) return;
  if (!HasMacroFileExtension(name)) {
    ctx_.boxes.Show(kErrorCaption, kInvalidFileTypeText);
    return;
  }
  const std::string previous = ctx_.settings.current_file;
  SwitchCommon(name);  // a missing file is created with the system macros
  DoLastFiles(ctx_.settings.recent_files, previous, name);
  SetMenuLastFiles();
}

void TMainWin::RecentFileClick(int slot) {
  if (slot < 1 || slot > static_cast<int>(kRecentFileSlots)) return;
  const std::string name = ctx_.settings.recent_files[static_cast<size_t>(slot - 1)];
  if (name.empty() || !FileExists(name)) {
    ctx_.boxes.Show(kErrorCaption, kFileDoesNotExistText);
    return;
  }
  const std::string previous = ctx_.settings.current_file;
  SwitchCommon(name);
  DoLastFiles(ctx_.settings.recent_files, previous, name);
  SetMenuLastFiles();
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

// ---------------------------------------------------------------- playback

void TMainWin::DoAMessage(const std::string& caption, const std::string& text) {
  // One at a time: a second message while one is open is dropped.
  if (engine_.ShowingMessage) return;
  FlagScope showing(engine_.ShowingMessage);
  HiddenProgram hidden(PlaybackDialog::Message, *this, desktop_, input_, engine_);
  TOnTopMessage form(caption, text, engine_.Screen);
  form.ShowModal();
}

uint16_t TMainWin::DoRepPrompt() {
  FlagScope showing(engine_.ShowingRepeatPrompt);
  HiddenProgram hidden(PlaybackDialog::RepeatPrompt, *this, desktop_, input_, engine_);
  TRepeatPrompt form(engine_.Screen);
  return form.ShowModal();
}

bool TMainWin::ShowPauseBox(int top, int left, const std::string& message) {
  HiddenProgram hidden(PlaybackDialog::Pause, *this, desktop_, input_, engine_);
  const int n = engine_.CurrentMacro;
  const bool known = n >= 1 && n <= ctx_.block.ClampedCount();
  PauseBoxRequest request;
  request.top = top;
  request.left = left;
  request.message = message;
  request.macro_name = known ? ctx_.settings.names.Nickname(n) : std::string();
  // No macro number: nothing to name, as for a timed macro.
  request.activation_code = known ? ctx_.block.Code(n) : kTimedCode;
  request.target = engine_.TargetWindow;
  TPauseMacro form(std::move(request), desktop_);
  pause_dialog_ = &form;
  const bool resume = form.ShowModal();
  pause_dialog_ = nullptr;
  return resume;
}

void TMainWin::ResumePause() {
  if (pause_dialog_) pause_dialog_->Resume();
}

void TMainWin::SwapMacroFile(std::string_view path) {
  // The full path, so that a later "<CHDIR:" does not change which file is
  // current; the caption shows its file name.
  const std::string given(path);
  char full[MAX_PATH] = {};
  const DWORD n = ::GetFullPathNameA(given.c_str(), sizeof full, full, nullptr);
  const std::string name = (n > 0 && n < sizeof full) ? std::string(full, n) : given;

  const std::string previous = ctx_.settings.current_file;
  ClearMenuTaskIcon();
  ctx_.settings.current_file = name;
  ReadSyncRecordOfCurrentFile();
  SwitchCommon(name);  // load, hot keys, caption, list, buttons
  if (ctx_.settings.disable_screen_saver) CheckForScreenSaver();
  CheckAndSetTime();
  DoMenuTaskIcon();
  DoLastFiles(ctx_.settings.recent_files, previous, name);
  SetMenuLastFiles();
  GetSwapFile();
}

void TMainWin::LetWindowManagerFollow() {
  const bool never = false;  // the abort request must not cut this short
  Waits(ctx_.clock, pump_, never).Milliseconds(kWindowManagerSettleMs);
}

// The program has no window apart from the main window that could stand
// for it in the taskbar: in tray mode the dialogs come forward on their
// own, being topmost.
void TMainWin::ShowApplication() {}
void TMainWin::HideApplication() {}

bool TMainWin::ApplicationMinimized() { return ::IsIconic(hwnd_) != 0; }

void TMainWin::RestoreApplication() { ::ShowWindow(hwnd_, SW_SHOWNOACTIVATE); }

void TMainWin::MinimizeApplication() { ::ShowWindow(hwnd_, SW_SHOWMINNOACTIVE); }

bool TMainWin::MainWindowVisible() { return ::IsWindowVisible(hwnd_) != 0; }

// The caller then hands the foreground back to the window it belongs to.
// A window manager that focuses newly shown windows must have done so
// before the hand-back, or it would take the foreground away again.
void TMainWin::ShowMainWindow() {
  ::ShowWindow(hwnd_, SW_SHOW);
  LetWindowManagerFollow();
}

void TMainWin::HideMainWindow() { ::ShowWindow(hwnd_, SW_HIDE); }

bool TMainWin::ReadPlaybackRecord(int n, MacroRecord& record) { return ctx_.macro_file.ReadRecord(n, record); }

void TMainWin::PlayText(const std::string& text) { player_.StartPlayback(text, PlaybackEntry::Triggered); }

int TMainWin::ChooseFromPopupMenu(const MacroRecord&) {
  // Popup-menu macros arrive with their chooser.
  return -1;
}

void TMainWin::ActivateMe() {
  if (auto refusal = dispatch_.ActivateMeRefusal()) {
    DoAMessage(kWarningCaption, *refusal);
    return;
  }
  if (::IsWindowVisible(hwnd_) && !ctx_.settings.use_tray) {
    if (::IsIconic(hwnd_)) ::ShowWindow(hwnd_, SW_RESTORE);
  } else {
    ::ShowWindow(hwnd_, SW_SHOW);
  }
  ::SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ::SetForegroundWindow(hwnd_);
}

// ---------------------------------------------------------------- shutdown

void TMainWin::SaveStretchDim() {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  ::GetWindowPlacement(hwnd_, &wp);
  // The normal position, so a minimised or maximised window reopens sensibly.
  const RECT& r = wp.rcNormalPosition;
  ctx_.settings.main_width = r.right - r.left;
  ctx_.settings.main_height = r.bottom - r.top;
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
  RefreshFontStyleFlags(ctx_.settings);
  WriteSettings(ctx_.profile, ctx_.settings);
  for (UINT_PTR t : {kMyTimer, kTimer2, kSyncTimer}) ::KillTimer(hwnd_, t);
}

}  // namespace qlx
