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

bool TCaptureComplete::ShowModal(HWND owner) { return dlg::RunModal(IDD_CAPTURE_COMPLETE, *this, owner) == IDOK; }

void TCaptureComplete::FillHotKeys() {
  HWND list = dlg::Item(hwnd_, IDC_CC_LIST);
  lv::Clear(list);
  for (int code = 0; code < kHotKeyCodes; ++code) {
    const int row = lv::AddRow(list, std::string(HotKeyName(code)), code);
    // The usage is the second column: the row text split at "(".
    const std::string usage = HotKeyUsageSuffix(MacrosWithCode(block_, code));
    lv::SetCell(list, row, 1, usage.substr(usage.find('(')));
  }
}

void TCaptureComplete::FormShow() {
  HWND list = dlg::Item(hwnd_, IDC_CC_LIST);
  lv::SetExtendedStyle(list, LVS_EX_FULLROWSELECT);
  lv::AddColumn(list, 0, "Hot Key", 190);
  lv::AddColumn(list, 1, "Use", 160);
  FillHotKeys();
  HFONT font = reinterpret_cast<HFONT>(::SendMessageA(hwnd_, WM_GETFONT, 0, 0));
  LOGFONTA lf{};
  if (font && ::GetObjectA(font, sizeof lf, &lf)) {
    lf.lfWeight = FW_BOLD;
    heading_font_.reset(::CreateFontIndirectA(&lf));
    ::SendMessageA(dlg::Item(hwnd_, IDC_CC_HEADING), WM_SETFONT, reinterpret_cast<WPARAM>(heading_font_.get()), TRUE);
  }
  dlg::CheckRadio(hwnd_, IDC_CC_HOT_KEYS, IDC_CC_SNAPWORDS, IDC_CC_HOT_KEYS);
  dlg::CheckRadio(hwnd_, IDC_CAP_GLOBAL, IDC_CAP_PROGRAM, settings_.capture_global ? IDC_CAP_GLOBAL : IDC_CAP_PROGRAM);
  dlg::SetEditLimit(hwnd_, IDC_CC_NICKNAME, static_cast<int>(mr::kNicknameCapacity));
  dlg::SetEditLimit(hwnd_, IDC_CC_SNAPWORD, static_cast<int>(mr::kSnapwordCapacity));
  dlg::SetText(hwnd_, IDC_CC_NICKNAME, record_.Nickname());
  RECT r;
  ::GetWindowRect(hwnd_, &r);
  full_height_ = r.bottom - r.top;
  MacroTypeClick();
  dlg::MakeTopmost(hwnd_);
}

