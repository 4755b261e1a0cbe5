#include "platform/win32/processes_win32.h"

#include <tlhelp32.h>

#include <vector>

namespace qlx {
namespace {

constexpr DWORD kNameChars = 256;

bool IsNtFamily() {
  // The Windows 95 family sets the top bit of the version word.
  return (::GetVersion() & 0x80000000u) == 0;
}

std::string FilePart(const char* path) {
  std::string s(path);
  const size_t slash = s.find_last_of("\\/");
  return slash == std::string::npos ? s : s.substr(slash + 1);
}

}  // namespace

Win32Processes::Win32Processes() {
  if (IsNtFamily()) {
    psapi_.reset(::LoadLibraryA("PSAPI.DLL"));
    enum_processes_ = win::BindProc<EnumProcessesFn>(psapi_.get(), "EnumProcesses");
    enum_process_modules_ = win::BindProc<EnumProcessModulesFn>(psapi_.get(), "EnumProcessModules");
    get_module_base_name_ = win::BindProc<GetModuleBaseNameFn>(psapi_.get(), "GetModuleBaseNameA");
    if (!enum_processes_ || !enum_process_modules_ || !get_module_base_name_) {
      enum_processes_ = nullptr;
      psapi_.reset();
    }
  }
  HMODULE kernel = ::GetModuleHandleA("KERNEL32.DLL");
  create_snapshot_ = win::BindProc<CreateSnapshotFn>(kernel, "CreateToolhelp32Snapshot");
  process_first_ = win::BindProc<ProcessWalkFn>(kernel, "Process32First");
  process_next_ = win::BindProc<ProcessWalkFn>(kernel, "Process32Next");
}

std::string Win32Processes::NameByProcessStatus(DWORD pid) const {
  win::Handle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
  if (!process) return {};
  HMODULE first = nullptr;
  DWORD needed = 0;
  if (!enum_process_modules_(process.get(), &first, sizeof first, &needed)) return {};
  char name[kNameChars] = {};
  const DWORD n = get_module_base_name_(process.get(), first, name, kNameChars);
  return std::string(name, n < kNameChars ? n : 0);
}

std::vector<ProcessInfo> Win32Processes::RunningBySnapshot() const {
  std::vector<ProcessInfo> out;
  if (!create_snapshot_ || !process_first_ || !process_next_) return out;
  HANDLE raw = create_snapshot_(TH32CS_SNAPPROCESS, 0);
  if (raw == INVALID_HANDLE_VALUE) return out;
  win::Handle snapshot(raw);
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = process_first_(snapshot.get(), &entry); more;
       more = process_next_(snapshot.get(), &entry)) {
    entry.szExeFile[sizeof entry.szExeFile - 1] = '\0';
    out.push_back({entry.th32ProcessID, FilePart(entry.szExeFile)});
    entry.dwSize = sizeof entry;
  }
  return out;
}

std::vector<ProcessInfo> Win32Processes::Running() {
  if (!enum_processes_) return RunningBySnapshot();
  // Grow the list until it has room to spare: a full list may have lost
  // processes at its end.
  std::vector<DWORD> ids(512);
  DWORD bytes = 0;
  for (;;) {
    const DWORD room = static_cast<DWORD>(ids.size() * sizeof(DWORD));
    if (!enum_processes_(ids.data(), room, &bytes)) return RunningBySnapshot();
    if (bytes < room || ids.size() >= 65536) break;
    ids.resize(ids.size() * 2);
  }
  std::vector<ProcessInfo> out;
  for (size_t i = 0; i < bytes / sizeof(DWORD); ++i) {
    std::string name = NameByProcessStatus(ids[i]);
    if (!name.empty()) out.push_back({ids[i], std::move(name)});
  }
  return out;
}

std::string Win32Processes::ExeNameOf(uint32_t process_id) {
  if (enum_processes_) return NameByProcessStatus(process_id);
  for (ProcessInfo& p : RunningBySnapshot())
    if (p.id == process_id) return std::move(p.exe_name);
  return {};
}

}  // namespace qlx
