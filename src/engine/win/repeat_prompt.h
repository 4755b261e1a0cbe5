#pragma once
// TRepeatPrompt: asks how many times "<PROMPTREP>" plays its body. It does
// not close without a valid number.
#include <windows.h>

#include <cstdint>

#include "engine/engine_state.h"

namespace qlx {

class TRepeatPrompt {
 public:
  explicit TRepeatPrompt(const ScreenSize& screen) : screen_(screen) {}
  TRepeatPrompt(const TRepeatPrompt&) = delete;
  TRepeatPrompt& operator=(const TRepeatPrompt&) = delete;

  // Shows the prompt and returns the count entered.
  uint16_t ShowModal();

  INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  HWND hwnd_ = nullptr;

 private:
  void FormShow();
  void FormActivate();
  // "&Ok", Enter and the close box all come here.
  void OkButtonClick();

  ScreenSize screen_;
  uint16_t count_ = 0;
};

}  // namespace qlx
