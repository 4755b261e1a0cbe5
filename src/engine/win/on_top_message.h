#pragma once
// TOnTopMessage: the program's always-on-top message, for the abort message
// and the warnings shown while another program is in front.
#include <windows.h>

#include <string>

#include "engine/engine_state.h"

namespace qlx {

class TOnTopMessage {
 public:
  TOnTopMessage(std::string caption, std::string text, const ScreenSize& screen);
  TOnTopMessage(const TOnTopMessage&) = delete;
  TOnTopMessage& operator=(const TOnTopMessage&) = delete;

  // Shows the message and returns when the user has closed it.
  void ShowModal();

  INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  HWND hwnd_ = nullptr;

 private:
  void FormShow();
  void FormActivate();
  void OkButtonClick();

  std::string caption_;
  std::string text_;
  ScreenSize screen_;
};

}  // namespace qlx
