#pragma once
// A recording fake of the whole platform seam: windows with titles, owners
// and processes, a foreground and a focus, a US keyboard layout, a virtual
// clock that waits advance instantly, and a log of every input event.
#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/engine_state.h"
#include "fake_clipboard.h"
#include "fake_files.h"
#include "fake_sound.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/input.h"
#include "platform/message_pump.h"
#include "platform/processes.h"
#include "platform/shell.h"

namespace qlx::fake {

struct InputEvent {
  enum class Kind : uint8_t { Key, Unicode, Mouse };
  Kind kind = Kind::Key;
  uint8_t vk = 0;
  uint16_t scan = 0;
  bool up = false;
  bool extended = false;
  char16_t unit = 0;
  uint32_t flags = 0;
  int32_t dx = 0, dy = 0, data = 0;
  uint64_t at_ms = 0;  // virtual time the event was sent
  KeyEventRecord sent;  // a key or Unicode event as the hooks would see it
};

struct FakeWindow {
  WindowHandle handle = 0;
  std::string title;
  uint32_t pid = 0;
  WindowHandle parent = 0;
  bool minimized = false;
  bool visible = true;
  WindowRectangle rect;
};

struct LaunchRecord {
  std::string program;
  std::string arguments;
  bool default_action = false;
  uint64_t at_ms = 0;
};

class FakeDesktop : public IInput,
                    public IDesktop,
                    public IProcesses,
                    public IShell,
                    public IMessagePump,
                    public IClock {
 public:
  // 30 March 1998, 10:00:00.
  static constexpr double kDefaultStart = 35884.0 + 10.0 / 24.0;

  EngineSeams Seams() {
    return EngineSeams{*this, *this, *this, *this, *this, *this, clipboard, files, sound};
  }

  FakeClipboard clipboard;
  FakeFiles files;
  FakeSound sound;

  // ---- windows -------------------------------------------------------
  // Top-level windows are added behind those already there, so tests list
  // them front to back.
  WindowHandle AddWindow(std::string title, uint32_t pid = 0, WindowHandle parent = 0,
                         bool minimized = false) {
    FakeWindow w;
    w.handle = next_handle_++;
    w.title = std::move(title);
    w.pid = pid;
    w.parent = parent;
    w.minimized = minimized;
    windows_.push_back(w);
    return w.handle;
  }
  WindowHandle AddWindowInFront(std::string title, uint32_t pid = 0) {
    WindowHandle h = AddWindow(std::move(title), pid);
    RaiseToFront(h);
    return h;
  }
  const FakeWindow* Window(WindowHandle h) const {
    for (const auto& w : windows_)
      if (w.handle == h) return &w;
    return nullptr;
  }
  void SetParentLink(WindowHandle child, WindowHandle parent) { MutableWindow(child)->parent = parent; }
  void SetRect(WindowHandle h, WindowRectangle r) { MutableWindow(h)->rect = r; }
  void SetForegroundDirect(WindowHandle h) { foreground_ = h; }
  WindowHandle focus() const { return focus_; }
  std::vector<std::string> window_log;

  // ---- processes -----------------------------------------------------
  void AddProcess(uint32_t pid, std::string exe) { processes_.push_back({pid, std::move(exe)}); }

  // ---- shell -----------------------------------------------------------
  std::vector<LaunchRecord> launches;
  // Opening `program` makes a window with `title` appear after `delay_ms`.
  void OnLaunchCreateWindow(std::string program, std::string title, uint64_t delay_ms,
                            uint32_t pid = 0) {
    on_launch_[std::move(program)] = {std::move(title), delay_ms, pid};
  }

  // ---- clock and message pump -------------------------------------------
  double start_days = kDefaultStart;
  uint32_t tick_base = 1000;
  uint64_t now_ms = 0;
  uint64_t waited_ms = 0;
  size_t pump_calls = 0;
  size_t wait_calls = 0;
  // Runs whenever messages are handled, as a window message handler would.
  std::function<void()> on_pump;
  void At(uint64_t when_ms, std::function<void()> action) {
    timed_.push_back({when_ms, std::move(action)});
  }

  // ---- keyboard ----------------------------------------------------------
  std::vector<InputEvent> events;
  std::function<void(const InputEvent&)> on_event;
  void SetKeyScan(char c, int16_t answer) { key_scan_overrides_[c] = answer; }
  // The program owning `window` has a layout of its own for `c`.
  void SetWindowKeyScan(uintptr_t window, char c, int16_t answer) { window_layouts_[window][c] = answer; }
  std::vector<uintptr_t> scan_windows;  // the window each layout question named
  // The user holds a key (a sided modifier such as 0xA2 left Ctrl).
  void HoldKey(uint8_t vk) { SetDown(vk, true); }
  bool AnyKeyDown() const {
    return std::any_of(down_.begin(), down_.end(), [](bool d) { return d; });
  }
  std::vector<int> KeysDown() const {
    std::vector<int> out;
    for (int i = 0; i < 256; ++i)
      if (down_[i]) out.push_back(i);
    return out;
  }

  // ---- IInput ----------------------------------------------------------
  void Send(const KeyEventRecord& sent) override {
    InputEvent e;
    e.kind = sent.unicode ? InputEvent::Kind::Unicode : InputEvent::Kind::Key;
    e.vk = sent.vk;
    e.scan = sent.unicode ? 0 : sent.scan;
    e.unit = sent.unicode ? static_cast<char16_t>(sent.scan) : u'\0';
    e.up = sent.up;
    e.extended = sent.extended;
    e.sent = sent;
    Record(e);
    if (!sent.unicode) SetDown(sent.vk, !sent.up);
  }
  void MouseEvent(uint32_t flags, int32_t dx, int32_t dy, int32_t data) override {
    InputEvent e;
    e.kind = InputEvent::Kind::Mouse;
    e.flags = flags;
    e.dx = dx;
    e.dy = dy;
    e.data = data;
    Record(e);
  }
  uint16_t MapVirtualKey(uint8_t vk) override { return ScanTable()[vk]; }
  int16_t VkKeyScan(char c, uintptr_t window) override {
    scan_windows.push_back(window);
    auto layout = window_layouts_.find(window);
    if (layout != window_layouts_.end()) {
      auto it = layout->second.find(c);
      if (it != layout->second.end()) return it->second;
    }
    auto it = key_scan_overrides_.find(c);
    return it != key_scan_overrides_.end() ? it->second : UsKeyScan(c);
  }
  char16_t AnsiToUnicode(uint8_t c) override { return static_cast<char16_t>(c); }
  bool IsKeyDown(uint8_t vk) override { return down_[vk]; }
  void LetWindowTakeInput(uintptr_t window) override { Log("takeinput", window); }
  void LetClickedWindowTakeClicks() override { window_log.push_back("takeclicks"); }
  // Pointer moves not of the program's own, as a mouse hook counts them;
  // unset: no mouse hook.
  std::optional<uint32_t> system_pointer_moves;
  std::optional<uint32_t> SystemPointerMoves() override {
    ++pointer_move_looks;
    return system_pointer_moves;
  }
  size_t pointer_move_looks = 0;
  bool menu_release_masked = false;  // the hook library sent its neutral key
  bool MenuReleaseMasked() override { return menu_release_masked; }
  void AbandonPendingInput() override { window_log.push_back("abandon input"); }
  KeyboardState GetKeyboardState() override {
    KeyboardState s{};
    for (int i = 0; i < 256; ++i) s[i] = down_[i] ? 0x80 : 0;
    return s;
  }
  void SetKeyboardState(const KeyboardState& s) override {
    for (int i = 0; i < 256; ++i) down_[i] = (s[i] & 0x80) != 0;
  }

  // ---- IDesktop --------------------------------------------------------
  // FindWindowA compares whole titles without regard to case.
  WindowHandle FindTopLevelByTitle(std::string_view title) override {
    auto same = [](std::string_view a, std::string_view b) {
      if (a.size() != b.size()) return false;
      for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
        if (x != y) return false;
      }
      return true;
    };
    for (const auto& w : windows_)
      if (w.parent == 0 && same(w.title, title)) return w.handle;
    return 0;
  }
  std::vector<WindowHandle> TopLevelWindows() override {
    std::vector<WindowHandle> out;
    for (const auto& w : windows_)
      if (w.parent == 0) out.push_back(w.handle);
    return out;
  }
  std::string WindowTitle(WindowHandle h, size_t max_chars) override {
    const FakeWindow* w = Window(h);
    return w ? w->title.substr(0, max_chars) : std::string();
  }
  WindowHandle Foreground() override { return foreground_; }
  WindowHandle Parent(WindowHandle h) override {
    const FakeWindow* w = Window(h);
    return w ? w->parent : 0;
  }
  uint32_t ProcessIdOf(WindowHandle h) override {
    const FakeWindow* w = Window(h);
    return w ? w->pid : 0;
  }
  bool IsMinimized(WindowHandle h) override {
    const FakeWindow* w = Window(h);
    return w && w->minimized;
  }
  bool WindowRect(WindowHandle h, WindowRectangle& r) override {
    const FakeWindow* w = Window(h);
    if (!w) return false;
    r = w->rect;
    return true;
  }
  void ShowWindow(WindowHandle h, ShowCommand c) override {
    FakeWindow* w = MutableWindow(h);
    if (!w) return;
    switch (c) {
      case ShowCommand::Show: w->visible = true; Log("show", h); break;
      case ShowCommand::Hide: w->visible = false; Log("hide", h); break;
      case ShowCommand::Restore: w->minimized = false; Log("restore", h); break;
    }
  }
  void SetFocus(WindowHandle h) override {
    focus_ = h;
    Log("focus", h);
  }
  void SetForeground(WindowHandle h) override {
    foreground_ = h;
    RaiseToFront(h);
    Log("foreground", h);
  }
  // A program takes keys once its window is in front; `slow_to_focus`
  // makes it do so only after that many looks.
  int slow_to_focus = 0;
  bool AcceptsKeyboardInput(WindowHandle h) override {
    WindowHandle top = h;
    for (int i = 0; i < 64 && Parent(top) != 0; ++i) top = Parent(top);
    if (foreground_ != top) return false;
    if (slow_to_focus > 0) {
      --slow_to_focus;
      return false;
    }
    return true;
  }
  // The pointer stands over these windows' client areas, and a window there
  // counts as under it once it is the front-most of them.
  std::vector<WindowHandle> under_pointer;
  bool PointerOver(WindowHandle h) override {
    for (WindowHandle w : TopLevelWindows())
      if (std::find(under_pointer.begin(), under_pointer.end(), w) != under_pointer.end()) return w == h;
    return false;
  }
  // As under Wine on X: a window raised under the pointer hears it enter.
  bool raise_resyncs_keyboard = false;
  bool RaiseUnderPointerResyncsKeyboard() override { return raise_resyncs_keyboard; }
  // Focus to the window, the foreground to its top-level ancestor.
  void HandFocusTo(WindowHandle h) override {
    WindowHandle top = h;
    for (int i = 0; i < 64 && Parent(top) != 0; ++i) top = Parent(top);
    foreground_ = top;
    RaiseToFront(top);
    focus_ = h;
    Log("handfocus", h);
  }
  void SetSize(WindowHandle h, int width, int height) override {
    Log("size", h, std::to_string(width) + "x" + std::to_string(height));
  }
  void SetPosition(WindowHandle h, int left, int top) override {
    Log("move", h, std::to_string(left) + "," + std::to_string(top));
  }
  void PostQuit(WindowHandle h) override { Log("quit", h); }
  // As the default window procedure does: maximise and restore activate.
  void SendSysCommand(WindowHandle h, uint32_t command) override {
    Log("syscommand", h, std::to_string(command));
    constexpr uint32_t kMaximize = 0xF030, kRestore = 0xF120;
    if (command == kMaximize || command == kRestore) SetForegroundDirect(h);
  }

