#include "activation/win/snapword_options.h"

#include <string>

#include "activation/snapwords.h"
#include "platform/win32/dialog.h"
#include "capture_ids.h"

namespace qlx {
namespace {

constexpr int kWaitDigits = 4;

}  // namespace

bool TSnapwordOptions::ShowModal(HWND owner) { return RunModal(IDD_SNAPWORD_OPTIONS, owner) == IDOK; }

void TSnapwordOptions::FormShow() {
  const SnapwordOptions o = SnapwordOptionsOf(settings_);
  dlg::SetChecked(hwnd(), IDC_SW_SOLITARY, o.solitary);
  dlg::SetChecked(hwnd(), IDC_SW_CASE, o.case_sensitive);
  dlg::SetChecked(hwnd(), IDC_SW_USE_PREFIX, !o.use_suffix);
  dlg::SetEditLimit(hwnd(), IDC_SW_PREFIX, static_cast<int>(kPrefixKeysMax));
  dlg::SetText(hwnd(), IDC_SW_PREFIX, o.prefix);
  dlg::SetEditLimit(hwnd(), IDC_SW_WAIT, kWaitDigits);
  dlg::SetText(hwnd(), IDC_SW_WAIT, std::to_string(o.wait_ms));
  UsePrefixClick();
}

void TSnapwordOptions::UsePrefixClick() {
  const bool on = dlg::IsChecked(hwnd(), IDC_SW_USE_PREFIX);
  dlg::Enable(hwnd(), IDC_SW_PREFIX, on);
  dlg::Enable(hwnd(), IDC_SW_PREFIX_LABEL, on);
}

bool TSnapwordOptions::PrefixCheck() {
  if (checking_) return true;
  const auto error = PrefixKeysError(dlg::GetText(hwnd(), IDC_SW_PREFIX));
  if (!error) return true;
  checking_ = true;
  dlg::ShowMessage(hwnd(), "Error", *error);
  dlg::Focus(hwnd(), IDC_SW_PREFIX);
  checking_ = false;
  return false;
}

bool TSnapwordOptions::OkButtonClick() {
  if (dlg::IsChecked(hwnd(), IDC_SW_USE_PREFIX) && !PrefixCheck()) return false;
  const auto wait = SnapwordWaitOf(dlg::GetText(hwnd(), IDC_SW_WAIT));
  if (!wait) {
    dlg::ShowMessage(hwnd(), "Error", kSnapwordWaitInvalidText);
    dlg::Focus(hwnd(), IDC_SW_WAIT);
    return false;
  }
  SnapwordOptions o;
  o.solitary = dlg::IsChecked(hwnd(), IDC_SW_SOLITARY);
  o.case_sensitive = dlg::IsChecked(hwnd(), IDC_SW_CASE);
  o.use_suffix = !dlg::IsChecked(hwnd(), IDC_SW_USE_PREFIX);
  o.prefix = dlg::GetText(hwnd(), IDC_SW_PREFIX);
  o.wait_ms = *wait;
  StoreSnapwordOptions(o, settings_);
  return true;
}

bool TSnapwordOptions::OnCommand(int id, int code, HWND) {
  if (id == IDC_SW_USE_PREFIX && code == BN_CLICKED) UsePrefixClick();
  else if (id == IDC_SW_PREFIX && (code == EN_CHANGE || code == EN_KILLFOCUS)) PrefixCheck();
  else return false;
  return true;
}

}  // namespace qlx
