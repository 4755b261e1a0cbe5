// Mouse target for end-to-end tests: a window with one push button. Every
// mouse message the window and its button receive is appended to a log
// file, one line each, with client coordinates:
//
//   geometry WL WT WR WB  BL BT BR BB  CX CY   window rect, button rect and
//                                              client origin, in screen pixels
//   button                                     the button was clicked
//   ldown X Y | lup X Y | ldbl X Y | rdown X Y | rup X Y | mdown X Y | mup X Y
//   wheel DELTA
//   button-ldown X Y ... button-mup X Y        the same messages at the button
//   move X Y | button-move X Y                 the pointer moved to a new place
//   capture-lost                               the button let go of the mouse
//
// A geometry line is written at start and whenever the window moves.
//
//   clicktarget.exe --out FILE [--title TEXT]
#include <windows.h>
#include <windowsx.h>

#include <cstdarg>
#include <cstdio>
#include <string>

namespace qlx {
namespace {

constexpr int kButtonId = 100;
constexpr int kButtonLeft = 40, kButtonTop = 40, kButtonWidth = 140, kButtonHeight = 50;

struct State {
  std::string title = "Quillon Click Target";
  std::string out_file;
  FILE* log = nullptr;
  HWND main = nullptr;
  HWND button = nullptr;
};
State g;

void Line(const char* format, ...) {
  if (!g.log) return;
  va_list args;
  va_start(args, format);
  std::vfprintf(g.log, format, args);
  va_end(args);
  std::fputc('\n', g.log);
  std::fflush(g.log);
}

void LogGeometry() {
  if (!g.main || !g.button) return;
  RECT w, b;
  GetWindowRect(g.main, &w);
  GetWindowRect(g.button, &b);
  POINT origin{0, 0};
  ClientToScreen(g.main, &origin);
  Line("geometry %ld %ld %ld %ld %ld %ld %ld %ld %ld %ld", w.left, w.top, w.right, w.bottom,
       b.left, b.top, b.right, b.bottom, origin.x, origin.y);
}

void LogPoint(const char* what, LPARAM lp) { Line("%s %d %d", what, GET_X_LPARAM(lp), GET_Y_LPARAM(lp)); }

// A move is logged once per place, in screen pixels.
void LogMove(HWND hwnd, const char* what, LPARAM lp) {
  static POINT last{-1, -1};
  POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
  ClientToScreen(hwnd, &p);
  if (p.x == last.x && p.y == last.y) return;
  last = p;
  Line("%s %ld %ld", what, p.x, p.y);
}

WNDPROC g_button_proc = nullptr;

// The button's own mouse messages: a click meant for the window that the
// button received instead (while it held the mouse captured) shows here.
LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_MOUSEMOVE: LogMove(hwnd, "button-move", lp); break;
    case WM_LBUTTONDOWN: LogPoint("button-ldown", lp); break;
    case WM_LBUTTONDBLCLK: LogPoint("button-ldbl", lp); break;
    case WM_LBUTTONUP: LogPoint("button-lup", lp); break;
    case WM_RBUTTONDOWN: LogPoint("button-rdown", lp); break;
    case WM_RBUTTONUP: LogPoint("button-rup", lp); break;
    case WM_MBUTTONDOWN: LogPoint("button-mdown", lp); break;
    case WM_MBUTTONUP: LogPoint("button-mup", lp); break;
    case WM_CAPTURECHANGED: Line("capture-lost"); break;
    default: break;
  }
  return CallWindowProcA(g_button_proc, hwnd, msg, wp, lp);
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE:
      g.button = CreateWindowExA(0, "BUTTON", "Press Me", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                                 kButtonLeft, kButtonTop, kButtonWidth, kButtonHeight, hwnd,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kButtonId)),
                                 GetModuleHandleA(nullptr), nullptr);
      if (!g.button) return -1;
      g_button_proc = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrA(g.button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ButtonProc)));
      return 0;
    case WM_COMMAND:
      if (LOWORD(wp) == kButtonId && HIWORD(wp) == BN_CLICKED) Line("button");
      return 0;
    case WM_WINDOWPOSCHANGED:
      LogGeometry();
      break;
    case WM_MOUSEMOVE: LogMove(hwnd, "move", lp); return 0;
    case WM_LBUTTONDOWN: LogPoint("ldown", lp); return 0;
    case WM_LBUTTONUP: LogPoint("lup", lp); return 0;
    case WM_LBUTTONDBLCLK: LogPoint("ldbl", lp); return 0;
    case WM_RBUTTONDOWN: LogPoint("rdown", lp); return 0;
    case WM_RBUTTONUP: LogPoint("rup", lp); return 0;
    case WM_MBUTTONDOWN: LogPoint("mdown", lp); return 0;
    case WM_MBUTTONUP: LogPoint("mup", lp); return 0;
    case WM_MOUSEWHEEL:
      Line("wheel %d", GET_WHEEL_DELTA_WPARAM(wp));
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

bool ParseOptions(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string a = argv[i];
    if (a == "--out") g.out_file = argv[i + 1];
    else if (a == "--title") g.title = argv[i + 1];
    else return false;
  }
  return argc % 2 == 1 && !g.out_file.empty();
}

}  // namespace
}  // namespace qlx

int main(int argc, char** argv) {
  using namespace qlx;
  if (!ParseOptions(argc, argv)) {
    std::fprintf(stderr, "usage: clicktarget --out FILE [--title TEXT]\n");
    return 2;
  }
  g.log = std::fopen(g.out_file.c_str(), "wb");
  if (!g.log) return 2;

  WNDCLASSA wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = MainProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "QuillonClickTarget";
  if (!RegisterClassA(&wc)) return 1;
  g.main = CreateWindowExA(0, wc.lpszClassName, g.title.c_str(), WS_OVERLAPPEDWINDOW, 300, 200,
                           500, 350, nullptr, nullptr, wc.hInstance, nullptr);
  if (!g.main) return 1;
  ShowWindow(g.main, SW_SHOWNORMAL);
  UpdateWindow(g.main);
  SetForegroundWindow(g.main);
  LogGeometry();
  Line("ready");

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  std::fclose(g.log);
  return static_cast<int>(msg.wParam);
}
