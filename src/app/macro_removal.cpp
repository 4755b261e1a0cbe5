#include "app/macro_removal.h"

#include <algorithm>

#include "editor/popup_menu.h"

namespace qlx {

bool MenuListsMacro(const MacroRecord& record, int n) {
  if (record.Scope() != kScopePopupMenu) return false;
  const std::vector<int> entries = PopupMenuView(record).Entries();
  return std::find(entries.begin(), entries.end(), n) != entries.end();
}

bool RenumberMenuForRemoval(MacroRecord& record, int n) {
  if (record.Scope() != kScopePopupMenu || n < 1) return false;
  const std::vector<int> before = PopupMenuView(record).Entries();
  std::vector<int> after;
  after.reserve(before.size());
  // Every entry of the removed macro goes: one left behind would point at
  // whichever macro moves into its number.
  for (int e : before) {
    if (e == n) continue;
    after.push_back(e > n ? e - 1 : e);
  }
  if (after == before) return false;
  SetMenuEntries(record, after);
  return true;
}

std::vector<MacroRecord> RecordsWithoutMacro(std::vector<MacroRecord> records, int n) {
  if (n < 1 || n > static_cast<int>(records.size())) return records;
  records.erase(records.begin() + (n - 1));
  for (MacroRecord& r : records) RenumberMenuForRemoval(r, n);
  return records;
}

}  // namespace qlx
