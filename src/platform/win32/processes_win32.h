#pragma once
#include <windows.h>

#include "platform/processes.h"
#include "platform/win32/win_handles.h"

namespace qlx {

// Process lookup bound at run time: the process-status functions of
// PSAPI.DLL on the NT family, the Toolhelp snapshot functions otherwise
// (and whenever PSAPI cannot be loaded).
class Win32Processes : public IProcesses {
 public:
  Win32Processes();
  std::vector<ProcessInfo> Running() override;
  std::string ExeNameOf(uint32_t process_id) override;

  bool UsesProcessStatus() const { return enum_processes_ != nullptr; }

 private:
  using EnumProcessesFn = BOOL(WINAPI*)(DWORD*, DWORD, DWORD*);
  using EnumProcessModulesFn = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, DWORD*);
  using GetModuleBaseNameFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPSTR, DWORD);
  using CreateSnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
  using ProcessWalkFn = BOOL(WINAPI*)(HANDLE, void*);

  std::string NameByProcessStatus(DWORD pid) const;
  std::vector<ProcessInfo> RunningBySnapshot() const;

  win::Module psapi_;
  EnumProcessesFn enum_processes_ = nullptr;
  EnumProcessModulesFn enum_process_modules_ = nullptr;
  GetModuleBaseNameFn get_module_base_name_ = nullptr;
  CreateSnapshotFn create_snapshot_ = nullptr;
  ProcessWalkFn process_first_ = nullptr;
  ProcessWalkFn process_next_ = nullptr;
};

}  // namespace qlx
