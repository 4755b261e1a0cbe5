#pragma once
// What a playback asks of the main window: its dialogs and its own window.
#include <cstdint>
#include <string>

namespace qlx {

class IPlaybackHost {
 public:
  virtual ~IPlaybackHost() = default;
  // The always-on-top message; returns when the user has closed it.
  virtual void DoAMessage(const std::string& caption, const std::string& text) = 0;
  // The repeat-count prompt.
  virtual uint16_t DoRepPrompt() = 0;
  // The "Use Tray" setting.
  virtual bool UseTray() const = 0;
  virtual void ShowMainWindow() = 0;
  virtual void MinimizeApplication() = 0;
};

}  // namespace qlx
