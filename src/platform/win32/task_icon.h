#pragma once
// TTaskIcon: one icon in the notification area, with a zero-size window of
// its own that receives the icon's notifications. Owns its picture; an
// active icon leaves the tray when the component goes.
#include <windows.h>

#include <functional>
#include <string_view>

#include "platform/tray_icon.h"

namespace qlx {

class TTaskIcon : private ITrayShell {
 public:
  // `picture` is owned from here on (DestroyIcon at the end).
  explicit TTaskIcon(HICON picture = nullptr, uint32_t id = 0, std::string_view tip = {});
  TTaskIcon(const TTaskIcon&) = delete;
  TTaskIcon& operator=(const TTaskIcon&) = delete;
  ~TTaskIcon();

  bool Active() const { return state_.Active(); }
  void SetActive(bool on) { state_.SetActive(on); }
  void SetIcon(HICON picture);
  void SetTaskIconId(uint32_t id) { state_.SetTaskIconId(id); }
  uint32_t TaskIconId() const { return state_.data().id; }
  // The icon's window carries the tip as its title too, so the icon can be
  // told from the others from outside.
  void SetToolTip(std::string_view tip);
  HWND window() const { return hwnd_; }

  std::function<void()> OnClick;
  std::function<void()> OnDblClick;
  std::function<void(POINT)> OnRightClick;

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  bool Call(DWORD message, const TrayIconData& icon);
  bool Add(const TrayIconData& icon) override { return Call(NIM_ADD, icon); }
  bool Modify(const TrayIconData& icon) override { return Call(NIM_MODIFY, icon); }
  bool Delete(const TrayIconData& icon) override { return Call(NIM_DELETE, icon); }

  HWND hwnd_ = nullptr;
  HICON picture_ = nullptr;
  TaskIconState state_;
};

}  // namespace qlx
