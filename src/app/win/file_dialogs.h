#pragma once
// The common file dialogs of printing, import and export: filters written
// as "Name|*.EXT|..." and the file name the user chose.
#include <windows.h>

#include <commdlg.h>

#include <optional>
#include <string>
#include <string_view>

namespace qlx {

// Zero bytes for the bars and two at the end, as Windows reads a filter.
inline std::string CommonDialogFilter(std::string_view bars) {
  std::string out(bars);
  for (char& c : out)
    if (c == '|') c = '\0';
  out.push_back('\0');
  out.push_back('\0');
  return out;
}

struct FileDialogRequest {
  const char* title = nullptr;
  const char* filter = nullptr;      // "Name|*.EXT|..."
  const char* default_extension = nullptr;
  DWORD flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
  bool save = false;
};

// The chosen name; nothing when the dialog was cancelled.
inline std::optional<std::string> AskFileName(HWND owner, const FileDialogRequest& r) {
  char buffer[MAX_PATH] = {};
  const std::string filter = CommonDialogFilter(r.filter ? r.filter : "");
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = buffer;
  ofn.nMaxFile = sizeof buffer;
  ofn.lpstrDefExt = r.default_extension;
  ofn.lpstrTitle = r.title;
  ofn.Flags = r.flags;
  const BOOL ok = r.save ? ::GetSaveFileNameA(&ofn) : ::GetOpenFileNameA(&ofn);
  if (!ok) return std::nullopt;
  return std::string(buffer);
}

}  // namespace qlx
