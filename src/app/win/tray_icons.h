#pragma once
// The program's icons in the notification area: its own icon (present
// while "Use Tray" is on) and one icon for each popup-menu macro placed in
// the tray, at most 15.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "activation/record_source.h"
#include "platform/win32/task_icon.h"
#include "store/macro_tables.h"
#include "store/shared_blocks.h"

namespace qlx {

class TTrayIcons {
 public:
  struct Events {
    std::function<void()> program_click;
    std::function<void(POINT)> program_right_click;
    // A menu icon right-clicked: its macro and where.
    std::function<void(int, POINT)> menu_right_click;
  };

  TTrayIcons() = default;
  TTrayIcons(const TTrayIcons&) = delete;
  TTrayIcons& operator=(const TTrayIcons&) = delete;

  // At start-up: the program's icon, in the tray when `active`.
  void Create(HINSTANCE instance, Events events, bool active);
  void SetProgramIconActive(bool on);
  bool ProgramIconActive() const { return program_ && program_->Active(); }

  // DoMenuTaskIcon: an icon for each popup-menu macro placed in the tray,
  // in number order, the first 15.
  void DoMenuTaskIcon(const ActivationBlock& block, const MacroNameTables& names, IRecordSource& records,
                      const std::string& program_dir);
  // ClearMenuTaskIcon: every menu icon leaves the tray.
  void ClearMenuTaskIcon();
  int MenuIconCount() const { return static_cast<int>(menus_.size()); }

 private:
  HICON MenuPicture(const MacroRecord& record, const std::string& program_dir) const;

  HINSTANCE instance_ = nullptr;
  Events events_;
  std::unique_ptr<TTaskIcon> program_;
  std::vector<std::unique_ptr<TTaskIcon>> menus_;
};

}  // namespace qlx
