#pragma once
// Finding windows and programs and acting on them: the window and program
// tokens of macro text, and the window search that dispatch and the
// scheduler share with playback.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/engine_state.h"
#include "engine/waits.h"

namespace qlx {

// WM_SYSCOMMAND codes the window tokens send.
namespace syscmd {
inline constexpr uint32_t kMaximize = 61488, kMinimize = 61472, kRestore = 61728,
                          kClose = 61536;
}  // namespace syscmd

class WindowCommands {
 public:
  WindowCommands(const EngineSeams& seams, EngineState& state);

  // A window by title parameter: "CURRENT" is the foreground window;
  // otherwise the exact title, else the frontmost top-level window whose
  // title contains the text without regard to case.
  bool GetWinHandle(WindowHandle& window, std::string_view title);
  // Finds the window and brings it to the front as the new target.
  bool ActivateIt(std::string_view title);
  // The first top-level window of the first running program whose
  // executable name contains `program` (case counts), brought to the front.
  bool ActivateProg(std::string_view program);
  // The window itself when it is top-level, else its nearest top-level
  // ancestor, else 0.
  WindowHandle MakeSureItsAParent(WindowHandle window);
  // Tries ActivateIt until it succeeds or `seconds` have passed.
  bool WaitForWindow(std::string_view title, double seconds);
  // Starts the program; with `wait`, waits for the window named by
  // LaunchWaitTitle, then `seconds` more. True only when waited with success.
  bool LaunchProgram(std::string_view program_text, double seconds, bool wait);
  void SendSysCommand(uint32_t command, std::string_view title);

  WindowHandle FoundWindow = 0;
  std::string SearchTitle;      // upper-cased, at most 255 characters
  std::string LaunchWaitTitle;  // at most 30 characters

  static constexpr size_t kMaxTitle = 255;
  static constexpr size_t kMaxLaunchWaitTitle = 30;
  static constexpr double kLaunchWaitSeconds = 30;
  // Between two looks for a window that is not there yet.
  static constexpr uint32_t kPollMs = 50;
  // Longest wait for an activated window's program to give it the focus.
  static constexpr uint32_t kFocusWaitMs = 1000;
  static constexpr uint32_t kFocusPollMs = 5;

 private:
  void BringForward(WindowHandle window);
  // Returns when the window can take typed keys, at the latest after
  // kFocusWaitMs.
  void WaitUntilItTakesKeys(WindowHandle window);
  // Returns once a pointer move that was not the program's own has come
  // after `moves_before` and the window's program has taken it, at the
  // latest after kFocusWaitMs.
  void WaitForPointerEntry(WindowHandle window, uint32_t moves_before);

  IInput& input_;
  IDesktop& desktop_;
  IProcesses& processes_;
  IShell& shell_;
  IMessagePump& pump_;
  EngineState& state_;
  Waits waits_;
};

// Letters a to z turned into capitals; nothing else changes.
std::string UpperAscii(std::string_view s);

}  // namespace qlx
