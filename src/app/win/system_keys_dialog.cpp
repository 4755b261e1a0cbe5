#include "app/win/system_keys_dialog.h"

#include "store/hotkey_table.h"
#include "app/win/hot_key_picking.h"
#include "platform/win32/dialog.h"
#include "resource.h"

namespace qlx {
namespace {

constexpr int kFields = 4;

}  // namespace

bool TSystemKeys::ShowModal(HWND owner) {
  saved_ = false;
  dlg::RunModal(IDD_SYSTEM_KEYS, *this, owner);
  return saved_;
}

INT_PTR TSystemKeys::HandleMessage(UINT msg, WPARAM wp, LPARAM) {
  if (const std::optional<int> code = picking_.PickOf(msg, wp)) {
    HotKeyPicked(*code);
    return TRUE;
  }
  switch (msg) {
    case WM_INITDIALOG:
      FormShow();
      return FALSE;
    case WM_COMMAND: {
      const int id = LOWORD(wp);
      if (id >= IDC_SK_FIELD_1 && id < IDC_SK_FIELD_1 + kFields) {
        if (HIWORD(wp) == EN_SETFOCUS) {
          focused_field_ = id - IDC_SK_FIELD_1;
          picking_.Arm(hwnd_);
        }
        if (HIWORD(wp) == EN_KILLFOCUS) picking_.Disarm();
        return TRUE;
      }
      if (id == IDOK) {
        OkButtonClick();
        return TRUE;
      }
      if (id == IDCANCEL) {
        picking_.Disarm();
        ::EndDialog(hwnd_, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    }
    case WM_DESTROY:
      picking_.Disarm();
      return FALSE;
    default:
      return FALSE;
  }
}

void TSystemKeys::FormShow() {
  keys_ = FindSystemKeys(block());
  codes_ = keys_.code;
  for (int i = 0; i < kFields; ++i)
    dlg::SetText(hwnd_, IDC_SK_FIELD_1 + i, std::string(HotKeyName(codes_[static_cast<size_t>(i)])));
  const int menu = settings_.system_menu >= 1 && settings_.system_menu <= 3 ? settings_.system_menu : 1;
  ::CheckRadioButton(hwnd_, IDC_SK_MENU_1, IDC_SK_MENU_1 + 2, IDC_SK_MENU_1 + menu - 1);
  dlg::CentreOnScreen(hwnd_);
  const int first = digit_ >= 1 && digit_ <= kFields ? digit_ - 1 : 0;
  ::SetFocus(dlg::Item(hwnd_, IDC_SK_FIELD_1 + first));
}

void TSystemKeys::HotKeyPicked(int code) {
  const int field = focused_field_;
  if (field < 0 || field >= kFields) return;
  if (const auto refusal = SystemKeyPickRefusal(block(), field + 1, code)) {
    dlg::ShowMessage(hwnd_, "Error", *refusal);
    return;
  }
  codes_[static_cast<size_t>(field)] = static_cast<uint16_t>(code);
  dlg::SetText(hwnd_, IDC_SK_FIELD_1 + field, std::string(HotKeyName(code)));
}

void TSystemKeys::OkButtonClick() {
  if (const auto refusal = SystemKeysRefusal(codes_)) {
    dlg::ShowMessage(hwnd_, "Error", *refusal);
    return;
  }
  picking_.Disarm();
  if (RewriteSystemHotKeys(file_, keys_, codes_)) file_.Load();
  for (int i = 0; i < 3; ++i)
    if (dlg::IsChecked(hwnd_, IDC_SK_MENU_1 + i)) settings_.system_menu = i + 1;
  RefreshFontStyleFlags(settings_);
  WriteSettings(profile_, settings_);
  saved_ = true;
  ::EndDialog(hwnd_, IDOK);
}

}  // namespace qlx
