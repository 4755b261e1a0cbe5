#include "app/system_hot_keys.h"

#include <vector>

#include "store/hotkey_table.h"
#include "capture/capture_complete.h"

namespace qlx {

SystemKeys FindSystemKeys(const ActivationBlock& block) {
  SystemKeys keys;
  const int count = block.ClampedCount();
  for (int n = 1; n <= count; ++n) {
    const int digit = SystemMacroDigit(block.Scope(n), block.ScopeText(n));
    if (digit == 0 || keys.macro[static_cast<size_t>(digit - 1)] != 0) continue;
    keys.macro[static_cast<size_t>(digit - 1)] = n;
    keys.code[static_cast<size_t>(digit - 1)] = block.Code(n);
  }
  return keys;
}

std::optional<std::string> SystemKeyPickRefusal(const ActivationBlock& block, int digit, int code) {
  const int own = digit >= 1 && digit <= 4 ? FindSystemKeys(block).macro[static_cast<size_t>(digit - 1)] : 0;
  if (!GlobalScopeUses(block, code, own)) return std::nullopt;
  return "The hot key \"" + std::string(HotKeyName(code)) + "\" is already in use by a macro.  If you wish" +
         " to use this hot key combination, you will first need to either remove or " +
         "move the macro which is assigned to it.";
}

std::optional<std::string> SystemKeysRefusal(const std::array<uint16_t, 4>& codes) {
  for (size_t i = 0; i < codes.size(); ++i)
    for (size_t j = i + 1; j < codes.size(); ++j)
      if (codes[i] == codes[j]) return std::string(kSameSystemKeyText);
  return std::nullopt;
}

bool RewriteSystemHotKeys(MacroFile& file, const SystemKeys& keys, const std::array<uint16_t, 4>& codes) {
  bool any = false;
  for (size_t d = 0; d < codes.size(); ++d) any = any || (keys.macro[d] != 0 && keys.code[d] != codes[d]);
  if (!any) return false;
  std::vector<MacroRecord> records;
  if (!file.ReadAllRecords(records)) return false;
  for (size_t d = 0; d < codes.size(); ++d) {
    const int n = keys.macro[d];
    if (n == 0 || keys.code[d] == codes[d] || n > static_cast<int>(records.size())) continue;
    MacroRecord& r = records[static_cast<size_t>(n - 1)];
    // The record on disk must still be the system macro the dialog showed.
    if (SystemMacroDigit(r.Scope(), r.ScopeText()) != static_cast<int>(d) + 1) continue;
    r.SetCode(codes[d]);
  }
  return file.ReplaceAllRecords(records);
}

}  // namespace qlx
