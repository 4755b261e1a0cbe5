// Helper of the playback benchmark.
//
// Baseline typist: types a text file with ONE SendInput call holding the key
// events the player sends for it (VkKeyScanA with Shift/Ctrl/Alt around the
// key; the character itself as a Unicode event when no key types it; Enter
// for CR LF), tagged like the program's own input.
//   sendinput_bench.exe --text FILE          prints "sent <done> of <events>"
//   sendinput_bench.exe --vkscan N...        prints "N 0xXXXX" (VkKeyScanA of N)
//
// Light receiver: a bare window that collects its WM_CHAR characters (CR or
// LF as CR LF, Backspace removes one). Unlike target.exe it has no edit
// control to repaint and writes no file per character, either of which would
// limit the rate measured: it notes the performance-counter time of the first
// and the last character and of the one that made the text 100 characters
// long, and reports them with the text in one file,
// "<length> <first> <last> <frequency> <at 100>\n<text>", at once while the
// text has at most 256 characters (for latency), then at most every 100 ms.
// A letter key pressed with Ctrl and Alt held (a hot-key chord reaching the
// window because no program took it) counts as that letter in lower case.
// With KEYLOG, every key message is appended to that file as it is handled,
// "<D|U|C> <virtual key or character> <counter> <message time>\n" (D key-down,
// U key-up, C character), so that a chord's keys and a macro's first
// character can be timed against each other on the receiver's own clock.
//   sendinput_bench.exe --receive FILE TITLE [KEYLOG]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "activation/hook_contract.h"

namespace qlx {
namespace {

void Key(std::vector<INPUT>& out, WORD vk, bool up) {
  INPUT i{};
  i.type = INPUT_KEYBOARD;
  i.ki.wVk = vk;
  i.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, 0));
  i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  i.ki.dwExtraInfo = kInjectedMarker;
  out.push_back(i);
}

void Tap(std::vector<INPUT>& out, WORD vk) {
  Key(out, vk, false);
  Key(out, vk, true);
}

void Unicode(std::vector<INPUT>& out, unsigned char c) {
  const char ansi = static_cast<char>(c);
  wchar_t unit = 0;
  if (MultiByteToWideChar(CP_ACP, 0, &ansi, 1, &unit, 1) != 1) return;
  for (bool up : {false, true}) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wScan = unit;
    i.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
    i.ki.dwExtraInfo = kInjectedMarker;
    out.push_back(i);
  }
}

void Char(std::vector<INPUT>& out, unsigned char c) {
  const SHORT scan = c < 128 ? VkKeyScanA(static_cast<char>(c)) : -1;
  const WORD vk = scan & 0xFF;
  const int shift = (scan >> 8) & 0xFF;
  std::vector<WORD> mods;
  if (shift == 1) mods = {VK_SHIFT};
  else if (shift == 2) mods = {VK_CONTROL};
  else if (shift == 6) mods = {VK_CONTROL, VK_MENU};
  else if (shift == 7) mods = {VK_SHIFT, VK_CONTROL, VK_MENU};
  if (scan == -1 || vk == 0xFF || (shift != 0 && mods.empty())) {
    Unicode(out, c);
    return;
  }
  for (WORD m : mods) Key(out, m, false);
  Tap(out, vk);
  for (WORD m : mods) Key(out, m, true);
}

std::vector<INPUT> Events(const std::string& text) {
  std::vector<INPUT> out;
  out.reserve(text.size() * 4);
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '\r') {
      Tap(out, VK_RETURN);
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      Char(out, c);
    }
  }
  return out;
}

struct Receiver {
  std::string report_file;
  std::string text;
  LONGLONG first = 0, last = 0, at_mark = 0;
  bool dirty = false;
  DWORD reported = 0;
  FILE* keylog = nullptr;
};
Receiver g_rx;
constexpr UINT_PTR kRxTimer = 1;
constexpr DWORD kRxReportMs = 100;
constexpr size_t kRxLiveLength = 256;
constexpr size_t kRxMarkLength = 100;

void WriteReport() {
  LARGE_INTEGER freq;
  QueryPerformanceFrequency(&freq);
  char head[128];
  std::snprintf(head, sizeof head, "%zu %lld %lld %lld %lld\n", g_rx.text.size(), g_rx.first,
                g_rx.last, freq.QuadPart, g_rx.at_mark);
  const std::string temp = g_rx.report_file + ".tmp";
  FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) return;
  std::fputs(head, f);
  std::fwrite(g_rx.text.data(), 1, g_rx.text.size(), f);
  std::fclose(f);
  MoveFileExA(temp.c_str(), g_rx.report_file.c_str(), MOVEFILE_REPLACE_EXISTING);
}

