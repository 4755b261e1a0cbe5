#include "platform/win32/clipboard_win32.h"

#include <cstring>

#include "platform/win32/win_handles.h"

namespace qlx {
namespace {

// An open clipboard, closed when it goes.
class OpenClipboardScope {
 public:
  explicit OpenClipboardScope(HWND owner) {
    for (int i = 0; i < Win32Clipboard::kOpenAttempts && !open_; ++i) {
      open_ = ::OpenClipboard(owner) != 0;
      if (!open_) ::Sleep(Win32Clipboard::kOpenRetryMs);
    }
  }
  ~OpenClipboardScope() {
    if (open_) ::CloseClipboard();
  }
  OpenClipboardScope(const OpenClipboardScope&) = delete;
  OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
  bool open() const { return open_; }

 private:
  bool open_ = false;
};

}  // namespace

bool Win32Clipboard::SetText(std::string_view text) {
  win::GlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
  if (!memory) return false;
  void* p = ::GlobalLock(memory.get());
  if (!p) return false;
  if (!text.empty()) std::memcpy(p, text.data(), text.size());
  static_cast<char*>(p)[text.size()] = '\0';
  ::GlobalUnlock(memory.get());

  OpenClipboardScope clipboard(owner_);
  if (!clipboard.open() || !::EmptyClipboard()) return false;
  if (!::SetClipboardData(CF_TEXT, memory.get())) return false;
  memory.release();  // the clipboard owns it now
  return true;
}

}  // namespace qlx
