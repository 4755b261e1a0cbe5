#pragma once
// QLXHOOK.DLL as the program sees it: four installers and one remover,
// bound at start from the program's own folder.
#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/win32/win_handles.h"

namespace qlx {

class HookLibrary {
 public:
  // False when the library or one of its entry points is missing.
  bool Load(const std::string& program_dir);

  uint32_t HookKeyboard() const { return keyboard_ ? keyboard_() : 0; }
  uint32_t HookMouse() const { return mouse_ ? mouse_() : 0; }
  uint32_t HookSwap() const { return swap_ ? swap_() : 0; }
  uint32_t HookCBT() const { return cbt_ ? cbt_() : 0; }
  void UnHook(uint32_t handle) const {
    if (unhook_ && handle) unhook_(handle);
  }

 private:
  using InstallFn = uint32_t (*)();
  using RemoveFn = void (*)(uint32_t);
  win::Module module_;
  InstallFn keyboard_ = nullptr;
  InstallFn mouse_ = nullptr;
  InstallFn swap_ = nullptr;
  InstallFn cbt_ = nullptr;
  RemoveFn unhook_ = nullptr;
};

}  // namespace qlx
