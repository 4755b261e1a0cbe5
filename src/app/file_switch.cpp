#include "app/file_switch.h"

namespace qlx {

std::vector<SwitchStep> SwitchSteps(SwitchEntry entry, const SwitchOptions& options) {
  using S = SwitchStep;
  const bool open = entry == SwitchEntry::Open;
  const bool recent = entry == SwitchEntry::RecentFile;
  const bool swap = entry == SwitchEntry::SwapToken;
  const bool command_line = entry == SwitchEntry::CommandLine;

  std::vector<S> steps;
  // At start-up no tray icon exists yet.
  if (!command_line && !swap) steps.push_back(S::ClearMenuTaskIcon);
  // A recent file becomes current only once it is listed as opened.
  if (!recent) steps.push_back(S::SetCurrentName);
  if (options.network_mode) steps.push_back(S::ReadSyncRecord);
  if (swap) steps.push_back(S::ClearMenuTaskIcon);
  steps.push_back(S::Load);
  steps.push_back(S::SetHotKeys);
  if (options.disable_screen_saver && (open || recent || swap)) steps.push_back(S::CheckForScreenSaver);
  steps.push_back(S::DoCaption);
  steps.push_back(S::FillList);
  steps.push_back(S::SetButtons);
  steps.push_back(S::CheckAndSetTime);
  if (open || recent || swap) steps.push_back(S::DoMenuTaskIcon);
  if (swap) {
    steps.push_back(S::DoLastFiles);
    steps.push_back(S::GetSwapFile);
  } else if (!command_line) {
    steps.push_back(S::GetSwapFile);
    steps.push_back(S::DoLastFiles);
  }
  if (recent) steps.push_back(S::SetCurrentName);
  return steps;
}

void SwitchMacroFile(SwitchEntry entry, const std::string& name, const SwitchOptions& options,
                     IFileSwitchHost& host, FeatureHooks& hooks) {
  const std::string previous = host.CurrentFile();
  for (SwitchStep step : SwitchSteps(entry, options)) {
    switch (step) {
      case SwitchStep::ClearMenuTaskIcon: hooks.ClearMenuTaskIcon(); break;
      case SwitchStep::SetCurrentName: host.SetCurrentFile(name); break;
      case SwitchStep::ReadSyncRecord: hooks.ReadSyncRecord(name); break;
      case SwitchStep::Load: host.LoadMacroFile(name); break;
      case SwitchStep::SetHotKeys: host.SetHotKeys(); break;
      case SwitchStep::CheckForScreenSaver: hooks.CheckForScreenSaver(true); break;
      case SwitchStep::DoCaption: host.DoCaption(name); break;
      case SwitchStep::FillList: host.FillList(); break;
      case SwitchStep::SetButtons: host.SetButtons(); break;
      case SwitchStep::CheckAndSetTime: hooks.CheckAndSetTime(); break;
      case SwitchStep::DoMenuTaskIcon: hooks.DoMenuTaskIcon(); break;
      case SwitchStep::DoLastFiles: host.DoLastFiles(previous, name); break;
      case SwitchStep::GetSwapFile: hooks.GetSwapFile(); break;
    }
  }
}

}  // namespace qlx
