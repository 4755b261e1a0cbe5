// Reads a list box of another program's window, for end-to-end tests that
// choose an entry with the keyboard as a user would and need to know where
// it stands.
//
//   listprobe <window title> <control id>
//
// Prints "selected <index>" (-1 for none), then one line per entry:
// "<index>\t<text>", the text escaped: backslash, tab, CR and LF as \\ \t
// \r \n. <window title> is an exact title or, failing that, the
// first visible top-level window whose title contains it. Exit codes: 0
// done, 1 window or control not found, 3 bad arguments.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Search {
  const char* part;
  HWND found;
};

BOOL CALLBACK FindByPart(HWND w, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  char title[512] = {};
  ::GetWindowTextA(w, title, sizeof title);
  if (::IsWindowVisible(w) && std::strstr(title, s->part)) {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

HWND FindTopLevel(const char* title) {
  if (HWND exact = ::FindWindowA(nullptr, title)) return exact;
  Search s{title, nullptr};
  ::EnumWindows(&FindByPart, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 3;
  HWND window = FindTopLevel(argv[1]);
  if (!window) return 1;
  HWND list = ::GetDlgItem(window, std::atoi(argv[2]));
  if (!list) return 1;
  const LRESULT count = ::SendMessageA(list, LB_GETCOUNT, 0, 0);
  std::printf("selected %d\n", static_cast<int>(::SendMessageA(list, LB_GETCURSEL, 0, 0)));
  // The wide messages: Wine hands the text of another process's list box
  // over as Unicode, and its conversion for the ANSI messages loses all
  // but the first character.
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT n = ::SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring wide(n > 0 ? static_cast<size_t>(n) + 1 : 1, L'\0');
    const LRESULT got =
        ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide.data()));
    wide.resize(got > 0 ? static_cast<size_t>(got) : 0);
    std::string text(wide.size() * 2 + 1, '\0');
    const int bytes = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                                            static_cast<int>(text.size()), nullptr, nullptr);
    text.resize(bytes > 0 ? static_cast<size_t>(bytes) : 0);
    std::string escaped;
    for (char c : text) {
      switch (c) {
        case '\\': escaped += "\\\\"; break;
        case '\t': escaped += "\\t"; break;
        case '\r': escaped += "\\r"; break;
        case '\n': escaped += "\\n"; break;
        default: escaped += c; break;
      }
    }
    std::printf("%d\t%s\n", static_cast<int>(i), escaped.c_str());
  }
  return 0;
}
