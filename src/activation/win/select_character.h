#pragma once
// TSelectCharacter: a grid of the characters 32..255, 28 columns by 8
// rows, opened beside a remapper cell. Ok or a double click takes the
// selected character.
#include <windows.h>

#include <cstdint>

#include "platform/win32/dialog_base.h"

namespace qlx {

class TSelectCharacter : public dlg::Dialog {
 public:
  explicit TSelectCharacter(uint8_t current) : Dialog(Placement::OwnPlace), selected_(current < 32 ? 32 : current) {}
  // The chosen character, or 0 for Cancel. `beside` is the cell's screen rectangle.
  uint8_t ShowModal(HWND owner, const RECT& beside);
  static bool RegisterGrid(HINSTANCE instance);

 private:
  void FormShow() override;
  static LRESULT CALLBACK GridProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void GridPaint(HWND grid);
  void GridClick(HWND grid, int x, int y, bool take);
  void GridKey(HWND grid, WPARAM key);

  uint8_t selected_;
  RECT beside_{};
  bool taken_ = false;
};

}  // namespace qlx
