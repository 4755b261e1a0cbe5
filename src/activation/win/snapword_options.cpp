#include "activation/win/snapword_options.h"

#include <string>

#include "activation/snapwords.h"
#include "platform/win32/dialog.h"
#include "capture_ids.h"

namespace qlx {
namespace {

constexpr int kWaitDigits = 4;

}  // namespace

bool TSnapwordOptions::ShowModal(HWND owner) { return dlg::RunModal(IDD_SNAPWORD_OPTIONS, *this, owner) == IDOK; }

void TSnapwordOptions::FormShow() {
  const SnapwordOptions o = SnapwordOptionsOf(settings_);
  dlg::SetChecked(hwnd_, IDC_SW_SOLITARY, o.solitary);
  dlg::SetChecked(hwnd_, IDC_SW_CASE, o.case_sensitive);
  dlg::SetChecked(hwnd_, IDC_SW_USE_PREFIX, !o.use_suffix);
  dlg::SetEditLimit(hwnd_, IDC_SW_PREFIX, static_cast<int>(kPrefixKeysMax));
  dlg::SetText(hwnd_, IDC_SW_PREFIX, o.prefix);
  dlg::SetEditLimit(hwnd_, IDC_SW_WAIT, kWaitDigits);
  dlg::SetText(hwnd_, IDC_SW_WAIT, std::to_string(o.wait_ms));
  UsePrefixClick();
  dlg::CentreOnScreen(hwnd_);
}

void TSnapwordOptions::UsePrefixClick() {
  const bool on = dlg::IsChecked(hwnd_, IDC_SW_USE_PREFIX);
  dlg::Enable(hwnd_, IDC_SW_PREFIX, on);
  dlg::Enable(hwnd_, IDC_SW_PREFIX_LABEL, on);
}

bool TSnapwordOptions::PrefixCheck() {
  if (checking_) return true;
  const auto error = PrefixKeysError(dlg::GetText(hwnd_, IDC_SW_PREFIX));
  if (!error) return true;
  checking_ = true;
  dlg::ShowMessage(hwnd_, "Error", *error);
  dlg::Focus(hwnd_, IDC_SW_PREFIX);
  checking_ = false;
  return false;
}

void TSnapwordOptions::OkButtonClick() {
  if (dlg::IsChecked(hwnd_, IDC_SW_USE_PREFIX) && !PrefixCheck()) return;
  const auto wait = SnapwordWaitOf(dlg::GetText(hwnd_, IDC_SW_WAIT));
  if (!wait) {
    dlg::ShowMessage(hwnd_, "Error", kSnapwordWaitInvalidText);
    dlg::Focus(hwnd_, IDC_SW_WAIT);
    return;
  }
  SnapwordOptions o;
  o.solitary = dlg::IsChecked(hwnd_, IDC_SW_SOLITARY);
  o.case_sensitive = dlg::IsChecked(hwnd_, IDC_SW_CASE);
  o.use_suffix = !dlg::IsChecked(hwnd_, IDC_SW_USE_PREFIX);
  o.prefix = dlg::GetText(hwnd_, IDC_SW_PREFIX);
  o.wait_ms = *wait;
  StoreSnapwordOptions(o, settings_);
  ::EndDialog(hwnd_, IDOK);
}

INT_PTR TSnapwordOptions::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      FormShow();
      return TRUE;
    case WM_COMMAND: {
      const dlg::Command c = dlg::DecodeCommand(wp, lp);
      if (c.id == IDOK) OkButtonClick();
      else if (c.id == IDCANCEL) ::EndDialog(hwnd_, IDCANCEL);
      else if (c.id == IDC_SW_USE_PREFIX && c.code == BN_CLICKED) UsePrefixClick();
      else if (c.id == IDC_SW_PREFIX && (c.code == EN_CHANGE || c.code == EN_KILLFOCUS)) PrefixCheck();
      return TRUE;
    }
    default:
      return FALSE;
  }
}

}  // namespace qlx
