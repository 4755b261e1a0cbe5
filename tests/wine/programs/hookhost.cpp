// Stands in for QUILX.EXE towards QLXHOOK.DLL: creates the three named
// blocks, loads the library from its own folder, installs the hooks in the
// program's order, reports every message the library posts, and obeys
// commands appended to a command file.
//
//   hookhost --log FILE --commands FILE [--arm CODE,CODE,...]
//
// Log lines (one per event, flushed):
//   ready keyboard=H mouse=H remap=H activation=H threads=N   after installing
//   hotkey CODE caps=0|1 focusroot=TITLE      kMsgHotKey (TITLE: top-level of lParam)
//   pick CODE window=pick|main                kMsgHotKeyPick and the window it reached
//   abort                                     kMsgAbort
//   key down|up|sysdown|sysup VK              key messages of the host's own window
//   mouse down|up BUTTON                      button messages of the host's own window
//   done N VERB ...                           command N (1-based line) carried out
// Commands (one per line):
//   arm CODE... | disarm CODE...              set / clear hot-key table bytes
//   playback 0|1 | pick 0|1                   byte 777 / hot-key entry (752, 756)
//   inject CODE | injectvk VK                 SendInput with the program's marker
//   state        -> done N state playback=B pick=B lastwindow=TITLE lastwindow2=TITLE
//   rehook       unhook and install keyboard, then remap, as "Restore Keyboard Hooks"
//   hookagain    install the keyboard hook again without removing it first
//   quit         unhook in the program's order, free the library, report, exit:
//                -> unhooked threads=N freed
//   capture STOP OWN OPTIONS   start a capture as the program does: stop key
//                code, own hot-key code (-1 none), options letters k keys,
//                m mouse, s screen-relative, z window size, t timing, a
//                double Alt; the captured macro is number 5
//   endcapture   the program ends the capture itself (tray "End Capture")
//   remap FROM TO              one remap table entry (hex characters)
//   remapid      identity remap tables
//   settext TITLE              empties the edit control of a window
//   play         plays the text captured last (as received) with the
//                program's player into the window in front -> done N play
// Log lines of the capture, Snapword and remap side:
//   capchar MACRO HEX          kMsgCaptureChar
//   capdone MACRO              kMsgCaptureDone
//   snap W HEX                 kMsgSnapwordChar
#include <windows.h>
#include <tlhelp32.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "activation/hook_contract.h"
#include "activation/key_remap.h"
#include "capture/capture_options.h"
#include "engine/player.h"
#include "platform/win32/clipboard_win32.h"
#include "platform/win32/clock_win32.h"
#include "platform/win32/desktop_win32.h"
#include "platform/win32/file_operations_win32.h"
#include "platform/win32/input_win32.h"
#include "platform/win32/message_pump_win32.h"
#include "platform/win32/processes_win32.h"
#include "platform/win32/shell_win32.h"
#include "platform/win32/sound_win32.h"
#include "store/byte_view.h"
#include "store/hotkey_table.h"
#include "store/shared_blocks.h"

namespace qlx {
namespace {

constexpr char kHostTitle[] = "Quillon Hook Host";
constexpr char kPickTitle[] = "Quillon Hook Pick";
constexpr UINT_PTR kCommandTimer = 1;

class Handle {
 public:
  explicit Handle(HANDLE h = nullptr) : h_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() {
    if (h_) ::CloseHandle(h_);
  }
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

// A named block created the way the program creates it, mapped whole.
class Block {
 public:
  Block(const char* name, size_t size)
      : mapping_(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      static_cast<DWORD>(size), name)) {
    if (mapping_.get())
      view_ = static_cast<uint8_t*>(::MapViewOfFile(mapping_.get(), FILE_MAP_ALL_ACCESS, 0, 0, size));
  }
  Block(const Block&) = delete;
  Block& operator=(const Block&) = delete;
  ~Block() {
    if (view_) ::UnmapViewOfFile(view_);
  }
  uint8_t* bytes() const { return view_; }

 private:
  Handle mapping_;
  uint8_t* view_ = nullptr;
};

class Library {
 public:
  explicit Library(const std::string& path) : m_(::LoadLibraryA(path.c_str())) {}
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  ~Library() { Free(); }
  void Free() {
    if (m_) ::FreeLibrary(m_);
    m_ = nullptr;
  }
  template <typename Fn>
  Fn Get(const char* name) const {
    return m_ ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(m_, name))) : nullptr;
  }
  explicit operator bool() const { return m_ != nullptr; }

