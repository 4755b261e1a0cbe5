#pragma once
// One notification-area icon: what TTaskIcon decides, free of windows.h.
// The platform's add, modify and delete calls go through ITrayShell, so
// the rules (Active follows only a call that succeeded, the tip is cut to
// 63 characters, notifications for other icons are ignored) are tested.
#include <cstdint>
#include <string>
#include <string_view>

namespace qlx {

inline constexpr size_t kTrayTipMax = 63;
inline constexpr uint32_t kTrayCallbackMessage = 1024;  // the first user message
inline constexpr uint32_t kTrayLeftButtonUp = 514;
inline constexpr uint32_t kTrayLeftDoubleClick = 515;
inline constexpr uint32_t kTrayRightButtonUp = 517;

struct TrayIconData {
  uint32_t id = 0;
  uintptr_t icon = 0;
  std::string tip;
};

class ITrayShell {
 public:
  virtual ~ITrayShell() = default;
  virtual bool Add(const TrayIconData& icon) = 0;
  virtual bool Modify(const TrayIconData& icon) = 0;
  virtual bool Delete(const TrayIconData& icon) = 0;
};

enum class TrayEvent : uint8_t { None, Click, DoubleClick, RightClick };

// The event a callback (first parameter the identifier, second the mouse
// message) stands for at the icon `own_id`.
inline TrayEvent DecodeTrayNotification(uint32_t own_id, uint32_t id, uint32_t mouse_message) {
  if (id != own_id) return TrayEvent::None;
  switch (mouse_message) {
    case kTrayLeftButtonUp: return TrayEvent::Click;
    case kTrayLeftDoubleClick: return TrayEvent::DoubleClick;
    case kTrayRightButtonUp: return TrayEvent::RightClick;
    default: return TrayEvent::None;
  }
}

inline std::string CutTrayTip(std::string_view tip) { return std::string(tip.substr(0, kTrayTipMax)); }

class TaskIconState {
 public:
  explicit TaskIconState(ITrayShell& shell) : shell_(shell) {}
  TaskIconState(const TaskIconState&) = delete;
  TaskIconState& operator=(const TaskIconState&) = delete;
  // Destroying an active icon takes it out of the tray first.
  ~TaskIconState() { SetActive(false); }

  bool Active() const { return active_; }
  void SetActive(bool on) {
    if (on == active_) return;
    if (on ? shell_.Add(data_) : shell_.Delete(data_)) active_ = on;
  }
  const TrayIconData& data() const { return data_; }
  void SetIcon(uintptr_t icon) { Change([&] { data_.icon = icon; }); }
  void SetTaskIconId(uint32_t id) {
    // The old icon goes under its old identifier, the new one comes back.
    if (active_ && id != data_.id) {
      SetActive(false);
      data_.id = id;
      SetActive(true);
      return;
    }
    data_.id = id;
  }
  void SetToolTip(std::string_view tip) { Change([&] { data_.tip = CutTrayTip(tip); }); }
  TrayEvent Decode(uint32_t id, uint32_t mouse_message) const {
    return DecodeTrayNotification(data_.id, id, mouse_message);
  }

 private:
  template <typename F>
  void Change(F f) {
    f();
    if (active_) shell_.Modify(data_);
  }
  ITrayShell& shell_;
  TrayIconData data_;
  bool active_ = false;
};

}  // namespace qlx
