#pragma once
// TCaptureComplete: names the macro a quick capture recorded and gives it
// a hot key or a Snapword. Always on top.
#include <windows.h>

#include <string>

#include "capture/capture_complete.h"
#include "platform/win32/win_handles.h"
#include "store/settings.h"
#include "store/shared_blocks.h"

namespace qlx {

class TCaptureComplete {
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

  HWND hwnd_ = nullptr;
  INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp);

 private:
  void FormShow();
  void FillHotKeys();
  void MacroTypeClick();
  void ListClick();
  void PickEnter();
  void PickExit();
  void HotKeyPicked(int code);
  void OkButtonClick();
  void FormClose(INT_PTR result);

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
