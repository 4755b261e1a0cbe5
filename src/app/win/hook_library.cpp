#include "app/win/hook_library.h"

namespace qlx {

bool HookLibrary::Load(const std::string& program_dir) {
  std::string path = program_dir + "\\QLXHOOK.DLL";
  module_.reset(::LoadLibraryA(path.c_str()));
  if (!module_) return false;
  HMODULE m = module_.get();
  keyboard_ = win::BindProc<InstallFn>(m, "QlxHookKeyboard");
  mouse_ = win::BindProc<InstallFn>(m, "QlxHookMouse");
  swap_ = win::BindProc<InstallFn>(m, "QlxHookSwap");
  cbt_ = win::BindProc<InstallFn>(m, "QlxHookCBT");
  unhook_ = win::BindProc<RemoveFn>(m, "QlxUnHook");
  return keyboard_ && mouse_ && swap_ && cbt_ && unhook_;
}

}  // namespace qlx
