#pragma once
// One sequence for every way of making another macro file current: Open,
// New, a recent-file item, "/F" on the command line and "<SWAP:" in a
// macro. The ways differ only in which steps they take and where the new
// name becomes current.
#include <string>
#include <vector>

#include "app/feature_hooks.h"

namespace qlx {

enum class SwitchEntry { Open, New, RecentFile, CommandLine, SwapToken };

enum class SwitchStep {
  ClearMenuTaskIcon,
  SetCurrentName,
  ReadSyncRecord,
  Load,
  SetHotKeys,
  CheckForScreenSaver,
  DoCaption,
  FillList,
  SetButtons,
  CheckAndSetTime,
  DoMenuTaskIcon,
  DoLastFiles,
  GetSwapFile,
};

struct SwitchOptions {
  bool network_mode = false;
  bool disable_screen_saver = false;
};

// The steps of one way, in order.
std::vector<SwitchStep> SwitchSteps(SwitchEntry entry, const SwitchOptions& options);

// The steps the main window itself carries out.
class IFileSwitchHost {
 public:
  virtual ~IFileSwitchHost() = default;
  virtual std::string CurrentFile() const = 0;
  virtual void SetCurrentFile(const std::string& name) = 0;
  virtual void LoadMacroFile(const std::string& name) = 0;
  virtual void SetHotKeys() = 0;
  // The caption shows `name` (the file being switched to).
  virtual void DoCaption(const std::string& name) = 0;
  virtual void FillList() = 0;
  // Enables the macro commands when the file holds macros.
  virtual void SetButtons() = 0;
  // Puts `previous` on top of the recent files, drops `opened` from them
  // and rebuilds their menu items.
  virtual void DoLastFiles(const std::string& previous, const std::string& opened) = 0;
};

void SwitchMacroFile(SwitchEntry entry, const std::string& name, const SwitchOptions& options,
                     IFileSwitchHost& host, FeatureHooks& hooks);

}  // namespace qlx
