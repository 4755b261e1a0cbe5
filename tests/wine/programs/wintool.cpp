// Console multi-tool for end-to-end tests: looks at and pokes the Windows
// side of a Wine session and prints plain lines on stdout.
//
//   peek <block> <offset> <count>    bytes of a named mapping as hex
//   poke <block> <offset> <hex>      write bytes into a named mapping
//   mutex <name>                     does a named mutex exist
//   hold <block> <size>              create a named mapping, print "ready", keep it
//   windows                          top-level windows, one per line:
//                                    handle pid class visible exe title (tab separated)
//   texts <window>                   child controls, one per line: class text
//   close <window>                   post WM_CLOSE
//   post <window> <msg> <wp> <lp>    post a message (numbers decimal or 0x hex)
//   items <window>                   the item count of each list box child,
//                                    one per line in child order
//   painted <title> <file> <seconds> prints "ready", then polls every
//                                    millisecond for a visible window of that
//                                    exact title with nothing left to paint;
//                                    then writes "painted" to the file
//   click <window> <button text>     BM_CLICK on a child button ('&' ignored)
//   activate <window>                raise the window and make it the foreground
//   settext <window> <text>          WM_SETTEXT to the window's first Edit control
//   foreground                       title of the foreground window
//   fgwindow                         the foreground window as a `windows` line
//   keystate <vk>                    GetAsyncKeyState of a virtual key (hex)
//   ping <window> <count> <ms>       WM_NULL round trips, one every <ms>: prints
//                                    "<ms since start> <round trip ms>" per trip
//                                    ("timeout" after 5 s)
//   processes                        running processes, one per line: pid exe (tab separated)
//   clock                            the tick count and the double-click time, in ms
//
// <window> is a handle ("0x...") or a title substring: an exact title wins,
// else the first visible window whose title contains the text.
// Texts are escaped: backslash, tab, CR and LF as \\ \t \r \n.
// Exit codes: 0 done, 1 window or control not found, 2 named object missing,
// 3 bad arguments.
#include <windows.h>
#include <tlhelp32.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "top_windows.h"

namespace qlx {
namespace {

constexpr int kOk = 0;
constexpr int kNotFound = 1;
constexpr int kMissing = 2;
constexpr int kBadArgs = 3;

class Handle {
 public:
  explicit Handle(HANDLE h = nullptr) : h_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
  ~Handle() {
    if (h_) CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  HANDLE h_;
};

class MappedView {
 public:
  MappedView(HANDLE mapping, DWORD access) : p_(MapViewOfFile(mapping, access, 0, 0, 0)) {}
  ~MappedView() {
    if (p_) UnmapViewOfFile(p_);
  }
  MappedView(const MappedView&) = delete;
  MappedView& operator=(const MappedView&) = delete;
  uint8_t* data() const { return static_cast<uint8_t*>(p_); }
  // The view is page-granular: this bounds reads and writes, not the block's
  // nominal size.
  size_t size() const {
    MEMORY_BASIC_INFORMATION mbi{};
    if (!p_ || VirtualQuery(p_, &mbi, sizeof mbi) == 0) return 0;
    return mbi.RegionSize;
  }