void TCaptureComplete::MacroTypeClick() {
  const bool snapword = dlg::IsChecked(hwnd_, IDC_CC_SNAPWORDS);
  for (int id : {IDC_CC_LIST, IDC_CC_PICK_LABEL, IDC_CC_PICK}) dlg::Show(hwnd_, id, !snapword);
  for (int id : {IDC_CC_SNAPWORD_LABEL, IDC_CC_SNAPWORD}) dlg::Show(hwnd_, id, snapword);
  // The buttons follow the layout and the window takes its height.
  RECT units{0, 0, 1, snapword ? kSnapwordLayoutBottom : 220};
  ::MapDialogRect(hwnd_, &units);
  RECT gap{0, 0, 1, kButtonsGap};
  ::MapDialogRect(hwnd_, &gap);
  int bottom = units.bottom;
  for (int id : {IDOK, IDCANCEL, IDHELP}) {
    HWND b = dlg::Item(hwnd_, id);
    RECT br;
    ::GetWindowRect(b, &br);
    POINT p{br.left, br.top};
    ::ScreenToClient(hwnd_, &p);
    ::SetWindowPos(b, nullptr, p.x, units.bottom, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    bottom = units.bottom + (br.bottom - br.top) + gap.bottom;
  }
  RECT client;
  ::GetClientRect(hwnd_, &client);
  RECT window;
  ::GetWindowRect(hwnd_, &window);
  const int frame = (window.bottom - window.top) - client.bottom;
  ::SetWindowPos(hwnd_, nullptr, 0, 0, window.right - window.left, bottom + frame, SWP_NOMOVE | SWP_NOZORDER);
  dlg::CentreOnScreen(hwnd_);
}

void TCaptureComplete::ListClick() {
  const int row = lv::Selected(dlg::Item(hwnd_, IDC_CC_LIST));
  if (row >= 0) dlg::SetText(hwnd_, IDC_CC_PICK, std::string(HotKeyName(row)));
}

// SetSecWind: the pick field catches the next combination pressed.
void TCaptureComplete::PickEnter() {
  block_.SetHotKeyEntryWindow(win::HandleField(hwnd_));
  block_.SetHotKeyEntryActive(true);
}
void TCaptureComplete::PickExit() {
  block_.SetHotKeyEntryWindow(main_window_);
  block_.SetHotKeyEntryActive(false);
}

void TCaptureComplete::HotKeyPicked(int code) {
  if (code < 0 || code >= kHotKeyCodes) return;
  lv::Select(dlg::Item(hwnd_, IDC_CC_LIST), code);
  dlg::SetText(hwnd_, IDC_CC_PICK, std::string(HotKeyName(code)));
}

void TCaptureComplete::OkButtonClick() {
  CaptureCompleteChoice choice;
  choice.snapword = dlg::IsChecked(hwnd_, IDC_CC_SNAPWORDS);
  choice.code = lv::Selected(dlg::Item(hwnd_, IDC_CC_LIST));
  choice.snapword_name = dlg::GetText(hwnd_, IDC_CC_SNAPWORD);
  choice.nickname = dlg::GetText(hwnd_, IDC_CC_NICKNAME);
  choice.global = dlg::IsChecked(hwnd_, IDC_CAP_GLOBAL);
  const CaptureCompleteVerdict v = CheckCaptureComplete(choice, block_, macro_);
  if (v.kind == VerdictKind::Refuse) {
    dlg::ShowMessage(hwnd_, kErrorCaption, v.text);
    dlg::Focus(hwnd_, v.focus_snapword ? IDC_CC_SNAPWORD : IDC_CC_LIST);
    return;
  }
  if (v.kind == VerdictKind::AskReserved && !dlg::AskYesNo(hwnd_, "Warning", v.text)) return;
  ApplyCaptureComplete(choice, top_program_, record_);
  FormClose(IDOK);
}

void TCaptureComplete::FormClose(INT_PTR result) {
  PickExit();
  ::EndDialog(hwnd_, result);
}

INT_PTR TCaptureComplete::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      FormShow();
      return TRUE;
    case kMsgHotKeyPick:
      HotKeyPicked(static_cast<int>(wp));
      return TRUE;
    case WM_NOTIFY: {
      const auto* n = reinterpret_cast<const NMHDR*>(lp);
      if (n->idFrom == IDC_CC_LIST && (n->code == NM_CLICK || n->code == LVN_ITEMCHANGED)) ListClick();
      return TRUE;
    }
    case WM_COMMAND: {
      const dlg::Command c = dlg::DecodeCommand(wp, lp);
      if (c.id == IDOK) OkButtonClick();
      else if (c.id == IDCANCEL) FormClose(IDCANCEL);
      else if ((c.id == IDC_CC_HOT_KEYS || c.id == IDC_CC_SNAPWORDS) && c.code == BN_CLICKED) MacroTypeClick();
      else if (c.id == IDC_CC_PICK && c.code == EN_SETFOCUS) PickEnter();
      else if (c.id == IDC_CC_PICK && c.code == EN_KILLFOCUS) PickExit();
      return TRUE;
    }
    case WM_DESTROY:
      PickExit();
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace qlx
