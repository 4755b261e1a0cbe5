#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <vector>

#include "store/macro_tables.h"

namespace qlx {
namespace {

// An activation block in a plain buffer with guard bytes behind it.
struct BlockBuffer {
  std::vector<uint8_t> mem = std::vector<uint8_t>(ab::kSize + 64, 0);
  ActivationBlock block{mem.data()};
  void Guard() { std::fill(mem.begin() + ab::kSize, mem.end(), 0xEE); }
  bool GuardIntact() const {
    for (size_t i = ab::kSize; i < mem.size(); ++i)
      if (mem[i] != 0xEE) return false;
    return true;
  }
};

MacroRecord Macro(const std::string& nick, uint16_t code, bool active, int16_t scope = kScopeGlobal,
                  const std::string& scope_text = "") {
  MacroRecord r;
  r.SetNickname(nick);
  r.SetCode(code);
  r.SetActive(active);
  r.SetScope(scope);
  r.SetScopeText(scope_text);
  return r;
}

TEST(StoreTables, FillFromRecordCopiesTheSevenFieldsAndCutsTheScopeTextToTwenty) {
  BlockBuffer buf;
  buf.Guard();
  auto names = std::make_unique<MacroNameTables>();
  MacroTables tables{buf.block, *names};

  const std::string title30 = "0123456789abcdefghijKLMNOPQRST";
  MacroRecord r = Macro("Write letter", 144, true, kScopeWindow, title30);
  r.SetSnapword("ltr");
  r.SetTopMostOnly(true);
  FillFromRecord(7, r, tables);

  EXPECT_EQ(buf.block.Scope(7), kScopeWindow);
  EXPECT_EQ(buf.block.ScopeText(7), title30.substr(0, 20));
  EXPECT_EQ(buf.block.ScopeTextView(7), title30.substr(0, 20));
  EXPECT_EQ(buf.block.ScopeTextView(501), "");
  EXPECT_EQ(r.ScopeText(), title30);  // the record keeps all thirty
  EXPECT_EQ(buf.block.Code(7), 144);
  EXPECT_TRUE(buf.block.Active(7));
  EXPECT_TRUE(buf.block.TopMostOnly(7));
  EXPECT_EQ(names->Nickname(7), "Write letter");
  EXPECT_EQ(names->Snapword(7), "ltr");
  // Neighbours untouched.
  EXPECT_EQ(buf.block.Scope(6), 0);
  EXPECT_EQ(buf.block.Scope(8), 0);
  EXPECT_EQ(names->Nickname(8), "");

  // Entry 500 is the last; 0 and 501 change nothing at all.
  FillFromRecord(500, r, tables);
  EXPECT_EQ(names->Nickname(500), "Write letter");
  EXPECT_EQ(buf.block.Code(500), 144);
  std::vector<uint8_t> before = buf.mem;
  auto names_before = std::make_unique<MacroNameTables>(*names);
  FillFromRecord(0, r, tables);
  FillFromRecord(501, r, tables);
  FillFromRecord(-1, r, tables);
  EXPECT_EQ(buf.mem, before);
  EXPECT_TRUE(buf.GuardIntact());
  for (int n = 1; n <= 500; ++n) ASSERT_EQ(names->Nickname(n), names_before->Nickname(n)) << n;
}

TEST(StoreTables, SystemMacrosAreListedUnderTheirFixedNicknames) {
  BlockBuffer buf;
  auto names = std::make_unique<MacroNameTables>();
  MacroTables tables{buf.block, *names};

  FillFromRecord(1, Macro("My own capture name", 300, true, kScopeSystem, "2"), tables);
  EXPECT_EQ(names->Nickname(1), "Start / Stop Capture");
  EXPECT_EQ(buf.block.Code(1), 300);  // the changed hot key is kept
  FillFromRecord(2, Macro("Z", 265, true, kScopeSystem, "4"), tables);
  EXPECT_EQ(names->Nickname(2), "Menu of Macros for Top Most Window");

  // Only scope 5 with a digit 1..4 is a system macro.
  FillFromRecord(3, Macro("Digit five", 1, true, kScopeSystem, "5"), tables);
  EXPECT_EQ(names->Nickname(3), "Digit five");
  FillFromRecord(4, Macro("Global named 1", 1, true, kScopeGlobal, "1"), tables);
  EXPECT_EQ(names->Nickname(4), "Global named 1");
  FillFromRecord(5, Macro("Empty text", 1, true, kScopeSystem, ""), tables);
  EXPECT_EQ(names->Nickname(5), "Empty text");

  EXPECT_EQ(SystemMacroDigit(kScopeSystem, "3xyz"), 3);
  EXPECT_EQ(SystemMacroDigit(kScopeSystem, "0"), 0);
  EXPECT_EQ(SystemMacroNickname(0), nullptr);
  EXPECT_EQ(SystemMacroNickname(5), nullptr);
  EXPECT_STREQ(SystemMacroNickname(1), "Activate Quillon");
  EXPECT_STREQ(SystemMacroNickname(3), "Resume Pause");
  EXPECT_EQ(kSystemMacros[0].code, 262);
  EXPECT_EQ(kSystemMacros[3].code, 265);
}

TEST(StoreTables, NameTablesCutToTheirCapacityAndIgnoreBadNumbers) {
  auto names = std::make_unique<MacroNameTables>();
  names->SetNickname(1, std::string(80, 'n'));
  names->SetSnapword(1, std::string(30, 's'));
  names->SetNickname(2, "second");
  EXPECT_EQ(names->Nickname(1), std::string(50, 'n'));
  EXPECT_EQ(names->Snapword(1), std::string(10, 's'));
  EXPECT_EQ(names->Nickname(2), "second");  // entry 1's overflow did not spill
  EXPECT_EQ(names->NicknameView(1), std::string(50, 'n'));
  EXPECT_EQ(names->SnapwordView(1), std::string(10, 's'));
  names->SetNickname(0, "zero");
  names->SetNickname(501, "beyond");
  EXPECT_EQ(names->Nickname(0), "");
  EXPECT_EQ(names->Nickname(501), "");
  EXPECT_EQ(names->Snapword(-4), "");
  EXPECT_EQ(names->NicknameView(501), "");
  EXPECT_EQ(names->SnapwordView(0), "");
}

TEST(StoreTables, SetHotKeysMarksExactlyTheActiveHotKeyMacros) {
  BlockBuffer buf;
  buf.Guard();
  ActivationBlock& b = buf.block;
  // Stale marks from an earlier build must go.
  for (int c = 0; c < 720; ++c) b.SetHotKeyUsed(c, true);
  buf.mem[16] = 0x5A;   // byte before the table
  buf.mem[737] = 0x5A;  // capture flag behind it

  struct Entry {
    uint16_t code;
    bool active;
  };
  const Entry entries[] = {
      {5, false},       // deactivated: byte 22 stays 0 ...
      {7, true},        // 1
      {kTimedCode, true},
      {kSnapwordCode, true},
      {719, true},      // last hot key
      {720, true},      // damaged code: ignored
      {9999, true},
      {0, true},        // Ctrl+A-style code 0 is a real key
      {300, false},
      {262, true},      // a system macro takes part like any other
  };
  int n = 0;
  for (const Entry& e : entries) {
    ++n;
    b.SetCode(n, e.code);
    b.SetActive(n, e.active);
  }
  // An active macro past the count must not count.
  b.SetCode(n + 1, 400);
  b.SetActive(n + 1, true);
  b.SetMacroCount(n);

  SetHotKeys(b);
  const std::set<int> expected = {7, 719, 0, 262};
  for (int c = 0; c < 720; ++c) EXPECT_EQ(buf.mem[17 + c], expected.count(c) ? 1 : 0) << c;
  EXPECT_EQ(buf.mem[22], 0);  // ... code 5's byte
  EXPECT_EQ(buf.mem[16], 0x5A);
  EXPECT_EQ(buf.mem[737], 0x5A);

  // ... unless another active macro shares code 5.
  b.SetCode(n + 1, 5);
  b.SetMacroCount(n + 1);
  SetHotKeys(b);
  EXPECT_EQ(buf.mem[22], 1);

  // A damaged count is clamped: negative clears only, huge stops at 500.
  b.SetMacroCount(-7);
  SetHotKeys(b);
  for (int c = 0; c < 720; ++c) ASSERT_EQ(buf.mem[17 + c], 0) << c;
  for (int m = 1; m <= 500; ++m) {
    b.SetCode(m, static_cast<uint16_t>(m));
    b.SetActive(m, true);
  }
  b.SetMacroCount(0x7FFFFFFF);
  SetHotKeys(b);
  EXPECT_EQ(buf.mem[17 + 500], 1);
  EXPECT_EQ(buf.mem[17 + 501], 0);
  EXPECT_EQ(buf.mem[17 + 0], 0);
  EXPECT_TRUE(buf.GuardIntact());
}

}  // namespace
}  // namespace qlx
