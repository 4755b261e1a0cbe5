#pragma once
// The order of the macro list: three sort-order strings, the sort key of
// every macro and the row map they give. Keys compare as plain bytes, so
// "Ctrl+Z" comes before "Ctrl+a".
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "store/macro_tables.h"

namespace qlx {

// The three levels, as the digits of "Primary Sort" name them.
inline constexpr char kSortByActivation = '1';
inline constexpr char kSortByNickname = '2';
inline constexpr char kSortByScope = '3';

inline constexpr std::array<std::string_view, 3> kPrimarySortNames = {"Activation", "Nickname", "Scope"};
inline constexpr std::array<std::string_view, 3> kActivationSortNames = {"Hot Key", "Snapword",
                                                                         "Timed Macro"};
inline constexpr std::array<std::string_view, 5> kScopeSortNames = {
    "Global", "Specific Window", "Specific Program", "PopUp Menu", "System"};

struct SortOrder {
  std::string primary = "123";      // permutation of 1..3
  std::string activation = "123";   // Hot Key, Snapword, Timed Macro
  std::string scope = "12345";      // Global, Window, Program, Popup Menu, System
};

// Activation kinds and scope codes as the group strings number them.
inline constexpr int kActivationKindHotKey = 1;
inline constexpr int kActivationKindSnapword = 2;
inline constexpr int kActivationKindTimed = 3;
int ActivationKind(uint16_t code);

// The prefix that puts a group at its place: the group whose digit stands
// at `position` (1-based) of its order string. A position past the end
// (a damaged string) sorts last.
std::string_view ActivationGroupPrefix(int position);
std::string_view ScopeGroupPrefix(int position);
// 1-based position of `digit` in `order`; past every group when it is missing.
int GroupPosition(std::string_view order, int digit);

// One macro's three keys.
struct MacroSortKeys {
  std::string activation;
  std::string nickname;
  std::string scope;
};
MacroSortKeys SortKeysFor(int n, const MacroTables& tables, const SortOrder& order);

// The keys in the order of the primary-sort digits. Levels compare one
// after the other, so a key is never split by a longer key that starts
// like it ("Ctrl+F1" macros stay together ahead of "Ctrl+F10" ones).
using CompositeKey = std::array<std::string, 3>;
CompositeKey CompositeKeyFor(const MacroSortKeys& keys, std::string_view primary);

// Row map: entry r is the macro number (1-based) shown on list row r
// (0-based). Equal keys keep table order, so rows never swap between fills.
std::vector<int> SortedRowMap(const MacroTables& tables, const SortOrder& order);

// ---- the Sort Order dialog ---------------------------------------------------

inline constexpr char kSortOrderCaption[] = "Sort Order";

// The names of a list box in the order its digit string gives them.
std::vector<std::string> SortItemsInOrder(std::string_view digits, const auto& names) {
  std::vector<std::string> items;
  for (char d : digits) {
    const int k = d - '1';
    if (k >= 0 && k < static_cast<int>(names.size())) items.emplace_back(names[static_cast<size_t>(k)]);
  }
  return items;
}

// Moves the item at `index` one place up (delta -1) or down (+1) in the
// digit string. False when it cannot move.
bool MoveSortItem(std::string& digits, int index, int delta);

struct SortMoveButtons {
  bool up = false;
  bool down = false;
};
// Up is off with nothing or the first item selected, down with nothing or
// the last one selected. `selected` is -1 for none.
SortMoveButtons SortMoveButtonStates(int selected, int count);

// Looks a macro up in a row map: the row, or -1.
int RowOfMacro(const std::vector<int>& rows, int n);
// The macro on a row, or 0 when the row is not in the map.
int MacroOnRow(const std::vector<int>& rows, int row);

}  // namespace qlx
