#include "app/win/system_keys_dialog.h"

#include "store/hotkey_table.h"
#include "app/win/hot_key_picking.h"
#include "platform/win32/dialog.h"
#include "resource.h"

namespace qlx {
namespace {

constexpr int kFields = 4;

}  // namespace

bool TSystemKeys::ShowModal(HWND owner) { return RunModal(IDD_SYSTEM_KEYS, owner) == IDOK; }

INT_PTR TSystemKeys::OnMessage(UINT msg, WPARAM wp, LPARAM) {
  if (const std::optional<int> code = picking_.PickOf(msg, wp)) {
    HotKeyPicked(*code);
    return TRUE;
  }
  if (msg == WM_DESTROY) picking_.Disarm();
  return FALSE;
}

bool TSystemKeys::OnCommand(int id, int code, HWND) {
  if (id < IDC_SK_FIELD_1 || id >= IDC_SK_FIELD_1 + kFields) return false;
  if (code == EN_SETFOCUS) {
    focused_field_ = id - IDC_SK_FIELD_1;
    picking_.Arm(hwnd());
  }
  if (code == EN_KILLFOCUS) picking_.Disarm();
  return true;
}

void TSystemKeys::FormClose() {
  picking_.Disarm();
  End(IDCANCEL);
}

void TSystemKeys::FormShow() {
  keys_ = FindSystemKeys(block());
  codes_ = keys_.code;
  for (int i = 0; i < kFields; ++i)
    dlg::SetText(hwnd(), IDC_SK_FIELD_1 + i, std::string(HotKeyName(codes_[static_cast<size_t>(i)])));
  const int menu = settings_.system_menu >= 1 && settings_.system_menu <= 3 ? settings_.system_menu : 1;
  ::CheckRadioButton(hwnd(), IDC_SK_MENU_1, IDC_SK_MENU_1 + 2, IDC_SK_MENU_1 + menu - 1);
  const int first = digit_ >= 1 && digit_ <= kFields ? digit_ - 1 : 0;
  ::SetFocus(dlg::Item(hwnd(), IDC_SK_FIELD_1 + first));
}

void TSystemKeys::HotKeyPicked(int code) {
  const int field = focused_field_;
  if (field < 0 || field >= kFields) return;
  if (const auto refusal = SystemKeyPickRefusal(block(), field + 1, code)) {
    dlg::ShowMessage(hwnd(), "Error", *refusal);
    return;
  }
  codes_[static_cast<size_t>(field)] = static_cast<uint16_t>(code);
  dlg::SetText(hwnd(), IDC_SK_FIELD_1 + field, std::string(HotKeyName(code)));
}

bool TSystemKeys::OkButtonClick() {
  if (const auto refusal = SystemKeysRefusal(codes_)) {
    dlg::ShowMessage(hwnd(), "Error", *refusal);
    return false;
  }
  picking_.Disarm();
  if (RewriteSystemHotKeys(file_, keys_, codes_)) file_.Load();
  for (int i = 0; i < 3; ++i)
    if (dlg::IsChecked(hwnd(), IDC_SK_MENU_1 + i)) settings_.system_menu = i + 1;
  RefreshFontStyleFlags(settings_);
  WriteSettings(profile_, settings_);
  return true;
}

}  // namespace qlx
