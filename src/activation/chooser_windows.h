#pragma once
// The program's own windows around a chooser of macros (a popup-menu macro
// or the top-window menu): the chooser must come forward, and afterwards the
// window the user was in gets the foreground and the keyboard back.
#include "engine/program_hiding.h"
#include "platform/desktop.h"

namespace qlx {

class ChooserWindows {
 public:
  // `hand_back`: the top-level window to return to afterwards (0: none).
  ChooserWindows(IProgramWindows& program, IDesktop& desktop, WindowHandle hand_back);
  ~ChooserWindows();
  ChooserWindows(const ChooserWindows&) = delete;
  ChooserWindows& operator=(const ChooserWindows&) = delete;

 private:
  IProgramWindows& program_;
  IDesktop& desktop_;
  WindowHandle hand_back_;
  bool restored_ = false;
  bool main_was_visible_ = false;
};

}  // namespace qlx
