#include "engine/win/on_top_message.h"

#include <utility>

#include "engine/playback_dialogs.h"
#include "engine/win/dialog_support.h"
#include "resource.h"

namespace qlx {

TOnTopMessage::TOnTopMessage(std::string caption, std::string text, const ScreenSize& screen)
    : caption_(std::move(caption)), text_(std::move(text)), screen_(screen) {}

void TOnTopMessage::ShowModal() {
  dlg::RunModal(IDD_ON_TOP_MESSAGE, *this);
  hwnd_ = nullptr;
}

void TOnTopMessage::FormShow() {
  dlg::SetText(hwnd_, caption_);
  dlg::SetText(dlg::Item(hwnd_, IDC_THE_MESSAGE), text_);
  dlg::CentreWithClient(hwnd_, kMessageClientWidth, kMessageClientHeight, screen_);
  dlg::Place(hwnd_, IDC_THE_MESSAGE, kMessageLabelBox);
  dlg::Place(hwnd_, IDOK, kMessageOkBox);
  ::SetForegroundWindow(hwnd_);
}

void TOnTopMessage::FormActivate() {
  dlg::MakeTopmost(hwnd_);
  ::SetForegroundWindow(hwnd_);
}

void TOnTopMessage::OkButtonClick() { ::EndDialog(hwnd_, IDOK); }

INT_PTR TOnTopMessage::HandleMessage(UINT msg, WPARAM wp, LPARAM) {
  switch (msg) {
    case WM_INITDIALOG:
      FormShow();
      return TRUE;  // the focus goes to the default button
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