 private:
  HMODULE m_;
};

using InstallFn = uint32_t (*)();
using RemoveFn = void (*)(uint32_t);

struct Host {
  FILE* log = nullptr;
  HANDLE commands = nullptr;
  std::string pending;
  int commandNumber = 0;
  HWND main = nullptr;
  HWND pick = nullptr;
  ActivationBlock* ab = nullptr;
  RemapBlock* rb = nullptr;
  WindowBlock* wb = nullptr;
  InstallFn hookKeyboard = nullptr, hookMouse = nullptr, hookSwap = nullptr, hookCbt = nullptr;
  RemoveFn unhook = nullptr;
  bool quit = false;
  std::string captured;  // every kMsgCaptureChar so far
};
Host g;

void Log(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  std::vfprintf(g.log, fmt, args);
  va_end(args);
  std::fputc('\n', g.log);
  std::fflush(g.log);
}

uint32_t Field(HWND h) { return HandleToField(reinterpret_cast<uintptr_t>(h)); }
HWND Window(uint32_t field) { return reinterpret_cast<HWND>(FieldToHandle(field)); }

std::string TitleOf(HWND h) {
  char buf[256] = "";
  if (h) ::GetWindowTextA(h, buf, sizeof buf);
  std::string s = buf;
  for (char& c : s)
    if (c == ' ') c = '_';
  return s.empty() ? "-" : s;
}

int CountThreads() {
  Handle snap(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  if (!snap.get()) return -1;
  THREADENTRY32 te{};
  te.dwSize = sizeof te;
  int n = 0;
  const DWORD self = ::GetCurrentProcessId();
  for (BOOL ok = ::Thread32First(snap.get(), &te); ok; ok = ::Thread32Next(snap.get(), &te))
    if (te.th32OwnerProcessID == self) ++n;
  return n;
}

void AddKey(std::vector<INPUT>& in, WORD vk, bool up) {
  INPUT i{};
  i.type = INPUT_KEYBOARD;
  i.ki.wVk = vk;
  i.ki.wScan = static_cast<WORD>(::MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
  i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  i.ki.dwExtraInfo = kInjectedMarker;
  in.push_back(i);
}

void AddButton(std::vector<INPUT>& in, int button, bool up) {
  static constexpr DWORD kDown[] = {0, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_MIDDLEDOWN};
  static constexpr DWORD kUp[] = {0, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_RIGHTUP, MOUSEEVENTF_MIDDLEUP};
  INPUT i{};
  i.type = INPUT_MOUSE;
  i.mi.dwFlags = up ? kUp[button] : kDown[button];
  i.mi.dwExtraInfo = kInjectedMarker;
  in.push_back(i);
}

// The combination of a code, pressed and released as the program re-sends a
// hot key: modifiers Win, Alt, Ctrl, Shift down; the key; then up in reverse.
bool InjectCode(int code) {
  if (code < 0 || code >= kHotKeyCodes) return false;
  const HotKeyCombo c = DecipherKey(code);
  std::vector<INPUT> in;
  const std::pair<bool, WORD> mods[] = {{c.win, VK_LWIN}, {c.alt, VK_MENU}, {c.ctrl, VK_CONTROL},
                                        {c.shift, VK_SHIFT}};
  for (const auto& [on, vk] : mods)
    if (on) AddKey(in, vk, false);
  if (c.mouseButton != kMouseNone) {
    AddButton(in, c.mouseButton, false);
    AddButton(in, c.mouseButton, true);
  } else {
    AddKey(in, c.virtualKey, false);
    AddKey(in, c.virtualKey, true);
  }
  for (int i = 3; i >= 0; --i)
    if (mods[i].first) AddKey(in, mods[i].second, true);
  return ::SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT)) == in.size();
}

void InstallInProgramOrder() {
  g.rb->SetRemapHook(g.hookSwap());
  g.wb->SetActivationHook(g.hookCbt());
  g.ab->SetKeyboardHook(g.hookKeyboard());
  g.ab->SetMouseHook(g.hookMouse());
}

void UnhookInProgramOrder() {
  g.unhook(g.ab->KeyboardHook());
  g.unhook(g.ab->MouseHook());
  g.unhook(g.rb->RemapHook());
  g.unhook(g.wb->ActivationHook());
}

