// QLXHOOK.DLL: the global keyboard, mouse, key-remap and window-activation
// hooks. All hooks live on one thread of this library with its own message
// loop, so they keep answering while the program's UI thread is busy playing
// a macro or showing a modal dialog. The exports ask that thread and wait.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>

#include "activation/hook_contract.h"
#include "hook/hook_logic.h"
#include "hook/input_processor.h"
#include "store/byte_view.h"
#include "store/shared_blocks.h"

namespace qlx {
namespace {

HINSTANCE g_module = nullptr;

HWND ToHwnd(uint32_t field) { return reinterpret_cast<HWND>(FieldToHandle(field)); }
template <typename H>
uint32_t ToField(H h) { return HandleToField(reinterpret_cast<uintptr_t>(h)); }

// One named block opened by name (the program created it) and mapped whole.
// Mapping exactly `size` bytes fails when the section is smaller, so every
// fixed offset below stays inside the view.
class SharedBlock {
 public:
  SharedBlock() = default;
  SharedBlock(const SharedBlock&) = delete;
  SharedBlock& operator=(const SharedBlock&) = delete;
  ~SharedBlock() { Close(); }

  uint8_t* Open(const char* name, size_t size) {
    if (view_) return view_;
    HANDLE mapping = ::OpenFileMappingA(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, name);
    if (!mapping) return nullptr;
    void* view = ::MapViewOfFile(mapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, size);
    if (!view) {
      ::CloseHandle(mapping);
      return nullptr;
    }
    mapping_ = mapping;
    view_ = static_cast<uint8_t*>(view);
    return view_;
  }
  void Close() {
    if (view_) ::UnmapViewOfFile(view_);
    if (mapping_) ::CloseHandle(mapping_);
    view_ = nullptr;
    mapping_ = nullptr;
  }

 private:
  HANDLE mapping_ = nullptr;
  uint8_t* view_ = nullptr;
};

// The three blocks with their typed views; null until the program made them.
class Blocks {
 public:
  void OpenMissing() {
    if (!activation_) {
      if (uint8_t* p = activationBlock_.Open(kActivationBlockName, ab::kSize)) activation_.emplace(p);
    }
    if (!remap_) {
      if (uint8_t* p = remapBlock_.Open(kRemapBlockName, rb::kSize)) remap_.emplace(p);
    }
    if (!window_) {
      if (uint8_t* p = windowBlock_.Open(kWindowBlockName, wb::kSize)) window_.emplace(p);
    }
  }
  ActivationBlock* Activation() { return activation_ ? &*activation_ : nullptr; }
  RemapBlock* Remap() { return remap_ ? &*remap_ : nullptr; }
  WindowBlock* Window() { return window_ ? &*window_ : nullptr; }