  // ---- IProcesses ------------------------------------------------------
  std::vector<ProcessInfo> Running() override { return processes_; }
  std::string ExeNameOf(uint32_t pid) override {
    for (const auto& p : processes_)
      if (p.id == pid) return p.exe_name;
    return {};
  }

  // ---- IShell ------------------------------------------------------------
  void Open(std::string_view program, std::string_view arguments) override {
    launches.push_back({std::string(program), std::string(arguments), false, now_ms});
    auto it = on_launch_.find(std::string(program));
    if (it == on_launch_.end()) return;
    const PendingWindow p = it->second;
    At(now_ms + p.delay_ms, [this, p] { AddWindowInFront(p.title, p.pid); });
  }
  void OpenDefault(std::string_view target) override {
    launches.push_back({std::string(target), {}, true, now_ms});
  }

  // ---- IMessagePump --------------------------------------------------------
  void ProcessPending() override {
    ++pump_calls;
    RunDue();
    if (on_pump) on_pump();
  }
  void WaitForMessages(uint32_t max_ms) override {
    ++wait_calls;
    uint64_t until = now_ms + max_ms;
    for (const auto& t : timed_)
      if (t.first > now_ms && t.first < until) until = t.first;  // a message wakes the wait
    waited_ms += until - now_ms;
    now_ms = until;
  }

