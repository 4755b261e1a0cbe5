// The hook library's per-event decisions beside capture: key remapping,
// the characters and clear requests reported for Snapwords, and how they
// give way to hot keys and to the program's own input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "activation/key_remap.h"
#include "hook/input_processor.h"

namespace qlx {
namespace {

constexpr uint32_t kShift = 0xA0, kCtrl = 0xA2;

class ProcessorRig {
 public:
  ProcessorRig() {
    block.SetMainWindow(1);
    RemapTables(remap.Tables()).InitSwapKeys();
  }
  InputOutcome Key(uint32_t vk, bool down, bool ours = false) {
    KeyInput k;
    k.vk = vk;
    k.physical = vk;
    k.down = down;
    k.ours = ours;
    k.time = now += 10;
    k.capsLock = caps;
    InputOutcome o = p.OnKey(k, hooks, &block, &remap);
    Record(o);
    return o;
  }
  void Tap(uint32_t vk) {
    Key(vk, true);
    Key(vk, false);
  }
  InputOutcome Click(int button) {
    InputOutcome o = p.OnMouseButton(button, true, false, {1, 1}, now += 10, &block, [] { return FrontWindow{}; });
    Record(o);
    Record(p.OnMouseButton(button, false, false, {1, 1}, now += 10, &block, [] { return FrontWindow{}; }));
    return o;
  }
  void Map(char from, char to) {
    RemapTables(remap.Tables()).SetEntry(static_cast<size_t>(RemapIndexOf(static_cast<uint8_t>(from))),
                                         static_cast<uint8_t>(to));
  }

  std::vector<uint8_t> memory = std::vector<uint8_t>(ab::kSize, 0);
  std::vector<uint8_t> remap_memory = std::vector<uint8_t>(rb::kSize, 0);
  ActivationBlock block{memory.data()};
  RemapBlock remap{remap_memory.data()};
  InputProcessor p;
  InstalledHooks hooks{true, true};
  uint32_t now = 0;
  bool caps = false;
  std::string injected;
  // "c:x" a character (C when Caps Lock), "clear" a clear request.
  std::vector<std::string> snap;

