#pragma once
// Windows of the desktop: finding them, reading them, changing them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qlx {

// A window handle as a number; 0 is no window.
using WindowHandle = uintptr_t;

enum class ShowCommand : uint8_t { Show, Hide, Restore };

// A window's outer rectangle in screen pixels.
struct WindowRectangle {
  int left = 0, top = 0, right = 0, bottom = 0;
};

class IDesktop {
 public:
  virtual ~IDesktop() = default;

  // The top-level window whose title is exactly `title`, or 0.
  virtual WindowHandle FindTopLevelByTitle(std::string_view title) = 0;
  // All top-level windows, front to back, hidden ones included.
  virtual std::vector<WindowHandle> TopLevelWindows() = 0;
  // At most `max_chars` characters of the window's title.
  virtual std::string WindowTitle(WindowHandle window, size_t max_chars) = 0;
  virtual WindowHandle Foreground() = 0;
  virtual WindowHandle Parent(WindowHandle window) = 0;
  virtual uint32_t ProcessIdOf(WindowHandle window) = 0;
  virtual bool IsMinimized(WindowHandle window) = 0;
  // The window's rectangle, frame included; false when there is no window.
  virtual bool WindowRect(WindowHandle window, WindowRectangle& rect) = 0;

  virtual void ShowWindow(WindowHandle window, ShowCommand command) = 0;
  virtual void SetFocus(WindowHandle window) = 0;
  virtual void SetForeground(WindowHandle window) = 0;
  // Makes the window's top-level window the foreground and active window
  // and gives the keyboard focus to the window itself, also when it
  // belongs to another program.
  virtual void HandFocusTo(WindowHandle window) = 0;
  // True when the window's top-level window is in front and its program
  // has a focus window, so typed keys have somewhere to go.
  virtual bool AcceptsKeyboardInput(WindowHandle window) = 0;
  // True when the pointer is over the client area of the window's
  // top-level window and that window is the one in front there.
  virtual bool PointerOver(WindowHandle window) = 0;
  // True when a window brought up under the pointer hears the pointer enter
  // it as pointer input and then replaces the keyboard state with the
  // physical keyboard's, where keys this program pressed are up (Wine on X).
  virtual bool RaiseUnderPointerResyncsKeyboard() = 0;
  virtual void SetSize(WindowHandle window, int width, int height) = 0;
  virtual void SetPosition(WindowHandle window, int left, int top) = 0;
  // Posts WM_QUIT to the window, ending its program's message loop.
  virtual void PostQuit(WindowHandle window) = 0;
  // Sends WM_SYSCOMMAND and returns when the window has handled it.
  virtual void SendSysCommand(WindowHandle window, uint32_t command) = 0;
};

}  // namespace qlx
