#pragma once
// TCaptureComplete: names the macro a quick capture recorded and gives it
// a hot key or a Snapword. Always on top.
#include <windows.h>

#include <string>

#include "capture/capture_complete.h"
#include "platform/win32/dialog_base.h"
#include "platform/win32/win_handles.h"
#include "store/settings.h"
#include "store/shared_blocks.h"

namespace qlx {

class TCaptureComplete : public dlg::Dialog {
 public:
  TCaptureComplete(MacroRecord& record, int macro, ActivationBlock block, const Settings& settings,
                   std::string top_program, uint32_t main_window)
      : record_(record),
        macro_(macro),
        block_(block),
        settings_(settings),
        top_program_(std::move(top_program)),
        main_window_(main_window) {}
  // True when Ok wrote the choice into the record.
  bool ShowModal(HWND owner);

 private:
  void FormShow() override;
  bool OkButtonClick() override;
  void FormClose() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(const NMHDR& header, LPARAM lp, LRESULT& result) override;
  INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void FillHotKeys();
  void MacroTypeClick();
  void ListClick();
  void PickEnter();
  void PickExit();
  void HotKeyPicked(int code);

  MacroRecord& record_;
  int macro_;
  ActivationBlock block_;
  const Settings& settings_;
  std::string top_program_;
  uint32_t main_window_;
  int full_height_ = 0;
  win::Font heading_font_;
};

}  // namespace qlx
