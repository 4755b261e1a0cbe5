#pragma once
// TQuickInfo ("Quick Info"): a read-only summary of one macro.
#include <windows.h>

#include "app/quick_info.h"
#include "platform/win32/win_handles.h"

namespace qlx {

class TQuickInfo {
 public:
  explicit TQuickInfo(QuickInfoView view) : view_(std::move(view)) {}
  TQuickInfo(const TQuickInfo&) = delete;
  TQuickInfo& operator=(const TQuickInfo&) = delete;
  ~TQuickInfo();

  void ShowModal(HWND owner);

  INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  HWND hwnd_ = nullptr;

 private:
  void FormShow();

  QuickInfoView view_;
  HICON file_icon_ = nullptr;
};

}  // namespace qlx
