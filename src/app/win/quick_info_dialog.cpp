#include "app/win/quick_info_dialog.h"

#include "platform/win32/dialog.h"
#include "resource.h"

namespace qlx {

TQuickInfo::~TQuickInfo() {
  if (file_icon_) ::DestroyIcon(file_icon_);
}

void TQuickInfo::ShowModal(HWND owner) { RunModal(IDD_QUICK_INFO, owner); }

void TQuickInfo::FormShow() {
  HICON icon = nullptr;
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  switch (view_.icon) {
    case QuickInfoView::Icon::Menu: icon = ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_MENU)); break;
    case QuickInfoView::Icon::Main: icon = ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_MAIN)); break;
    case QuickInfoView::Icon::File:
      file_icon_ = static_cast<HICON>(::LoadImageA(nullptr, view_.icon_file.c_str(), IMAGE_ICON, 0, 0,
                                                   LR_LOADFROMFILE | LR_DEFAULTSIZE));
      icon = file_icon_ ? file_icon_ : ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_MAIN));
      break;
  }
  ::SendMessageA(dlg::Item(hwnd(), IDC_QI_ICON), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  dlg::SetText(hwnd(), IDC_QI_MODIFIED, view_.last_modified);
  dlg::SetText(hwnd(), IDC_QI_ACTIVATION_LABEL, view_.activation_label);
  dlg::SetText(hwnd(), IDC_QI_ACTIVATION, view_.activation);
  dlg::SetText(hwnd(), IDC_QI_NICKNAME, view_.nickname);
  dlg::SetText(hwnd(), IDC_QI_SCOPE, view_.scope);
  dlg::SetText(hwnd(), IDC_QI_ACTIVE, view_.active);
  dlg::SetText(hwnd(), IDC_QI_TEXT_LABEL, view_.text_label);
  dlg::SetText(hwnd(), IDC_QI_TEXT, view_.text);
  dlg::Show(hwnd(), IDC_QI_TEXT, view_.text_visible);
  ::SetFocus(dlg::Item(hwnd(), IDOK));
}

}  // namespace qlx
