#pragma once
// The program that owns the window in front, and the fourth system
// function: a menu of every macro whose window or program scope fits the
// window in front.
#include <string>
#include <string_view>
#include <vector>

#include "engine/engine_state.h"
#include "platform/desktop.h"
#include "platform/processes.h"
#include "store/macro_record.h"
#include "store/shared_blocks.h"

namespace qlx {

inline constexpr int kMaxTopWindowMacros = 36;
inline constexpr char kNoTopWindowMacrosText[] =
    "There are no macros defined with a specific window title or program name that match the current top most "
    "active window.";

// File name (without folder) of the program that owns the foreground
// window; empty when it cannot be found.
std::string GetTopProgram(IDesktop& desktop, IProcesses& processes);

// Macros in table order whose scope text occurs in the front window's
// title (window macros) or in its program's file name (program macros),
// both compared upper-cased; at most 36.
std::vector<int> SelectTopWindowMacros(const ActivationBlock& block, std::string_view title,
                                       std::string_view program);

// The menu description the chooser reads: options " ", the setting's digit
// (1 first part, 2 icons, 3 nickname and scope; others read as 3) and "2",
// and the listed macros.
void SetTopWindowMenu(MacroRecord& record, int setting, const std::vector<int>& macros);

// What the top-window menu asks of the main window.
class ITopWindowMenuHost {
 public:
  virtual ~ITopWindowMenuHost() = default;
  virtual void DoAMessage(const std::string& caption, const std::string& text) = 0;
  // Shows the chooser for `menu` modally, the program's windows made way
  // for it, and hands the foreground back to `front` afterwards; the
  // chosen macro or -1.
  virtual int ChooseFromTopWindowMenu(const MacroRecord& menu, WindowHandle front) = 0;
  // Plays macro n as a hot key would (playback started, end marker sent).
  virtual void RunChosenMacro(int n) = 0;
};

// The fourth system function. The menu is built in `playback`, the
// playback record; "popup shown" is set while the chooser is open.
void MenuTopWindow(IDesktop& desktop, IProcesses& processes, const ActivationBlock& block, int setting,
                   bool& popup_shown, MacroRecord& playback, ITopWindowMenuHost& host);

}  // namespace qlx