// The program's player with stand-ins for the main window: enough to type
// a captured macro back into the window in front.
class PlayHost : public IPlaybackHost {
 public:
  void DoAMessage(const std::string&, const std::string&) override {}
  uint16_t DoRepPrompt() override { return 1; }
  bool ShowPauseBox(int, int, const std::string&) override { return true; }
  void SwapMacroFile(std::string_view) override {}
  bool UseTray() const override { return false; }
  void ShowApplication() override {}
  void HideApplication() override {}
  bool ApplicationMinimized() override { return false; }
  void RestoreApplication() override {}
  void MinimizeApplication() override {}
  bool MainWindowVisible() override { return false; }
  void ShowMainWindow() override {}
  void HideMainWindow() override {}
};

void PlayCaptured() {
  Win32Input input;
  Win32Desktop desktop;
  Win32Processes processes;
  Win32Shell shell;
  Win32MessagePump pump;
  Win32Clock clock;
  Win32Clipboard clipboard;
  Win32FileOperations files;
  Win32Sound sound;
  EngineSeams seams{input, desktop, processes, shell, pump, clock, clipboard, files, sound};
  EngineState engine;
  engine.Screen = MakeScreenSize(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  WindowCommands windows(seams, engine);
  PlayHost host;
  Player player(seams, host, engine, windows);
  player.StartPlayback(g.captured, PlaybackEntry::Triggered);
}

bool ClearEdit(const std::string& title) {
  HWND top = ::FindWindowA(nullptr, title.c_str());
  HWND edit = top ? ::FindWindowExA(top, nullptr, "EDIT", nullptr) : nullptr;
  if (!edit) return false;
  // Replacing the selection notifies the edit's parent as typing does
  // (WM_SETTEXT does not).
  ::SendMessageA(edit, EM_SETSEL, 0, -1);
  ::SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(""));
  return true;
}

void RunCommand(const std::string& line) {
  std::istringstream in(line);
  std::string verb;
  in >> verb;
  const int n = ++g.commandNumber;
  std::string extra;
  if (verb == "arm" || verb == "disarm") {
    int code;
    while (in >> code) g.ab->SetHotKeyUsed(code, verb == "arm");
  } else if (verb == "playback") {
    int on = 0;
    in >> on;
    g.ab->SetPlaybackStarted(on != 0);
  } else if (verb == "pick") {
    int on = 0;
    in >> on;
    g.ab->SetHotKeyEntryWindow(Field(on ? g.pick : g.main));
    g.ab->SetHotKeyEntryActive(on != 0);
  } else if (verb == "inject") {
    int code = -1;
    in >> code;
    extra = InjectCode(code) ? "sent" : "failed";
  } else if (verb == "injectvk") {
    std::string hex;
    in >> hex;
    std::vector<INPUT> keys;
    const auto vk = static_cast<WORD>(std::strtoul(hex.c_str(), nullptr, 16));
    AddKey(keys, vk, false);
    AddKey(keys, vk, true);
    extra = ::SendInput(2, keys.data(), sizeof(INPUT)) == 2 ? "sent" : "failed";
  } else if (verb == "state") {
    extra = "playback=" + std::to_string(g.ab->Byte(ab::kPlaybackStarted)) +
            " pick=" + std::to_string(g.ab->Byte(ab::kHotKeyEntryActive)) +
            " lastwindow=" + TitleOf(Window(g.wb->LastOutsideWindow())) +
            " lastwindow2=" + TitleOf(Window(g.wb->LastOutsideWindow2()));
  } else if (verb == "rehook") {
    g.unhook(g.ab->KeyboardHook());
    g.ab->SetKeyboardHook(g.hookKeyboard());
    g.unhook(g.rb->RemapHook());
    g.rb->SetRemapHook(g.hookSwap());
    char buf[64];
    std::snprintf(buf, sizeof buf, "keyboard=%08x remap=%08x", g.ab->KeyboardHook(), g.rb->RemapHook());
    extra = buf;
  } else if (verb == "hookagain") {
    g.ab->SetKeyboardHook(g.hookKeyboard());
  } else if (verb == "capture") {
    int stop = -1, own = -1;
    std::string letters;
    in >> stop >> own >> letters;
    CaptureOptions o;
    o.keys = letters.find('k') != std::string::npos;
    o.mouse = letters.find('m') != std::string::npos;
    o.relative_to_screen = letters.find('s') != std::string::npos;
    o.window_size = letters.find('z') != std::string::npos;
    o.time = letters.find('t') != std::string::npos;
    o.double_alt = letters.find('a') != std::string::npos;
    WriteCaptureOptionBytes(*g.ab, o);
    g.ab->ClearCaptureState();
    g.ab->SetStopKey(stop >= 0 ? CaptureKeyOf(DecipherKey(stop)) : CaptureKey{});
    g.ab->SetHasOwnKey(own >= 0);
    if (own >= 0) g.ab->SetOwnKey(CaptureKeyOf(DecipherKey(own)));
    g.ab->SetCaptureTarget(5);
    g.ab->SetCaptureStartPending(true);
    g.captured.clear();
    g.ab->SetCaptureActive(true);
  } else if (verb == "endcapture") {
    g.ab->SetCaptureActive(false);
  } else if (verb == "remap" || verb == "remapid") {
    RemapTables tables(g.rb->Tables());
    if (verb == "remapid") {
      tables.InitSwapKeys();
    } else {
      std::string from, to;
      in >> from >> to;
      const int index = RemapIndexOf(static_cast<uint8_t>(std::strtoul(from.c_str(), nullptr, 16)));
      if (index >= 0) tables.SetEntry(static_cast<size_t>(index), static_cast<uint8_t>(std::strtoul(to.c_str(), nullptr, 16)));
      else extra = "nosource";
    }
  } else if (verb == "settext") {
    std::string title;
    std::getline(in >> std::ws, title);
    extra = ClearEdit(title) ? "cleared" : "notfound";
  } else if (verb == "play") {
    PlayCaptured();
  } else if (verb == "quit") {
    g.quit = true;
  } else {
    extra = "unknown";
  }
  Log("done %d %s%s%s", n, verb.c_str(), extra.empty() ? "" : " ", extra.c_str());
}