 private:
  void* p_;
};

bool ParseNumber(const char* s, unsigned long long& out) {
  if (!s || !*s) return false;
  errno = 0;
  char* end = nullptr;
  out = std::strtoull(s, &end, 0);
  return errno == 0 && end && *end == '\0' && s[0] != '-';
}

std::string Escape(const std::string& s) {
  std::string r;
  for (char c : s) {
    switch (c) {
      case '\\': r += "\\\\"; break;
      case '\t': r += "\\t"; break;
      case '\r': r += "\\r"; break;
      case '\n': r += "\\n"; break;
      default: r += c;
    }
  }
  return r;
}

std::string WindowTitle(HWND h) {
  char buf[1024] = {};
  // WM_GETTEXT is marshalled across processes; a hung owner must not hang us.
  DWORD_PTR got = 0;
  if (!SendMessageTimeoutA(h, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf),
                           SMTO_ABORTIFHUNG, 2000, &got))
    GetWindowTextA(h, buf, sizeof buf);
  buf[sizeof buf - 1] = '\0';
  return buf;
}

std::string ClassOf(HWND h) {
  char buf[256] = {};
  GetClassNameA(h, buf, sizeof buf);
  return buf;
}

std::map<DWORD, std::string> ProcessNames() {
  std::map<DWORD, std::string> names;
  Handle snap(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snap) return names;
  PROCESSENTRY32 pe{};
  pe.dwSize = sizeof pe;
  for (BOOL ok = Process32First(snap.get(), &pe); ok; ok = Process32Next(snap.get(), &pe))
    names[pe.th32ProcessID] = pe.szExeFile;
  return names;
}

std::string WindowLine(HWND h, const std::map<DWORD, std::string>& names) {
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  auto it = names.find(pid);
  char head[128];
  std::snprintf(head, sizeof head, "0x%llx\t%lu\t",
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(h)),
                static_cast<unsigned long>(pid));
  return std::string(head) + Escape(ClassOf(h)) + "\t" + (IsWindowVisible(h) ? "1" : "0") +
         "\t" + (it != names.end() ? it->second : "") + "\t" + Escape(WindowTitle(h));
}

HWND FindWindowBySelector(const std::string& sel) { return testprog::FindTopWindow(sel); }

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> all;
  EnumChildWindows(
      parent,
      [](HWND h, LPARAM lp) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&all));
  return all;
}

std::string WithoutAccelerator(const std::string& s) {
  std::string r;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '&') {
      if (i + 1 < s.size() && s[i + 1] == '&') r += s[++i];
      continue;
    }
    r += s[i];
  }
  return r;
}

bool HexToBytes(const std::string& hex, std::vector<uint8_t>& out) {
  if (hex.empty() || hex.size() % 2 != 0) return false;
  for (size_t i = 0; i < hex.size(); i += 2) {
    unsigned long long v = 0;
    const std::string pair = "0x" + hex.substr(i, 2);
    if (!ParseNumber(pair.c_str(), v) || v > 0xFF) return false;
    out.push_back(static_cast<uint8_t>(v));
  }
  return true;
}

int Peek(const char* name, const char* off_s, const char* count_s) {
  unsigned long long off = 0, count = 0;
  if (!ParseNumber(off_s, off) || !ParseNumber(count_s, count)) return kBadArgs;
  Handle mapping(OpenFileMappingA(FILE_MAP_READ, FALSE, name));
  if (!mapping) return kMissing;
  MappedView view(mapping.get(), FILE_MAP_READ);
  if (!view.data()) return kMissing;
  if (off > view.size() || count > view.size() - off) return kBadArgs;
  std::string hex;
  hex.reserve(count * 2);
  static const char digits[] = "0123456789abcdef";
  for (unsigned long long i = 0; i < count; ++i) {
    const uint8_t b = view.data()[off + i];
    hex += digits[b >> 4];
    hex += digits[b & 0xF];
  }
  std::printf("%s\n", hex.c_str());
  return kOk;
}

int Poke(const char* name, const char* off_s, const char* hex) {
  unsigned long long off = 0;
  std::vector<uint8_t> bytes;
  if (!ParseNumber(off_s, off) || !HexToBytes(hex, bytes)) return kBadArgs;
  Handle mapping(OpenFileMappingA(FILE_MAP_WRITE, FALSE, name));
  if (!mapping) return kMissing;
  MappedView view(mapping.get(), FILE_MAP_WRITE);
  if (!view.data()) return kMissing;
  if (off > view.size() || bytes.size() > view.size() - off) return kBadArgs;
  std::memcpy(view.data() + off, bytes.data(), bytes.size());
  return kOk;
}

int Hold(const char* name, const char* size_s) {
  unsigned long long size = 0;
  if (!ParseNumber(size_s, size) || size == 0 || size > 0x7FFFFFFF) return kBadArgs;
  Handle mapping(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                    static_cast<DWORD>(size), name));
  if (!mapping) return kMissing;
  std::printf("ready\n");
  std::fflush(stdout);
  for (;;) Sleep(INFINITE);
}

