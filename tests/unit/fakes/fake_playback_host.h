#pragma once
// A recording main window for playback: messages shown, prompts answered.
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "engine/playback_host.h"

namespace qlx::fake {

class FakePlaybackHost : public IPlaybackHost {
 public:
  std::vector<std::pair<std::string, std::string>> messages;
  std::deque<uint16_t> prompt_answers;  // empty: every prompt answers 0
  int prompts = 0;
  bool use_tray = false;
  int main_window_shown = 0;
  int application_minimized = 0;

  void DoAMessage(const std::string& caption, const std::string& text) override {
    messages.emplace_back(caption, text);
  }
  uint16_t DoRepPrompt() override {
    ++prompts;
    if (prompt_answers.empty()) return 0;
    const uint16_t n = prompt_answers.front();
    prompt_answers.pop_front();
    return n;
  }
  bool UseTray() const override { return use_tray; }
  void ShowMainWindow() override { ++main_window_shown; }
  void MinimizeApplication() override { ++application_minimized; }
};

}  // namespace qlx::fake