  // ---- IClock ------------------------------------------------------------
  double Now() const override { return start_days + static_cast<double>(now_ms) / 86400000.0; }
  uint32_t TickCount() const override { return static_cast<uint32_t>(tick_base + now_ms); }

  // ---- reading the log -------------------------------------------------------
  // Key events in a compact form: "+Shift +A -A -Shift".
  std::string Keys() const {
    std::string out;
    for (const auto& e : events) {
      if (!out.empty()) out += ' ';
      out += e.up ? '-' : '+';
      switch (e.kind) {
        case InputEvent::Kind::Key: out += KeyName(e.vk); break;
        case InputEvent::Kind::Unicode: out += "U" + std::to_string(static_cast<int>(e.unit)); break;
        case InputEvent::Kind::Mouse: out += "Mouse" + std::to_string(e.flags); break;
      }
    }
    return out;
  }

  // Caps Lock as the user left it before the playback.
  bool caps_lock_on = false;

  // What a US-layout edit field would show: characters typed through the
  // layout (Caps Lock included), Alt + keypad codes, Unicode events; Enter
  // as '\n', Tab as '\t'; other keys and chords as "{Ctrl+Alt+Q}" or
  // "{vk46}". Keys that type nothing (Caps Lock, Windows keys, unassigned
  // keys) show nothing.
  std::string TypedText() const {
    std::string out;
    bool shift = false, ctrl = false, alt = false, win = false, caps = caps_lock_on;
    std::string alt_code;
    for (const auto& e : events) {
      if (e.kind == InputEvent::Kind::Unicode) {
        if (!e.up) out += static_cast<char>(e.unit & 0xFF);
        continue;
      }
      if (e.kind != InputEvent::Kind::Key) continue;
      const uint8_t vk = e.vk;
      if (vk == 16 || vk == 0xA0 || vk == 0xA1) { shift = !e.up; continue; }
      if (vk == 17 || vk == 0xA2 || vk == 0xA3) { ctrl = !e.up; continue; }
      if (vk == 18 || vk == 0xA4 || vk == 0xA5) {
        if (e.up && !alt_code.empty()) out += static_cast<char>(std::stoi(alt_code) & 0xFF);
        alt_code.clear();
        alt = !e.up;
        continue;
      }
      if (vk == 91 || vk == 92) { win = !e.up; continue; }
      if (vk == 20) {
        if (!e.up) caps = !caps;
        continue;
      }
      if (e.up || vk == 0xE8) continue;
      if (alt && !ctrl && vk >= 96 && vk <= 105) {
        alt_code += static_cast<char>('0' + (vk - 96));
        continue;
      }
      const bool letter = vk >= 'A' && vk <= 'Z';
      const char plain = UsChar(vk, letter && caps ? !shift : shift);
      if (plain && !ctrl && !alt && !win) {
        out += plain;
      } else {
        std::string chord = "{";
        if (win) chord += "Win+";
        if (ctrl) chord += "Ctrl+";
        if (alt) chord += "Alt+";
        if (shift && !plain) chord += "Shift+";
        chord += plain ? std::string(1, UsChar(vk, false)) : KeyName(vk);
        out += chord + "}";
      }
    }
    return out;
  }

