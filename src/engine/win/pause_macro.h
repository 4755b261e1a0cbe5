#pragma once
// TPauseMacro: the pause dialog of "<PAUSE>" and "<PAUSE:". It floats above
// the program the macro drives and gives that program the keyboard back, so
// the user works on until Resume (button or hot key) or Abort.
#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/desktop.h"

namespace qlx {

struct PauseBoxRequest {
  int top = 0;
  int left = 0;
  std::string message;
  std::string macro_name;       // MacroTitleLabel
  uint16_t activation_code = 0;  // names the hot key in the caption
  WindowHandle target = 0;       // TargetWindow
};

class TPauseMacro {
 public:
  TPauseMacro(PauseBoxRequest request, IDesktop& desktop);
  TPauseMacro(const TPauseMacro&) = delete;
  TPauseMacro& operator=(const TPauseMacro&) = delete;

  // Shows the dialog without taking the activation and returns when it
  // closes: true for Resume.
  bool ShowModal();
  // The paused macro's hot key or "Resume Pause": closes as Resume does.
  void Resume();

  INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  HWND hwnd_ = nullptr;

 private:
  enum class Result : uint8_t { Resume, Abort };

  void FormShow();
  // Lines the macro's name takes in its label at that width.
  int TitleLines(int width) const;
  void FormActivate(WORD how);
  void HandBackToTarget();
  void ResumeButtonClick();
  void AbortButtonClick();
  void Close();

  PauseBoxRequest request_;
  IDesktop& desktop_;
  Result result_ = Result::Abort;
  bool closed_ = false;
};

}  // namespace qlx