// How long the window's thread takes to answer, now and again: a thread
// that waits somewhere shows as one long round trip.
int Ping(const char* sel, const char* count_s, const char* interval_s) {
  unsigned long long count = 0, interval = 0;
  if (!ParseNumber(count_s, count) || !ParseNumber(interval_s, interval)) return kBadArgs;
  HWND w = FindWindowBySelector(sel);
  if (!w) return kNotFound;
  LARGE_INTEGER freq, start, a, b;
  QueryPerformanceFrequency(&freq);
  QueryPerformanceCounter(&start);
  auto ms = [&](const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart);
  };
  for (unsigned long long i = 0; i < count; ++i) {
    QueryPerformanceCounter(&a);
    DWORD_PTR r = 0;
    const bool answered = SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &r) != 0;
    QueryPerformanceCounter(&b);
    if (answered) std::printf("%.1f %.2f\n", ms(start, a), ms(a, b));
    else std::printf("%.1f timeout\n", ms(start, a));
    std::fflush(stdout);
    if (interval) Sleep(static_cast<DWORD>(interval));
  }
  return kOk;
}

int Mutex(const char* name) {
  Handle m(OpenMutexA(SYNCHRONIZE, FALSE, name));
  if (!m) return kMissing;
  std::printf("exists\n");
  return kOk;
}

int Windows() {
  const auto names = ProcessNames();
  for (HWND h : testprog::TopLevelWindows()) std::printf("%s\n", WindowLine(h, names).c_str());
  return kOk;
}

int Texts(const char* sel) {
  HWND w = FindWindowBySelector(sel);
  if (!w) return kNotFound;
  for (HWND c : Children(w))
    std::printf("%s\t%s\n", Escape(ClassOf(c)).c_str(), Escape(WindowTitle(c)).c_str());
  return kOk;
}

int Close(const char* sel) {
  HWND w = FindWindowBySelector(sel);
  if (!w) return kNotFound;
  return PostMessageA(w, WM_CLOSE, 0, 0) ? kOk : kNotFound;
}

int Post(const char* sel, const char* msg, const char* wp, const char* lp) {
  HWND w = FindWindowBySelector(sel);
  if (!w) return kNotFound;
  unsigned long long m = 0, wv = 0, lv = 0;
  if (!ParseNumber(msg, m) || !ParseNumber(wp, wv) || !ParseNumber(lp, lv)) return kBadArgs;
  return PostMessageA(w, static_cast<UINT>(m), static_cast<WPARAM>(wv), static_cast<LPARAM>(lv)) ? kOk
                                                                                                 : kNotFound;
}

int Items(const char* sel) {
  HWND w = FindWindowBySelector(sel);
  if (!w) return kNotFound;
  for (HWND c : Children(w)) {
    if (lstrcmpiA(ClassOf(c).c_str(), "ListBox") != 0) continue;
    std::printf("%ld\n", static_cast<long>(SendMessageA(c, LB_GETCOUNT, 0, 0)));
  }
  return kOk;
}

int Painted(const char* title, const char* file, const char* seconds) {
  unsigned long long limit = 0;
  if (!ParseNumber(seconds, limit)) return kBadArgs;
  std::printf("ready\n");
  std::fflush(stdout);
  const ULONGLONG end = GetTickCount64() + limit * 1000;
  timeBeginPeriod(1);
  int rc = kNotFound;
  while (GetTickCount64() < end) {
    HWND w = FindWindowA(nullptr, title);
    if (w && IsWindowVisible(w) && !GetUpdateRect(w, nullptr, FALSE)) {
      if (FILE* f = std::fopen(file, "wb")) {
        std::fputs("painted", f);
        std::fclose(f);
      }
      rc = kOk;
      break;
    }
    Sleep(1);
  }
  timeEndPeriod(1);
  return rc;
}

int Click(const char* sel, const char* button) {
  HWND w = FindWindowBySelector(sel);
  if (!w) return kNotFound;
  const std::string wanted = WithoutAccelerator(button);
  for (HWND c : Children(w)) {
    if (lstrcmpiA(ClassOf(c).c_str(), "Button") != 0) continue;
    if (lstrcmpiA(WithoutAccelerator(WindowTitle(c)).c_str(), wanted.c_str()) != 0) continue;
    return PostMessageA(c, BM_CLICK, 0, 0) ? kOk : kNotFound;
  }
  return kNotFound;
}

