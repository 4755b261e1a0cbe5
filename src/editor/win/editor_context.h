#pragma once
// What the macro editors and the command dialogs are given by whoever opens
// them: the settings, the program folder, the system services they look
// through, and the features that arrive with other parts of the program.
#include <windows.h>

#include <functional>
#include <string>

#include "editor/command_dialogs.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/processes.h"
#include "platform/sound.h"
#include "store/macro_record.h"
#include "store/settings.h"

namespace qlx {

class TDoScripting;

struct EditorContext {
  Settings& settings;
  std::string program_dir;
  IDesktop& desktop;      // the running windows offered for a window title
  IProcesses& processes;  // the running programs offered for a program name
  const IClock& clock;
  ISound& sound;          // the sound dialog's "&Test"
  editor::IPathChecks& paths;

  // Features that arrive with other parts of the program: a button whose
  // function is not set is shown, disabled.
  std::function<void(HWND owner, MacroRecord& record)> set_schedule;     // "Se&t Schedule"
  std::function<void(HWND owner, TDoScripting& editor)> command_wizard;  // "Command Wizard"

  // The direct editors take the program's keyboard hook away while they
  // are open, so typing in them starts no macro.
  std::function<void()> remove_keyboard_hook;
  std::function<void()> restore_keyboard_hook;
};

// What an editor opens on: the main window's working record (changed only
// when the user accepts), whether the macro is already in the file, and
// whether another macro holds its hot key globally.
struct EditRequest {
  MacroRecord& record;
  bool existing = true;
  bool global_not_allowed = false;
};

}  // namespace qlx