 private:
  SharedBlock activationBlock_, remapBlock_, windowBlock_;
  std::optional<ActivationBlock> activation_;
  std::optional<RemapBlock> remap_;
  std::optional<WindowBlock> window_;
};

enum HookKind : int { kKeyboard, kMouse, kRemap, kActivation, kHookKinds };

// Everything the hook thread owns. Only that thread touches it: the hook
// procedures and the control window's procedure all run there.
struct HookThreadState {
  struct Slot {
    HHOOK hook = nullptr;
    HWINEVENTHOOK event = nullptr;
    uint32_t current = 0;   // the handle as it is now (after reinstalls)
    uint32_t returned = 0;  // the handle the export returned
    bool used() const { return hook || event; }
  };
  Blocks blocks;
  InputProcessor input;
  HookInputFilter& filter = input.filter();
  HookWatchdog watchdog;
  HKL layout = nullptr;       // keyboard layout the processor's table was built for
  HWND keyForeground = nullptr;  // the window in front at the last key the user pressed
  bool inKeyChain = false;    // inside our own CallNextHookEx for a key event
  Slot slots[kHookKinds];
  HWND control = nullptr;
  HWND lastForeground = nullptr;
};
HookThreadState* g_state = nullptr;
std::atomic<uint32_t> g_pointerMoves{0};
std::atomic<bool> g_mouseHooked{false};
// What the filter knows of the menu mask, for the player on another thread.
std::atomic<bool> g_menuMasked{false};

// Control-window messages: the exports' requests.
constexpr UINT kWmInstall = WM_APP + 1;  // wParam kind; returns the handle
constexpr UINT kWmRemove = WM_APP + 2;   // wParam handle; returns the hooks left
constexpr UINT kWmStop = WM_APP + 3;
// Posted by the mouse hook for a move that was not injected; counted once
// the hook has answered, so a reader of the count knows the move has gone
// on to its window.
constexpr UINT kWmPointerMoved = WM_APP + 4;
constexpr UINT_PTR kWatchdogTimer = 1;
constexpr UINT kWatchdogMs = 1000;
// Wine posts no EVENT_SYSTEM_FOREGROUND to other processes: while the
// activation hook is installed the foreground window is also looked at
// this often, and a change is handled like the event.
constexpr UINT_PTR kForegroundTimer = 2;
constexpr UINT kForegroundMs = 200;
constexpr wchar_t kControlClass[] = L"QlxHookControl";

// Sent after a swallowed hot key while Alt or Win is down: without a key in
// between, their release alone opens the menu bar or the Start menu.
constexpr WORD kMenuMaskKey = 0xE8;  // unassigned virtual key

bool CapsLockOn() { return (::GetKeyState(VK_CAPITAL) & 1) != 0; }

HWND FocusWindow() {
  HWND fg = ::GetForegroundWindow();
  if (!fg) return nullptr;
  GUITHREADINFO gti{};
  gti.cbSize = sizeof gti;
  if (::GetGUIThreadInfo(::GetWindowThreadProcessId(fg, nullptr), &gti) && gti.hwndFocus)
    return gti.hwndFocus;
  return fg;
}

void SendMenuMask(HookThreadState& st) {
  st.filter.NoteMenuMasked();
  g_menuMasked.store(true);
  INPUT in[2]{};
  for (INPUT& i : in) {
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = kMenuMaskKey;
    i.ki.dwExtraInfo = ExtraInfoOf(InputOrigin::kProgram);
  }
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, in, sizeof(INPUT));
}

// A zero handle would post to this thread's own queue instead.
void PostTo(uint32_t window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (window != 0) ::PostMessageA(ToHwnd(window), msg, wParam, lParam);
}

void Carry(HookThreadState& st, const HookVerdict& v, ActivationBlock& block) {
  // The mask first: once the main window hears of the hot key, the player's
  // releases must find it queued ahead of them.
  if (v.maskModifierRelease) SendMenuMask(st);
  switch (v.post) {
    case HookPost::kHotKey: {
      WPARAM w = static_cast<WPARAM>(v.code) | (CapsLockOn() ? kHotKeyCapsLockBit : 0);
      PostTo(block.MainWindow(), kMsgHotKey, w, reinterpret_cast<LPARAM>(FocusWindow()));
      break;
    }
    case HookPost::kHotKeyPick:
      PostTo(block.HotKeyEntryWindow(), kMsgHotKeyPick, static_cast<WPARAM>(v.code), 0);
      break;
    case HookPost::kAbort:
      PostTo(block.MainWindow(), kMsgAbort, 0, 0);
      break;
    case HookPost::kNone:
      break;
  }
}

bool IsOurs(ULONG_PTR extra) { return OriginOf(extra) == InputOrigin::kProgram; }

// The characters of a keyboard layout: what each key types without and
// with Shift. Asked once per layout, on this thread and outside any hook
// call, without changing keyboard state (flag 4); dead keys are left out.
void BuildLayout(HookThreadState& st, HKL hkl) {
  if (hkl == st.layout && hkl != nullptr) return;
  KeyLayout layout;
  BYTE state[256] = {};
  for (UINT vk = 1; vk < 256; ++vk) {
    if (::MapVirtualKeyExW(vk, MAPVK_VK_TO_CHAR, hkl) & 0x80000000u) continue;  // dead key
    const UINT scan = ::MapVirtualKeyExW(vk, MAPVK_VK_TO_VSC, hkl);
    for (int shift = 0; shift < 2; ++shift) {
      state[VK_SHIFT] = shift ? 0x80 : 0;
      wchar_t out[4] = {};
      if (::ToUnicodeEx(vk, scan, state, out, 4, 4, hkl) != 1 || out[0] < 32 || out[0] == 127) continue;
      char ansi[4] = {};
      BOOL lossy = FALSE;
      if (::WideCharToMultiByte(CP_ACP, 0, out, 1, ansi, sizeof ansi, nullptr, &lossy) == 1 && !lossy)
        layout.Add(static_cast<uint8_t>(ansi[0]), static_cast<uint8_t>(vk), shift == 1);
    }
  }
  // What the system would not tell: the main keys by their characters.
  for (int c = 32; c < 256; ++c) {
    if (c == 127) continue;
    const SHORT r = ::VkKeyScanExA(static_cast<CHAR>(c), hkl);
    if (r == -1) continue;
    const int shift = (r >> 8) & 0xFF;
    if (shift == 0 || shift == 1) layout.Add(static_cast<uint8_t>(c), static_cast<uint8_t>(r & 0xFF), shift == 1);
  }
  AddKeypad(layout);
  st.input.layout() = layout;
  st.layout = hkl;
}

HKL LayoutOf(HWND window) {
  const DWORD thread = window ? ::GetWindowThreadProcessId(window, nullptr) : 0;
  return ::GetKeyboardLayout(thread);
}

// A character typed as itself, marked so no hook of ours takes it again.
void InjectCharacter(uint8_t c) {
  wchar_t unit = 0;
  const char ch = static_cast<char>(c);
  if (::MultiByteToWideChar(CP_ACP, 0, &ch, 1, &unit, 1) != 1) return;
  INPUT in[2]{};
  for (INPUT& i : in) {
    i.type = INPUT_KEYBOARD;
    i.ki.wScan = unit;
    i.ki.dwFlags = KEYEVENTF_UNICODE;
    i.ki.dwExtraInfo = ExtraInfoOf(InputOrigin::kProgram);
  }
  in[1].ki.dwFlags |= KEYEVENTF_KEYUP;
  ::SendInput(2, in, sizeof(INPUT));
}

void PostSnapword(const SnapwordPost& p, ActivationBlock& block) {
  switch (p.kind) {
    case SnapwordPost::kClear: PostTo(block.MainWindow(), kMsgSnapwordChar, 1, 0); break;
    case SnapwordPost::kChar:
      PostTo(block.MainWindow(), kMsgSnapwordChar, p.capsLock ? 2 : 0, p.c);
      break;
    case SnapwordPost::kNone: break;
  }
}

// Carries out what the processor decided: posts in the order the program
// must see them, then the remapped character.
void CarryOutcome(HookThreadState& st, const InputOutcome& o) {
  ActivationBlock* block = st.blocks.Activation();
  if (block) {
    if (o.capture && !o.capture->empty()) {
      const auto macro = static_cast<WPARAM>(static_cast<uint16_t>(st.input.CaptureMacro()));
      for (char c : o.capture->view()) PostTo(block->MainWindow(), kMsgCaptureChar, macro, static_cast<uint8_t>(c));
    }
    if (o.captureDone)
      PostTo(block->MainWindow(), kMsgCaptureDone, static_cast<WPARAM>(static_cast<uint16_t>(o.captureMacro)), 0);
    PostSnapword(o.snap, *block);
    if (o.hot.post != HookPost::kNone || o.hot.maskModifierRelease) Carry(st, o.hot, *block);
  } else if (o.hot.maskModifierRelease) {
    SendMenuMask(st);
  }
  if (o.inject != 0) InjectCharacter(o.inject);
}

// Both the keyboard and the remap hook come here. The first of them to see
// an event decides for both; the other, called from within our own
// CallNextHookEx for that event, only passes it on.
LRESULT KeyChainProc(int nCode, WPARAM wParam, LPARAM lParam) {
  if (nCode != HC_ACTION || !g_state || g_state->inKeyChain) return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
  HookThreadState& st = *g_state;
  const auto& k = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
  st.watchdog.OnHookCall(::GetTickCount());
  KeyEventRecord event;
  event.vk = static_cast<uint8_t>(k.vkCode);
  event.scan = static_cast<uint16_t>(k.scanCode);
  event.up = !(wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN);
  event.extended = (k.flags & LLKHF_EXTENDED) != 0;
  event.extra_info = k.dwExtraInfo;
  KeyInput in = KeyInputOf(event, k.time, CapsLockOn());
  if (k.vkCode > 0xFF) in.vk = k.vkCode;  // not a key the processor knows: it lets it pass
  if (in.down && !in.ours) {
    // Another window in front: the word typed before is over, and the
    // window may type with another layout. Looked at here, at the key
    // itself, so the clear comes before the first character typed there.
    HWND fg = ::GetForegroundWindow();
    if (fg != st.keyForeground) {
      st.keyForeground = fg;
      if (fg) BuildLayout(st, LayoutOf(fg));
      if (ActivationBlock* a = st.blocks.Activation()) PostSnapword(st.input.OnForegroundChange(), *a);
    }
  }
  const InstalledHooks hooks{st.slots[kKeyboard].hook != nullptr, st.slots[kRemap].hook != nullptr};
  const InputOutcome o = st.input.OnKey(in, hooks, st.blocks.Activation(), st.blocks.Remap());
  g_menuMasked.store(st.filter.MenuReleaseMasked());  // a fresh Alt or Win press clears it
  CarryOutcome(st, o);
  if (o.swallow) return 1;
  st.inKeyChain = true;
  const LRESULT r = ::CallNextHookEx(nullptr, nCode, wParam, lParam);
  st.inKeyChain = false;
  return r;
}

LRESULT CALLBACK KeyboardProc(int nCode, WPARAM wParam, LPARAM lParam) { return KeyChainProc(nCode, wParam, lParam); }
LRESULT CALLBACK RemapProc(int nCode, WPARAM wParam, LPARAM lParam) { return KeyChainProc(nCode, wParam, lParam); }

FrontWindow FrontWindowNow() {
  FrontWindow w;
  HWND fg = ::GetForegroundWindow();
  RECT r{};
  if (fg && ::GetWindowRect(fg, &r)) {
    w.id = reinterpret_cast<uintptr_t>(fg);
    w.left = r.left;
    w.top = r.top;
    w.width = r.right - r.left;
    w.height = r.bottom - r.top;
  }
  return w;
}

LRESULT CALLBACK MouseProc(int nCode, WPARAM wParam, LPARAM lParam) {
  if (nCode == HC_ACTION && g_state) {
    HookThreadState& st = *g_state;
    st.watchdog.OnHookCall(::GetTickCount());
    const auto& m = *reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
    int button = kMouseNone;
    bool down = false;
    switch (wParam) {
      case WM_LBUTTONDOWN: button = kMouseLeft; down = true; break;
      case WM_LBUTTONUP: button = kMouseLeft; break;
      case WM_RBUTTONDOWN: button = kMouseRight; down = true; break;
      case WM_RBUTTONUP: button = kMouseRight; break;
      case WM_MBUTTONDOWN: button = kMouseMiddle; down = true; break;
      case WM_MBUTTONUP: button = kMouseMiddle; break;
      default: break;
    }
    // Under Wine a window that the pointer entered because it was brought
    // to the front reports that as a move (and then resyncs the keyboard
    // state): the program waits for it before typing.
    if (wParam == WM_MOUSEMOVE && !(m.flags & LLMHF_INJECTED) && st.control)
      ::PostMessageW(st.control, kWmPointerMoved, 0, 0);
    ActivationBlock* block = st.blocks.Activation();
    if (button != kMouseNone) {
      const InputOutcome o = st.input.OnMouseButton(button, down, IsOurs(m.dwExtraInfo), {m.pt.x, m.pt.y}, m.time,
                                                    block, FrontWindowNow);
      CarryOutcome(st, o);
      if (o.swallow) return 1;
    } else if (wParam == WM_MOUSEWHEEL) {
      const int notches = static_cast<SHORT>(HIWORD(m.mouseData)) / WHEEL_DELTA;
      CarryOutcome(st, st.input.OnWheel(notches, IsOurs(m.dwExtraInfo), m.time, block));
    }
  }
  return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

// Keeps the last window activated outside the program at offsets 8 and 12.
void OnForeground(HookThreadState& st, HWND hwnd) {
  st.lastForeground = hwnd;
  if (hwnd) BuildLayout(st, LayoutOf(hwnd));
  WindowBlock* block = st.blocks.Window();
  if (!hwnd || !block) return;
  DWORD mainPid = 0;
  if (HWND main = ToHwnd(block->MainWindow())) ::GetWindowThreadProcessId(main, &mainPid);
  if (mainPid == 0) mainPid = ::GetCurrentProcessId();
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  if (pid != 0 && pid != mainPid) block->SetLastOutsideWindows(ToField(hwnd));
}

void CALLBACK ForegroundProc(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG, LONG, DWORD, DWORD) {
  if (event == EVENT_SYSTEM_FOREGROUND && g_state) OnForeground(*g_state, hwnd);
}

void ForegroundTick(HookThreadState& st) {
  HWND fg = ::GetForegroundWindow();
  if (fg != st.lastForeground) OnForeground(st, fg);
}

HHOOK SetLowLevelHook(HookKind kind) {
  switch (kind) {
    case kKeyboard: return ::SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardProc, g_module, 0);
    case kMouse: return ::SetWindowsHookExW(WH_MOUSE_LL, MouseProc, g_module, 0);
    case kRemap: return ::SetWindowsHookExW(WH_KEYBOARD_LL, RemapProc, g_module, 0);
    default: return nullptr;
  }
}

void Uninstall(HookThreadState& st, int kind) {
  HookThreadState::Slot& s = st.slots[kind];
  if (s.hook) ::UnhookWindowsHookEx(s.hook);
  if (kind == kMouse) g_mouseHooked = false;
  if (s.event) {
    ::UnhookWinEvent(s.event);
    ::KillTimer(st.control, kForegroundTimer);
  }
  s = {};
}

// Installing a kind that is installed already replaces it: one hook of each
// kind, so "Restore Keyboard Hooks" never leaves two that both fire.
uint32_t Install(HookThreadState& st, int kind) {
  if (kind < 0 || kind >= kHookKinds) return 0;
  st.blocks.OpenMissing();
  HookThreadState::Slot& s = st.slots[kind];
  if (s.used()) Uninstall(st, kind);
  if (kind == kActivation) {
    s.event = ::SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr,
                                ForegroundProc, 0, 0, WINEVENT_OUTOFCONTEXT);
    s.current = ToField(s.event);
    if (s.event) {
      st.lastForeground = ::GetForegroundWindow();  // only later changes count
      ::SetTimer(st.control, kForegroundTimer, kForegroundMs, nullptr);
    }
  } else {
    s.hook = SetLowLevelHook(static_cast<HookKind>(kind));
    s.current = ToField(s.hook);
    if (kind == kMouse) g_mouseHooked = s.hook != nullptr;
    st.watchdog.Start(::GetTickCount());
  }
  s.returned = s.current;
  return s.current;
}

