#pragma once
// What a playback asks of the main window: its dialogs, its own windows and
// the current macro file.
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/program_hiding.h"

namespace qlx {

class IPlaybackHost : public IProgramWindows {
 public:
  // The always-on-top message; returns when the user has closed it, or at
  // once while another one is open.
  virtual void DoAMessage(const std::string& caption, const std::string& text) = 0;
  // The repeat-count prompt.
  virtual uint16_t DoRepPrompt() = 0;
  // The pause dialog at that screen place; true for Resume, false for Abort.
  virtual bool ShowPauseBox(int top, int left, const std::string& message) = 0;
  // Makes `path` the current macro file, with everything that shows it.
  virtual void SwapMacroFile(std::string_view path) = 0;
};

}  // namespace qlx
