#include "capture/recapture.h"

#include "capture/capture_options.h"
#include "engine/window_commands.h"

namespace qlx {

std::optional<std::string> RecaptureRefusal(int macro_count, int selected, bool recording) {
  if (macro_count <= 0) return std::string(kNoHotKeysYetText);
  if (selected <= 0 || selected > macro_count) return std::string(kNoHotKeySelectedText);
  if (recording) return std::string(kCaptureInProgressText);
  return std::nullopt;
}

bool GlobalTriggerTaken(const ActivationBlock& block, const MacroNameTables& names, int macro) {
  const int count = block.ClampedCount();
  if (macro < 1 || macro > count || block.Scope(macro) == kScopeGlobal) return false;
  const uint16_t code = block.Code(macro);
  const bool snapword = code == kSnapwordCode;
  for (int m = 1; m <= count; ++m) {
    if (m == macro || block.Scope(m) != kScopeGlobal || block.Code(m) != code) continue;
    if (!snapword || UpperAscii(names.Snapword(m)) == UpperAscii(names.Snapword(macro))) return true;
  }
  return false;
}

int AppendMacroRecord(MacroFile& file, const MacroRecord& record) {
  ActivationBlock& block = file.tables().block;
  const int count = block.ClampedCount();
  if (count >= kMaxMacros) return 0;
  block.SetMacroCount(count + 1);
  if (!file.WriteRecord(-1, record)) {
    block.SetMacroCount(count);
    return 0;
  }
  return count + 1;
}

}  // namespace qlx
