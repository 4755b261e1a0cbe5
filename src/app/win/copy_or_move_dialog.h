#pragma once
// TCopyOrMove ("Copy Hot Key" / "Move Hot Key"): chooses the new activation
// of a macro being copied or renamed: a hot key picked from the keyboard or
// the list of all hot keys, a Snapword, or a schedule.
#include <windows.h>

#include <optional>

#include "app/copy_or_move.h"
#include "app/feature_hooks.h"
#include "app/win/hot_key_picking.h"
#include "platform/clock.h"
#include "platform/win32/dialog_base.h"
#include "store/shared_blocks.h"

namespace qlx {

class TCopyOrMove : public dlg::Dialog {
 public:
  // `macro` is the number of the macro copied or moved.
  TCopyOrMove(CopyMoveMode mode, MacroRecord& working, int macro, ActivationBlock block, HWND main_window,
              FeatureHooks& hooks, const IClock& clock)
      : mode_(mode),
        working_(working),
        block_(block),
        macro_(mode == CopyMoveMode::Move ? macro : 0),
        picking_(block, main_window),
        hooks_(hooks),
        clock_(clock) {}
  // True when the user confirmed; the working record then has its new
  // activation.
  bool ShowModal(HWND owner);

 private:
  void FormShow() override;
  bool OkButtonClick() override;
  void FormClose() override;
  bool OnCommand(int id, int code, HWND control) override;
  INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void ChoiceClick();
  void HotKeyPicked(int code);
  void HotKeyListClick();
  CopyMoveChoice Choice() const;
  std::optional<int> SelectedCode() const;

  CopyMoveMode mode_;
  MacroRecord& working_;
  ActivationBlock block_;
  int macro_;  // the macro moved, which does not stand in its own way
  HotKeyPicking picking_;
  FeatureHooks& hooks_;
  const IClock& clock_;
};

}  // namespace qlx
