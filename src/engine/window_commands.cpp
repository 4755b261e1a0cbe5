#include "engine/window_commands.h"

#include <algorithm>

#include "engine/macro_language.h"

namespace qlx {

std::string UpperAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

WindowCommands::WindowCommands(const EngineSeams& seams, EngineState& state)
    : input_(seams.input),
      desktop_(seams.desktop),
      processes_(seams.processes),
      shell_(seams.shell),
      pump_(seams.pump),
      state_(state),
      waits_(seams.clock, seams.pump, state.AbortRequested) {}

bool WindowCommands::GetWinHandle(WindowHandle& window, std::string_view title) {
  window = 0;
  if (title == kCurrentWindow) {
    window = desktop_.Foreground();
    return window != 0;
  }
  // An empty title would find some untitled window by exact match.
  if (title.empty()) return false;
  if (WindowHandle exact = desktop_.FindTopLevelByTitle(title)) {
    window = exact;
    return true;
  }
  SearchTitle = UpperAscii(title.substr(0, kMaxTitle));
  FoundWindow = 0;
  for (WindowHandle w : desktop_.TopLevelWindows()) {
    const std::string t = desktop_.WindowTitle(w, kMaxTitle);
    if (t.empty()) continue;
    if (UpperAscii(t).find(SearchTitle) != std::string::npos) {
      FoundWindow = w;
      break;
    }
  }
  window = FoundWindow;
  return window != 0;
}

void WindowCommands::BringForward(WindowHandle window) {
  // Keys already sent to the window in front must reach it before it loses
  // the foreground, and keys typed next must wait until the new window can
  // take them: otherwise they fall between the two windows.
  const WindowHandle before = desktop_.Foreground();
  if (before != 0 && before != window) input_.LetWindowTakeInput(before);
  // A window that comes up under the pointer may hear the pointer enter it
  // and then take the physical keyboard's state for its own (Wine does):
  // a key this program holds, such as the Shift of a capital, would be let
  // go in the middle of a character. Typing waits until that is over.
  const bool entry_to_come =
      desktop_.RaiseUnderPointerResyncsKeyboard() && !desktop_.PointerOver(window);
  const std::optional<uint32_t> moves = entry_to_come ? input_.SystemPointerMoves() : std::nullopt;
  if (desktop_.IsMinimized(window)) desktop_.ShowWindow(window, ShowCommand::Restore);
  desktop_.SetFocus(window);
  desktop_.SetForeground(window);
  state_.TargetWindow = window;
  WaitUntilItTakesKeys(window);
  if (moves && desktop_.PointerOver(window)) WaitForPointerEntry(window, *moves);
}

void WindowCommands::WaitForPointerEntry(WindowHandle window, uint32_t moves_before) {
  IClock& clock = waits_.clock();
  const uint32_t start = clock.TickCount();
  while (input_.SystemPointerMoves() == moves_before) {
    pump_.ProcessPending();
    if (waits_.aborted() || static_cast<uint32_t>(clock.TickCount() - start) >= kFocusWaitMs) return;
    pump_.WaitForMessages(kFocusPollMs);
  }
  // The entry has reached the window's program, which takes the keyboard
  // snapshot right after it: one answered message means it has.
  input_.LetWindowTakeInput(window);
}

void WindowCommands::WaitUntilItTakesKeys(WindowHandle window) {
  IClock& clock = waits_.clock();
  const uint32_t start = clock.TickCount();
  while (!desktop_.AcceptsKeyboardInput(window)) {
    pump_.ProcessPending();
    if (waits_.aborted() || static_cast<uint32_t>(clock.TickCount() - start) >= kFocusWaitMs) return;
    pump_.WaitForMessages(kFocusPollMs);
  }
}

bool WindowCommands::ActivateIt(std::string_view title) {
  WindowHandle window = 0;
  if (!GetWinHandle(window, title)) return false;
  BringForward(window);
  return true;
}

bool WindowCommands::ActivateProg(std::string_view program) {
  if (program.empty()) return false;
  uint32_t chosen = 0;
  bool found = false;
  for (const ProcessInfo& p : processes_.Running()) {
    if (p.exe_name.find(program) != std::string::npos) {
      chosen = p.id;
      found = true;
      break;
    }
  }
  if (!found) return false;
  for (WindowHandle w : desktop_.TopLevelWindows()) {
    if (desktop_.ProcessIdOf(w) == chosen) {
      BringForward(w);
      return true;
    }
  }
  return false;
}

WindowHandle WindowCommands::MakeSureItsAParent(WindowHandle window) {
  // A parent chain is short; the bound only guards against a broken one.
  constexpr int kMaxDepth = 256;
  WindowHandle candidate = window;
  for (int depth = 0; candidate != 0 && depth < kMaxDepth; ++depth) {
    const auto top = desktop_.TopLevelWindows();
    if (std::find(top.begin(), top.end(), candidate) != top.end()) return candidate;
    candidate = desktop_.Parent(candidate);
  }
  return 0;
}

bool WindowCommands::WaitForWindow(std::string_view title, double seconds) {
  DayStopwatch watch(waits_.clock());
  for (;;) {
    if (ActivateIt(title)) return true;
    pump_.ProcessPending();
    if (state_.AbortRequested) return false;
    if (watch.ElapsedSeconds() > seconds) return false;
    // A short sleep between looks leaves the processor to the program
    // that is starting.
    pump_.WaitForMessages(kPollMs);
  }
}

bool WindowCommands::LaunchProgram(std::string_view program_text, double seconds, bool wait) {
  const ProgramText parts = SplitProgramText(program_text);
  shell_.Open(parts.program, parts.arguments);
  if (!wait) return false;
  if (!WaitForWindow(LaunchWaitTitle, kLaunchWaitSeconds)) return false;
  waits_.Seconds(seconds);
  return true;
}

void WindowCommands::SendSysCommand(uint32_t command, std::string_view title) {
  WindowHandle window = 0;
  if (!GetWinHandle(window, title)) return;
  // Maximising or restoring a window makes it active, minimising or closing
  // one hands the foreground on: as for an activation, keys sent so far go
  // to the window they were meant for, and the next key waits until the
  // window now in front can take it.
  const WindowHandle before = desktop_.Foreground();
  if (before != 0) input_.LetWindowTakeInput(before);
  desktop_.SendSysCommand(window, command);
  const WindowHandle after = desktop_.Foreground();
  if (after != 0 && after != before) WaitUntilItTakesKeys(after);
}

}  // namespace qlx
