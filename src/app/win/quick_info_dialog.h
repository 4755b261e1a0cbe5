#pragma once
// TQuickInfo ("Quick Info"): a read-only summary of one macro.
#include <windows.h>

#include "app/quick_info.h"
#include "platform/win32/dialog_base.h"
#include "platform/win32/win_handles.h"

namespace qlx {

class TQuickInfo : public dlg::Dialog {
 public:
  explicit TQuickInfo(QuickInfoView view) : view_(std::move(view)) {}
  ~TQuickInfo() override;

  void ShowModal(HWND owner);

 private:
  void FormShow() override;
  // Ok and Cancel alike only close it.
  void FormClose() override { End(IDOK); }

  QuickInfoView view_;
  HICON file_icon_ = nullptr;
};

}  // namespace qlx
