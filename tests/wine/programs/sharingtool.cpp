// Helper of the sharing tests: installs a printer in the prefix and drives
// the program's dialogs by window title and control id.
//   sharingtool addprinter NAME PPD PORT Wine PostScript printer, made the default
//   sharingtool command TITLE ID          posts WM_COMMAND ID to the window
//   sharingtool settext TITLE ID TEXT     sets a control's text
//   sharingtool lbselect TITLE ID all|none|I,J,...   selects list-box rows
//   sharingtool filename TITLE PATH       types a file name into a file dialog and accepts it
//   sharingtool lvselect TITLE ROW        selects (and focuses) one row of the window's list view
// Exit codes: 0 done, 1 failed, 2 no such window or control, 3 bad arguments.
#include <windows.h>
#include <commctrl.h>
#include <winspool.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int kOk = 0, kFailed = 1, kNoWindow = 2, kBadArgs = 3;

HWND Find(const char* title) { return ::FindWindowA(nullptr, title); }

int AddPrinter(const char* name, const char* ppd, const char* port) {
  DRIVER_INFO_3A di{};
  di.cVersion = 3;
  di.pName = const_cast<char*>("Wine PostScript Driver");
  di.pEnvironment = nullptr;
  di.pDriverPath = const_cast<char*>("wineps.drv");
  di.pDataFile = const_cast<char*>(ppd);
  di.pConfigFile = const_cast<char*>("wineps.drv");
  if (!::AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&di)) &&
      ::GetLastError() != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED) {
    std::fprintf(stderr, "AddPrinterDriver: %lu\n", ::GetLastError());
    return kFailed;
  }
  PRINTER_INFO_2A pi{};
  pi.pPrinterName = const_cast<char*>(name);
  pi.pPortName = const_cast<char*>(port);
  pi.pDriverName = const_cast<char*>("Wine PostScript Driver");
  pi.pPrintProcessor = const_cast<char*>("WinPrint");
  pi.pDatatype = const_cast<char*>("RAW");
  pi.Attributes = PRINTER_ATTRIBUTE_LOCAL;
  HANDLE h = ::AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&pi));
  if (!h) {
    std::fprintf(stderr, "AddPrinter: %lu\n", ::GetLastError());
    return kFailed;
  }
  ::ClosePrinter(h);
  return ::SetDefaultPrinterA(name) ? kOk : kFailed;
}

int Command(const char* title, int id) {
  HWND w = Find(title);
  if (!w) return kNoWindow;
  return ::PostMessageA(w, WM_COMMAND, static_cast<WPARAM>(id), 0) ? kOk : kFailed;
}

int SetText(const char* title, int id, const char* text) {
  HWND w = Find(title);
  HWND c = w ? ::GetDlgItem(w, id) : nullptr;
  if (!c) return kNoWindow;
  ::SendMessageA(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  return kOk;
}

int ListSelect(const char* title, int id, const std::string& which) {
  HWND w = Find(title);
  HWND c = w ? ::GetDlgItem(w, id) : nullptr;
  if (!c) return kNoWindow;
  if (which == "all" || which == "none") {
    ::SendMessageA(c, LB_SETSEL, which == "all" ? TRUE : FALSE, -1);
    return kOk;
  }
  ::SendMessageA(c, LB_SETSEL, FALSE, -1);
  size_t pos = 0;
  while (pos <= which.size()) {
    const size_t comma = which.find(',', pos);
    const std::string item = which.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
    if (!item.empty()) ::SendMessageA(c, LB_SETSEL, TRUE, std::atoi(item.c_str()));
    if (comma == std::string::npos) break;
    pos = comma + 1;
  }
  return kOk;
}

BOOL CALLBACK FindFileNameEdit(HWND child, LPARAM out) {
  char cls[32] = {};
  ::GetClassNameA(child, cls, sizeof cls);
  const int id = ::GetDlgCtrlID(child);
  // The file name box: edt1, or the edit inside the combo box cmb13.
  if (lstrcmpiA(cls, "Edit") == 0 && (id == 0x480 || ::GetDlgCtrlID(::GetParent(child)) == 0x47c)) {
    *reinterpret_cast<HWND*>(out) = child;
    return FALSE;
  }
  return TRUE;
}

int FileName(const char* title, const char* path) {
  HWND w = Find(title);
  if (!w) return kNoWindow;
  HWND edit = nullptr;
  ::EnumChildWindows(w, &FindFileNameEdit, reinterpret_cast<LPARAM>(&edit));
  if (!edit) return kNoWindow;
  ::SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path));
  return ::PostMessageA(w, WM_COMMAND, IDOK, 0) ? kOk : kFailed;
}

BOOL CALLBACK FindListView(HWND child, LPARAM out) {
  char cls[32] = {};
  ::GetClassNameA(child, cls, sizeof cls);
  if (lstrcmpiA(cls, WC_LISTVIEWA) != 0) return TRUE;
  *reinterpret_cast<HWND*>(out) = child;
  return FALSE;
}

// The item goes through the program's own memory: a list view reads it there.
int ListViewSelect(const char* title, int row) {
  HWND w = Find(title);
  if (!w) return kNoWindow;
  HWND list = nullptr;
  ::EnumChildWindows(w, &FindListView, reinterpret_cast<LPARAM>(&list));
  if (!list) return kNoWindow;
  DWORD pid = 0;
  ::GetWindowThreadProcessId(list, &pid);
  HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
  if (!process) return kFailed;
  void* remote = ::VirtualAllocEx(process, nullptr, sizeof(LVITEMA), MEM_COMMIT, PAGE_READWRITE);
  int rc = kFailed;
  if (remote) {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    if (::WriteProcessMemory(process, remote, &item, sizeof item, nullptr) &&
        ::SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote)))
      rc = kOk;
    ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  ::CloseHandle(process);
  return rc;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return kBadArgs;
  const std::string cmd = argv[1];
  if (cmd == "addprinter" && argc == 5) return AddPrinter(argv[2], argv[3], argv[4]);
  if (cmd == "command" && argc == 4) return Command(argv[2], std::atoi(argv[3]));
  if (cmd == "settext" && argc == 5) return SetText(argv[2], std::atoi(argv[3]), argv[4]);
  if (cmd == "lbselect" && argc == 5) return ListSelect(argv[2], std::atoi(argv[3]), argv[4]);
  if (cmd == "filename" && argc == 4) return FileName(argv[2], argv[3]);
  if (cmd == "lvselect" && argc == 4) return ListViewSelect(argv[2], std::atoi(argv[3]));
  return kBadArgs;
}
