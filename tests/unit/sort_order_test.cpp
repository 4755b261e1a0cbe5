#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "store/hotkey_table.h"
#include "app/sort_order.h"
#include "fakes/macro_file_rig.h"

namespace qlx {
namespace {

using fake::HotKeyMacro;
using fake::PopupMacro;
using fake::SnapwordMacro;
using fake::SystemMacroRecord;
using fake::TablesRig;
using fake::TimedMacro;

// Hot-key codes by name, so the tests read as the list does.
uint16_t Code(std::string_view name) {
  for (int c = 0; c < kHotKeyCodes; ++c)
    if (HotKeyName(c) == name) return static_cast<uint16_t>(c);
  ADD_FAILURE() << "no hot key named " << name;
  return 0;
}

std::vector<std::string> Nicknames(const TablesRig& rig, const std::vector<int>& rows) {
  std::vector<std::string> out;
  for (int n : rows) out.push_back(rig.names->Nickname(n));
  return out;
}

TEST(SortOrder, GroupPrefixesFollowThePositionOfTheGroupsDigit) {
  const std::vector<std::string_view> activation = {"AAAA", "AAAz", "AAz"};
  const std::vector<std::string_view> scope = {"AAAAAA", "AAAAAz", "AAAAz", "AAAz", "AAz"};
  for (int p = 1; p <= 3; ++p) EXPECT_EQ(ActivationGroupPrefix(p), activation[static_cast<size_t>(p - 1)]);
  for (int p = 1; p <= 5; ++p) EXPECT_EQ(ScopeGroupPrefix(p), scope[static_cast<size_t>(p - 1)]);
  // Whatever text follows a prefix, it stays before the next group's prefix.
  const std::string highest(30, '\xff');
  for (int p = 1; p < 3; ++p)
    EXPECT_LT(std::string(ActivationGroupPrefix(p)) + highest, std::string(ActivationGroupPrefix(p + 1)));
  for (int p = 1; p < 5; ++p)
    EXPECT_LT(std::string(ScopeGroupPrefix(p)) + highest, std::string(ScopeGroupPrefix(p + 1)));
  // A digit missing from a damaged string puts its group after all others.
  EXPECT_EQ(GroupPosition("132", 2), 3);
  EXPECT_GT(GroupPosition("12", 3), 5);
  EXPECT_LT(std::string(ScopeGroupPrefix(5)) + highest, std::string(ScopeGroupPrefix(GroupPosition("1234", 5))));
}

TEST(SortOrder, EachKindOfMacroGetsItsThreeKeys) {
  TablesRig rig({HotKeyMacro("write Letter", Code("Ctrl+Alt+A")), SnapwordMacro("sig", "adr"), TimedMacro("backup"),
                 HotKeyMacro("in notes", Code("Ctrl+B"), kScopeWindow, "Untitled - Notepad Plus"),
                 HotKeyMacro("in calc", Code("Ctrl+C"), kScopeProgram, "calc.exe"), PopupMacro("menu", 5, {1}),
                 SystemMacroRecord(1)});
  SortOrder order;  // "123", "123", "12345"
  struct Expected {
    int n;
    std::string activation, nickname, scope;
  };
  const std::vector<Expected> cases = {
      {1, "AAAACtrl+Alt+A", "WRITE LETTER", "AAAAAA"},
      {2, "AAAzadr", "SIG", "AAAAAA"},  // Snapwords keep their case
      {3, "AAz", "BACKUP", "AAAAAA"},
      {4, "AAAACtrl+B", "IN NOTES", "AAAAAzUNTITLED - NOTEPAD P"},  // the tables keep 20 characters
      {5, "AAAACtrl+C", "IN CALC", "AAAAzCALC.EXE"},
      {6, "AAAACtrl+F", "MENU", "AAAz"},
      {7, "AAAACtrl+Alt+Shift+W", "ACTIVATE QUILLON", "AAz"},
  };
  for (const Expected& e : cases) {
    SCOPED_TRACE(e.n);
    MacroSortKeys k = SortKeysFor(e.n, rig.tables, order);
    EXPECT_EQ(k.activation, e.activation);
    EXPECT_EQ(k.nickname, e.nickname);
    EXPECT_EQ(k.scope, e.scope);
  }

  // Other group orders move the prefixes, not the texts after them.
  order.activation = "321";
  order.scope = "54321";
  MacroSortKeys timed = SortKeysFor(3, rig.tables, order);
  EXPECT_EQ(timed.activation, "AAAA");
  MacroSortKeys window = SortKeysFor(4, rig.tables, order);
  EXPECT_EQ(window.activation, "AAzCtrl+B");
  EXPECT_EQ(window.scope, "AAAzUNTITLED - NOTEPAD P");
  EXPECT_EQ(SortKeysFor(7, rig.tables, order).scope, "AAAAAA");
}

TEST(SortOrder, CompositeKeyTakesTheLevelsInThePrimaryDigitsOrder) {
  const MacroSortKeys k{"act", "nick", "scope"};
  const std::vector<std::pair<std::string, CompositeKey>> cases = {
      {"123", {"act", "nick", "scope"}}, {"132", {"act", "scope", "nick"}}, {"213", {"nick", "act", "scope"}},
      {"231", {"nick", "scope", "act"}}, {"312", {"scope", "act", "nick"}}, {"321", {"scope", "nick", "act"}},
      // A damaged string: the levels it names first, the rest in their order.
      {"22", {"nick", "act", "scope"}},  {"", {"act", "nick", "scope"}},
  };
  for (const auto& [primary, expected] : cases) {
    SCOPED_TRACE(primary);
    EXPECT_EQ(CompositeKeyFor(k, primary), expected);
  }
}

TEST(SortOrder, EveryPrimaryOrderListsTheMacrosByItsLevels) {
  // Two activations, two nicknames, two scopes, all combinations.
  TablesRig rig({HotKeyMacro("Beta", Code("Ctrl+B"), kScopeWindow, "Pad"),  // 1
                 HotKeyMacro("Alpha", Code("Ctrl+B"), kScopeGlobal),        // 2
                 HotKeyMacro("Beta", Code("Ctrl+A"), kScopeGlobal),         // 3
                 HotKeyMacro("Alpha", Code("Ctrl+A"), kScopeWindow, "Pad"), // 4
                 HotKeyMacro("Alpha", Code("Ctrl+B"), kScopeWindow, "Pad"), // 5
                 HotKeyMacro("Beta", Code("Ctrl+A"), kScopeWindow, "Pad")}); // 6
  const std::vector<std::pair<std::string, std::vector<int>>> cases = {
      {"123", {4, 3, 6, 2, 5, 1}},  // Ctrl+A: Alpha(win), Beta(glob), Beta(win); Ctrl+B: Alpha(glob), Alpha(win), Beta(win)
      {"132", {3, 4, 6, 2, 5, 1}},  // activation, then global before window, then nickname
      {"213", {4, 2, 5, 3, 6, 1}},
      {"231", {2, 4, 5, 3, 6, 1}},
      {"312", {3, 2, 4, 6, 5, 1}},
      {"321", {2, 3, 4, 5, 6, 1}},
  };
  for (const auto& [primary, expected] : cases) {
    SCOPED_TRACE(primary);
    SortOrder order;
    order.primary = primary;
    EXPECT_EQ(SortedRowMap(rig.tables, order), expected);
  }
}

TEST(SortOrder, KeysCompareAsBytesSoUpperCaseComesFirst) {
  // "Alt+LMouse" before "Alt+Left Arrow" ('M' is below 'e'), and the
  // Snapword "Zed" before "abc".
  TablesRig rig({HotKeyMacro("one", Code("Alt+Left Arrow")), HotKeyMacro("two", Code("Alt+LMouse")),
                 SnapwordMacro("three", "abc"), SnapwordMacro("four", "Zed")});
  EXPECT_EQ(Nicknames(rig, SortedRowMap(rig.tables, SortOrder{})),
            (std::vector<std::string>{"two", "one", "four", "three"}));
  // Nicknames are compared upper-cased: case makes no difference there.
  TablesRig nick({HotKeyMacro("beta", 1), HotKeyMacro("Alpha", 1), HotKeyMacro("ALPHA2", 1)});
  SortOrder by_nickname;
  by_nickname.primary = "213";
  EXPECT_EQ(Nicknames(nick, SortedRowMap(nick.tables, by_nickname)),
            (std::vector<std::string>{"Alpha", "ALPHA2", "beta"}));
}

TEST(SortOrder, AShorterKeyIsNotSplitByTheContinuationOfALongerOne) {
  // Concatenated, "Ctrl+F1" + "ZULU" would follow "Ctrl+F10" + "ALPHA".
  TablesRig rig({HotKeyMacro("alpha", Code("Ctrl+F10")), HotKeyMacro("zulu", Code("Ctrl+F1")),
                 HotKeyMacro("0 first", Code("Ctrl+F1"))});
  EXPECT_EQ(Nicknames(rig, SortedRowMap(rig.tables, SortOrder{})),
            (std::vector<std::string>{"0 first", "zulu", "alpha"}));
}

TEST(SortOrder, EqualKeysKeepTableOrderSoRowsNeverSwap) {
  // Eight macros with one key, among others: whatever the order of the
  // others, the equal ones stay in table order, fill after fill.
  std::vector<MacroRecord> records;
  for (int i = 0; i < 8; ++i) records.push_back(HotKeyMacro("same", Code("Ctrl+S")));
  records.push_back(HotKeyMacro("aaa", Code("Ctrl+Z")));
  records.push_back(HotKeyMacro("zzz", Code("Ctrl+A")));
  std::rotate(records.begin(), records.begin() + 3, records.end());
  TablesRig rig(records);
  const std::vector<int> rows = SortedRowMap(rig.tables, SortOrder{});
  std::vector<int> same;
  for (int n : rows)
    if (rig.names->Nickname(n) == "same") same.push_back(n);
  EXPECT_TRUE(std::is_sorted(same.begin(), same.end()));
  EXPECT_EQ(same.size(), 8u);
  for (int fill = 0; fill < 3; ++fill) EXPECT_EQ(SortedRowMap(rig.tables, SortOrder{}), rows);
}

TEST(SortOrder, RowMapOfNoneOneAndManyMacros) {
  TablesRig none;
  EXPECT_TRUE(SortedRowMap(none.tables, SortOrder{}).empty());
  TablesRig one({HotKeyMacro("only", 3)});
  EXPECT_EQ(SortedRowMap(one.tables, SortOrder{}), std::vector<int>{1});

  const std::vector<int> rows = {3, 1, 2};
  EXPECT_EQ(MacroOnRow(rows, 0), 3);
  EXPECT_EQ(MacroOnRow(rows, 2), 2);
  EXPECT_EQ(MacroOnRow(rows, 3), 0);
  EXPECT_EQ(MacroOnRow(rows, -1), 0);
  EXPECT_EQ(RowOfMacro(rows, 1), 1);
  EXPECT_EQ(RowOfMacro(rows, 4), -1);
}

TEST(SortOrderDialog, ListBoxesShowTheNamesInTheirStringsOrder) {
  EXPECT_EQ(SortItemsInOrder("312", kPrimarySortNames),
            (std::vector<std::string>{"Scope", "Activation", "Nickname"}));
  EXPECT_EQ(SortItemsInOrder("231", kActivationSortNames),
            (std::vector<std::string>{"Snapword", "Timed Macro", "Hot Key"}));
  EXPECT_EQ(SortItemsInOrder("54321", kScopeSortNames),
            (std::vector<std::string>{"System", "PopUp Menu", "Specific Program", "Specific Window", "Global"}));
}

TEST(SortOrderDialog, MovingItemsRewritesTheDigitString) {
  std::string digits = "12345";
  EXPECT_TRUE(MoveSortItem(digits, 4, -1));
  EXPECT_EQ(digits, "12354");
  EXPECT_TRUE(MoveSortItem(digits, 0, +1));
  EXPECT_EQ(digits, "21354");
  for (auto [index, delta] : {std::pair{0, -1}, {4, +1}, {-1, +1}, {5, -1}, {2, 2}}) {
    std::string before = digits;
    EXPECT_FALSE(MoveSortItem(digits, index, delta)) << index << " " << delta;
    EXPECT_EQ(digits, before);
  }
}

TEST(SortOrderDialog, UpAndDownFollowTheSelectedItem) {
  struct Case {
    int selected, count;
    bool up, down;
  };
  for (const Case& c : {Case{-1, 3, false, false}, Case{0, 3, false, true}, Case{1, 3, true, true},
                        Case{2, 3, true, false}, Case{0, 1, false, false}, Case{3, 3, false, false}}) {
    SCOPED_TRACE(c.selected);
    SortMoveButtons b = SortMoveButtonStates(c.selected, c.count);
    EXPECT_EQ(b.up, c.up);
    EXPECT_EQ(b.down, c.down);
  }
}

}  // namespace
}  // namespace qlx
