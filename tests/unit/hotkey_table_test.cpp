#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "activation/hook_contract.h"
#include "store/hotkey_table.h"
#include "hook/hook_logic.h"
#include "store/shared_blocks.h"

namespace qlx {
namespace {

TEST(HotKeyTable, EveryCodeRoundTripsThroughItsCombination) {
  std::set<std::string> names;
  for (int code = 0; code < kHotKeyCodes; ++code) {
    const HotKeyCombo c = DecipherKey(code);
    const int back = c.mouseButton != kMouseNone ? HotKeyCodeForMouse(c.mouseButton, c.Modifiers())
                                                 : HotKeyCodeForKey(c.virtualKey, c.Modifiers());
    EXPECT_EQ(back, code) << HotKeyName(code);
    EXPECT_TRUE(c.virtualKey == 0 ? c.mouseButton != kMouseNone : c.mouseButton == kMouseNone)
        << code;
    EXPECT_FALSE(HotKeyName(code).empty()) << code;
    EXPECT_LE(HotKeyName(code).size(), 24u) << code;
    names.insert(std::string(HotKeyName(code)));
  }
  EXPECT_EQ(names.size(), 720u);  // no two codes share a name either
}

TEST(HotKeyTable, NamesFollowTheBlocks) {
  const std::vector<std::pair<int, const char*>> expected = {
      {0, "Ctrl+A"},
      {25, "Ctrl+Z"},
      {26, "Ctrl+0"},
      {36, "Ctrl+F1"},
      {47, "Ctrl+F12"},
      {48, "Alt+A"},
      {89, "Alt+F6"},
      {96, "Ctrl+Shift+A"},
      {144, "Ctrl+Alt+A"},
      {185, "Ctrl+Alt+F6"},
      {192, "Alt+Shift+A"},
      {233, "Alt+Shift+F6"},
      {240, "Ctrl+Alt+Shift+A"},
      {262, "Ctrl+Alt+Shift+W"},
      {287, "Ctrl+Alt+Shift+F12"},
      {288, "F1"},
      {299, "F12"},
      {300, "Shift+F1"},
      {311, "Shift+F12"},
      {312, "Ctrl+Enter"},
      {316, "Alt+Shift+Enter"},
      {318, "Ctrl+Alt+Shift+Enter"},
      {319, "Ctrl+Tab"},
      {320, "Shift+Tab"},
      {323, "Ctrl+Alt+Shift+Tab"},
      {324, "Ctrl+Backspace"},
      {330, "Ctrl+Alt+Shift+Backspace"},
      {331, "Ctrl+Space"},
      {338, "Ctrl+Insert"},
      {345, "Ctrl+Delete"},
      {349, "Alt+Shift+Delete"},
      {350, "Ctrl+Home"},
      {357, "Ctrl+End"},
      {363, "Ctrl+Alt+Shift+End"},
      {364, "Ctrl+."},
      {367, "Alt+Shift+."},
      {370, "Ctrl+,"},
      {376, "Ctrl+/"},
      {382, "Ctrl+;"},
      {388, "Ctrl+'"},
      {394, "Ctrl+\\"},
      {400, "Ctrl+["},
      {406, "Ctrl+]"},
      {412, "Ctrl+-"},
      {418, "Ctrl+="},
      {424, "Ctrl+`"},
      {429, "Ctrl+Alt+Shift+`"},
      {430, "KeyPad /"},
      {431, "Ctrl+Keypad /"},
      {433, "Shift+KeyPad /"},
      {441, "Shift+KeyPad *"},
      {449, "Shift+KeyPad -"},
      {454, "KeyPad +"},
      {457, "Shift+KeyPad +"},
      {458, "Ctrl+Shift+Keypad +"},
      {461, "Ctrl+Alt+Shift+Keypad +"},
      {462, "Insert"},
      {466, "Page Up"},
      {471, "Down Arrow"},
      {472, "Ctrl+Page Up"},
      {479, "Ctrl+Page Down"},
      {485, "Ctrl+Alt+Shift+Page Down"},
      {486, "Ctrl+Left Arrow"},
      {507, "Ctrl+Down Arrow"},
      {514, "KeyPad 0"},
      {515, "Ctrl+Keypad 0"},
      {517, "Ctrl+Alt+Keypad 0"},
      {553, "Ctrl+Alt+Keypad 9"},
      {554, "Win+A"},
      {557, "Win+D"},
      {590, "Win+F1"},
      {601, "Win+F12"},
      {602, "Win+Ctrl+A"},
      {607, "Win+Ctrl+F"},
      {650, "Win+Alt+A"},
      {697, "Win+Alt+F12"},
      {698, "ESC"},
      {699, "LMouse"},
      {700, "Shift+LMouse"},
      {701, "Ctrl+LMouse"},
      {702, "Alt+LMouse"},
      {703, "Ctrl+Shift+LMouse"},
      {704, "Ctrl+Alt+LMouse"},
      {705, "Shift+Alt+LMouse"},
      {706, "RMouse"},
      {713, "MMouse"},
      {719, "Shift+Alt+MMouse"},
  };
  for (const auto& [code, name] : expected) EXPECT_EQ(HotKeyName(code), name) << code;

  // The three names longer than 24 characters, and their neighbours that fit.
  EXPECT_EQ(HotKeyName(492), "Ctrl+Alt+Shift+Left Arro");
  EXPECT_EQ(HotKeyName(499), "Ctrl+Alt+Shift+Right Arr");
  EXPECT_EQ(HotKeyName(513), "Ctrl+Alt+Shift+Down Arro");
  EXPECT_EQ(HotKeyName(506), "Ctrl+Alt+Shift+Up Arrow");
  EXPECT_EQ(HotKeyName(485).size(), 24u);

  EXPECT_EQ(HotKeyName(-1), "");
  EXPECT_EQ(HotKeyName(720), "");
  EXPECT_EQ(HotKeyName(10000), "");
}

TEST(HotKeyTable, DecipherKeyGivesKeyButtonAndFlags) {
  EXPECT_EQ(DecipherKey(699), (HotKeyCombo{0, kMouseLeft, false, false, false, false}));
  EXPECT_EQ(DecipherKey(472), (HotKeyCombo{0x21, kMouseNone, false, false, false, true}));
  EXPECT_EQ(DecipherKey(144), (HotKeyCombo{0x41, kMouseNone, false, false, true, true}));
  EXPECT_EQ(DecipherKey(240), (HotKeyCombo{0x41, kMouseNone, false, true, true, true}));
  EXPECT_EQ(DecipherKey(607), (HotKeyCombo{0x46, kMouseNone, true, false, false, true}));
  EXPECT_EQ(DecipherKey(698), (HotKeyCombo{0x1B, kMouseNone, false, false, false, false}));
  EXPECT_EQ(DecipherKey(719), (HotKeyCombo{0, kMouseMiddle, false, true, true, false}));
  EXPECT_EQ(DecipherKey(707), (HotKeyCombo{0, kMouseRight, false, true, false, false}));
  EXPECT_EQ(DecipherKey(712), (HotKeyCombo{0, kMouseRight, false, true, true, false}));
  EXPECT_EQ(DecipherKey(553), (HotKeyCombo{0x69, kMouseNone, false, false, true, true}));
  EXPECT_EQ(DecipherKey(434), (HotKeyCombo{0x6F, kMouseNone, false, true, false, true}));
  EXPECT_EQ(DecipherKey(394), (HotKeyCombo{0xDC, kMouseNone, false, false, false, true}));
  EXPECT_EQ(DecipherKey(-1), HotKeyCombo{});
  EXPECT_EQ(DecipherKey(720), HotKeyCombo{});
  EXPECT_EQ(DecipherKey(20000), HotKeyCombo{});
}

TEST(HotKeyTable, CombinationsOutsideTheTableHaveNoCode) {
  EXPECT_EQ(HotKeyCodeForKey(0x41, false, false, true, true), -1);  // Win+Shift+A
  EXPECT_EQ(HotKeyCodeForKey(0x41, false, false, false, false), -1);  // plain A
  EXPECT_EQ(HotKeyCodeForKey(0x41, false, false, true, false), -1);  // Shift+A
  EXPECT_EQ(HotKeyCodeForKey(0x41, true, true, false, true), -1);  // Win+Ctrl+Alt+A
  EXPECT_EQ(HotKeyCodeForKey(0x0D, false, false, false, false), -1);  // plain Enter
  EXPECT_EQ(HotKeyCodeForKey(0x09, false, true, false, false), -1);  // Alt+Tab stays Windows'
  EXPECT_EQ(HotKeyCodeForKey(0x2E, true, true, false, false), -1);  // Ctrl+Alt+Delete
  EXPECT_EQ(HotKeyCodeForKey(0x60, false, false, true, false), -1);  // Shift+KeyPad 0
  EXPECT_EQ(HotKeyCodeForKey(0x1B, true, false, false, false), -1);  // Ctrl+Esc
  EXPECT_EQ(HotKeyCodeForKey(0x13, false, false, false, false), -1);  // Pause
  EXPECT_EQ(HotKeyCodeForKey(0x10, false, false, true, false), -1);  // a modifier alone
  EXPECT_EQ(HotKeyCodeForKey(0, 0), -1);
  EXPECT_EQ(HotKeyCodeForKey(0x141, kModCtrl), -1);  // beyond the 8-bit key range
  EXPECT_EQ(HotKeyCodeForKey(0x41, 16u), -1);
  EXPECT_EQ(HotKeyCodeForMouse(kMouseLeft, kModWin), -1);
  EXPECT_EQ(HotKeyCodeForMouse(kMouseLeft, kModCtrl | kModAlt | kModShift), -1);
  EXPECT_EQ(HotKeyCodeForMouse(0, 0), -1);
  EXPECT_EQ(HotKeyCodeForMouse(4, 0), -1);
  EXPECT_EQ(HotKeyCodeForMouse(-1, 0), -1);

  // And the lookups that do exist land on the right codes.
  EXPECT_EQ(HotKeyCodeForKey(0x41, true, true, false, false), 144);
  EXPECT_EQ(HotKeyCodeForKey(0x72, false, false, false, false), 290);
  EXPECT_EQ(HotKeyCodeForMouse(kMouseMiddle, kModShift | kModAlt), 719);
  EXPECT_EQ(HotKeyCodeForMouse(kMouseRight, 0), 706);
}

// --- The hook's per-event decisions -----------------------------------------

constexpr uint32_t kA = 0x41, kF = 0x46;

class HookFilterTest : public ::testing::Test {
 protected:
  HookFilterTest() : mem_(ab::kSize, 0), block_(mem_.data()) {}
  // Scan codes are made up from the virtual key: only their identity matters.
  HookVerdict Key(uint32_t vk, bool down, bool ours = false) {
    return filter_.OnKey(vk, 0x100 | vk, down, ours, now_ += 10, &block_);
  }
  HookVerdict Press(uint32_t vk) {
    HookVerdict v = Key(vk, true);
    HookVerdict up = Key(vk, false);
    EXPECT_EQ(up.swallow, v.swallow) << "key-up must share the key-down's fate, vk " << vk;
    EXPECT_EQ(up.post, HookPost::kNone);
    return v;
  }
  std::vector<uint8_t> mem_;
  ActivationBlock block_;
  HookInputFilter filter_;
  uint32_t now_ = 1000;
};

TEST_F(HookFilterTest, ArmedCombinationIsPostedAndSwallowedUnarmedPasses) {
  block_.SetHotKeyUsed(144, true);  // Ctrl+Alt+A
  Key(HookInputFilter::kVkLControl, true);
  Key(HookInputFilter::kVkRMenu, true);
  HookVerdict v = Press(kA);
  EXPECT_TRUE(v.swallow);
  EXPECT_EQ(v.post, HookPost::kHotKey);
  EXPECT_EQ(v.code, 144);
  EXPECT_TRUE(v.maskModifierRelease);
  v = Press(kF);  // Ctrl+Alt+F, not armed
  EXPECT_FALSE(v.swallow);
  EXPECT_EQ(v.post, HookPost::kNone);
  // Modifier events themselves always pass.
  EXPECT_FALSE(Key(HookInputFilter::kVkRMenu, false).swallow);
  v = Press(kA);  // Ctrl+A now: code 0, not armed
  EXPECT_FALSE(v.swallow);
  block_.SetHotKeyUsed(0, true);
  v = Press(kA);
  EXPECT_EQ(v.code, 0);
  EXPECT_FALSE(v.maskModifierRelease);  // Ctrl alone opens no menu
  EXPECT_FALSE(Key(HookInputFilter::kVkLControl, false).swallow);
  EXPECT_EQ(filter_.Modifiers(), 0u);
  // Plain A has no code even when some byte is set.
  EXPECT_FALSE(Press(kA).swallow);
}

TEST_F(HookFilterTest, LeftAndRightModifiersAreTrackedApart) {
  block_.SetHotKeyUsed(96, true);  // Ctrl+Shift+A
  Key(HookInputFilter::kVkLShift, true);
  Key(HookInputFilter::kVkRShift, true);
  Key(HookInputFilter::kVkRControl, true);
  Key(HookInputFilter::kVkLShift, false);  // right Shift is still down
  EXPECT_EQ(Press(kA).code, 96);
  Key(HookInputFilter::kVkRShift, false);
  EXPECT_EQ(filter_.Modifiers(), kModCtrl);
  Key(HookInputFilter::kVkLWin, true);
  block_.SetHotKeyUsed(602, true);  // Win+Ctrl+A
  HookVerdict v = Press(kA);
  EXPECT_EQ(v.code, 602);
  EXPECT_TRUE(v.maskModifierRelease);
}

TEST_F(HookFilterTest, OnlyAFreshPressOfAltOrWinUndoesTheMask) {
  struct Row {
    uint32_t vk;
    bool down;
    bool masked_after;
  };
  const Row rows[] = {
      {HookInputFilter::kVkLMenu, true, false},     // fresh press: its release would open the menu
      {HookInputFilter::kVkLMenu, true, true},      // auto-repeat of the held Alt
      {HookInputFilter::kVkLControl, true, true},   // Ctrl opens no menu
      {HookInputFilter::kVkLMenu, false, true},
      {HookInputFilter::kVkRWin, true, false},
  };
  for (const Row& r : rows) {
    filter_.NoteMenuMasked();
    Key(r.vk, r.down);
    EXPECT_EQ(filter_.MenuReleaseMasked(), r.masked_after) << r.vk << (r.down ? " down" : " up");
  }
  filter_.Reset();
  EXPECT_FALSE(filter_.MenuReleaseMasked());
}

TEST_F(HookFilterTest, AutoRepeatIsSwallowedWithoutNewMessagesAndALostKeyUpHeals) {
  block_.SetHotKeyUsed(288, true);  // F1
  HookVerdict v = Key(0x70, true);
  EXPECT_EQ(v.post, HookPost::kHotKey);
  for (int i = 0; i < 5; ++i) {
    v = Key(0x70, true);  // repeats 10 ms apart
    EXPECT_TRUE(v.swallow);
    EXPECT_EQ(v.post, HookPost::kNone);
  }
  EXPECT_TRUE(Key(0x70, false).swallow);
  EXPECT_FALSE(Key(0x70, false).swallow);  // a second key-up is not ours to eat
  // Key-up lost: a down long after the last one is a fresh press again.
  EXPECT_EQ(Key(0x70, true).post, HookPost::kHotKey);
  now_ += 5000;
  EXPECT_EQ(Key(0x70, true).post, HookPost::kHotKey);
}

TEST_F(HookFilterTest, KeyUpOfASwallowedKeyIsFoundByItsPhysicalKey) {
  constexpr uint32_t kKeypad0Scan = 0x52, kVkNumpad0 = 0x60, kVkInsert = 0x2D;
  block_.SetHotKeyUsed(514, true);  // KeyPad 0
  HookVerdict v = filter_.OnKey(kVkNumpad0, kKeypad0Scan, true, false, 100, &block_);
  EXPECT_EQ(v.code, 514);
  // Num Lock went off while the key was held: it comes up as Insert.
  EXPECT_TRUE(filter_.OnKey(kVkInsert, kKeypad0Scan, false, false, 110, &block_).swallow);
  // Only once; and the dedicated Insert key (extended) is another key.
  EXPECT_FALSE(filter_.OnKey(kVkInsert, kKeypad0Scan, false, false, 120, &block_).swallow);
  filter_.OnKey(kVkNumpad0, kKeypad0Scan, true, false, 130, &block_);
  EXPECT_FALSE(filter_.OnKey(kVkInsert, 0x100 | kKeypad0Scan, false, false, 140, &block_).swallow);
  // Without a known scan code nothing is matched by guesswork.
  EXPECT_FALSE(filter_.OnKey(kVkInsert, 0, false, false, 150, &block_).swallow);
  EXPECT_TRUE(filter_.OnKey(kVkNumpad0, kKeypad0Scan, false, false, 160, &block_).swallow);
}

TEST_F(HookFilterTest, InjectedInputIsIgnoredButTheEndOfPlaybackKeyAlwaysCounts) {
  block_.SetHotKeyUsed(144, true);
  // Injected modifiers do not change the tracked state...
  Key(HookInputFilter::kVkLControl, true, true);
  Key(HookInputFilter::kVkLMenu, true, true);
  EXPECT_EQ(filter_.Modifiers(), 0u);
  // ...and an injected armed combination neither posts nor is swallowed.
  Key(HookInputFilter::kVkLControl, true);
  Key(HookInputFilter::kVkLMenu, true);
  HookVerdict v = Key(kA, true, true);
  EXPECT_FALSE(v.swallow);
  EXPECT_EQ(v.post, HookPost::kNone);
  EXPECT_FALSE(Key(kA, false, true).swallow);

  block_.SetPlaybackStarted(true);
  v = Key(kEndOfPlaybackKey, true, true);
  EXPECT_FALSE(v.swallow);
  EXPECT_FALSE(block_.PlaybackStarted());
  block_.SetPlaybackStarted(true);
  Key(kEndOfPlaybackKey, false, false);
  EXPECT_FALSE(block_.PlaybackStarted());
}

TEST_F(HookFilterTest, PauseAbortsOnlyWhilePlaybackRuns) {
  HookVerdict v = Press(HookInputFilter::kVkPause);
  EXPECT_FALSE(v.swallow);
  EXPECT_EQ(v.post, HookPost::kNone);
  block_.SetPlaybackStarted(true);
  v = Press(HookInputFilter::kVkPause);
  EXPECT_TRUE(v.swallow);
  EXPECT_EQ(v.post, HookPost::kAbort);
  EXPECT_FALSE(v.maskModifierRelease);
  // Injected Pause (the macro's own) never aborts.
  v = Key(HookInputFilter::kVkPause, true, true);
  EXPECT_EQ(v.post, HookPost::kNone);
  Key(HookInputFilter::kVkPause, false, true);
  // With modifiers held it still aborts.
  Key(HookInputFilter::kVkLShift, true);
  EXPECT_EQ(Press(HookInputFilter::kVkPause).post, HookPost::kAbort);
}

TEST_F(HookFilterTest, HotKeyEntryPicksAnyCodeAndLetsOtherKeysThrough) {
  block_.SetHotKeyEntryActive(true);
  block_.SetHotKeyUsed(0, true);
  Key(HookInputFilter::kVkLControl, true);
  HookVerdict v = Press(kA);
  EXPECT_EQ(v.post, HookPost::kHotKeyPick);  // not kHotKey, though armed
  EXPECT_EQ(v.code, 0);
  EXPECT_EQ(Press(kF).code, 5);  // not armed, still picked
  EXPECT_FALSE(v.maskModifierRelease);
  Key(HookInputFilter::kVkLControl, false);
  Key(HookInputFilter::kVkLMenu, true);
  v = Press(0x51);  // Alt+Q picked: Alt's lone release must not open a menu
  EXPECT_EQ(v.code, 64);
  EXPECT_TRUE(v.maskModifierRelease);
  Key(HookInputFilter::kVkLMenu, false);
  v = Press(0x09);  // plain Tab has no code: it moves the focus on
  EXPECT_FALSE(v.swallow);
  EXPECT_EQ(Press(0x1B).code, 698);  // plain Esc is a code
  // Plain clicks keep the dialog usable; a click with a modifier picks.
  EXPECT_FALSE(filter_.OnMouseButton(kMouseLeft, true, false, &block_).swallow);
  EXPECT_FALSE(filter_.OnMouseButton(kMouseLeft, false, false, &block_).swallow);
  Key(HookInputFilter::kVkLShift, true);
  v = filter_.OnMouseButton(kMouseRight, true, false, &block_);
  EXPECT_EQ(v.post, HookPost::kHotKeyPick);
  EXPECT_EQ(v.code, 707);
  EXPECT_TRUE(filter_.OnMouseButton(kMouseRight, false, false, &block_).swallow);
}

TEST_F(HookFilterTest, MouseButtonsUseTheTableByteRule) {
  HookVerdict v = filter_.OnMouseButton(kMouseLeft, true, false, &block_);
  EXPECT_FALSE(v.swallow);
  block_.SetHotKeyUsed(705, true);  // Shift+Alt+LMouse
  Key(HookInputFilter::kVkLShift, true);
  Key(HookInputFilter::kVkLMenu, true);
  v = filter_.OnMouseButton(kMouseLeft, true, false, &block_);
  EXPECT_TRUE(v.swallow);
  EXPECT_EQ(v.post, HookPost::kHotKey);
  EXPECT_EQ(v.code, 705);
  EXPECT_TRUE(v.maskModifierRelease);
  EXPECT_TRUE(filter_.OnMouseButton(kMouseLeft, false, false, &block_).swallow);
  // Injected clicks never fire.
  v = filter_.OnMouseButton(kMouseLeft, true, true, &block_);
  EXPECT_FALSE(v.swallow);
  EXPECT_FALSE(filter_.OnMouseButton(kMouseLeft, false, true, &block_).swallow);
  // Win+click has no code.
  Key(HookInputFilter::kVkLWin, true);
  EXPECT_FALSE(filter_.OnMouseButton(kMouseLeft, true, false, &block_).swallow);
  EXPECT_FALSE(filter_.OnMouseButton(9, true, false, &block_).swallow);
}

TEST_F(HookFilterTest, WithoutABlockNothingFiresButModifiersAreStillTracked) {
  filter_.OnKey(HookInputFilter::kVkLControl, 0x1D, true, false, 1, nullptr);
  HookVerdict v = filter_.OnKey(kA, 0x1E, true, false, 2, nullptr);
  EXPECT_FALSE(v.swallow);
  EXPECT_EQ(filter_.Modifiers(), kModCtrl);
  EXPECT_FALSE(filter_.OnKey(kEndOfPlaybackKey, 0, true, true, 3, nullptr).swallow);
  EXPECT_FALSE(filter_.OnKey(0x1FF, 0, true, false, 4, nullptr).swallow);
  filter_.Reset();
  EXPECT_EQ(filter_.Modifiers(), 0u);
}

TEST(HookWatchdog, ReinstallsOnceForUnseenInputAndNeverLoops) {
  HookWatchdog w;
  uint32_t t = 0xFFFFF000u;  // close to the tick counter's wrap
  w.Start(t);
  // Input the hook saw: no action.
  w.OnHookCall(t + 100);
  EXPECT_FALSE(w.Check(t + 3000, t + 100));
  // Input after the last call but too recent to judge.
  EXPECT_FALSE(w.Check(t + 3500, t + 3000));
  // The hook had its chance and missed it.
  EXPECT_TRUE(w.Check(t + 4100, t + 3000));
  // The same input, and more unseen input, while no event came back: nothing.
  EXPECT_FALSE(w.Check(t + 5200, t + 3000));
  EXPECT_FALSE(w.Check(t + 20000, t + 15000));
  EXPECT_FALSE(w.Check(t + 60000, t + 50000));
  // Events flow again; a later miss is acted on.
  w.OnHookCall(t + 61000);
  EXPECT_FALSE(w.Check(t + 61500, t + 61000));
  EXPECT_TRUE(w.Check(t + 64000, t + 62000));
  // Re-armed at once, but not twice within the minimum interval.
  w.OnHookCall(t + 64100);
  EXPECT_FALSE(w.Check(t + 66000, t + 64900));
  EXPECT_TRUE(w.Check(t + 69200, t + 64900));
}

}  // namespace
}  // namespace qlx
