#pragma once
// A recording main window for playback: messages shown, prompts answered,
// pauses resumed or aborted, its own windows shown and hidden.
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/playback_host.h"

namespace qlx::fake {

struct PauseCall {
  int top = 0, left = 0;
  std::string message;
};

class FakePlaybackHost : public IPlaybackHost {
 public:
  std::vector<std::pair<std::string, std::string>> messages;
  std::deque<uint16_t> prompt_answers;  // empty: every prompt answers 0
  int prompts = 0;
  std::vector<PauseCall> pauses;
  std::deque<bool> pause_answers;  // empty: every pause is resumed
  // Runs inside ShowPauseBox, while the dialog would be open.
  std::function<void()> during_pause;
  std::vector<std::string> swaps;
  // What was done to the program's own windows, in order.
  std::vector<std::string> program_log;
  bool use_tray = false;
  bool minimized = false;
  bool main_visible = true;
  int main_window_shown = 0;
  int application_minimized = 0;

  // Run while the message or the prompt would be open.
  std::function<void()> during_message;
  std::function<void()> during_prompt;

  void DoAMessage(const std::string& caption, const std::string& text) override {
    messages.emplace_back(caption, text);
    if (during_message) during_message();
  }
  uint16_t DoRepPrompt() override {
    ++prompts;
    if (during_prompt) during_prompt();
    if (prompt_answers.empty()) return 0;
    const uint16_t n = prompt_answers.front();
    prompt_answers.pop_front();
    return n;
  }
  bool ShowPauseBox(int top, int left, const std::string& message) override {
    pauses.push_back({top, left, message});
    if (during_pause) during_pause();
    if (pause_answers.empty()) return true;
    const bool resume = pause_answers.front();
    pause_answers.pop_front();
    return resume;
  }
  // Runs inside SwapMacroFile, as loading the new file would (it may throw).
  std::function<void()> during_swap;
  void SwapMacroFile(std::string_view path) override {
    swaps.emplace_back(path);
    if (during_swap) during_swap();
  }

  bool UseTray() const override { return use_tray; }
  void ShowApplication() override { program_log.push_back("show application"); }
  void HideApplication() override { program_log.push_back("hide application"); }
  bool ApplicationMinimized() override { return minimized; }
  void RestoreApplication() override {
    minimized = false;
    program_log.push_back("restore application");
  }
  void MinimizeApplication() override {
    ++application_minimized;
    minimized = true;
    program_log.push_back("minimize application");
  }
  bool MainWindowVisible() override { return main_visible; }
  void ShowMainWindow() override {
    ++main_window_shown;
    main_visible = true;
    program_log.push_back("show main");
  }
  void HideMainWindow() override {
    main_visible = false;
    program_log.push_back("hide main");
  }
};

}  // namespace qlx::fake
