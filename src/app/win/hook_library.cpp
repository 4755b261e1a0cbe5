#include "app/win/hook_library.h"

namespace qlx {
namespace {

template <typename Fn>
Fn Bind(HMODULE m, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(m, name)));
}

}  // namespace

bool HookLibrary::Load(const std::string& program_dir) {
  std::string path = program_dir + "\\QLXHOOK.DLL";
  module_.reset(::LoadLibraryA(path.c_str()));
  if (!module_) return false;
  HMODULE m = module_.get();
  keyboard_ = Bind<InstallFn>(m, "QlxHookKeyboard");
  mouse_ = Bind<InstallFn>(m, "QlxHookMouse");
  swap_ = Bind<InstallFn>(m, "QlxHookSwap");
  cbt_ = Bind<InstallFn>(m, "QlxHookCBT");
  unhook_ = Bind<RemoveFn>(m, "QlxUnHook");
  return keyboard_ && mouse_ && swap_ && cbt_ && unhook_;
}

}  // namespace qlx
