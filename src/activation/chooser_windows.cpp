#include "activation/chooser_windows.h"

namespace qlx {

ChooserWindows::ChooserWindows(IProgramWindows& program, IDesktop& desktop, WindowHandle hand_back)
    : program_(program), desktop_(desktop), hand_back_(hand_back) {
  if (program_.UseTray()) {
    program_.ShowApplication();
    return;
  }
  if (program_.ApplicationMinimized()) {
    program_.RestoreApplication();
    restored_ = true;
  }
  main_was_visible_ = program_.MainWindowVisible();
  if (main_was_visible_) program_.HideMainWindow();
}

ChooserWindows::~ChooserWindows() {
  if (program_.UseTray()) {
    program_.HideApplication();
    return;
  }
  // A main window that was out of sight before stays so.
  if (main_was_visible_) program_.ShowMainWindow();
  if (restored_) program_.MinimizeApplication();
  if (hand_back_ != 0) desktop_.HandFocusTo(hand_back_);
}

}  // namespace qlx
