#include "app/sort_order.h"

#include <algorithm>
#include <numeric>

#include "store/hotkey_table.h"

namespace qlx {
namespace {

constexpr std::array<std::string_view, 3> kActivationPrefixes = {"AAAA", "AAAz", "AAz"};
constexpr std::array<std::string_view, 5> kScopePrefixes = {"AAAAAA", "AAAAAz", "AAAAz", "AAAz", "AAz"};
// After every prefix: a group whose digit is missing from its string.
constexpr std::string_view kLastGroup = "Az";
constexpr int kMissingGroup = 100;

std::string_view PrefixAt(int position, const auto& prefixes) {
  if (position < 1 || position > static_cast<int>(prefixes.size())) return kLastGroup;
  return prefixes[static_cast<size_t>(position - 1)];
}

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

}  // namespace

int ActivationKind(uint16_t code) {
  if (code == kTimedCode) return kActivationKindTimed;
  if (code == kSnapwordCode) return kActivationKindSnapword;
  return kActivationKindHotKey;
}

std::string_view ActivationGroupPrefix(int position) { return PrefixAt(position, kActivationPrefixes); }
std::string_view ScopeGroupPrefix(int position) { return PrefixAt(position, kScopePrefixes); }

int GroupPosition(std::string_view order, int digit) {
  const size_t at = order.find(static_cast<char>('0' + digit));
  return at == std::string_view::npos ? kMissingGroup : static_cast<int>(at) + 1;
}

MacroSortKeys SortKeysFor(int n, const MacroTables& tables, const SortOrder& order) {
  const ActivationBlock& b = tables.block;
  MacroSortKeys k;
  const uint16_t code = b.Code(n);
  const int kind = ActivationKind(code);
  k.activation = ActivationGroupPrefix(GroupPosition(order.activation, kind));
  if (kind == kActivationKindHotKey) k.activation += HotKeyName(code);
  // Snapword macros order by the Snapword they are typed as.
  if (kind == kActivationKindSnapword) k.activation += tables.names.Snapword(n);

  k.nickname = Upper(tables.names.Nickname(n));

  const int16_t scope = b.Scope(n);
  k.scope = ScopeGroupPrefix(GroupPosition(order.scope, scope));
  if (scope == kScopeWindow || scope == kScopeProgram) k.scope += Upper(b.ScopeText(n));
  return k;
}

CompositeKey CompositeKeyFor(const MacroSortKeys& keys, std::string_view primary) {
  CompositeKey out;
  // Levels the string does not name (damage) follow in their own order.
  std::string digits;
  for (char d : primary)
    if ((d == kSortByActivation || d == kSortByNickname || d == kSortByScope) &&
        digits.find(d) == std::string::npos)
      digits += d;
  for (char d : {kSortByActivation, kSortByNickname, kSortByScope})
    if (digits.find(d) == std::string::npos) digits += d;
  for (size_t i = 0; i < out.size(); ++i) {
    switch (digits[i]) {
      case kSortByActivation: out[i] = keys.activation; break;
      case kSortByNickname: out[i] = keys.nickname; break;
      default: out[i] = keys.scope; break;
    }
  }
  return out;
}

std::vector<int> SortedRowMap(const MacroTables& tables, const SortOrder& order) {
  const int count = tables.block.ClampedCount();
  std::vector<int> rows(static_cast<size_t>(count));
  std::iota(rows.begin(), rows.end(), 1);
  if (count < 2) return rows;
  std::vector<CompositeKey> keys(static_cast<size_t>(count) + 1);
  for (int n = 1; n <= count; ++n)
    keys[static_cast<size_t>(n)] = CompositeKeyFor(SortKeysFor(n, tables, order), order.primary);
  std::stable_sort(rows.begin(), rows.end(),
                   [&keys](int a, int b) { return keys[static_cast<size_t>(a)] < keys[static_cast<size_t>(b)]; });
  return rows;
}

bool MoveSortItem(std::string& digits, int index, int delta) {
  const int to = index + delta;
  const int n = static_cast<int>(digits.size());
  if ((delta != -1 && delta != 1) || index < 0 || index >= n || to < 0 || to >= n) return false;
  std::swap(digits[static_cast<size_t>(index)], digits[static_cast<size_t>(to)]);
  return true;
}

SortMoveButtons SortMoveButtonStates(int selected, int count) {
  SortMoveButtons b;
  if (selected < 0 || selected >= count) return b;
  b.up = selected > 0;
  b.down = selected < count - 1;
  return b;
}

int RowOfMacro(const std::vector<int>& rows, int n) {
  auto it = std::find(rows.begin(), rows.end(), n);
  return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
}

int MacroOnRow(const std::vector<int>& rows, int row) {
  return row >= 0 && row < static_cast<int>(rows.size()) ? rows[static_cast<size_t>(row)] : 0;
}

}  // namespace qlx