void PollCommands() {
  char buf[512];
  DWORD got = 0;
  while (::ReadFile(g.commands, buf, sizeof buf, &got, nullptr) && got > 0) g.pending.append(buf, got);
  size_t nl;
  while (!g.quit && (nl = g.pending.find('\n')) != std::string::npos) {
    std::string line = g.pending.substr(0, nl);
    g.pending.erase(0, nl + 1);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) RunCommand(line);
  }
  if (g.quit) ::PostQuitMessage(0);
}

void LogKey(const char* what, WPARAM vk) { Log("key %s %u", what, static_cast<unsigned>(vk & 0xFF)); }

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case kMsgHotKey:
      Log("hotkey %u caps=%u focusroot=%s", static_cast<unsigned>(wp & 0x3FFF),
          (wp & kHotKeyCapsLockBit) ? 1u : 0u,
          TitleOf(::GetAncestor(reinterpret_cast<HWND>(lp), GA_ROOT)).c_str());
      return 0;
    case kMsgHotKeyPick:
      Log("pick %u window=%s", static_cast<unsigned>(wp), hwnd == g.pick ? "pick" : "main");
      return 0;
    case kMsgAbort:
      Log("abort");
      return 0;
    case kMsgCaptureChar:
      g.captured.push_back(static_cast<char>(lp & 0xFF));
      Log("capchar %u %02x", static_cast<unsigned>(wp), static_cast<unsigned>(lp & 0xFF));
      return 0;
    case kMsgCaptureDone:
      Log("capdone %u", static_cast<unsigned>(wp));
      return 0;
    case kMsgSnapwordChar:
      Log("snap %u %02x", static_cast<unsigned>(wp), static_cast<unsigned>(lp & 0xFF));
      return 0;
    case WM_KEYDOWN: LogKey("down", wp); return 0;
    case WM_KEYUP: LogKey("up", wp); return 0;
    case WM_SYSKEYDOWN: LogKey("sysdown", wp); return 0;
    case WM_SYSKEYUP: LogKey("sysup", wp); return 0;
    case WM_LBUTTONDOWN: Log("mouse down 1"); return 0;
    case WM_LBUTTONUP: Log("mouse up 1"); return 0;
    case WM_RBUTTONDOWN: Log("mouse down 2"); return 0;
    case WM_RBUTTONUP: Log("mouse up 2"); return 0;
    case WM_MBUTTONDOWN: Log("mouse down 3"); return 0;
    case WM_MBUTTONUP: Log("mouse up 3"); return 0;
    case WM_TIMER:
      if (wp == kCommandTimer) PollCommands();
      return 0;
    case WM_CLOSE:
      return 0;  // ends only by the quit command
    default:
      return ::DefWindowProcA(hwnd, msg, wp, lp);
  }
}

