#include "app/win/output_macros.h"

#include "platform/win32/dialog.h"
#include "resource.h"

namespace qlx {

namespace {
constexpr int kPartIds[kInfoPartCount] = {IDC_OUT_HOTKEY, IDC_OUT_NAME, IDC_OUT_WINDOW,
                                          IDC_OUT_TEXT,   IDC_OUT_SCHEDULE, IDC_OUT_ICON};
}  // namespace

bool TOutputMacros::ShowModal(HWND owner) { return RunModal(IDD_OUTPUT_MACROS, owner) == IDOK; }

void TOutputMacros::FormShow() {
  for (int id : kPartIds) dlg::SetChecked(hwnd(), id, true);
}

bool TOutputMacros::OkButtonClick() {
  for (size_t i = 0; i < kInfoPartCount; ++i) parts_[i] = dlg::IsChecked(hwnd(), kPartIds[i]);
  if (auto refusal = CheckInfoParts(parts_)) {
    ::MessageBoxA(hwnd(), refusal->c_str(), "Error", MB_OK);
    return false;
  }
  return true;
}

}  // namespace qlx