int Remove(HookThreadState& st, uint32_t handle) {
  int left = 0;
  for (int kind = 0; kind < kHookKinds; ++kind) {
    const HookThreadState::Slot& s = st.slots[kind];
    if (handle != 0 && s.used() && (s.current == handle || s.returned == handle)) Uninstall(st, kind);
    if (s.used()) ++left;
  }
  return left;
}

// Windows dropped our low-level hooks: install them again in the program's
// order (remap below keyboard) and keep the handles in the blocks current.
void Reinstall(HookThreadState& st) {
  st.blocks.OpenMissing();
  for (HookKind kind : {kRemap, kKeyboard, kMouse}) {
    HookThreadState::Slot& s = st.slots[kind];
    if (!s.hook) continue;
    HHOOK fresh = SetLowLevelHook(kind);
    if (!fresh) continue;
    ::UnhookWindowsHookEx(s.hook);
    s.hook = fresh;
    s.current = ToField(fresh);
    if (kind == kKeyboard) {
      if (ActivationBlock* a = st.blocks.Activation()) a->SetKeyboardHook(s.current);
    } else if (kind == kMouse) {
      if (ActivationBlock* a = st.blocks.Activation()) a->SetMouseHook(s.current);
    } else if (RemapBlock* r = st.blocks.Remap()) {
      r->SetRemapHook(s.current);
    }
  }
  st.filter.Reset();  // key-ups may have been lost while we were deaf
  g_menuMasked.store(false);
}