  static std::string KeyName(uint8_t vk) {
    switch (vk) {
      case 8: return "Back";
      case 9: return "Tab";
      case 13: return "Enter";
      case 16: return "Shift";
      case 17: return "Ctrl";
      case 18: return "Alt";
      case 20: return "Caps";
      case 27: return "Esc";
      case 32: return "Space";
      case 91: return "LWin";
      case 92: return "RWin";
      case 0xA0: return "LShift";
      case 0xA1: return "RShift";
      case 0xA2: return "LCtrl";
      case 0xA3: return "RCtrl";
      case 0xA4: return "LAlt";
      case 0xA5: return "RAlt";
      default: break;
    }
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return std::string(1, static_cast<char>(vk));
    if (vk >= 96 && vk <= 105) return "Num" + std::to_string(vk - 96);
    if (vk >= 112 && vk <= 135) return "F" + std::to_string(vk - 111);
    return "vk" + std::to_string(vk);
  }

 private:
  struct PendingWindow {
    std::string title;
    uint64_t delay_ms;
    uint32_t pid;
  };

  FakeWindow* MutableWindow(WindowHandle h) {
    for (auto& w : windows_)
      if (w.handle == h) return &w;
    return nullptr;
  }
  void RaiseToFront(WindowHandle h) {
    auto it = std::find_if(windows_.begin(), windows_.end(),
                           [h](const FakeWindow& w) { return w.handle == h; });
    if (it != windows_.end()) std::rotate(windows_.begin(), it, it + 1);
  }
  void Log(const char* what, WindowHandle h, const std::string& extra = {}) {
    std::string line = std::string(what) + " " + std::to_string(h);
    if (!extra.empty()) line += " " + extra;
    window_log.push_back(line);
  }
  void Record(InputEvent e) {
    e.at_ms = now_ms;
    events.push_back(e);
    if (on_event) on_event(events.back());
  }
  void RunDue() {
    // Actions may schedule more actions; take the due ones out first.
    std::vector<std::function<void()>> due;
    for (auto it = timed_.begin(); it != timed_.end();) {
      if (it->first <= now_ms) {
        due.push_back(std::move(it->second));
        it = timed_.erase(it);
      } else {
        ++it;
      }
    }
    for (auto& action : due) action();
  }
  // Windows keeps both the generic and the left/right state of modifiers.
  void SetDown(uint8_t vk, bool down) {
    down_[vk] = down;
    auto pair = [&](uint8_t generic, uint8_t left, uint8_t right) {
      if (vk == generic) down_[left] = down;
      if (vk == generic || vk == left || vk == right) down_[generic] = down_[left] || down_[right];
    };
    pair(16, 0xA0, 0xA1);
    pair(17, 0xA2, 0xA3);
    pair(18, 0xA4, 0xA5);
  }

