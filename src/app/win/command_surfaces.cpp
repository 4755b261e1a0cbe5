#include "app/win/command_surfaces.h"

#include <commctrl.h>

#include <array>

#include "resource.h"

namespace qlx {
namespace {

using C = UiCommand;

struct CommandEntry {
  UiCommand command;
  UINT id;
};

constexpr std::array<CommandEntry, kUiCommandCount> kCommandIds = {{
    {C::NewFile, IDM_NEW_FILE},
    {C::OpenFile, IDM_OPEN_FILE},
    {C::Recent1, IDM_RECENT_1},
    {C::Recent2, IDM_RECENT_1 + 1},
    {C::Recent3, IDM_RECENT_1 + 2},
    {C::Recent4, IDM_RECENT_1 + 3},
    {C::Recent5, IDM_RECENT_1 + 4},
    {C::PrintList, IDM_PRINT_LIST},
    {C::PrinterSetup, IDM_PRINTER_SETUP},
    {C::PrinterFont, IDM_PRINTER_FONT},
    {C::OutputInfo, IDM_OUTPUT_INFO},
    {C::Import, IDM_IMPORT},
    {C::Export, IDM_EXPORT},
    {C::Hide, IDM_HIDE},
    {C::Terminate, IDM_TERMINATE},
    {C::AddMacro, IDM_ADD_MACRO},
    {C::ScriptingEditor, IDM_SCRIPTING_EDITOR},
    {C::ModifyDirectly, IDM_MODIFY_DIRECTLY},
    {C::Recapture, IDM_RECAPTURE},
    {C::CopyMacro, IDM_COPY_MACRO},
    {C::RenameMacro, IDM_RENAME_MACRO},
    {C::RemoveMacro, IDM_REMOVE_MACRO},
    {C::ActivateMacro, IDM_ACTIVATE_MACRO},
    {C::QuickInfo, IDM_QUICK_INFO},
    {C::Appearance, IDM_APPEARANCE},
    {C::SortOrder, IDM_SORT},
    {C::SystemHotKeys, IDM_SYSTEM_HOT_KEYS},
    {C::SnapwordOptions, IDM_SNAPWORDS},
    {C::CaptureOptions, IDM_CAPTURE},
    {C::Remap, IDM_REMAP},
    {C::Network, IDM_NETWORK},
    {C::TimerInterval, IDM_TIMER_INTERVAL},
    {C::Alarm, IDM_ALARM},
    {C::ScreenSaver, IDM_SCREEN_SAVER_DISABLE},
    {C::ShowDate, IDM_SHOW_DATE},
    {C::SystemTray, IDM_SYSTEM_TRAY},
    {C::RestoreKeyboardHooks, IDM_RESTORE_KEYBOARD},
    {C::RestoreMouseHooks, IDM_RESTORE_MOUSE},
    {C::HelpContents, IDM_HELP_CONTENTS},
}};

constexpr bool InCommandOrder() {
  for (size_t i = 0; i < kCommandIds.size(); ++i)
    if (kCommandIds[i].command != static_cast<UiCommand>(i)) return false;
  return true;
}
static_assert(InCommandOrder(), "one entry per command, in the order of UiCommand");

// The speed bar: picture index in speedbar.bmp and hint, in bar order; a
// picture of -1 is a gap between groups.
struct BarButton {
  UiCommand command;
  int picture;  // -1: a gap
  const char* hint;
};
constexpr BarButton kBar[] = {
    {C::NewFile, 0, "New Macro File"},
    {C::OpenFile, 1, "Open Macro File"},
    {C::NewFile, -1, nullptr},
    {C::AddMacro, 2, "Add Macro"},
    {C::ScriptingEditor, 3, "Modify Macro Using Scripting Editor"},
    {C::ModifyDirectly, 4, nullptr},  // the hint follows the selected macro
    {C::Recapture, 5, "Recapture Macro"},
    {C::NewFile, -1, nullptr},
    {C::RenameMacro, 6, "Rename Macro"},
    {C::CopyMacro, 7, "Copy Macro"},
    {C::ActivateMacro, 8, nullptr},
    {C::RemoveMacro, 9, "Delete Macro"},
    {C::NewFile, -1, nullptr},
    {C::Import, 10, "Import Macros"},
    {C::Export, 11, "Export Macros"},
    {C::PrintList, 12, "Print Macro List"},
    {C::NewFile, -1, nullptr},
    {C::Appearance, 13, "Appearance"},
    {C::SortOrder, 14, "Sort Order"},
};
constexpr int kBarPictures = 15;
constexpr int kBarPictureSize = 16;
constexpr int kBarButtonSize = 25;
constexpr COLORREF kBarTransparent = RGB(255, 0, 255);

// The lettered panel, top to bottom.
struct PanelButton {
  UiCommand command;
  const char* caption;  // nullptr: follows the selected macro
};
constexpr PanelButton kPanel[] = {
    {C::AddMacro, "&Add Macro"},       {C::ScriptingEditor, "&Scripting Editor"},
    {C::ModifyDirectly, nullptr},      {C::Recapture, "Re&capture Macro"},
    {C::CopyMacro, "Cop&y Macro"},     {C::RenameMacro, "Re&name Macro"},
    {C::RemoveMacro, "&Remove Macro"}, {C::ActivateMacro, nullptr},
};

void SetMenuCaption(HMENU menu, UINT id, const std::string& caption) {
  MENUITEMINFOA mi{};
  mi.cbSize = sizeof mi;
  mi.fMask = MIIM_STRING;
  mi.dwTypeData = const_cast<char*>(caption.c_str());
  ::SetMenuItemInfoA(menu, id, FALSE, &mi);
}

}  // namespace

UINT CommandId(UiCommand c) { return kCommandIds[static_cast<size_t>(c)].id; }

std::optional<UiCommand> CommandOfId(UINT id) {
  for (const CommandEntry& e : kCommandIds)
    if (e.id == id) return e.command;
  return std::nullopt;
}

TCommandSurfaces::~TCommandSurfaces() {
  if (bar_images_) ::ImageList_Destroy(bar_images_);
}

void TCommandSurfaces::Create(HWND parent, HINSTANCE instance) {
  parent_ = parent;
  menu_ = ::GetMenu(parent);

  bar_ = ::CreateWindowExA(0, TOOLBARCLASSNAMEA, "",
                           WS_CHILD | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NOPARENTALIGN |
                               CCS_NODIVIDER,
                           0, 0, 10, 10, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_SPEEDBAR)),
                           instance, nullptr);
  ::SendMessageA(bar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  bar_images_ = ::ImageList_Create(kBarPictureSize, kBarPictureSize, ILC_COLOR24 | ILC_MASK, kBarPictures, 0);
  if (HBITMAP pictures = static_cast<HBITMAP>(
          ::LoadImageA(instance, MAKEINTRESOURCEA(IDB_SPEEDBAR), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))) {
    ::ImageList_AddMasked(bar_images_, pictures, kBarTransparent);
    ::DeleteObject(pictures);
  }
  ::SendMessageA(bar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(bar_images_));
  ::SendMessageA(bar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(kBarButtonSize, kBarButtonSize));
  std::vector<TBBUTTON> buttons;
  for (const BarButton& b : kBar) {
    TBBUTTON t{};
    if (b.picture < 0) {
      t.fsStyle = BTNS_SEP;
    } else {
      t.iBitmap = b.picture;
      t.idCommand = static_cast<int>(CommandId(b.command));
      t.fsState = TBSTATE_ENABLED;
      t.fsStyle = BTNS_BUTTON;
    }
    buttons.push_back(t);
  }
  ::SendMessageA(bar_, TB_ADDBUTTONSA, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));

  NONCLIENTMETRICSA ncm{};
  ncm.cbSize = sizeof ncm;
  if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0))
    panel_font_.reset(::CreateFontIndirectA(&ncm.lfMessageFont));
  for (const PanelButton& p : kPanel) {
    HWND b = ::CreateWindowExA(0, "BUTTON", p.caption ? p.caption : "", WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON, 0, 0,
                               10, 10, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(CommandId(p.command))),
                               instance, nullptr);
    if (panel_font_) ::SendMessageA(b, WM_SETFONT, reinterpret_cast<WPARAM>(panel_font_.get()), FALSE);
    panel_.push_back(b);
  }
}