void WatchdogTick(HookThreadState& st) {
  // Mouse input is invisible to a lone keyboard hook (and the reverse), so
  // judge only when both are in place.
  if (!st.slots[kKeyboard].hook || !st.slots[kMouse].hook) return;
  LASTINPUTINFO li{};
  li.cbSize = sizeof li;
  if (!::GetLastInputInfo(&li)) return;
  if (st.watchdog.Check(::GetTickCount(), li.dwTime)) Reinstall(st);
}

LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (g_state) {
    switch (msg) {
      case kWmInstall: return Install(*g_state, static_cast<int>(wParam));
      case kWmRemove: return Remove(*g_state, static_cast<uint32_t>(wParam));
      case kWmStop:
        ::DestroyWindow(hwnd);
        return 0;
      case kWmPointerMoved:
        g_pointerMoves.fetch_add(1);
        return 0;
      case WM_TIMER:
        if (wParam == kWatchdogTimer) WatchdogTick(*g_state);
        if (wParam == kForegroundTimer) ForegroundTick(*g_state);
        return 0;
      case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
      default: break;
    }
  }
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

struct ThreadStart {
  HMODULE self;   // a reference on this library, released as the thread ends
  HANDLE ready;
  HWND control = nullptr;
};

DWORD WINAPI HookThreadMain(void* param) {
  auto* start = static_cast<ThreadStart*>(param);
  HMODULE self = start->self;
  {
    HookThreadState state;
    BuildLayout(state, LayoutOf(::GetForegroundWindow()));
    g_state = &state;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ControlProc;
    wc.hInstance = g_module;
    wc.lpszClassName = kControlClass;
    ::RegisterClassExW(&wc);  // may exist from an earlier thread: fine
    HWND control = ::CreateWindowExW(0, kControlClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                     g_module, nullptr);
    if (control) ::SetTimer(control, kWatchdogTimer, kWatchdogMs, nullptr);
    state.control = control;
    start->control = control;
    ::SetEvent(start->ready);  // `start` belongs to the waiting export from here on
    if (control) {
      MSG msg;
      while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
      }
    }
    for (int kind = 0; kind < kHookKinds; ++kind) Uninstall(state, kind);
    g_state = nullptr;
    ::UnregisterClassW(kControlClass, g_module);
  }
  ::FreeLibraryAndExitThread(self, 0);
  return 0;
}