  static const std::array<uint16_t, 256>& ScanTable() {
    static const std::array<uint16_t, 256> table = [] {
      std::array<uint16_t, 256> t{};
      const char* letters = "\x1E\x30\x2E\x20\x12\x21\x22\x23\x17\x24\x25\x26\x32\x31\x18\x19\x10\x13\x1F\x14\x16\x2F\x11\x2D\x15\x2C";
      for (int i = 0; i < 26; ++i) t['A' + i] = static_cast<uint8_t>(letters[i]);
      for (int i = 1; i <= 9; ++i) t['0' + i] = static_cast<uint16_t>(1 + i);
      t['0'] = 0x0B;
      const uint8_t numpad[10] = {0x52, 0x4F, 0x50, 0x51, 0x4B, 0x4C, 0x4D, 0x47, 0x48, 0x49};
      for (int i = 0; i < 10; ++i) t[96 + i] = numpad[i];
      for (int i = 0; i < 10; ++i) t[112 + i] = static_cast<uint16_t>(0x3B + i);
      t[122] = 0x57;
      t[123] = 0x58;
      const std::pair<int, int> others[] = {
          {8, 0x0E}, {9, 0x0F}, {13, 0x1C}, {16, 0x2A}, {17, 0x1D}, {18, 0x38}, {20, 0x3A},
          {27, 0x01}, {32, 0x39}, {33, 0x49}, {34, 0x51}, {35, 0x4F}, {36, 0x47}, {37, 0x4B},
          {38, 0x48}, {39, 0x4D}, {40, 0x50}, {45, 0x52}, {46, 0x53}, {91, 0x5B}, {92, 0x5C},
          {93, 0x5D}, {0xA0, 0x2A}, {0xA1, 0x36}, {0xA2, 0x1D}, {0xA3, 0x1D}, {0xA4, 0x38},
          {0xA5, 0x38}, {0xBA, 0x27}, {0xBB, 0x0D}, {0xBC, 0x33}, {0xBD, 0x0C}, {0xBE, 0x34},
          {0xBF, 0x35}, {0xC0, 0x29}, {0xDB, 0x1A}, {0xDC, 0x2B}, {0xDD, 0x1B}, {0xDE, 0x28}};
      for (auto [vk, sc] : others) t[vk] = static_cast<uint16_t>(sc);
      return t;
    }();
    return table;
  }

