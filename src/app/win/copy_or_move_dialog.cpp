#include "app/win/copy_or_move_dialog.h"

#include "store/hotkey_table.h"
#include "app/win/hot_key_picking.h"
#include "platform/win32/dialog.h"
#include "capture/capture_complete.h"
#include "resource.h"

namespace qlx {

bool TCopyOrMove::ShowModal(HWND owner) { return RunModal(IDD_COPY_OR_MOVE, owner) == IDOK; }

INT_PTR TCopyOrMove::OnMessage(UINT msg, WPARAM wp, LPARAM) {
  if (const std::optional<int> code = picking_.PickOf(msg, wp)) {
    HotKeyPicked(*code);
    return TRUE;
  }
  if (msg == WM_DESTROY) picking_.Disarm();
  return FALSE;
}

bool TCopyOrMove::OnCommand(int id, int code, HWND) {
  switch (id) {
    case IDC_CM_HOTKEY_RADIO:
    case IDC_CM_SNAPWORD_RADIO:
    case IDC_CM_TIMED_RADIO:
      if (code == BN_CLICKED) ChoiceClick();
      return true;
    case IDC_CM_HOTKEY_FIELD:
      if (code == EN_SETFOCUS) picking_.Arm(hwnd());
      if (code == EN_KILLFOCUS) picking_.Disarm();
      return true;
    case IDC_CM_HOTKEY_LIST:
      if (code == LBN_SELCHANGE) HotKeyListClick();
      return true;
    default:
      return false;
  }
}

void TCopyOrMove::FormClose() {
  picking_.Disarm();
  End(IDCANCEL);
}

void TCopyOrMove::FormShow() {
  ::SetWindowTextA(hwnd(), CopyMoveCaption(mode_).c_str());
  dlg::SetText(hwnd(), IDC_CM_LABEL, CopyMoveLabel(mode_, working_.Code(), working_.Snapword()));
  dlg::SetText(hwnd(), IDC_CM_HOTKEY_FIELD, kPressTheHotKey);
  HWND list = dlg::Item(hwnd(), IDC_CM_HOTKEY_LIST);
  ::SendMessageA(list, LB_INITSTORAGE, kHotKeyCodes, kHotKeyCodes * 40);
  for (int code = 0; code < kHotKeyCodes; ++code) dlg::list::Add(list, HotKeyUsageRow(code, MacrosWithCode(block_, code)));
  HWND snapword = dlg::Item(hwnd(), IDC_CM_SNAPWORD_FIELD);
  ::SendMessageA(snapword, EM_LIMITTEXT, kSnapwordMaxChars, 0);
  if (working_.Code() == kSnapwordCode) dlg::SetText(snapword, working_.Snapword());

  const CopyMoveChoice initial = InitialChoice(working_.Code());
  const int radio = initial == CopyMoveChoice::HotKey    ? IDC_CM_HOTKEY_RADIO
                    : initial == CopyMoveChoice::Snapword ? IDC_CM_SNAPWORD_RADIO
                                                          : IDC_CM_TIMED_RADIO;
  ::CheckRadioButton(hwnd(), IDC_CM_HOTKEY_RADIO, IDC_CM_TIMED_RADIO, radio);
  // The list opens where the macro's own key stands.
  if (initial == CopyMoveChoice::HotKey) ::SendMessageA(list, LB_SETTOPINDEX, working_.Code(), 0);
  ChoiceClick();
}

CopyMoveChoice TCopyOrMove::Choice() const {
  if (dlg::IsChecked(hwnd(), IDC_CM_SNAPWORD_RADIO)) return CopyMoveChoice::Snapword;
  if (dlg::IsChecked(hwnd(), IDC_CM_TIMED_RADIO)) return CopyMoveChoice::Timed;
  return CopyMoveChoice::HotKey;
}

void TCopyOrMove::ChoiceClick() {
  const CopyMoveChoice c = Choice();
  const bool hot_key = c == CopyMoveChoice::HotKey;
  const bool snapword = c == CopyMoveChoice::Snapword;
  dlg::Show(hwnd(), IDC_CM_HOTKEY_FIELD, hot_key);
  dlg::Show(hwnd(), IDC_CM_HOTKEY_LIST, hot_key);
  dlg::Show(hwnd(), IDC_CM_SNAPWORD_LABEL, snapword);
  dlg::Show(hwnd(), IDC_CM_SNAPWORD_FIELD, snapword);
  if (hot_key) ::SetFocus(dlg::Item(hwnd(), IDC_CM_HOTKEY_FIELD));
  if (snapword) ::SetFocus(dlg::Item(hwnd(), IDC_CM_SNAPWORD_FIELD));
}

void TCopyOrMove::HotKeyPicked(int code) {
  HWND list = dlg::Item(hwnd(), IDC_CM_HOTKEY_LIST);
  dlg::list::Select(list, code);
  dlg::SetText(hwnd(), IDC_CM_HOTKEY_FIELD, std::string(HotKeyName(code)));
}

void TCopyOrMove::HotKeyListClick() {
  const std::optional<int> code = SelectedCode();
  if (code) dlg::SetText(hwnd(), IDC_CM_HOTKEY_FIELD, std::string(HotKeyName(*code)));
}

std::optional<int> TCopyOrMove::SelectedCode() const {
  const int line = dlg::list::Selected(dlg::Item(hwnd(), IDC_CM_HOTKEY_LIST));
  if (line < 0) return std::nullopt;
  return line;
}

bool TCopyOrMove::OkButtonClick() {
  const CopyMoveChoice choice = Choice();
  const std::optional<int> code = SelectedCode();
  const std::string snapword = dlg::GetText(hwnd(), IDC_CM_SNAPWORD_FIELD);
  const CopyMoveCheck check = CheckCopyOrMove(mode_, choice, code, snapword, working_.Scope(), block_, macro_);
  switch (check.kind) {
    case CopyMoveCheck::Kind::Refuse: {
      dlg::ShowMessage(hwnd(), check.caption, check.text);
      const int field = check.focus == CopyMoveCheck::Field::Snapword ? IDC_CM_SNAPWORD_FIELD : IDC_CM_HOTKEY_LIST;
      ::SetFocus(dlg::Item(hwnd(), field));
      return false;
    }
    case CopyMoveCheck::Kind::AskReserved:
      if (!dlg::AskYesNo(hwnd(), check.caption, check.text)) return false;
      break;
    case CopyMoveCheck::Kind::Accept:
      break;
  }
  ApplyCopyOrMove(choice, code.value_or(0), snapword, working_, CivilDateFromDays(clock_.Now()));
  if (choice == CopyMoveChoice::Timed) hooks_.EditSchedule(working_);
  picking_.Disarm();
  return true;
}

}  // namespace qlx
