#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/hotkey_table.h"
#include "app/system_hot_keys.h"
#include "fakes/macro_file_rig.h"

namespace qlx {
namespace {

using fake::HotKeyMacro;
using fake::MacroFileRig;
using fake::PopupMacro;
using fake::SnapwordMacro;
using fake::SystemMacroRecord;
using fake::TablesRig;
using fake::WithSystemMacros;

constexpr uint16_t kCtrlAltA = 144;
constexpr uint16_t kCtrlAltB = 145;
constexpr uint16_t kCtrlAltC = 146;
constexpr uint16_t kCtrlAltD = 147;

TEST(SystemHotKeys, EachFunctionShowsTheKeyOfItsFirstSystemMacro) {
  // The system macros in another order, digit 2 twice.
  TablesRig rig({HotKeyMacro("a", kCtrlAltA), SystemMacroRecord(3), SystemMacroRecord(2), SystemMacroRecord(1),
                 SystemMacroRecord(2), SystemMacroRecord(4)});
  rig.block.SetCode(5, kCtrlAltD);
  const SystemKeys keys = FindSystemKeys(rig.block);
  EXPECT_EQ(keys.macro, (std::array<int, 4>{4, 3, 2, 6}));
  EXPECT_EQ(keys.code, (std::array<uint16_t, 4>{262, 263, 264, 265}));

  TablesRig missing({HotKeyMacro("a", kCtrlAltA), SystemMacroRecord(1)});
  EXPECT_EQ(FindSystemKeys(missing.block).macro, (std::array<int, 4>{2, 0, 0, 0}));
}

TEST(SystemHotKeys, APickedKeyThatAGlobalPopupOrSystemMacroUsesIsRefused) {
  TablesRig rig(WithSystemMacros({HotKeyMacro("global", kCtrlAltA), PopupMacro("menu", kCtrlAltB, {1}),
                                  HotKeyMacro("window", kCtrlAltC, kScopeWindow, "Pad"),
                                  HotKeyMacro("off", kCtrlAltD, kScopeGlobal, "", false), SnapwordMacro("s", "sig")}));
  const auto refusal = [](uint16_t code) {
    return "The hot key \"" + std::string(HotKeyName(code)) +
           "\" is already in use by a macro.  If you wish to use this hot key combination, you will first need "
           "to either remove or move the macro which is assigned to it.";
  };
  struct Case {
    int digit;
    int code;
    bool refused;
  };
  const std::vector<Case> cases = {
      {1, kCtrlAltA, true},  {1, kCtrlAltB, true}, {1, kCtrlAltD, true},  // inactive or not
      {1, kCtrlAltC, false},                                                // window macros may share
      {1, 263, true},                                                       // another system function's key
      {1, 262, false},                                                      // its own key again
      {2, 262, true},        {3, 300, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.digit) + " " + std::to_string(c.code));
    const std::optional<std::string> r = SystemKeyPickRefusal(rig.block, c.digit, c.code);
    ASSERT_EQ(r.has_value(), c.refused);
    if (r) {
      EXPECT_EQ(*r, refusal(static_cast<uint16_t>(c.code)));
    }
  }
}

TEST(SystemHotKeys, OkRefusesTwoFunctionsOnOneKey) {
  EXPECT_FALSE(SystemKeysRefusal({262, 263, 264, 265}).has_value());
  for (const std::array<uint16_t, 4>& codes : {std::array<uint16_t, 4>{1, 1, 2, 3}, std::array<uint16_t, 4>{1, 2, 3, 1},
                                               std::array<uint16_t, 4>{1, 2, 3, 3}}) {
    const std::optional<std::string> r = SystemKeysRefusal(codes);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(*r, "The same hot key has been assigned to more than one system command.");
  }
}

TEST(SystemHotKeys, ChangedKeysAreWrittenInOneReplacementAndOthersKeepTheirBytes) {
  MacroFileRig rig("system_keys");
  rig.Write(WithSystemMacros({HotKeyMacro("a", kCtrlAltA)}));
  const std::vector<MacroRecord> before = rig.Records();
  const SystemKeys keys = FindSystemKeys(rig.block());

  EXPECT_FALSE(RewriteSystemHotKeys(*rig.file, keys, keys.code));  // nothing changed
  ASSERT_TRUE(RewriteSystemHotKeys(*rig.file, keys, {300, 263, 301, 265}));
  const std::vector<MacroRecord> after = rig.Records();
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < after.size(); ++i) {
    MacroRecord expected = before[i];
    if (i == 1) expected.SetCode(300);
    if (i == 3) expected.SetCode(301);
    EXPECT_EQ(after[i].bytes(), expected.bytes()) << i;
  }
  EXPECT_FALSE(std::filesystem::exists(rig.file->TempName()));

  // A record that is no longer the system macro the dialog showed (the file
  // changed underneath) is left alone.
  SystemKeys stale = keys;
  stale.macro[0] = 1;
  stale.code[0] = 262;
  ASSERT_TRUE(RewriteSystemHotKeys(*rig.file, stale, {400, 263, 264, 265}));
  EXPECT_EQ(rig.Records()[0].Code(), kCtrlAltA);
}

}  // namespace
}  // namespace qlx
