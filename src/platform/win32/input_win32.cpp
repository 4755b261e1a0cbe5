#include "platform/win32/input_win32.h"

#include "platform/input.h"

namespace qlx {
namespace {

void Send(INPUT& in) { ::SendInput(1, &in, sizeof in); }

}  // namespace

void Win32Input::KeyEvent(uint8_t vk, uint16_t scan, bool up, bool extended) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = scan;
  in.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0u) | (extended ? KEYEVENTF_EXTENDEDKEY : 0u);
  in.ki.dwExtraInfo = kInjectedMarker;
  Send(in);
  ++key_events_since_handover_;
}

void Win32Input::UnicodeEvent(char16_t unit, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = 0;
  in.ki.wScan = static_cast<WORD>(unit);
  in.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0u);
  in.ki.dwExtraInfo = kInjectedMarker;
  Send(in);
  ++key_events_since_handover_;
}

void Win32Input::LetWindowTakeInput(uintptr_t window) {
  // The receiving thread answers a sent message only from inside its
  // message retrieval, and takes at most one queued input message per
  // retrieval; a key event yields at most a key message and a character.
  // So two round trips per event, plus one, outlast whatever is queued.
  HWND hwnd = reinterpret_cast<HWND>(window);
  const uint32_t trips = key_events_since_handover_ * 2 + 1;
  key_events_since_handover_ = 0;
  if (!hwnd || ::GetWindowThreadProcessId(hwnd, nullptr) == ::GetCurrentThreadId()) return;
  for (uint32_t i = 0; i < trips && i < kMaxRoundTrips; ++i) {
    DWORD_PTR ignored = 0;
    if (!::SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kRoundTripTimeoutMs,
                               &ignored))
      return;
  }
}

void Win32Input::MouseEvent(uint32_t flags, int32_t dx, int32_t dy, int32_t data) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = dx;
  in.mi.dy = dy;
  in.mi.mouseData = static_cast<DWORD>(data);
  in.mi.dwFlags = flags;
  in.mi.dwExtraInfo = kInjectedMarker;
  Send(in);
}

uint16_t Win32Input::MapVirtualKey(uint8_t vk) {
  return static_cast<uint16_t>(::MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
}

int16_t Win32Input::VkKeyScan(char c, uintptr_t window) {
  // The receiving program's layout decides which key types the character;
  // an unknown window gives thread 0, which is this thread's layout.
  const DWORD thread = window ? ::GetWindowThreadProcessId(reinterpret_cast<HWND>(window), nullptr) : 0;
  return static_cast<int16_t>(::VkKeyScanExA(c, ::GetKeyboardLayout(thread)));
}

char16_t Win32Input::AnsiToUnicode(uint8_t c) {
  const char in = static_cast<char>(c);
  wchar_t out = 0;
  if (::MultiByteToWideChar(CP_ACP, 0, &in, 1, &out, 1) != 1) return u'?';
  return static_cast<char16_t>(out);
}

bool Win32Input::IsKeyDown(uint8_t vk) { return (::GetAsyncKeyState(vk) & 0x8000) != 0; }

KeyboardState Win32Input::GetKeyboardState() {
  KeyboardState s{};
  ::GetKeyboardState(s.data());
  return s;
}

void Win32Input::SetKeyboardState(const KeyboardState& state) {
  KeyboardState copy = state;  // the API takes a non-const buffer
  ::SetKeyboardState(copy.data());
}

}  // namespace qlx
