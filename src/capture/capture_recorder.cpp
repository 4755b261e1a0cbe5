#include "capture/capture_recorder.h"

#include <cstdio>

#include "store/hotkey_table.h"

namespace qlx {
namespace {

constexpr unsigned kAllMods = kModCtrl | kModAlt | kModShift | kModWin;
constexpr uint32_t kVkLWin = 0x5B, kVkRWin = 0x5C;

struct ModToken {
  unsigned bit;
  const char* down;
  const char* up;
};
// Downs in this order, ups in the reverse.
constexpr ModToken kModTokens[] = {
    {kModCtrl, "<CTLD>", "<CTLU>"},
    {kModAlt, "<ALTD>", "<ALTU>"},
    {kModShift, "<SHFD>", "<SHFU>"},
    {kModWin, "<WIND>", "<WINU>"},
};

unsigned ModifierBitOf(uint32_t vk) {
  switch (vk) {
    case 0x10: case 0xA0: case 0xA1: return kModShift;
    case 0x11: case 0xA2: case 0xA3: return kModCtrl;
    case 0x12: case 0xA4: case 0xA5: return kModAlt;
    case kVkLWin: case kVkRWin: return kModWin;
    default: return 0;
  }
}

bool IsLetter(uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 0xC0; }

int Clamp(int v, int hi) { return v < 0 ? 0 : (v > hi ? hi : v); }

struct TokenTable {
  std::array<const char*, 256> token{};
  constexpr TokenTable() {
    token[0x08] = "<BACKSPACE>";
    token[0x09] = "<TAB>";
    token[0x0D] = "<ENTER>";
    token[0x1B] = "<ESC>";
    token[0x20] = "<SPACE>";
    token[0x21] = "<PAGE UP>";
    token[0x22] = "<PAGE DOWN>";
    token[0x23] = "<END>";
    token[0x24] = "<HOME>";
    token[0x25] = "<LEFT ARROW>";
    token[0x26] = "<UP ARROW>";
    token[0x27] = "<RIGHT ARROW>";
    token[0x28] = "<DOWN ARROW>";
    token[0x2C] = "<PRTSCR>";
    token[0x2D] = "<INSERT>";
    token[0x2E] = "<DELETE>";
    token[0x5D] = "<APP>";
    constexpr const char* keypad[] = {"<KEYP0>", "<KEYP1>", "<KEYP2>", "<KEYP3>", "<KEYP4>",
                                      "<KEYP5>", "<KEYP6>", "<KEYP7>", "<KEYP8>", "<KEYP9>"};
    for (int i = 0; i < 10; ++i) token[0x60 + i] = keypad[i];
    token[0x6A] = "<KEYP*>";
    token[0x6B] = "<KEYP+>";
    token[0x6D] = "<KEYP->";
    token[0x6E] = "<KEYP.>";
    token[0x6F] = "<KEYP/>";
    constexpr const char* fkeys[] = {"<F1>",  "<F2>",  "<F3>",  "<F4>",  "<F5>",  "<F6>",  "<F7>",  "<F8>",
                                     "<F9>",  "<F10>", "<F11>", "<F12>", "<F13>", "<F14>", "<F15>", "<F16>",
                                     "<F17>", "<F18>", "<F19>", "<F20>", "<F21>", "<F22>", "<F23>", "<F24>"};
    for (int i = 0; i < 24; ++i) token[0x70 + i] = fkeys[i];
  }
};
constexpr TokenTable kTokens;

}  // namespace

std::string_view NamedKeyToken(uint32_t vk) {
  if (vk >= 256 || kTokens.token[vk] == nullptr) return {};
  return kTokens.token[vk];
}

void AddKeypad(KeyLayout& layout) {
  for (int i = 0; i < 10; ++i) layout.Add(static_cast<uint8_t>('0' + i), static_cast<uint8_t>(0x60 + i), false);
  layout.Add('*', 0x6A, false);
  layout.Add('+', 0x6B, false);
  layout.Add('-', 0x6D, false);
  layout.Add('.', 0x6E, false);
  layout.Add('/', 0x6F, false);
}

KeyLayout UsKeyLayout() {
  KeyLayout l;
  for (int i = 0; i < 26; ++i) {
    l.Add(static_cast<uint8_t>('a' + i), static_cast<uint8_t>('A' + i), false);
    l.Add(static_cast<uint8_t>('A' + i), static_cast<uint8_t>('A' + i), true);
  }
  const char digits_shifted[] = ")!@#$%^&*(";
  for (int i = 0; i < 10; ++i) {
    l.Add(static_cast<uint8_t>('0' + i), static_cast<uint8_t>('0' + i), false);
    l.Add(static_cast<uint8_t>(digits_shifted[i]), static_cast<uint8_t>('0' + i), true);
  }
  struct Oem {
    uint8_t vk;
    char plain, shifted;
  };
  constexpr Oem oem[] = {{0xBA, ';', ':'}, {0xBB, '=', '+'}, {0xBC, ',', '<'}, {0xBD, '-', '_'},
                         {0xBE, '.', '>'}, {0xBF, '/', '?'}, {0xC0, '`', '~'}, {0xDB, '[', '{'},
                         {0xDC, '\\', '|'}, {0xDD, ']', '}'}, {0xDE, '\'', '"'}};
  for (const Oem& o : oem) {
    l.Add(static_cast<uint8_t>(o.plain), o.vk, false);
    l.Add(static_cast<uint8_t>(o.shifted), o.vk, true);
  }
  l.Add(' ', 0x20, false);
  l.Add(' ', 0x20, true);
  AddKeypad(l);
  return l;
}

CaptureConfig CaptureConfigOf(const ActivationBlock& block) {
  CaptureConfig c;
  c.keys = block.CaptureKeys();
  c.mouse = block.CaptureMouse();
  c.relative_to_screen = block.CaptureRelativeToScreen();
  c.window_size = block.CaptureWindowSize();
  c.timing = block.CaptureTiming();
  c.double_alt = block.CaptureDoubleAlt();
  c.stop = block.StopKey();
  c.has_own = block.HasOwnKey();
  c.own = block.OwnKey();
  return c;
}

void CaptureRecorder::Begin(const CaptureConfig& config, unsigned mods, uint32_t now) {
  *this = CaptureRecorder();
  config_ = config;
  active_ = true;
  mods_ = mods & kAllMods;
  last_time_ = now;
}

bool CaptureRecorder::IsStop(const CaptureKey& key, int mouse, uint32_t vk, unsigned mods) const {
  const unsigned wanted = ModifierMask(key.ctrl, key.alt, key.shift, key.win);
  if ((mods & kAllMods) != wanted) return false;
  if (mouse != 0) return key.mouseButton == mouse;
  return key.mouseButton == 0 && key.virtualKey != 0 && static_cast<uint32_t>(key.virtualKey) == vk;
}

void CaptureRecorder::Write(std::string_view s, CaptureText& out) {
  if (s.empty()) return;
  if (lt_pending_) {
    // A '<' followed by a letter could read as a token: a token that does
    // nothing keeps it literal.
    out.Append(IsLetter(static_cast<uint8_t>(s[0])) ? "<<TEST>" : "<");
    lt_pending_ = false;
  }
  out.Append(s);
}

void CaptureRecorder::WriteLiteral(uint8_t c, CaptureText& out) {
  if (c == '<') {
    if (lt_pending_) out.Append('<');  // "<<": the first one is plainly literal
    lt_pending_ = true;
    return;
  }
  const char ch = static_cast<char>(c);
  Write(std::string_view(&ch, 1), out);
}

void CaptureRecorder::FlushPending(CaptureText& out) {
  if (pending_.text.empty()) return;
  Write(pending_.text.view(), out);
  pending_ = Pending();
}

void CaptureRecorder::Delay(uint32_t time, CaptureText& out) {
  const uint32_t gap = time - last_time_;
  const bool counted = have_last_;
  have_last_ = true;
  last_time_ = time;
  if (!config_.timing || !counted || gap < kMinDelayMs) return;
  char buf[24];
  if (gap < 10000) {
    std::snprintf(buf, sizeof buf, "<MSD:%04u>", static_cast<unsigned>(gap));
  } else {
    const double s = gap / 1000.0;
    if (s < 99.995) std::snprintf(buf, sizeof buf, "<DELAY:%05.2f>", s);
    else if (s < 999.95) std::snprintf(buf, sizeof buf, "<DELAY:%05.1f>", s);
    else std::snprintf(buf, sizeof buf, "<DELAY:%05u>", static_cast<unsigned>(s < 99999 ? s + 0.5 : 99999));
  }
  Write(buf, out);
}

void CaptureRecorder::BeginElement(uint32_t time, CaptureText& out) {
  FlushPending(out);
  Delay(time, out);
}

void CaptureRecorder::Sync(unsigned wanted, CaptureText& out) {
  for (auto it = std::rbegin(kModTokens); it != std::rend(kModTokens); ++it) {
    if ((emitted_ & it->bit) && !(wanted & it->bit)) {
      Write(it->up, out);
      emitted_ &= ~it->bit;
    }
  }
  for (const ModToken& m : kModTokens) {
    if ((wanted & m.bit) && !(emitted_ & m.bit)) {
      Write(m.down, out);
      emitted_ |= m.bit;
    }
  }
}

void CaptureRecorder::ModifierEvent(unsigned bit, uint32_t vk, bool down, unsigned mods, uint32_t time,
                                    CaptureText& out) {
  const unsigned before = mods_;
  mods_ = mods & kAllMods;
  if (down) {
    if (before & bit) return;  // auto-repeat
    // A modifier that joins another breaks the other's tap.
    alt_alone_ = bit == kModAlt && before == 0;
    win_alone_ = bit == kModWin && before == 0;
    if (bit == kModWin) win_vk_ = vk;
    return;
  }
  if (mods_ & bit) return;  // the other side of the pair is still held
  if (emitted_ & bit) {
    FlushPending(out);
    Sync(emitted_ & ~bit, out);
  }
  if (!config_.keys) return;
  if (bit == kModAlt && alt_alone_ && config_.double_alt) {
    // Alt pressed and let go alone: the menu bar.
    BeginElement(time, out);
    Sync(0, out);
    Write("<ALT><ALT>", out);
  } else if (bit == kModWin && win_alone_) {
    BeginElement(time, out);
    Sync(0, out);
    Write(win_vk_ == kVkRWin ? "<RIGHTWIN>" : "<LEFTWIN>", out);
  }
  alt_alone_ = win_alone_ = false;
}

bool CaptureRecorder::IsStopKey(uint32_t vk, unsigned mods) const {
  if (!active_) return false;
  return IsStop(config_.stop, 0, vk, mods) || (config_.has_own && IsStop(config_.own, 0, vk, mods));
}

bool CaptureRecorder::IsStopButton(int button, unsigned mods) const {
  if (!active_ || button == 0) return false;
  return IsStop(config_.stop, button, 0, mods) || (config_.has_own && IsStop(config_.own, button, 0, mods));
}

void CaptureRecorder::OnKey(uint32_t vk, bool down, unsigned mods, uint8_t typed, uint8_t plain, uint32_t time,
                            CaptureText& out) {
  if (!active_) return;
  if (const unsigned bit = ModifierBitOf(vk)) {
    ModifierEvent(bit, vk, down, mods, time, out);
    return;
  }
  mods_ = mods & kAllMods;
  if (!down) return;
  alt_alone_ = win_alone_ = false;
  if (!config_.keys) return;
  const std::string_view token = NamedKeyToken(vk);
  if (mods_ & (kModCtrl | kModAlt | kModWin)) {
    // A chord: the modifiers as they are held, then the key itself.
    if (token.empty() && plain == 0) return;
    BeginElement(time, out);
    Sync(mods_, out);
    if (!token.empty()) Write(token, out);
    else WriteLiteral(plain, out);
  } else if (typed != 0) {
    // A character carries its own Shift.
    BeginElement(time, out);
    Sync(0, out);
    WriteLiteral(typed, out);
  } else if (!token.empty()) {
    BeginElement(time, out);
    Sync(mods_ & kModShift, out);
    Write(token, out);
  }
}

void CaptureRecorder::MoveToken(ScreenPoint at, const FrontWindow* front, CaptureText& out) const {
  int x = at.x, y = at.y;
  const bool window = !config_.relative_to_screen;
  if (window && front) {
    x -= front->left;
    y -= front->top;
  }
  char buf[32];
  std::snprintf(buf, sizeof buf, "<%s:%05d,%05d>", window ? "MMW" : "MMS", Clamp(x, 99999), Clamp(y, 99999));
  out.Append(buf);
}

void CaptureRecorder::OnMouseButton(int button, bool down, unsigned mods, ScreenPoint at, const FrontWindow* front,
                                    uint32_t time, CaptureText& out) {
  if (!active_ || button < kMouseLeft || button > kMouseMiddle) return;
  mods_ = mods & kAllMods;
  static constexpr const char* kDown[] = {"", "<LDN>", "<RDN>", "<MDN>"};
  static constexpr const char* kUp[] = {"", "<LUP>", "<RUP>", "<MUP>"};
  static constexpr const char* kClick[] = {"", "<LCLK>", "<RCLK>", "<MCLK>"};
  if (down) {
    alt_alone_ = win_alone_ = false;
    if (!config_.mouse) return;
    // Held back until the next event: a click on the program's recording
    // icon that ends the capture must not become part of it.
    FlushPending(out);
    Delay(time, pending_.text);
    Sync(mods_, pending_.text);
    const bool window = !config_.relative_to_screen;
    if (window && config_.window_size && front && (!sized_any_ || front->id != sized_window_)) {
      char buf[48];
      std::snprintf(buf, sizeof buf, "<WSIZE:%04d,%04d\"CURRENT\">", Clamp(front->width, 9999),
                    Clamp(front->height, 9999));
      pending_.text.Append(buf);
      sized_window_ = front->id;
      sized_any_ = true;
    }
    MoveToken(at, front, pending_.text);
    pending_.button = button;
    pending_.down_at = at;
    pending_.down_token = pending_.text.size();
    pending_.text.Append(kDown[button]);
    return;
  }
  if (!config_.mouse) return;
  if (pending_.button == button) {
    if (at == pending_.down_at) {
      // Down and up in one place: a click.
      CaptureText merged;
      merged.Append(pending_.text.view().substr(0, pending_.down_token));
      merged.Append(kClick[button]);
      pending_.text = merged;
    } else {
      // A drag: the up where it ended.
      MoveToken(at, front, pending_.text);
      pending_.text.Append(kUp[button]);
    }
    pending_.button = 0;
    last_time_ = time;
    return;
  }
  FlushPending(out);
  Delay(time, pending_.text);
  MoveToken(at, front, pending_.text);
  pending_.text.Append(kUp[button]);
}

void CaptureRecorder::OnWheel(int notches, uint32_t time, CaptureText& out) {
  if (!active_ || !config_.mouse || notches == 0) return;
  BeginElement(time, out);
  char buf[16];
  std::snprintf(buf, sizeof buf, "<%s:%03d>", notches > 0 ? "WFW" : "WBW", Clamp(notches > 0 ? notches : -notches, 999));
  Write(buf, out);
}

void CaptureRecorder::Finish(CaptureText& out) {
  if (!active_) return;
  FlushPending(out);
  Sync(0, out);
  if (lt_pending_) out.Append('<');
  lt_pending_ = false;
  active_ = false;
}

void CaptureRecorder::Abandon() {
  pending_ = Pending();
  active_ = false;
}

}  // namespace qlx
