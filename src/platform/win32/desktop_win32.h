#pragma once
#include <windows.h>

#include "platform/desktop.h"

namespace qlx {

inline HWND ToHwnd(WindowHandle h) { return reinterpret_cast<HWND>(h); }
inline WindowHandle FromHwnd(HWND h) { return reinterpret_cast<WindowHandle>(h); }

class Win32Desktop : public IDesktop {
 public:
  WindowHandle FindTopLevelByTitle(std::string_view title) override;
  std::vector<WindowHandle> TopLevelWindows() override;
  std::string WindowTitle(WindowHandle window, size_t max_chars) override;
  WindowHandle Foreground() override;
  WindowHandle Parent(WindowHandle window) override;
  uint32_t ProcessIdOf(WindowHandle window) override;
  bool IsMinimized(WindowHandle window) override;
  bool WindowRect(WindowHandle window, WindowRectangle& rect) override;
  void ShowWindow(WindowHandle window, ShowCommand command) override;
  void SetFocus(WindowHandle window) override;
  void SetForeground(WindowHandle window) override;
  void HandFocusTo(WindowHandle window) override;
  bool AcceptsKeyboardInput(WindowHandle window) override;
  bool PointerOver(WindowHandle window) override;
  bool RaiseUnderPointerResyncsKeyboard() override;
  void SetSize(WindowHandle window, int width, int height) override;
  void SetPosition(WindowHandle window, int left, int top) override;
  void PostQuit(WindowHandle window) override;
  void SendSysCommand(WindowHandle window, uint32_t command) override;

  // How long a system command may keep the program waiting on a window
  // that does not answer.
  static constexpr UINT kSysCommandTimeoutMs = 30000;
};

}  // namespace qlx
