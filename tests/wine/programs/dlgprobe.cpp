// Looks at one top-level window of a Wine session and prints its geometry
// and its controls, tab separated:
//
//   window HWND LEFT TOP RIGHT BOTTOM CLIENTW CLIENTH TOPMOST FONT HEIGHT CAPTION
//   control CLASS ID LEFT TOP WIDTH HEIGHT VISIBLE FONT HEIGHT STYLE TEXT
//
// Control places are in the window's client coordinates; FONT and HEIGHT
// are the face name and LOGFONT height of the font the window or control
// uses; STYLE is the control's window style in hex. Texts are escaped as
// wintool escapes them.
//
//   dlgprobe.exe <window>     a handle ("0x...") or a title: an exact title
//                             wins, else the first visible window whose
//                             title contains the text
//   dlgprobe.exe --template <exe> <id>
//                             the dialog template <id> of a program file:
//                             template POINTS WEIGHT FACE STYLE EXSTYLE CAPTION
// Fonts cannot be read across processes, so the template shows what the
// dialog manager was asked for.
// Exit codes: 0 done, 1 no such window or template, 3 bad arguments.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "top_windows.h"

namespace qlx {
namespace {

std::string Escape(const std::string& s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      default: out += c;
    }
  }
  return out;
}

// WM_GETTEXT rather than GetWindowText: only the message reads the text of
// an edit control of another process.
std::string TextOf(HWND h) {
  char buf[1024] = {};
  DWORD_PTR got = 0;
  SendMessageTimeoutA(h, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG,
                      2000, &got);
  buf[sizeof buf - 1] = '\0';
  return buf;
}

std::string ClassOf(HWND h) {
  char buf[256] = {};
  GetClassNameA(h, buf, sizeof buf);
  return buf;
}

void FontOf(HWND h, std::string& face, long& height) {
  face = "-";
  height = 0;
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(h, WM_GETFONT, 0, 0));
  if (!font) return;
  LOGFONTA lf{};
  if (GetObjectA(font, sizeof lf, &lf) != sizeof lf) return;
  face = lf.lfFaceName;
  height = lf.lfHeight;
}

BOOL CALLBACK PrintChild(HWND c, LPARAM lp) {
  HWND parent = reinterpret_cast<HWND>(lp);
  if (GetParent(c) != parent) return TRUE;
  RECT r;
  GetWindowRect(c, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  std::string face;
  long height = 0;
  FontOf(c, face, height);
  std::printf("control\t%s\t%d\t%ld\t%ld\t%ld\t%ld\t%d\t%s\t%ld\t%lx\t%s\n",
              Escape(ClassOf(c)).c_str(), GetDlgCtrlID(c), r.left, r.top, r.right - r.left,
              r.bottom - r.top, IsWindowVisible(c) ? 1 : 0, Escape(face).c_str(), height,
              static_cast<unsigned long>(GetWindowLongA(c, GWL_STYLE)),
              Escape(TextOf(c)).c_str());
  return TRUE;
}

// A wide string of a template, moved past; ASCII is all the program uses.
std::string TemplateString(const WORD*& p) {
  std::string out;
  while (*p) out += static_cast<char>(*p++ & 0xFF);
  ++p;
  return out;
}

// A name-or-ordinal field of a template, moved past.
void SkipNameOrOrdinal(const WORD*& p) {
  if (*p == 0xFFFF) p += 2;
  else TemplateString(p);
}

int PrintTemplate(const char* exe, int id) {
  HMODULE module = LoadLibraryExA(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) {
    std::fprintf(stderr, "cannot load %s: error %lu\n", exe, static_cast<unsigned long>(GetLastError()));
    return 1;
  }
  HRSRC res = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));  // RT_DIALOG
  HGLOBAL loaded = res ? LoadResource(module, res) : nullptr;
  const auto* p = static_cast<const WORD*>(loaded ? LockResource(loaded) : nullptr);
  if (!p || p[1] != 0xFFFF) {  // DLGTEMPLATEEX only
    std::fprintf(stderr, "no extended dialog template %d in %s\n", id, exe);
    FreeLibrary(module);
    return 1;
  }
  DWORD ex_style = 0, style = 0;
  std::memcpy(&ex_style, p + 4, sizeof ex_style);
  std::memcpy(&style, p + 6, sizeof style);
  p += 13;  // version, signature, help id, styles, item count, x, y, cx, cy
  SkipNameOrOrdinal(p);  // menu
  SkipNameOrOrdinal(p);  // class
  const std::string caption = TemplateString(p);
  int points = 0, weight = 0;
  std::string face = "-";
  if (style & DS_SETFONT) {
    points = p[0];
    weight = p[1];
    p += 3;  // point size, weight, italic and charset bytes
    face = TemplateString(p);
  }
  std::printf("template\t%d\t%d\t%s\t%lx\t%lx\t%s\n", points, weight, Escape(face).c_str(),
              static_cast<unsigned long>(style), static_cast<unsigned long>(ex_style),
              Escape(caption).c_str());
  FreeLibrary(module);
  return 0;
}

}  // namespace
}  // namespace qlx

int main(int argc, char** argv) {
  using namespace qlx;
  if (argc == 4 && std::string(argv[1]) == "--template")
    return PrintTemplate(argv[2], std::atoi(argv[3]));
  if (argc != 2) return 3;
  HWND window = testprog::FindTopWindow(argv[1]);
  if (!window) return 1;
  RECT r, client;
  GetWindowRect(window, &r);
  GetClientRect(window, &client);
  std::string face;
  long height = 0;
  FontOf(window, face, height);
  const bool topmost = (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  std::printf("window\t%llx\t%ld\t%ld\t%ld\t%ld\t%ld\t%ld\t%d\t%s\t%ld\t%s\n",
              static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)), r.left, r.top,
              r.right, r.bottom, client.right, client.bottom, topmost ? 1 : 0,
              Escape(face).c_str(), height, Escape(TextOf(window)).c_str());
  EnumChildWindows(window, PrintChild, reinterpret_cast<LPARAM>(window));
  return 0;
}