void TCommandSurfaces::Layout(const MainLayout& layout, bool use_speed) {
  ::MoveWindow(bar_, layout.bar.left, layout.bar.top, layout.bar.width, layout.bar.height, TRUE);
  ::ShowWindow(bar_, use_speed ? SW_SHOW : SW_HIDE);
  for (size_t i = 0; i < panel_.size(); ++i) {
    const Rect r = PanelButtonBox(layout.panel, static_cast<int>(i));
    ::MoveWindow(panel_[i], r.left, r.top, r.width, r.height, TRUE);
    ::ShowWindow(panel_[i], use_speed ? SW_HIDE : SW_SHOW);
  }
}

void TCommandSurfaces::Apply(const CommandStates& states) {
  states_ = states;
  for (size_t i = 0; i < kUiCommandCount; ++i) {
    const UiCommand c = static_cast<UiCommand>(i);
    ::EnableMenuItem(menu_, CommandId(c), MF_BYCOMMAND | (states.Enabled(c, Surface::Menu) ? MF_ENABLED : MF_GRAYED));
  }
  SetMenuCaption(menu_, CommandId(C::ActivateMacro), states.activate_caption);
  SetMenuCaption(menu_, CommandId(C::ModifyDirectly), states.modify_caption);
  ::DrawMenuBar(parent_);

  for (const BarButton& b : kBar)
    if (b.picture >= 0)
      ::SendMessageA(bar_, TB_ENABLEBUTTON, CommandId(b.command),
                     MAKELPARAM(states.Enabled(b.command, Surface::SpeedBar) ? TRUE : FALSE, 0));

  for (size_t i = 0; i < panel_.size(); ++i) {
    const PanelButton& p = kPanel[i];
    ::EnableWindow(panel_[i], states.Enabled(p.command, Surface::Panel));
    if (p.caption) continue;
    const std::string& caption =
        p.command == C::ActivateMacro ? states.activate_caption : states.modify_caption;
    ::SetWindowTextA(panel_[i], caption.c_str());
  }
}