 private:
  void Record(const InputOutcome& o) {
    if (o.inject) injected.push_back(static_cast<char>(o.inject));
    if (o.snap.kind == SnapwordPost::kChar)
      snap.push_back(std::string(o.snap.capsLock ? "C:" : "c:") + static_cast<char>(o.snap.c));
    if (o.snap.kind == SnapwordPost::kClear) snap.push_back("clear");
  }
};

TEST(KeyRemapHook, ARemappedKeyTypesItsReplacementAndNeverItself) {
  ProcessorRig r;
  r.Map('a', 'b');
  r.Map('A', '@');
  const InputOutcome down = r.Key('A', true);
  EXPECT_TRUE(down.swallow);
  EXPECT_EQ(down.inject, 'b');
  EXPECT_TRUE(r.Key('A', false).swallow) << "the key-up of a replaced key goes too";
  r.Key(kShift, true);
  EXPECT_EQ(r.Key('A', true).inject, '@');
  r.Key('A', false);
  r.Key(kShift, false);
  const InputOutcome other = r.Key('C', true);
  EXPECT_FALSE(other.swallow);
  EXPECT_EQ(other.inject, 0);
  EXPECT_EQ(r.injected, "b@");
}

TEST(KeyRemapHook, AutoRepeatRepeatsTheReplacement) {
  ProcessorRig r;
  r.Map('q', 'z');
  r.Key('Q', true);
  r.Key('Q', true);
  r.Key('Q', true);
  r.Key('Q', false);
  EXPECT_EQ(r.injected, "zzz");
}

TEST(KeyRemapHook, IdentityZeroAndChordsLeaveKeysAlone) {
  ProcessorRig r;
  r.Map('x', 0);  // "none": left as typed
  EXPECT_FALSE(r.Key('X', true).swallow);
  r.Key('X', false);
  r.Map('c', 'k');
  r.Key(kCtrl, true);
  EXPECT_FALSE(r.Key('C', true).swallow) << "Ctrl+C stays Ctrl+C";
  r.Key('C', false);
  r.Key(kCtrl, false);
  EXPECT_EQ(r.injected, "");
}

TEST(KeyRemapHook, TheProgramsOwnInputIsNeverRemapped) {
  ProcessorRig r;
  r.Map('a', 'b');
  EXPECT_FALSE(r.Key('A', true, true).swallow);
  EXPECT_FALSE(r.Key('A', false, true).swallow);
  EXPECT_EQ(r.injected, "");
  EXPECT_TRUE(r.snap.empty()) << "playback feeds no Snapword";
}

TEST(KeyRemapHook, AHotKeyIsMatchedOnTheKeyPressedBeforeRemapping) {
  ProcessorRig r;
  r.Map(' ', '_');
  r.block.SetHotKeyUsed(333, true);  // Shift+Space
  r.Key(kShift, true);
  const InputOutcome o = r.Key(0x20, true);
  EXPECT_TRUE(o.swallow);
  EXPECT_EQ(o.hot.post, HookPost::kHotKey);
  EXPECT_EQ(o.hot.code, 333);
  EXPECT_EQ(o.inject, 0);
  r.Key(0x20, false);
  r.Key(kShift, false);
  EXPECT_EQ(r.Key(0x20, true).inject, '_') << "unshifted, the space is remapped";
}

TEST(KeyRemapHook, RemappingGoesOnWithoutTheKeyboardHook) {
  ProcessorRig r;
  r.hooks = {false, true};  // a direct editor removed the keyboard hook
  r.Map('a', 'b');
  r.block.SetHotKeyUsed(0, true);
  r.Key(kCtrl, true);
  EXPECT_FALSE(r.Key('A', true).swallow) << "no hot keys without the keyboard hook";
  r.Key('A', false);
  r.Key(kCtrl, false);
  EXPECT_EQ(r.Key('A', true).inject, 'b');
  EXPECT_TRUE(r.snap.empty()) << "no Snapword characters without the keyboard hook";
  r.hooks = {true, false};
  r.Key('A', false);
  EXPECT_EQ(r.Key('A', true).inject, 0) << "nor remapping without the remap hook";
}

TEST(SnapwordReports, CharactersAsTypedAndOneClearAtEachEndOfAWord) {
  ProcessorRig r;
  r.Map('a', 'b');
  r.Tap('A');
  r.Tap('C');
  r.Tap(0x0D);  // Enter
  r.Tap(0x25);  // Left arrow: the caret moved
  r.Tap(0x26);  // nothing typed since: no second clear
  r.caps = true;
  r.Tap(0x14);  // Caps Lock itself ends nothing
  r.Tap('D');
  r.Click(kMouseLeft);
  r.Key(kCtrl, true);
  r.Tap('V');
  r.Key(kCtrl, false);
  r.Tap(0x14);
  EXPECT_EQ(r.snap, (std::vector<std::string>{"c:b", "c:c", "c:\r", "clear", "C:D", "clear"}));
}

TEST(SnapwordReports, AForegroundChangeClearsOnceAndAHotKeyClears) {
  ProcessorRig r;
  r.Tap('A');
  EXPECT_EQ(r.p.OnForegroundChange().kind, SnapwordPost::kClear);
  EXPECT_EQ(r.p.OnForegroundChange().kind, SnapwordPost::kNone);
  r.Tap('B');
  r.block.SetHotKeyUsed(290, true);
  const InputOutcome o = r.Key(0x72, true);  // F3
  EXPECT_EQ(o.snap.kind, SnapwordPost::kClear);
  EXPECT_EQ(o.hot.code, 290);
}

}  // namespace
}  // namespace qlx
