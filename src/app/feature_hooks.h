#pragma once
// Steps of the main window's work that belong to features still to come:
// the tray icons of popup-menu macros, network mode, the screen saver, the
// schedule and key remapping. The macro-file switch and the list
// operations call them at their places; each does nothing until its
// feature overrides it.
#include <string>

#include "store/macro_record.h"

namespace qlx {

class FeatureHooks {
 public:
  virtual ~FeatureHooks() = default;
  // Popup-menu macros: their tray icons.
  virtual void ClearMenuTaskIcon() {}
  virtual void DoMenuTaskIcon() {}
  // Network mode: the sync record of the file just made current.
  virtual void ReadSyncRecord(const std::string& /*macro_file*/) {}
  // Scheduler: the table of timed macros, the screen-saver setting and the
  // "Set Schedule" dialog for a macro that has just become timed.
  virtual void CheckAndSetTime() {}
  // `only_if_timed`: only when the file has an active timed macro (a file
  // just opened); without it after a timed macro was added or changed.
  virtual void CheckForScreenSaver(bool /*only_if_timed*/) {}
  virtual void EditSchedule(MacroRecord& /*record*/) {}
  // The schedule in words, for Quick Info.
  virtual std::string ScheduleDescription(const MacroRecord& /*record*/) { return std::string(); }
  // Key remapping: the key-remap file of the current macro file.
  virtual void GetSwapFile() {}
};

}  // namespace qlx