// The hook thread as the exports see it. Start and stop are serialised.
class HookThread {
 public:
  LRESULT Ask(UINT msg, WPARAM wParam, bool startIfNeeded) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!control_ && (!startIfNeeded || !Start())) return 0;
    return ::SendMessageW(control_, msg, wParam, 0);
  }
  void Remove(uint32_t handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!control_) return;
    if (::SendMessageW(control_, kWmRemove, handle, 0) == 0) Stop();
  }

 private:
  bool Start() {
    HMODULE self = nullptr;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                              reinterpret_cast<LPCWSTR>(&HookThreadMain), &self))
      return false;
    ThreadStart start{self, ::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    if (!start.ready) {
      ::FreeLibrary(self);
      return false;
    }
    HANDLE thread = ::CreateThread(nullptr, 0, HookThreadMain, &start, 0, nullptr);
    if (!thread) {
      ::CloseHandle(start.ready);
      ::FreeLibrary(self);
      return false;
    }
    HANDLE waits[2] = {start.ready, thread};
    const DWORD r = ::WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    ::CloseHandle(start.ready);
    if (r != WAIT_OBJECT_0 || !start.control) {
      ::WaitForSingleObject(thread, INFINITE);
      ::CloseHandle(thread);
      return false;
    }
    thread_ = thread;
    control_ = start.control;
    return true;
  }
  void Stop() {
    ::SendMessageW(control_, kWmStop, 0, 0);
    ::WaitForSingleObject(thread_, kStopWaitMs);
    ::CloseHandle(thread_);
    thread_ = nullptr;
    control_ = nullptr;
  }

  static constexpr DWORD kStopWaitMs = 5000;
  std::mutex mutex_;
  HANDLE thread_ = nullptr;
  HWND control_ = nullptr;
};