// Fills a field without typing: typed keys would take whatever modifier
// a macro holds down.
int SetEditText(const char* sel, const char* text) {
  HWND w = FindWindowBySelector(sel);
  if (!w) return kNotFound;
  for (HWND c : Children(w)) {
    if (lstrcmpiA(ClassOf(c).c_str(), "Edit") != 0) continue;
    return SendMessageA(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? kOk : kNotFound;
  }
  return kNotFound;
}

int Activate(const char* sel) {
  HWND w = FindWindowBySelector(sel);
  if (!w) return kNotFound;
  // Without a window manager SetForegroundWindow alone does not raise it.
  SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  BringWindowToTop(w);
  SetForegroundWindow(w);
  return GetForegroundWindow() == w ? kOk : kNotFound;
}

int Foreground(bool full) {
  HWND w = GetForegroundWindow();
  if (!w) return kNotFound;
  if (full)
    std::printf("%s\n", WindowLine(w, ProcessNames()).c_str());
  else
    std::printf("%s\n", Escape(WindowTitle(w)).c_str());
  return kOk;
}

int Processes() {
  for (const auto& [pid, exe] : ProcessNames()) std::printf("%lu\t%s\n", pid, Escape(exe).c_str());
  return kOk;
}

int KeyState(const char* vk_s) {
  unsigned long long vk = 0;
  if (!ParseNumber(vk_s, vk) || vk == 0 || vk > 0xFF) return kBadArgs;
  const SHORT s = GetAsyncKeyState(static_cast<int>(vk));
  std::printf("0x%04x\n", static_cast<unsigned>(static_cast<uint16_t>(s)));
  return kOk;
}

// The clock that dates injected input, and how long after a click another
// one at the same place counts as its second half.
int Clock() {
  std::printf("%lu %u\n", static_cast<unsigned long>(GetTickCount()), GetDoubleClickTime());
  return kOk;
}

int Usage() {
  std::fprintf(stderr,
               "usage: wintool peek|poke|mutex|hold|windows|texts|close|post|items|click|activate|"
               "foreground|fgwindow|keystate|processes|clock ...\n");
  return kBadArgs;
}

int Run(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string cmd = argv[1];
  const int n = argc - 2;
  char** a = argv + 2;
  if (cmd == "peek" && n == 3) return Peek(a[0], a[1], a[2]);
  if (cmd == "poke" && n == 3) return Poke(a[0], a[1], a[2]);
  if (cmd == "mutex" && n == 1) return Mutex(a[0]);
  if (cmd == "ping" && n == 3) return Ping(a[0], a[1], a[2]);
  if (cmd == "settext" && n == 2) return SetEditText(a[0], a[1]);
  if (cmd == "hold" && n == 2) return Hold(a[0], a[1]);
  if (cmd == "windows" && n == 0) return Windows();
  if (cmd == "texts" && n == 1) return Texts(a[0]);
  if (cmd == "close" && n == 1) return Close(a[0]);
  if (cmd == "click" && n == 2) return Click(a[0], a[1]);
  if (cmd == "post" && n == 4) return Post(a[0], a[1], a[2], a[3]);
  if (cmd == "items" && n == 1) return Items(a[0]);
  if (cmd == "painted" && n == 3) return Painted(a[0], a[1], a[2]);
  if (cmd == "activate" && n == 1) return Activate(a[0]);
  if (cmd == "foreground" && n == 0) return Foreground(false);
  if (cmd == "fgwindow" && n == 0) return Foreground(true);
  if (cmd == "keystate" && n == 1) return KeyState(a[0]);
  if (cmd == "processes" && n == 0) return Processes();
  if (cmd == "clock" && n == 0) return Clock();
  return Usage();
}

}  // namespace
}  // namespace qlx

int main(int argc, char** argv) {
  const int rc = qlx::Run(argc, argv);
  std::fflush(stdout);
  return rc;
}
