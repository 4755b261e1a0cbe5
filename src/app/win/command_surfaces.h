#pragma once
// The three places the main window offers its commands: the menu, the
// speed bar (icon buttons with hints) and the lettered button panel. They
// show whichever layout the settings ask for and take their enabled states
// and captions from one CommandStates.
#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

#include "app/command_states.h"
#include "app/macro_list_model.h"
#include "platform/win32/win_handles.h"
#include "store/macro_file.h"

namespace qlx {

// The menu and button identifier of a command, and the command of one.
UINT CommandId(UiCommand c);
std::optional<UiCommand> CommandOfId(UINT id);

class TCommandSurfaces {
 public:
  TCommandSurfaces() = default;
  TCommandSurfaces(const TCommandSurfaces&) = delete;
  TCommandSurfaces& operator=(const TCommandSurfaces&) = delete;
  ~TCommandSurfaces();

  // Builds the bar and the panel as children of `parent`, whose menu is
  // the main menu.
  void Create(HWND parent, HINSTANCE instance);
  // Shows the speed bar or the panel and places them.
  void Layout(const MainLayout& layout, bool use_speed);
  // Enables and captions every command on every surface.
  void Apply(const CommandStates& states);
  // The recent-file items of the File menu; call Apply afterwards.
  void SetMenuLastFiles(const RecentFilesMenu& menu);
  void CheckMenuItem(UiCommand c, bool checked);
  // Whether any surface offers the command now: a command that reaches
  // the window otherwise is not carried out.
  bool Offers(UiCommand c) const {
    return states_.Enabled(c, Surface::Menu) || states_.Enabled(c, Surface::SpeedBar) ||
           states_.Enabled(c, Surface::Panel);
  }
  // WM_NOTIFY of the bar's hints; true when handled.
  bool OnNotify(NMHDR* header);
  HWND bar() const { return bar_; }

 private:
  HWND parent_ = nullptr;
  HMENU menu_ = nullptr;
  HWND bar_ = nullptr;
  std::vector<HWND> panel_;
  win::Font panel_font_;
  HIMAGELIST bar_images_ = nullptr;
  CommandStates states_;
};

}  // namespace qlx
