#include "capture/win/capture_complete.h"

#include "activation/hook_contract.h"
#include "store/hotkey_table.h"
#include "capture/capture_options.h"
#include "platform/win32/dialog.h"
#include "platform/win32/win_handles.h"
#include "capture_ids.h"

namespace qlx {
namespace lv = dlg::lv;
namespace {

// The Snapword layout ends below the nickname; the hot-key layout shows
// the list and the pick field as well.
constexpr int kSnapwordLayoutBottom = 96;  // dialog units
constexpr int kButtonsGap = 6;

}  // namespace

bool TCaptureComplete::ShowModal(HWND owner) { return RunModal(IDD_CAPTURE_COMPLETE, owner) == IDOK; }

void TCaptureComplete::FillHotKeys() {
  HWND list = dlg::Item(hwnd(), IDC_CC_LIST);
  lv::Clear(list);
  for (int code = 0; code < kHotKeyCodes; ++code) {
    const int row = lv::AddRow(list, std::string(HotKeyName(code)), code);
    // The usage is the second column: the row text split at "(".
    const std::string usage = HotKeyUsageSuffix(MacrosWithCode(block_, code));
    lv::SetCell(list, row, 1, usage.substr(usage.find('(')));
  }
}

void TCaptureComplete::FormShow() {
  HWND list = dlg::Item(hwnd(), IDC_CC_LIST);
  lv::SetExtendedStyle(list, LVS_EX_FULLROWSELECT);
  lv::AddColumn(list, 0, "Hot Key", 190);
  lv::AddColumn(list, 1, "Use", 160);
  FillHotKeys();
  HFONT font = reinterpret_cast<HFONT>(::SendMessageA(hwnd(), WM_GETFONT, 0, 0));
  LOGFONTA lf{};
  if (font && ::GetObjectA(font, sizeof lf, &lf)) {
    lf.lfWeight = FW_BOLD;
    heading_font_.reset(::CreateFontIndirectA(&lf));
    ::SendMessageA(dlg::Item(hwnd(), IDC_CC_HEADING), WM_SETFONT, reinterpret_cast<WPARAM>(heading_font_.get()), TRUE);
  }
  dlg::CheckRadio(hwnd(), IDC_CC_HOT_KEYS, IDC_CC_SNAPWORDS, IDC_CC_HOT_KEYS);
  dlg::CheckRadio(hwnd(), IDC_CAP_GLOBAL, IDC_CAP_PROGRAM, settings_.capture_global ? IDC_CAP_GLOBAL : IDC_CAP_PROGRAM);
  dlg::SetEditLimit(hwnd(), IDC_CC_NICKNAME, static_cast<int>(mr::kNicknameCapacity));
  dlg::SetEditLimit(hwnd(), IDC_CC_SNAPWORD, static_cast<int>(mr::kSnapwordCapacity));
  dlg::SetText(hwnd(), IDC_CC_NICKNAME, record_.Nickname());
  RECT r;
  ::GetWindowRect(hwnd(), &r);
  full_height_ = r.bottom - r.top;
  MacroTypeClick();
  dlg::MakeTopmost(hwnd());
}

void TCaptureComplete::MacroTypeClick() {
  const bool snapword = dlg::IsChecked(hwnd(), IDC_CC_SNAPWORDS);
  for (int id : {IDC_CC_LIST, IDC_CC_PICK_LABEL, IDC_CC_PICK}) dlg::Show(hwnd(), id, !snapword);
  for (int id : {IDC_CC_SNAPWORD_LABEL, IDC_CC_SNAPWORD}) dlg::Show(hwnd(), id, snapword);
  // The buttons follow the layout and the window takes its height.
  RECT units{0, 0, 1, snapword ? kSnapwordLayoutBottom : 220};
  ::MapDialogRect(hwnd(), &units);
  RECT gap{0, 0, 1, kButtonsGap};
  ::MapDialogRect(hwnd(), &gap);
  int bottom = units.bottom;
  for (int id : {IDOK, IDCANCEL, IDHELP}) {
    HWND b = dlg::Item(hwnd(), id);
    RECT br;
    ::GetWindowRect(b, &br);
    POINT p{br.left, br.top};
    ::ScreenToClient(hwnd(), &p);
    ::SetWindowPos(b, nullptr, p.x, units.bottom, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    bottom = units.bottom + (br.bottom - br.top) + gap.bottom;
  }
  RECT client;
  ::GetClientRect(hwnd(), &client);
  RECT window;
  ::GetWindowRect(hwnd(), &window);
  const int frame = (window.bottom - window.top) - client.bottom;
  ::SetWindowPos(hwnd(), nullptr, 0, 0, window.right - window.left, bottom + frame, SWP_NOMOVE | SWP_NOZORDER);
  dlg::CentreOnScreen(hwnd());
}

void TCaptureComplete::ListClick() {
  const int row = lv::Selected(dlg::Item(hwnd(), IDC_CC_LIST));
  if (row >= 0) dlg::SetText(hwnd(), IDC_CC_PICK, std::string(HotKeyName(row)));
}

// SetSecWind: the pick field catches the next combination pressed.
void TCaptureComplete::PickEnter() {
  block_.SetHotKeyEntryWindow(win::HandleField(hwnd()));
  block_.SetHotKeyEntryActive(true);
}
void TCaptureComplete::PickExit() {
  block_.SetHotKeyEntryWindow(main_window_);
  block_.SetHotKeyEntryActive(false);
}

void TCaptureComplete::HotKeyPicked(int code) {
  if (code < 0 || code >= kHotKeyCodes) return;
  lv::Select(dlg::Item(hwnd(), IDC_CC_LIST), code);
  dlg::SetText(hwnd(), IDC_CC_PICK, std::string(HotKeyName(code)));
}

bool TCaptureComplete::OkButtonClick() {
  CaptureCompleteChoice choice;
  choice.snapword = dlg::IsChecked(hwnd(), IDC_CC_SNAPWORDS);
  choice.code = lv::Selected(dlg::Item(hwnd(), IDC_CC_LIST));
  choice.snapword_name = dlg::GetText(hwnd(), IDC_CC_SNAPWORD);
  choice.nickname = dlg::GetText(hwnd(), IDC_CC_NICKNAME);
  choice.global = dlg::IsChecked(hwnd(), IDC_CAP_GLOBAL);
  const CaptureCompleteVerdict v = CheckCaptureComplete(choice, block_, macro_);
  if (v.kind == VerdictKind::Refuse) {
    dlg::ShowMessage(hwnd(), kErrorCaption, v.text);
    dlg::Focus(hwnd(), v.focus_snapword ? IDC_CC_SNAPWORD : IDC_CC_LIST);
    return false;
  }
  if (v.kind == VerdictKind::AskReserved && !dlg::AskYesNo(hwnd(), "Warning", v.text)) return false;
  ApplyCaptureComplete(choice, top_program_, record_);
  PickExit();
  return true;
}

void TCaptureComplete::FormClose() {
  PickExit();
  End(IDCANCEL);
}

INT_PTR TCaptureComplete::OnMessage(UINT msg, WPARAM wp, LPARAM) {
  switch (msg) {
    case kMsgHotKeyPick:
      HotKeyPicked(static_cast<int>(wp));
      return TRUE;
    case WM_DESTROY:
      PickExit();
      return FALSE;
    default:
      return FALSE;
  }
}

bool TCaptureComplete::OnNotify(const NMHDR& n, LPARAM, LRESULT&) {
  if (n.idFrom == IDC_CC_LIST && (n.code == NM_CLICK || n.code == LVN_ITEMCHANGED)) ListClick();
  return true;
}

bool TCaptureComplete::OnCommand(int id, int code, HWND) {
  if ((id == IDC_CC_HOT_KEYS || id == IDC_CC_SNAPWORDS) && code == BN_CLICKED) MacroTypeClick();
  else if (id == IDC_CC_PICK && code == EN_SETFOCUS) PickEnter();
  else if (id == IDC_CC_PICK && code == EN_KILLFOCUS) PickExit();
  else return false;
  return true;
}

}  // namespace qlx