void OnChar(char c) {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  if (g_rx.first == 0) g_rx.first = now.QuadPart;
  g_rx.last = now.QuadPart;
  if (c == '\r' || c == '\n') g_rx.text += "\r\n";
  else if (c == '\b') { if (!g_rx.text.empty()) g_rx.text.pop_back(); }
  else g_rx.text += c;
  if (g_rx.at_mark == 0 && g_rx.text.size() >= kRxMarkLength) g_rx.at_mark = now.QuadPart;
  g_rx.dirty = true;
  // Timer messages wait while input keeps coming: report from here too, and
  // at once while the text is short, for latency measurements.
  const DWORD tick = GetTickCount();
  if (g_rx.text.size() <= kRxLiveLength || tick - g_rx.reported >= kRxReportMs) {
    g_rx.reported = tick;
    g_rx.dirty = false;
    WriteReport();
  }
}

// Both clocks are logged. The message time says when an event entered the
// system (for real keys Wine maps the X server's event time onto the tick
// count, for injected ones it is the tick at SendInput), in 1 ms steps, and
// does not depend on when this thread gets to run. The counter says when this
// window handled the message. A WM_CHAR's message time is when it was
// translated, so a character is timed by its key-down.
void LogKey(char kind, unsigned code) {
  if (!g_rx.keylog) return;
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  std::fprintf(g_rx.keylog, "%c %u %lld %lu\n", kind, code, now.QuadPart,
               static_cast<unsigned long>(GetMessageTime()));
  std::fflush(g_rx.keylog);
}

LRESULT CALLBACK ReceiverProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      LogKey('D', static_cast<unsigned>(wp));
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      LogKey('U', static_cast<unsigned>(wp));
      break;
    case WM_CHAR:
    case WM_SYSCHAR:
      LogKey('C', static_cast<unsigned>(wp));
      break;
    default:
      break;
  }
  switch (msg) {
    case WM_CREATE:
      g_rx.text.reserve(16384);
      SetTimer(hwnd, kRxTimer, kRxReportMs, nullptr);
      return 0;
    case WM_CHAR:
      OnChar(static_cast<char>(wp));
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (wp >= 'A' && wp <= 'Z' && (GetKeyState(VK_CONTROL) & 0x8000) && (GetKeyState(VK_MENU) & 0x8000)) {
        OnChar(static_cast<char>(wp - 'A' + 'a'));
        return 0;
      }
      return DefWindowProcA(hwnd, msg, wp, lp);
    case WM_TIMER:
      if (g_rx.dirty) {
        g_rx.dirty = false;
        WriteReport();
      }
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wp, lp);
  }
}

int Receive(const char* file, const char* title, const char* keylog) {
  g_rx.report_file = file;
  if (keylog && !(g_rx.keylog = std::fopen(keylog, "wb"))) return 1;
  HINSTANCE inst = GetModuleHandleA(nullptr);
  WNDCLASSA wc{};
  wc.lpfnWndProc = ReceiverProc;
  wc.hInstance = inst;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "QuillonBenchReceiver";
  if (!RegisterClassA(&wc)) return 1;
  HWND hwnd = CreateWindowExA(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW, 200, 150, 600,
                              400, nullptr, nullptr, inst, nullptr);
  if (!hwnd) return 1;
  ShowWindow(hwnd, SW_SHOWNORMAL);
  SetForegroundWindow(hwnd);
  WriteReport();  // an empty report says the window is up
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

bool ReadFile(const char* path, std::string& text) {
  FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
  std::fclose(f);
  return true;
}

}  // namespace
}  // namespace qlx

int main(int argc, char** argv) {
  using namespace qlx;
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "--vkscan") {
    for (int i = 2; i < argc; ++i) {
      const int c = std::atoi(argv[i]);
      const SHORT s = VkKeyScanA(static_cast<char>(c));
      std::printf("%d 0x%04x\n", c, static_cast<unsigned>(static_cast<unsigned short>(s)));
    }
    return 0;
  }
  if (mode == "--receive" && (argc == 4 || argc == 5))
    return Receive(argv[2], argv[3], argc == 5 ? argv[4] : nullptr);
  std::string text;
  if (mode != "--text" || argc != 3 || !ReadFile(argv[2], text)) {
    std::fprintf(stderr,
                 "usage: sendinput_bench --text FILE | --vkscan N... |"
                 " --receive FILE TITLE [KEYLOG]\n");
    return 2;
  }
  std::vector<INPUT> events = Events(text);
  const UINT sent = events.empty()
                        ? 0
                        : SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT));
  std::printf("sent %u of %zu\n", sent, events.size());
  return sent == events.size() ? 0 : 1;
}
