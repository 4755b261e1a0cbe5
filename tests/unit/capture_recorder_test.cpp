// What a capture records: the macro text made from sequences of key and
// mouse events as the hook library sees them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/hotkey_table.h"
#include "capture/capture_options.h"
#include "hook/input_processor.h"

namespace qlx {
namespace {

constexpr uint32_t kShift = 0xA0, kCtrl = 0xA2, kAlt = 0xA4, kRShift = 0xA1, kLWin = 0x5B;
constexpr uint32_t kReturn = 0x0D, kBack = 0x08, kTab = 0x09, kLeft = 0x25, kCapital = 0x14;

// The hook library's side of a capture: the processor fed with events as
// the hooks deliver them, and everything it would post collected.
class CaptureRig {
 public:
  CaptureRig() {
    options.time = false;
    options.window_size = false;
  }
  // Arms the block as the program does at capture start.
  void Start(int stop_code = 263, int own_code = -1) {
    WriteCaptureOptionBytes(block, options);
    block.SetStopKey(CaptureKeyOf(DecipherKey(stop_code)));
    block.SetHasOwnKey(own_code >= 0);
    if (own_code >= 0) block.SetOwnKey(CaptureKeyOf(DecipherKey(own_code)));
    block.SetCaptureTarget(7);
    block.SetCaptureStartPending(true);
    block.SetCaptureActive(true);
  }
  void Key(uint32_t vk, bool down, uint32_t gap = 10) {
    now += gap;
    KeyInput k;
    k.vk = vk;
    k.physical = vk;
    k.down = down;
    k.time = now;
    k.capsLock = caps;
    Take(p.OnKey(k, {true, true}, &block, &remap));
  }
  void Tap(uint32_t vk, uint32_t gap = 10) {
    Key(vk, true, gap);
    Key(vk, false);
  }
  // Types text on the US layout, pressing Shift where a character needs it.
  void Type(const std::string& text) {
    const KeyLayout us = UsKeyLayout();
    for (char ch : text) {
      const auto c = static_cast<uint8_t>(ch);
      for (uint32_t vk = 1; vk < 256; ++vk) {
        const bool plain = us.Plain(vk) == c && !(vk >= 0x60 && vk <= 0x6F);
        const bool shifted = !plain && us.Typed(vk, true, false) == c;
        if (!plain && !shifted) continue;
        if (shifted) Key(kShift, true);
        Tap(vk);
        if (shifted) Key(kShift, false);
        break;
      }
    }
  }
  void Button(int button, bool down, int x, int y, uint32_t gap = 10) {
    now += gap;
    Take(p.OnMouseButton(button, down, false, {x, y}, now, &block, [this] { return front; }));
  }
  void Click(int button, int x, int y) {
    Button(button, true, x, y);
    Button(button, false, x, y);
  }
  // The default stop key, Ctrl+Alt+Shift+X.
  void PressStop() {
    Key(kCtrl, true);
    Key(kAlt, true);
    Key(kShift, true);
    Key('X', true);
    Key('X', false);
    Key(kShift, false);
    Key(kAlt, false);
    Key(kCtrl, false);
  }

  CaptureOptions options;
  std::vector<uint8_t> memory = std::vector<uint8_t>(ab::kSize, 0);
  std::vector<uint8_t> remap_memory = std::vector<uint8_t>(rb::kSize, 0);
  ActivationBlock block{memory.data()};
  RemapBlock remap{remap_memory.data()};
  InputProcessor p;
  FrontWindow front{0x1234, 50, 60, 640, 480};
  uint32_t now = 1000;
  bool caps = false;
  std::string text;
  int done = 0;
  int done_macro = 0;
  bool swallowed_last = false;