HookThread g_thread;

uint32_t PointerMoves() { return g_mouseHooked.load() ? g_pointerMoves.load() : kNoPointerCount; }
uint32_t MenuMasked() { return g_menuMasked.load() ? 1 : 0; }

uint32_t InstallKind(HookKind kind) {
  const auto handle = static_cast<uint32_t>(g_thread.Ask(kWmInstall, kind, true));
  if (handle == 0) g_thread.Remove(0);  // stops the thread if nothing else is hooked
  return handle;
}

}  // namespace
}  // namespace qlx

extern "C" {

__declspec(dllexport) uint32_t QlxHookKeyboard() { return qlx::InstallKind(qlx::kKeyboard); }
__declspec(dllexport) uint32_t QlxHookMouse() { return qlx::InstallKind(qlx::kMouse); }
__declspec(dllexport) uint32_t QlxHookSwap() { return qlx::InstallKind(qlx::kRemap); }
__declspec(dllexport) uint32_t QlxHookCBT() { return qlx::InstallKind(qlx::kActivation); }
__declspec(dllexport) void QlxUnHook(uint32_t handle) { qlx::g_thread.Remove(handle); }
__declspec(dllexport) uint32_t QlxPointerMoves() { return qlx::PointerMoves(); }
__declspec(dllexport) uint32_t QlxMenuMasked() { return qlx::MenuMasked(); }

}  // extern "C"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  // Nothing to stop at detach: the hook thread holds a reference on this
  // library, so an unload can only happen once the thread has ended, and at
  // process exit the thread is already gone. Never start it from here.
  if (reason == DLL_PROCESS_ATTACH) qlx::g_module = instance;
  return TRUE;
}
