#include "store/macro_tables.h"

namespace qlx {

int SystemMacroDigit(int16_t scope, std::string_view scope_text) {
  if (scope != kScopeSystem || scope_text.empty()) return 0;
  char c = scope_text.front();
  return (c >= '1' && c <= '4') ? c - '0' : 0;
}

const char* SystemMacroNickname(int digit) {
  return (digit >= 1 && digit <= 4) ? kSystemMacros[static_cast<size_t>(digit - 1)].nickname
                                    : nullptr;
}

MacroRecord SystemMacroRecord(const SystemMacro& sm) {
  MacroRecord r;
  r.SetNickname(sm.nickname);
  r.SetScopeText(std::string(1, sm.digit));
  r.SetCode(sm.code);
  r.SetScope(kScopeSystem);
  r.SetActive(true);
  return r;
}

void FillFromRecord(int n, const MacroRecord& record, MacroTables& tables) {
  if (!ActivationBlock::ValidMacro(n)) return;
  ActivationBlock& b = tables.block;
  const std::string_view scope_text = record.ScopeTextView();
  b.SetScope(n, record.Scope());
  b.SetScopeText(n, scope_text);  // the block keeps the first 20 characters
  b.SetTopMostOnly(n, record.TopMostOnly());
  b.SetCode(n, record.Code());
  b.SetActive(n, record.Active());
  // A system macro is always listed under its fixed name, so a rewrite of
  // its record (a changed hot key) cannot bring a foreign nickname back.
  const char* fixed = SystemMacroNickname(SystemMacroDigit(record.Scope(), scope_text));
  tables.names.SetNickname(n, fixed ? std::string_view(fixed) : record.NicknameView());
  tables.names.SetSnapword(n, record.SnapwordView());
}

void SetHotKeys(ActivationBlock& block) {
  block.ClearHotKeyTable();
  const int count = block.ClampedCount();
  for (int n = 1; n <= count; ++n) {
    const uint16_t code = block.Code(n);
    if (code == kTimedCode || code == kSnapwordCode || !block.Active(n)) continue;
    block.SetHotKeyUsed(code, true);  // ignores codes beyond 719
  }
}

}  // namespace qlx
