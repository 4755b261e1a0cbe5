#include "activation/top_window_menu.h"

#include "activation/dispatch.h"
#include "editor/popup_menu.h"
#include "engine/window_commands.h"

namespace qlx {
namespace {

constexpr size_t kMaxTitle = 255;

}  // namespace

std::string GetTopProgram(IDesktop& desktop, IProcesses& processes) {
  const WindowHandle front = desktop.Foreground();
  if (!front) return {};
  const uint32_t pid = desktop.ProcessIdOf(front);
  return pid ? processes.ExeNameOf(pid) : std::string();
}

std::vector<int> SelectTopWindowMacros(const ActivationBlock& block, std::string_view title,
                                       std::string_view program) {
  const std::string t = UpperAscii(title), p = UpperAscii(program);
  std::vector<int> out;
  const int count = block.ClampedCount();
  for (int n = 1; n <= count && static_cast<int>(out.size()) < kMaxTopWindowMacros; ++n) {
    const int16_t scope = block.Scope(n);
    if (scope != kScopeWindow && scope != kScopeProgram) continue;
    const std::string wanted = UpperAscii(block.ScopeText(n));
    if ((scope == kScopeWindow ? t : p).find(wanted) != std::string::npos) out.push_back(n);
  }
  return out;
}

void SetTopWindowMenu(MacroRecord& record, int setting, const std::vector<int>& macros) {
  const char digit = setting >= 1 && setting <= 3 ? static_cast<char>('0' + setting) : '3';
  record.SetSnapword(std::string{' ', digit, '2'});
  SetMenuEntries(record, macros);
}

void MenuTopWindow(IDesktop& desktop, IProcesses& processes, const ActivationBlock& block, int setting,
                   bool& popup_shown, MacroRecord& playback, ITopWindowMenuHost& host) {
  const std::string program = GetTopProgram(desktop, processes);
  const WindowHandle front = desktop.Foreground();
  const std::string title = front ? desktop.WindowTitle(front, kMaxTitle) : std::string();
  const std::vector<int> macros = SelectTopWindowMacros(block, title, program);
  SetTopWindowMenu(playback, setting, macros);
  if (macros.empty()) {
    host.DoAMessage(kWarningCaption, kNoTopWindowMacrosText);
    return;
  }
  int chosen;
  {
    FlagScope shown(popup_shown);
    chosen = host.ChooseFromTopWindowMenu(playback, front);
  }
  if (chosen != -1) host.RunChosenMacro(chosen);
}

}  // namespace qlx
