#include "engine/win/repeat_prompt.h"

#include "engine/playback_dialogs.h"
#include "engine/win/dialog_support.h"
#include "resource.h"

namespace qlx {

uint16_t TRepeatPrompt::ShowModal() {
  count_ = 0;
  dlg::RunModal(IDD_REPEAT_PROMPT, *this);
  hwnd_ = nullptr;
  return count_;
}

void TRepeatPrompt::FormShow() {
  dlg::CentreWithClient(hwnd_, kRepeatClientWidth, kRepeatClientHeight, screen_);
  dlg::Place(hwnd_, IDC_THE_MESSAGE, kRepeatLabelBox);
  dlg::Place(hwnd_, IDC_NUM_REPS, kRepeatEditBox);
  dlg::Place(hwnd_, IDOK, kRepeatOkBox);
  ::SendMessageA(dlg::Item(hwnd_, IDC_NUM_REPS), EM_LIMITTEXT, kRepeatMaxChars, 0);
  ::SetForegroundWindow(hwnd_);
  ::SetFocus(dlg::Item(hwnd_, IDC_NUM_REPS));
}

void TRepeatPrompt::FormActivate() {
  dlg::MakeTopmost(hwnd_);
  ::SetForegroundWindow(hwnd_);
}

void TRepeatPrompt::OkButtonClick() {
  HWND field = dlg::Item(hwnd_, IDC_NUM_REPS);
  const RepeatCountCheck check = CheckRepeatCount(dlg::GetText(field));
  if (!check.count) {
    const std::string text(check.refusal);
    ::MessageBoxA(hwnd_, text.c_str(), kRepeatErrorCaption, MB_OK | MB_ICONERROR);
    ::SetFocus(field);
    ::SendMessageA(field, EM_SETSEL, 0, -1);
    return;
  }
  count_ = *check.count;
  ::EndDialog(hwnd_, IDOK);
}

INT_PTR TRepeatPrompt::HandleMessage(UINT msg, WPARAM wp, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG:
      FormShow();
      return FALSE;  // the focus is set
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE) FormActivate();
      return FALSE;
    case WM_COMMAND:
      if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
        OkButtonClick();
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace qlx
