// Finding a top-level window of the session by its handle or title, shared by
// the test tools. When none matches, the tool says on stderr which windows it
// saw, so a failed lookup in a test log explains itself.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace qlx::testprog {

// The caption the system keeps for a top-level window: read without a
// message, so a busy or hung owner neither blocks nor blanks it.
inline std::string TitleOf(HWND h) {
  char buf[1024] = {};
  GetWindowTextA(h, buf, sizeof buf);
  return buf;
}

inline std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> all;
  EnumWindows(
      [](HWND h, LPARAM lp) -> BOOL {
        reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&all));
  return all;
}

inline void ReportNotFound(const std::string& sel, const std::vector<HWND>& seen, DWORD error) {
  std::fprintf(stderr, "no window \"%s\"; error %lu; %zu top-level windows:\n", sel.c_str(),
               static_cast<unsigned long>(error), seen.size());
  for (HWND h : seen)
    std::fprintf(stderr, "  %p %s \"%s\"\n", static_cast<void*>(h),
                 IsWindowVisible(h) ? "visible" : "hidden", TitleOf(h).c_str());
}

// `sel` is a handle ("0x...") or a title: an exact title wins, else the first
// visible window whose title contains the text.
inline HWND FindTopWindow(const std::string& sel) {
  if (sel.size() > 2 && sel[0] == '0' && (sel[1] == 'x' || sel[1] == 'X')) {
    HWND h = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(sel.c_str(), nullptr, 16)));
    if (IsWindow(h)) return h;
    ReportNotFound(sel, TopLevelWindows(), GetLastError());
    return nullptr;
  }
  SetLastError(0);
  const std::vector<HWND> all = TopLevelWindows();
  const DWORD error = GetLastError();
  HWND contains = nullptr;
  for (HWND h : all) {
    if (!IsWindowVisible(h)) continue;
    const std::string title = TitleOf(h);
    if (title == sel) return h;
    if (!contains && title.find(sel) != std::string::npos) contains = h;
  }
  if (!contains) ReportNotFound(sel, all, error);
  return contains;
}

}  // namespace qlx::testprog