  // Punctuation keys of the US layout: virtual key, plain, shifted.
  struct OemKey {
    uint8_t vk;
    char plain, shifted;
  };
  static constexpr OemKey kOem[] = {{0xBA, ';', ':'}, {0xBB, '=', '+'}, {0xBC, ',', '<'},
                                    {0xBD, '-', '_'}, {0xBE, '.', '>'}, {0xBF, '/', '?'},
                                    {0xC0, '`', '~'}, {0xDB, '[', '{'}, {0xDC, '\\', '|'},
                                    {0xDD, ']', '}'}, {0xDE, '\'', '"'}};
  static constexpr char kShiftedDigits[] = ")!@#$%^&*(";

  // VkKeyScanA of the US layout.
  static int16_t UsKeyScan(char c) {
    const auto u = static_cast<uint8_t>(c);
    if (c >= 'a' && c <= 'z') return static_cast<int16_t>(c - 'a' + 'A');
    if (c >= 'A' && c <= 'Z') return static_cast<int16_t>(0x100 | u);
    if (c >= '0' && c <= '9') return static_cast<int16_t>(u);
    for (int i = 0; i < 10; ++i)
      if (kShiftedDigits[i] == c) return static_cast<int16_t>(0x100 | ('0' + i));
    for (const auto& k : kOem) {
      if (k.plain == c) return k.vk;
      if (k.shifted == c) return static_cast<int16_t>(0x100 | k.vk);
    }
    switch (u) {
      case ' ': return 0x20;
      case '\t': return 0x09;
      case '\r': return 0x0D;
      case '\n': return 0x20D;  // Ctrl+Enter
      case '\b': return 0x08;
      case 0x1B: return 0x2DB;
      default: break;
    }
    if (u >= 1 && u <= 26) return static_cast<int16_t>(0x200 | ('A' + u - 1));
    return -1;
  }

  // The character a key types on the US layout, or 0.
  static char UsChar(uint8_t vk, bool shift) {
    if (vk >= 'A' && vk <= 'Z') return static_cast<char>(shift ? vk : vk - 'A' + 'a');
    if (vk >= '0' && vk <= '9') return shift ? kShiftedDigits[vk - '0'] : static_cast<char>(vk);
    for (const auto& k : kOem)
      if (k.vk == vk) return shift ? k.shifted : k.plain;
    if (vk == 32) return ' ';
    if (vk == 13) return '\n';
    if (vk == 9) return '\t';
    return 0;
  }

  std::vector<FakeWindow> windows_;
  WindowHandle next_handle_ = 1;
  WindowHandle foreground_ = 0;
  WindowHandle focus_ = 0;
  std::vector<ProcessInfo> processes_;
  std::map<std::string, PendingWindow> on_launch_;
  std::vector<std::pair<uint64_t, std::function<void()>>> timed_;
  std::map<char, int16_t> key_scan_overrides_;
  std::map<uintptr_t, std::map<char, int16_t>> window_layouts_;
  std::array<bool, 256> down_{};
};

}  // namespace qlx::fake