void TCommandSurfaces::SetMenuLastFiles(const RecentFilesMenu& m) {
  HMENU file_menu = ::GetSubMenu(menu_, 0);
  ::DeleteMenu(file_menu, IDM_RECENT_SEPARATOR, MF_BYCOMMAND);
  for (UINT k = 0; k < kRecentFileSlots; ++k) ::DeleteMenu(file_menu, IDM_RECENT_1 + k, MF_BYCOMMAND);
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
}

void TCommandSurfaces::CheckMenuItem(UiCommand c, bool checked) {
  ::CheckMenuItem(menu_, CommandId(c), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool TCommandSurfaces::OnNotify(NMHDR* header) {
  if (header->code != TTN_GETDISPINFOA && header->code != TTN_GETDISPINFOW) return false;
  const std::optional<UiCommand> c = CommandOfId(static_cast<UINT>(header->idFrom));
  if (!c) return false;
  const char* hint = nullptr;
  if (*c == C::ActivateMacro) hint = states_.activate_hint.c_str();
  else if (*c == C::ModifyDirectly) hint = states_.modify_hint.c_str();
  for (const BarButton& b : kBar)
    if (!hint && b.picture >= 0 && b.command == *c) hint = b.hint;
  if (!hint) return false;
  if (header->code == TTN_GETDISPINFOA) {
    auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
    ::lstrcpynA(info->szText, hint, sizeof info->szText);
    info->lpszText = info->szText;
  } else {
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    ::MultiByteToWideChar(CP_ACP, 0, hint, -1, info->szText, static_cast<int>(std::size(info->szText)));
    info->lpszText = info->szText;
  }
  return true;
}

}  // namespace qlx
