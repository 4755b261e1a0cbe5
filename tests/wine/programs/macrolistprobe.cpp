// Reads the macro list of a running QUILX.EXE from outside, as a test sees
// what the user sees, and times the list's repaint after a command.
//
//   rows <window>
//       "widths w0 w1 w2 w3", "rowheight h", then one line per row:
//       row, 1 when selected else 0, and the four cell texts (tab separated)
//   point <window> <row>
//       the screen position of the middle of the row's nickname cell
//   divider <window> <column>
//       the screen position of the border at the right of a column's title
//   layout <window>
//       "list L T W H" (in the window's client area), "bar 0|1" and
//       "panel 0|1": whether the speed bar and the lettered buttons show
//   widths <window> <w1> <w2> <w3>
//       sets the widths of columns 1 to 3 as another program could
//   time <window> <command id> <repeats>
//       posts WM_COMMAND <command id> to the window <repeats> times; each
//       time waits until the command has run and the list has painted
//       itself again; prints the milliseconds of each round on one line
//   confirm <window> <command id> <caption> <repeats>
//       as time, for a command that asks first: posts it, waits for its
//       question box (<caption>), and times from the click on "Yes" until
//       the list has a new row count and has painted itself again
//
// <window> is a handle ("0x...") or a title substring of a top-level
// window; the list is its SysListView32 child. The cell texts come from
// the list itself (LVM_GETITEMTEXT through memory in the program's process).
// Exit codes: 0 done, 1 window or list not found, 2 the program's memory
// could not be reached, 3 bad arguments, 4 a round timed out.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kOk = 0;
constexpr int kNotFound = 1;
constexpr int kNoMemory = 2;
constexpr int kBadArgs = 3;
constexpr int kTimedOut = 4;
constexpr DWORD kAnswerMs = 5000;

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