 private:
  void Take(const InputOutcome& o) {
    if (o.capture) text += std::string(o.capture->view());
    if (o.captureDone) {
      ++done;
      done_macro = o.captureMacro;
    }
    swallowed_last = o.swallow;
  }
};

TEST(CaptureRecorder, TypedTextKeepsItsCaseAndNamedKeysBecomeTokens) {
  CaptureRig r;
  r.Start();
  r.Type("Hi, World!");
  r.Tap(kReturn);
  r.Type("x");
  r.Tap(kBack);
  r.Tap(kLeft);
  r.Type("A ~");
  r.PressStop();
  EXPECT_EQ(r.text, "Hi, World!<ENTER>x<BACKSPACE><LEFT ARROW>A ~");
  EXPECT_EQ(r.done, 1);
  EXPECT_EQ(r.done_macro, 7);
}

// Key sequences (virtual key, down) and the text each records.
struct KeyCase {
  const char* name;
  std::vector<std::pair<uint32_t, bool>> keys;
  const char* expected;
};

void ExpectRecorded(const std::vector<KeyCase>& cases) {
  for (const KeyCase& c : cases) {
    CaptureRig r;
    r.Start();
    for (auto [vk, down] : c.keys) r.Key(vk, down);
    r.PressStop();
    EXPECT_EQ(r.text, c.expected) << c.name;
  }
}

TEST(CaptureRecorder, ShiftReachesTheTextOnlyWhereACharacterCannotCarryIt) {
  ExpectRecorded({
      {"shift tab", {{kShift, true}, {kTab, true}, {kTab, false}, {kShift, false}}, "<SHFD><TAB><SHFU>"},
      {"capitals then shift tab under one shift",
       {{kShift, true}, {'A', true}, {'A', false}, {kTab, true}, {kTab, false}, {'B', true}, {kShift, false}},
       "A<SHFD><TAB><SHFU>B"},
      {"right shift counts as shift", {{kRShift, true}, {'Q', true}, {kRShift, false}}, "Q"},
      {"shift alone records nothing", {{kShift, true}, {kShift, false}}, ""},
  });
}

TEST(CaptureRecorder, ChordsHoldTheirModifiersUntilTheUserLetsGo) {
  ExpectRecorded({
      {"ctrl c", {{kCtrl, true}, {'C', true}, {'C', false}, {kCtrl, false}}, "<CTLD>c<CTLU>"},
      {"held ctrl over two keys", {{kCtrl, true}, {'C', true}, {'V', true}, {kCtrl, false}}, "<CTLD>cv<CTLU>"},
      {"ctrl shift left, released shift first",
       {{kCtrl, true}, {kShift, true}, {kLeft, true}, {kShift, false}, {kCtrl, false}},
       "<CTLD><SHFD><LEFT ARROW><SHFU><CTLU>"},
      {"alt f opens a menu", {{kAlt, true}, {'F', true}, {'F', false}, {kAlt, false}}, "<ALTD>f<ALTU>"},
      {"win e", {{kLWin, true}, {'E', true}, {kLWin, false}}, "<WIND>e<WINU>"},
      {"a character after the chord", {{kCtrl, true}, {'A', true}, {kCtrl, false}, {'B', true}}, "<CTLD>a<CTLU>b"},
      {"shift joins a held ctrl",
       {{kCtrl, true}, {'A', true}, {kShift, true}, {'B', true}, {kCtrl, false}, {kShift, false}},
       "<CTLD>a<SHFD>b<CTLU><SHFU>"},
  });
}

TEST(CaptureRecorder, ALoneAltIsTheMenuBarOnlyWithDoubleAlt) {
  for (bool double_alt : {true, false}) {
    CaptureRig r;
    r.options.double_alt = double_alt;
    r.Start();
    r.Key(kAlt, true);
    r.Key(kAlt, true);  // auto-repeat
    r.Key(kAlt, false);
    r.Type("f");
    r.PressStop();
    EXPECT_EQ(r.text, double_alt ? "<ALT><ALT>f" : "f");
  }
}

TEST(CaptureRecorder, CapsLockAndTheKeypadTypeWhatTheTargetSaw) {
  CaptureRig r;
  r.Start();
  r.caps = true;
  r.Tap(kCapital);
  r.Type("a");       // plain a with Caps Lock: A
  r.Key(kShift, true);
  r.Tap('B');        // Shift with Caps Lock: b
  r.Tap('1');        // digits ignore Caps Lock
  r.Key(kShift, false);
  r.Tap(0x61);       // keypad 1
  r.Tap(0x6B);       // keypad +
  r.PressStop();
  EXPECT_EQ(r.text, "Ab!1+");
}

TEST(CaptureRecorder, ALiteralLessThanNeverReadsAsAToken) {
  struct Case {
    const char* typed;
    const char* expected;
  };
  const Case cases[] = {
      {"<ENTER>", "<<TEST>ENTER>"},
      {"a<1", "a<1"},
      {"<<b", "<<<TEST>b"},
      {"x<", "x<"},
      {"<hh:mm{Y}>", "<<TEST>hh:mm{Y}>"},
  };
  for (const Case& c : cases) {
    CaptureRig r;
    r.Start();
    r.Type(c.typed);
    r.PressStop();
    EXPECT_EQ(r.text, c.expected) << c.typed;
  }
}

TEST(CaptureRecorder, ClicksAreRecordedAtTheScreenOrWindowPlace) {
  {
    CaptureRig r;
    r.Start();
    r.Type("a");
    r.Click(kMouseLeft, 100, 200);
    r.Type("b");
    r.Click(kMouseRight, 5, 6);
    r.PressStop();
    EXPECT_EQ(r.text, "a<MMS:00100,00200><LCLK>b<MMS:00005,00006><RCLK>");
  }
  {
    CaptureRig r;
    r.options.relative_to_screen = false;
    r.Start();
    r.Click(kMouseLeft, 100, 100);
    r.Click(kMouseMiddle, 60, 61);
    r.PressStop();
    EXPECT_EQ(r.text, "<MMW:00050,00040><LCLK><MMW:00010,00001><MCLK>");
  }
}

TEST(CaptureRecorder, WindowSizeIsRecordedOncePerWindowWhenAsked) {
  CaptureRig r;
  r.options.relative_to_screen = false;
  r.options.window_size = true;
  r.Start();
  r.Click(kMouseLeft, 100, 100);
  r.Click(kMouseLeft, 110, 100);
  r.front = {0x99, 0, 0, 300, 200};
  r.Click(kMouseLeft, 10, 20);
  r.PressStop();
  EXPECT_EQ(r.text,
            "<WSIZE:0640,0480\"CURRENT\"><MMW:00050,00040><LCLK><MMW:00060,00040><LCLK>"
            "<WSIZE:0300,0200\"CURRENT\"><MMW:00010,00020><LCLK>");
}

TEST(CaptureRecorder, WindowSizeNeedsWindowRelativeClicks) {
  CaptureRig r;
  r.options.relative_to_screen = true;
  r.options.window_size = true;
  r.Start();
  EXPECT_FALSE(r.block.CaptureWindowSize());
  r.Click(kMouseLeft, 1, 2);
  r.PressStop();
  EXPECT_EQ(r.text, "<MMS:00001,00002><LCLK>");
}

TEST(CaptureRecorder, DragsAndModifiedClicks) {
  CaptureRig r;
  r.Start();
  r.Button(kMouseLeft, true, 10, 10);
  r.Button(kMouseLeft, false, 30, 40);
  r.Key(kShift, true);
  r.Click(kMouseLeft, 50, 50);
  r.Key(kShift, false);
  r.PressStop();
  EXPECT_EQ(r.text, "<MMS:00010,00010><LDN><MMS:00030,00040><LUP><SHFD><MMS:00050,00050><LCLK><SHFU>");
}

TEST(CaptureRecorder, DelaysFollowTheUserWithCaptureAt) {
  CaptureRig r;
  r.options.time = true;
  r.Start();
  r.Key('A', true, 500);   // the first element has no wait before it
  r.Key('A', false);
  r.Key('B', true, 290);   // 300 ms after a
  r.Key('B', false);
  r.Key('C', true, 20);    // typing speed: no token
  r.Key('C', false);
  r.Key('D', true, 12170); // 12.18 s
  r.Key('D', false, 1);
  r.now += 400;
  r.Click(kMouseLeft, 1, 1);
  r.PressStop();
  EXPECT_EQ(r.text, "a<MSD:0300>bc<DELAY:12.18>d<MSD:0411><MMS:00001,00001><LCLK>");
}

TEST(CaptureRecorder, OptionsLeaveOutKeysOrMouse) {
  {
    CaptureRig r;
    r.options.keys = false;
    r.Start();
    r.Type("ab");
    r.Click(kMouseLeft, 3, 4);
    r.PressStop();
    EXPECT_EQ(r.text, "<MMS:00003,00004><LCLK>");
    EXPECT_EQ(r.done, 1) << "the stop key works without keystrokes";
  }
  {
    CaptureRig r;
    r.options.mouse = false;
    r.Start();
    r.Type("ab");
    r.Click(kMouseLeft, 3, 4);
    r.PressStop();
    EXPECT_EQ(r.text, "ab");
  }
}

TEST(CaptureRecorder, TheStopKeyEndsTheCaptureAndIsKeptFromTheTarget) {
  CaptureRig r;
  r.Start();
  r.Key(kCtrl, true);
  r.Tap('C');
  r.Key(kAlt, true);
  r.Key(kShift, true);
  r.Key('X', true);
  EXPECT_TRUE(r.swallowed_last);
  EXPECT_EQ(r.done, 1);
  r.Key('X', true);  // auto-repeat of the stop key
  EXPECT_TRUE(r.swallowed_last);
  r.Key('X', false);
  EXPECT_TRUE(r.swallowed_last);
  r.Key(kShift, false);
  r.Key(kAlt, false);
  r.Key(kCtrl, false);
  r.Type("late");
  // The chord's Ctrl is let go in the text; nothing after the stop key.
  EXPECT_EQ(r.text, "<CTLD>c<CTLU>");
  EXPECT_EQ(r.done, 1);
}

TEST(CaptureRecorder, TheOwnHotKeyEndsARecaptureToo) {
  CaptureRig r;
  r.Start(263, 290);  // own hot key F3
  r.Type("ab");
  r.Tap(0x72);
  EXPECT_EQ(r.done, 1);
  r.Type("c");
  EXPECT_EQ(r.text, "ab");
}

TEST(CaptureRecorder, AMouseStopKeyEndsIt) {
  CaptureRig r;
  r.Start(706);  // RMouse
  r.Type("a");
  r.Button(kMouseRight, true, 1, 1);
  EXPECT_TRUE(r.swallowed_last);
  r.Button(kMouseRight, false, 1, 1);
  EXPECT_TRUE(r.swallowed_last);
  EXPECT_EQ(r.done, 1);
  EXPECT_EQ(r.text, "a");
}

TEST(CaptureRecorder, ACaptureTheProgramEndsDropsTheClickThatEndedIt) {
  CaptureRig r;
  r.Start();
  r.Type("ab");
  r.Click(kMouseRight, 1270, 1010);  // the recording icon
  r.block.SetCaptureActive(false);   // "End Capture"
  r.Type("c");
  EXPECT_EQ(r.text, "ab");
  EXPECT_FALSE(r.p.recorder().Active());
  EXPECT_EQ(r.done, 0);
}

TEST(CaptureRecorder, ANewStartBeginsAFreshRecording) {
  CaptureRig r;
  r.Start();
  r.Type("one");
  r.PressStop();
  r.Type("between");  // the program has not yet taken the end
  r.Start();
  r.Type("two");
  r.PressStop();
  EXPECT_EQ(r.text, "onetwo");
  EXPECT_EQ(r.done, 2);
}

TEST(CaptureRecorder, TheHotKeyThatStartsACaptureIsNotRecorded) {
  CaptureRig r;
  r.block.SetHotKeyUsed(263, true);
  // Ctrl+Alt+Shift+X down: a hot key, nothing records yet.
  r.Key(kCtrl, true);
  r.Key(kAlt, true);
  r.Key(kShift, true);
  r.Key('X', true);
  EXPECT_TRUE(r.swallowed_last);
  r.Start();  // the program starts the capture while the keys are still held
  r.Key('X', false);
  EXPECT_TRUE(r.swallowed_last);
  r.Key(kShift, false);
  r.Key(kAlt, false);
  r.Key(kCtrl, false);
  r.Type("go");
  r.PressStop();
  EXPECT_EQ(r.text, "go");
}

TEST(CaptureOptions, SpeedTokensLeadTheText) {
  EXPECT_EQ(SpeedToken(kSpeedActual), "<SPEED:00001>");
  EXPECT_EQ(SpeedToken(kSpeedHalf), "<SPEED:00002>");
  EXPECT_EQ(SpeedToken(kSpeedDouble), "<SPEED:00.50>");
  EXPECT_EQ(SpeedToken(kSpeedQuadruple), "<SPEED:00.25>");
  EXPECT_EQ(SpeedToken(9), "<SPEED:00001>");
}

TEST(CaptureOptions, ControlsAreEnabledByTheOptionsTheyDependOn) {
  CaptureOptions o;
  o.keys = false;
  o.mouse = true;
  o.relative_to_screen = true;
  o.time = false;
  CaptureControlStates c = EnabledCaptureControls(o);
  EXPECT_FALSE(c.double_alt);
  EXPECT_TRUE(c.relative_to);
  EXPECT_FALSE(c.window_size);
  EXPECT_FALSE(c.speeds);
  o.keys = true;
  o.relative_to_screen = false;
  o.time = true;
  c = EnabledCaptureControls(o);
  EXPECT_TRUE(c.double_alt);
  EXPECT_TRUE(c.window_size);
  EXPECT_TRUE(c.speeds);
  o.mouse = false;
  c = EnabledCaptureControls(o);
  EXPECT_FALSE(c.relative_to);
  EXPECT_FALSE(c.window_size);
}

TEST(CaptureOptions, OptionBytesLandAtTheirOffsets) {
  std::vector<uint8_t> mem(ab::kSize, 0);
  ActivationBlock b(mem.data());
  CaptureOptions o;
  o.double_alt = true;
  o.keys = false;
  o.mouse = true;
  o.relative_to_screen = false;
  o.window_size = true;
  o.time = true;
  WriteCaptureOptionBytes(b, o);
  EXPECT_EQ(mem[741], 1);
  EXPECT_EQ(mem[778], 0);
  EXPECT_EQ(mem[779], 1);
  EXPECT_EQ(mem[780], 0);
  EXPECT_EQ(mem[781], 1);
  EXPECT_EQ(mem[776], 1);
  EXPECT_EQ(mem[791], 1);
  b.SetStopKey(CaptureKeyOf(DecipherKey(263)));
  EXPECT_EQ(mem[759] | (mem[760] << 8), 'X');
  EXPECT_EQ((std::vector<uint8_t>{mem[761], mem[762], mem[763], mem[764]}), (std::vector<uint8_t>{1, 1, 1, 0}));
  b.SetOwnKey(CaptureKeyOf(DecipherKey(700)));  // Shift+LMouse
  EXPECT_EQ(mem[767], 1);
  EXPECT_EQ(mem[773], 1);
}

}  // namespace
}  // namespace qlx
