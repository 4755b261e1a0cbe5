#pragma once
#include <windows.h>

#include "platform/input.h"

namespace qlx {

// Input through SendInput, every event tagged with the injected marker.
class Win32Input : public IInput {
 public:
  void Send(const KeyEventRecord& event) override;
  void SendAll(std::span<const KeyEventRecord> events) override;
  void MouseEvent(uint32_t flags, int32_t dx, int32_t dy, int32_t data) override;
  uint16_t MapVirtualKey(uint8_t vk) override;
  int16_t VkKeyScan(char c, uintptr_t window) override;
  char16_t AnsiToUnicode(uint8_t c) override;
  bool IsKeyDown(uint8_t vk) override;
  KeyboardState GetKeyboardState() override;
  void SetKeyboardState(const KeyboardState& state) override;
  void LetWindowTakeInput(uintptr_t window) override;
  void LetClickedWindowTakeClicks() override;
  std::optional<uint32_t> SystemPointerMoves() override;
  bool MenuReleaseMasked() override;
  void AbandonPendingInput() override { key_events_since_handover_ = 0; }

  // Round trips to a window whose program stops answering end the hand-over.
  static constexpr UINT kRoundTripTimeoutMs = 200;
  static constexpr uint32_t kMaxRoundTrips = 600;

 private:
  // Sent messages to `window`'s thread, at most kMaxRoundTrips.
  static void RoundTrips(HWND window, uint32_t trips);

  uint32_t key_events_since_handover_ = 0;
  HWND clicked_window_ = nullptr;  // the window under the pointer at the last button press
  uint32_t button_events_since_handover_ = 0;
};

}  // namespace qlx