HWND FindTopLevel(const std::string& sel) {
  if (sel.rfind("0x", 0) == 0) {
    HWND h = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(sel.c_str(), nullptr, 16)));
    return IsWindow(h) ? h : nullptr;
  }
  struct Search {
    std::string wanted;
    HWND exact = nullptr;
    HWND contains = nullptr;
  } search{sel};
  EnumWindows(
      [](HWND h, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        if (!IsWindowVisible(h)) return TRUE;
        char title[512] = {};
        GetWindowTextA(h, title, sizeof title);
        if (s->wanted == title) s->exact = h;
        else if (!s->contains && std::string(title).find(s->wanted) != std::string::npos) s->contains = h;
        return s->exact == nullptr;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.exact ? search.exact : search.contains;
}

HWND FindList(HWND top) {
  HWND found = nullptr;
  EnumChildWindows(
      top,
      [](HWND h, LPARAM lp) -> BOOL {
        char cls[64] = {};
        GetClassNameA(h, cls, sizeof cls);
        if (lstrcmpiA(cls, WC_LISTVIEWA) != 0) return TRUE;
        *reinterpret_cast<HWND*>(lp) = h;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// The list of a top-level window (and the window itself), or null.
HWND ListOf(const char* sel, HWND* top_out = nullptr) {
  HWND top = FindTopLevel(sel);
  if (top_out) *top_out = top;
  return top ? FindList(top) : nullptr;
}

LRESULT Ask(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  DWORD_PTR answer = 0;
  SendMessageTimeoutA(h, msg, wp, lp, SMTO_ABORTIFHUNG, kAnswerMs, &answer);
  return static_cast<LRESULT>(answer);
}

// A page of memory in the list's process for one item and its text.
class RemotePage {
 public:
  explicit RemotePage(HWND list) {
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_) page_ = VirtualAllocEx(process_, nullptr, kSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~RemotePage() {
    if (page_) VirtualFreeEx(process_, page_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemotePage(const RemotePage&) = delete;
  RemotePage& operator=(const RemotePage&) = delete;
  bool ok() const { return page_ != nullptr; }

  RECT CellRect(HWND list, int row, int column) {
    RECT r{};
    r.top = column;
    r.left = LVIR_BOUNDS;
    if (!WriteProcessMemory(process_, page_, &r, sizeof r, nullptr)) return {};
    Ask(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(page_));
    if (!ReadProcessMemory(process_, page_, &r, sizeof r, nullptr)) return {};
    return r;
  }

  int RowHeight(HWND list) {
    RECT r{};
    r.left = LVIR_BOUNDS;
    if (!WriteProcessMemory(process_, page_, &r, sizeof r, nullptr)) return 0;
    Ask(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(page_));
    if (!ReadProcessMemory(process_, page_, &r, sizeof r, nullptr)) return 0;
    return r.bottom - r.top;
  }

  std::string CellText(HWND list, int row, int column) {
    char* base = static_cast<char*>(page_);
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = base + kTextOffset;
    item.cchTextMax = kTextBytes;
    const char empty = '\0';
    if (!WriteProcessMemory(process_, base + kTextOffset, &empty, 1, nullptr)) return {};
    if (!WriteProcessMemory(process_, base, &item, sizeof item, nullptr)) return {};
    Ask(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(base));
    char text[kTextBytes + 1] = {};
    if (!ReadProcessMemory(process_, base + kTextOffset, text, kTextBytes, nullptr)) return {};
    return text;
  }

 private:
  static constexpr SIZE_T kSize = 4096;
  static constexpr int kTextOffset = 1024;
  static constexpr int kTextBytes = 1024;
  HANDLE process_ = nullptr;
  void* page_ = nullptr;
};

int Rows(const char* sel) {
  HWND list = ListOf(sel);
  if (!list) return kNotFound;
  RemotePage page(list);
  if (!page.ok()) return kNoMemory;
  std::printf("widths");
  for (int c = 0; c < 4; ++c) std::printf(" %d", static_cast<int>(Ask(list, LVM_GETCOLUMNWIDTH, c, 0)));
  std::printf("\n");
  const int count = static_cast<int>(Ask(list, LVM_GETITEMCOUNT, 0, 0));
  std::printf("rowheight %d\n", count > 0 ? page.RowHeight(list) : 0);
  for (int r = 0; r < count; ++r) {
    const bool selected = (Ask(list, LVM_GETITEMSTATE, r, LVIS_SELECTED) & LVIS_SELECTED) != 0;
    std::printf("%d\t%d", r, selected ? 1 : 0);
    for (int c = 0; c < 4; ++c) std::printf("\t%s", Escape(page.CellText(list, r, c)).c_str());
    std::printf("\n");
  }
  return kOk;
}

int Point(const char* sel, const char* row_s) {
  HWND list = ListOf(sel);
  if (!list) return kNotFound;
  RemotePage page(list);
  if (!page.ok()) return kNoMemory;
  const RECT r = page.CellRect(list, std::atoi(row_s), 2);
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(list, &p);
  std::printf("%ld %ld\n", static_cast<long>(p.x), static_cast<long>(p.y));
  return kOk;
}

int Divider(const char* sel, const char* column_s) {
  HWND list = ListOf(sel);
  if (!list) return kNotFound;
  HWND header = reinterpret_cast<HWND>(Ask(list, LVM_GETHEADER, 0, 0));
  const int column = std::atoi(column_s);
  RECT h{};
  GetWindowRect(header, &h);
  POINT p{0, (h.top + h.bottom) / 2};
  POINT origin{0, 0};
  ClientToScreen(header, &origin);
  int x = origin.x;
  for (int c = 0; c <= column; ++c) x += static_cast<int>(Ask(list, LVM_GETCOLUMNWIDTH, c, 0));
  p.x = x;
  std::printf("%ld %ld\n", static_cast<long>(p.x), static_cast<long>(p.y));
  return kOk;
}

int Layout(const char* sel) {
  HWND top = nullptr;
  HWND list = ListOf(sel, &top);
  if (!list) return kNotFound;
  RECT r{};
  GetWindowRect(list, &r);
  MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&r), 2);
  std::printf("list %ld %ld %ld %ld\n", static_cast<long>(r.left), static_cast<long>(r.top),
              static_cast<long>(r.right - r.left), static_cast<long>(r.bottom - r.top));
  bool bar = false, panel = false;
  for (HWND c = GetWindow(top, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    char cls[64] = {};
    GetClassNameA(c, cls, sizeof cls);
    if (!IsWindowVisible(c)) continue;
    if (lstrcmpiA(cls, TOOLBARCLASSNAMEA) == 0) bar = true;
    if (lstrcmpiA(cls, "Button") == 0) panel = true;
  }
  std::printf("bar %d\npanel %d\n", bar ? 1 : 0, panel ? 1 : 0);
  return kOk;
}

int Widths(const char* sel, char** widths) {
  HWND list = ListOf(sel);
  if (!list) return kNotFound;
  for (int c = 1; c <= 3; ++c) {
    const int w = std::atoi(widths[c - 1]);
    if (w <= 0) return kBadArgs;
    Ask(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(c), MAKELPARAM(w, 0));
  }
  return kOk;
}

double NowMs() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

// Waits until `done` holds and the list has no part left to paint; false
// when that takes longer than an answer may.
template <typename Done>
bool WaitPainted(HWND list, double start, Done done) {
  while (NowMs() - start < kAnswerMs) {
    if (done() && !GetUpdateRect(list, nullptr, FALSE)) return true;
    Sleep(0);
  }
  return false;
}

int Time(const char* sel, const char* id_s, const char* repeats_s) {
  HWND top = nullptr;
  HWND list = ListOf(sel, &top);
  const int id = std::atoi(id_s);
  const int repeats = std::atoi(repeats_s);
  if (!list) return kNotFound;
  if (id <= 0 || repeats <= 0) return kBadArgs;
  for (int i = 0; i < repeats; ++i) {
    const double start = NowMs();
    // Sent, so it returns once the command has run; then the list's own
    // repaint: its update region empties once it has painted.
    Ask(top, WM_COMMAND, static_cast<WPARAM>(id), 0);
    if (!WaitPainted(list, start, [] { return true; })) return kTimedOut;
    std::printf("%s%.3f", i ? " " : "", NowMs() - start);
  }
  std::printf("\n");
  return kOk;
}

HWND FindBox(DWORD pid, const char* caption) {
  struct Search {
    DWORD pid;
    const char* caption;
    HWND found = nullptr;
  } search{pid, caption};
  EnumWindows(
      [](HWND h, LPARAM lp) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(h, &owner);
        char title[256] = {}, cls[64] = {};
        GetWindowTextA(h, title, sizeof title);
        GetClassNameA(h, cls, sizeof cls);
        if (owner != s->pid || !IsWindowVisible(h) || lstrcmpA(cls, "#32770") != 0 ||
            lstrcmpA(title, s->caption) != 0)
          return TRUE;
        s->found = h;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindYes(HWND box) {
  HWND found = nullptr;
  EnumChildWindows(
      box,
      [](HWND h, LPARAM lp) -> BOOL {
        if (GetDlgCtrlID(h) != IDYES) return TRUE;
        *reinterpret_cast<HWND*>(lp) = h;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

int Confirm(const char* sel, const char* id_s, const char* caption, const char* repeats_s) {
  HWND top = nullptr;
  HWND list = ListOf(sel, &top);
  const int id = std::atoi(id_s);
  const int repeats = std::atoi(repeats_s);
  if (!list) return kNotFound;
  if (id <= 0 || repeats <= 0) return kBadArgs;
  DWORD pid = 0;
  GetWindowThreadProcessId(top, &pid);
  for (int i = 0; i < repeats; ++i) {
    const LRESULT count = Ask(list, LVM_GETITEMCOUNT, 0, 0);
    PostMessageA(top, WM_COMMAND, static_cast<WPARAM>(id), 0);
    const double asked = NowMs();
    HWND box = nullptr, yes = nullptr;
    while (!(box = FindBox(pid, caption)) || !(yes = FindYes(box))) {
      if (NowMs() - asked > kAnswerMs) {
        std::fprintf(stderr, "round %d: no question \"%s\"\n", i + 1, caption);
        return kTimedOut;
      }
      Sleep(1);
    }
    const double start = NowMs();
    PostMessageA(yes, BM_CLICK, 0, 0);
    if (!WaitPainted(list, start, [&] { return Ask(list, LVM_GETITEMCOUNT, 0, 0) != count; })) {
      std::fprintf(stderr, "round %d: rows %d, now %d\n", i + 1, static_cast<int>(count),
                   static_cast<int>(Ask(list, LVM_GETITEMCOUNT, 0, 0)));
      return kTimedOut;
    }
    std::printf("%s%.3f", i ? " " : "", NowMs() - start);
  }
  std::printf("\n");
  return kOk;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "rows") return Rows(argv[2]);
  if (argc == 5 && std::string(argv[1]) == "time") return Time(argv[2], argv[3], argv[4]);
  if (argc == 6 && std::string(argv[1]) == "widths") return Widths(argv[2], argv + 3);
  if (argc == 4 && std::string(argv[1]) == "point") return Point(argv[2], argv[3]);
  if (argc == 3 && std::string(argv[1]) == "layout") return Layout(argv[2]);
  if (argc == 4 && std::string(argv[1]) == "divider") return Divider(argv[2], argv[3]);
  if (argc == 6 && std::string(argv[1]) == "confirm") return Confirm(argv[2], argv[3], argv[4], argv[5]);
  std::fprintf(stderr, "usage: macrolistprobe rows|point|layout|widths|time <window> ...\n");
  return kBadArgs;
}
