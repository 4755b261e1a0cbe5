#include "platform/win32/input_win32.h"

#include <vector>

#include "platform/input.h"

namespace qlx {
namespace {

void SendOne(INPUT& in) { ::SendInput(1, &in, sizeof in); }

INPUT KeyInputOf(const KeyEventRecord& event) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = event.vk;
  in.ki.wScan = event.scan;
  in.ki.dwFlags = (event.up ? KEYEVENTF_KEYUP : 0u) | (event.extended ? KEYEVENTF_EXTENDEDKEY : 0u) |
                  (event.unicode ? KEYEVENTF_UNICODE : 0u);
  in.ki.dwExtraInfo = event.extra_info;
  return in;
}

// The hook library's export, null while it is not loaded.
template <typename Fn>
Fn HookExport(const char* name) {
  HMODULE hooks = ::GetModuleHandleA("QLXHOOK.DLL");
  if (!hooks) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(::GetProcAddress(hooks, name)));
}

}  // namespace

void Win32Input::Send(const KeyEventRecord& event) {
  INPUT in = KeyInputOf(event);
  SendOne(in);
  ++key_events_since_handover_;
}

void Win32Input::SendAll(std::span<const KeyEventRecord> events) {
  if (events.empty()) return;
  std::vector<INPUT> in;
  in.reserve(events.size());
  for (const KeyEventRecord& e : events) in.push_back(KeyInputOf(e));
  ::SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
  key_events_since_handover_ += static_cast<uint32_t>(in.size());
}

void Win32Input::RoundTrips(HWND window, uint32_t trips) {
  if (!window || ::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId()) return;
  for (uint32_t i = 0; i < trips && i < kMaxRoundTrips; ++i) {
    DWORD_PTR ignored = 0;
    if (!::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kRoundTripTimeoutMs,
                               &ignored))
      return;
  }
}

void Win32Input::LetWindowTakeInput(uintptr_t window) {
  // The receiving thread answers a sent message only from inside its
  // message retrieval, and takes at most one queued input message per
  // retrieval; a key event yields at most a key message and a character.
  // So two round trips per event, plus one, outlast whatever is queued.
  const uint32_t trips = key_events_since_handover_ * 2 + 1;
  key_events_since_handover_ = 0;
  RoundTrips(reinterpret_cast<HWND>(window), trips);
}

void Win32Input::LetClickedWindowTakeClicks() {
  // As for keys: a button event yields at most a move and a button
  // message. Under Wine the window that lets go of the mouse on the button
  // release sends the pointer's place again as input; until it has, a
  // move sent now would be undone by that older place, because the system
  // works out where a move without a place goes when it is sent but
  // carries it out only once the low-level mouse hooks have seen it.
  const uint32_t trips = button_events_since_handover_ * 2 + 1;
  HWND window = clicked_window_;
  button_events_since_handover_ = 0;
  clicked_window_ = nullptr;
  if (trips > 1) RoundTrips(window, trips);
}

std::optional<uint32_t> Win32Input::SystemPointerMoves() {
  // The hook library counts them on its hook thread; without its mouse
  // hook nobody does.
  using CountFn = uint32_t (*)();
  auto count = HookExport<CountFn>(kPointerMovesExport);
  if (!count) return std::nullopt;
  const uint32_t n = count();
  if (n == kNoPointerCount) return std::nullopt;
  return n;
}

bool Win32Input::MenuReleaseMasked() {
  using MaskedFn = uint32_t (*)();
  auto masked = HookExport<MaskedFn>(kMenuMaskedExport);
  return masked && masked() != 0;
}

void Win32Input::MouseEvent(uint32_t flags, int32_t dx, int32_t dy, int32_t data) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dx = dx;
  in.mi.dy = dy;
  in.mi.mouseData = static_cast<DWORD>(data);
  in.mi.dwFlags = flags;
  in.mi.dwExtraInfo = ExtraInfoOf(InputOrigin::kProgram);
  SendOne(in);
  constexpr DWORD kDowns = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_RIGHTDOWN | MOUSEEVENTF_MIDDLEDOWN;
  constexpr DWORD kUps = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_RIGHTUP | MOUSEEVENTF_MIDDLEUP;
  if (flags & (kDowns | kUps)) ++button_events_since_handover_;
  if (flags & kDowns) {
    // The press has just moved the system's idea of the pointer, so this
    // reads the place the press went to.
    POINT at{};
    if (::GetCursorPos(&at)) clicked_window_ = ::WindowFromPoint(at);
  }
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
