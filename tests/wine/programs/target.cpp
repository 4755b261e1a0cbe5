// Target window for end-to-end tests: a top-level window with a multi-line
// edit that keeps the focus. After every change the edit's whole text is
// written to a file (temp + rename, so a reader never sees half a text);
// optionally every key message and left-button message the edit receives
// is appended to a log.
//
//   target.exe --out FILE [--title TEXT] [--keys FILE]
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace qlx {
namespace {

constexpr int kEditId = 100;

struct Options {
  std::string title = "Quillon Target";
  std::string out_file;
  std::string key_file;
};

struct TargetState {
  Options options;
  HWND edit = nullptr;
  WNDPROC edit_proc = nullptr;
  FILE* key_log = nullptr;
};

TargetState g_state;

// Owns a stdio stream.
class File {
 public:
  File(const std::string& path, const char* mode) : f_(std::fopen(path.c_str(), mode)) {}
  ~File() {
    if (f_) std::fclose(f_);
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  FILE* get() const { return f_; }
  FILE* release() {
    FILE* f = f_;
    f_ = nullptr;
    return f;
  }

 private:
  FILE* f_;
};

bool WriteTextAtomically(const std::string& path, const std::string& text) {
  const std::string temp = path + ".tmp";
  {
    File f(temp, "wb");
    if (!f.get()) return false;
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), f.get()) != text.size())
      return false;
    if (std::fflush(f.get()) != 0) return false;
  }
  return MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

std::string EditText(HWND edit) {
  const int len = GetWindowTextLengthA(edit);
  std::vector<char> buf(static_cast<size_t>(len) + 1, '\0');
  const int got = GetWindowTextA(edit, buf.data(), len + 1);
  return std::string(buf.data(), got > 0 ? static_cast<size_t>(got) : 0);
}

void SaveText() {
  if (!g_state.options.out_file.empty())
    WriteTextAtomically(g_state.options.out_file, EditText(g_state.edit));
}

void LogKey(const char* what, WPARAM vk) {
  if (!g_state.key_log) return;
  std::fprintf(g_state.key_log, "%s %u\n", what, static_cast<unsigned>(vk & 0xFF));
  std::fflush(g_state.key_log);
}

// A button message with its place in screen pixels and its time against
// the tick count when it was handled, to tell where a click went and why it
// counted as a double click: "ldown X Y TIME NOW", "ldbl ...", "lup ...".
void LogButton(HWND hwnd, const char* what, LPARAM lp) {
  if (!g_state.key_log) return;
  POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
  ClientToScreen(hwnd, &p);
  std::fprintf(g_state.key_log, "%s %ld %ld %lu %lu\n", what, p.x, p.y, static_cast<unsigned long>(GetMessageTime()),
               static_cast<unsigned long>(GetTickCount()));
  std::fflush(g_state.key_log);
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_KEYDOWN: LogKey("down", wp); break;
    case WM_KEYUP: LogKey("up", wp); break;
    case WM_SYSKEYDOWN: LogKey("sysdown", wp); break;
    case WM_SYSKEYUP: LogKey("sysup", wp); break;
    case WM_LBUTTONDOWN: LogButton(hwnd, "ldown", lp); break;
    case WM_LBUTTONDBLCLK: LogButton(hwnd, "ldbl", lp); break;
    case WM_LBUTTONUP: LogButton(hwnd, "lup", lp); break;
    default: break;
  }
  return CallWindowProcA(g_state.edit_proc, hwnd, msg, wp, lp);
}

void BringToFront(HWND hwnd) {
  SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  BringWindowToTop(hwnd);
  SetForegroundWindow(hwnd);
  SetFocus(g_state.edit);
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CREATE: {
      g_state.edit = CreateWindowExA(
          WS_EX_CLIENTEDGE, "EDIT", "",
          WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
          0, 0, 0, 0, hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)),
          GetModuleHandleA(nullptr), nullptr);
      if (!g_state.edit) return -1;
      // The default limit (30000 characters) would cut long typing tests.
      SendMessageA(g_state.edit, EM_SETLIMITTEXT, 0, 0);
      g_state.edit_proc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
          g_state.edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditProc)));
      return 0;
    }
    case WM_SIZE:
      MoveWindow(g_state.edit, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
      return 0;
    case WM_ACTIVATE:
      // Whatever gets activated, keystrokes must land in the edit.
      if (LOWORD(wp) != WA_INACTIVE) SetFocus(g_state.edit);
      return 0;
    case WM_SETFOCUS:
      SetFocus(g_state.edit);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wp) == kEditId && HIWORD(wp) == EN_CHANGE) SaveText();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wp, lp);
  }
}

bool ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (i + 1 >= argc) return false;
    if (a == "--out") o.out_file = argv[++i];
    else if (a == "--title") o.title = argv[++i];
    else if (a == "--keys") o.key_file = argv[++i];
    else return false;
  }
  return !o.out_file.empty();
}

}  // namespace
}  // namespace qlx

int main(int argc, char** argv) {
  using namespace qlx;
  if (!ParseOptions(argc, argv, g_state.options)) {
    std::fprintf(stderr, "usage: target --out FILE [--title TEXT] [--keys FILE]\n");
    return 2;
  }
  File key_log(g_state.options.key_file, "wb");
  if (!g_state.options.key_file.empty()) {
    if (!key_log.get()) {
      std::fprintf(stderr, "cannot open %s\n", g_state.options.key_file.c_str());
      return 2;
    }
    g_state.key_log = key_log.get();
  }

  HINSTANCE inst = GetModuleHandleA(nullptr);
  WNDCLASSA wc{};
  wc.lpfnWndProc = MainProc;
  wc.hInstance = inst;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = "QuillonTarget";
  if (!RegisterClassA(&wc)) return 1;

  HWND hwnd = CreateWindowExA(0, wc.lpszClassName, g_state.options.title.c_str(),
                              WS_OVERLAPPEDWINDOW, 200, 150, 600, 400, nullptr, nullptr, inst,
                              nullptr);
  if (!hwnd) return 1;
  ShowWindow(hwnd, SW_SHOWNORMAL);
  UpdateWindow(hwnd);
  BringToFront(hwnd);
  // An empty text file says the window is up.
  SaveText();

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  g_state.key_log = nullptr;
  return static_cast<int>(msg.wParam);
}