std::string OwnFolder() {
  char path[MAX_PATH];
  const DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s(path, n);
  const size_t slash = s.find_last_of("\\/");
  return slash == std::string::npos ? "." : s.substr(0, slash);
}

int Run(int argc, char** argv) {
  std::string logPath, commandsPath, arm;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string a = argv[i];
    if (a == "--log") logPath = argv[i + 1];
    else if (a == "--commands") commandsPath = argv[i + 1];
    else if (a == "--arm") arm = argv[i + 1];
  }
  if (logPath.empty() || commandsPath.empty()) {
    std::fprintf(stderr, "usage: hookhost --log FILE --commands FILE [--arm CODE,...]\n");
    return 3;
  }
  g.log = std::fopen(logPath.c_str(), "w");
  if (!g.log) return 3;
  Handle commands(::CreateFileA(commandsPath.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  g.commands = commands.get();
  if (!g.commands) {
    Log("error commands");
    return 3;
  }

  WNDCLASSA wc{};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "QlxHookHost";
  ::RegisterClassA(&wc);
  g.main = ::CreateWindowExA(0, wc.lpszClassName, kHostTitle, WS_OVERLAPPEDWINDOW, 700, 80, 360,
                             260, nullptr, nullptr, wc.hInstance, nullptr);
  g.pick = ::CreateWindowExA(0, wc.lpszClassName, kPickTitle, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                             nullptr, nullptr, wc.hInstance, nullptr);
  if (!g.main || !g.pick) {
    Log("error window");
    return 1;
  }

  // The program's start-up: blocks first, then the hooks in its order.
  Block activation(kActivationBlockName, ab::kSize);
  Block remap(kRemapBlockName, rb::kSize);
  Block window(kWindowBlockName, wb::kSize);
  if (!activation.bytes() || !remap.bytes() || !window.bytes()) {
    Log("error blocks");
    return 1;
  }
  ActivationBlock abv(activation.bytes());
  RemapBlock rbv(remap.bytes());
  WindowBlock wbv(window.bytes());
  g.ab = &abv;
  g.rb = &rbv;
  g.wb = &wbv;
  rbv.SetMainWindow(Field(g.main));
  rbv.SetStartupByte(0);
  wbv.SetMainWindow(Field(g.main));
  wbv.SetLastOutsideWindows(Field(g.main));
  wbv.SetIsNt(true);
  abv.SetMainWindow(Field(g.main));
  abv.SetHotKeyEntryWindow(Field(g.main));
  abv.SetHotKeyEntryActive(false);
  abv.SetPlaybackStarted(false);
  abv.ClearHotKeyTable();
  std::istringstream codes(arm);
  for (std::string code; std::getline(codes, code, ',');)
    if (!code.empty()) abv.SetHotKeyUsed(std::atoi(code.c_str()), true);

  const int threadsBefore = CountThreads();
  Library lib(OwnFolder() + "\\QLXHOOK.DLL");
  g.hookKeyboard = lib.Get<InstallFn>("QlxHookKeyboard");
  g.hookMouse = lib.Get<InstallFn>("QlxHookMouse");
  g.hookSwap = lib.Get<InstallFn>("QlxHookSwap");
  g.hookCbt = lib.Get<InstallFn>("QlxHookCBT");
  g.unhook = lib.Get<RemoveFn>("QlxUnHook");
  if (!g.hookKeyboard || !g.hookMouse || !g.hookSwap || !g.hookCbt || !g.unhook) {
    Log("error library");
    return 1;
  }
  InstallInProgramOrder();
  Log("ready keyboard=%08x mouse=%08x remap=%08x activation=%08x threads=%d+%d", abv.KeyboardHook(),
      abv.MouseHook(), rbv.RemapHook(), wbv.ActivationHook(), threadsBefore,
      CountThreads() - threadsBefore);

  ::ShowWindow(g.main, SW_SHOWNORMAL);
  ::SetTimer(g.main, kCommandTimer, 20, nullptr);
  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }

  UnhookInProgramOrder();
  const int threadsAfter = CountThreads() - threadsBefore;
  lib.Free();
  Log("unhooked threads=%d freed", threadsAfter);
  ::DestroyWindow(g.pick);
  ::DestroyWindow(g.main);
  std::fclose(g.log);
  return 0;
}

}  // namespace
}  // namespace qlx

int main(int argc, char** argv) { return qlx::Run(argc, argv); }
