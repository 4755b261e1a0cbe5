#include "store/hotkey_table.h"

#include <array>
#include <cstddef>

#include "store/shared_blocks.h"

namespace qlx {
namespace {

// The table is generated at compile time from the blocks below, in code
// order; a static_assert proves it has exactly 720 distinct combinations.

struct KeyDef {
  constexpr KeyDef(uint16_t v, const char* l, bool kp = false) : vk(v), label(l), keypad(kp) {}
  uint16_t vk;
  const char* label;
  bool keypad;  // named "KeyPad x" alone or with Shift, "Keypad x" otherwise
};

constexpr unsigned C = kModCtrl, A = kModAlt, S = kModShift, W = kModWin;

constexpr KeyDef kKeys48[48] = {
    {0x41, "A"},   {0x42, "B"},   {0x43, "C"},   {0x44, "D"},   {0x45, "E"},   {0x46, "F"},
    {0x47, "G"},   {0x48, "H"},   {0x49, "I"},   {0x4A, "J"},   {0x4B, "K"},   {0x4C, "L"},
    {0x4D, "M"},   {0x4E, "N"},   {0x4F, "O"},   {0x50, "P"},   {0x51, "Q"},   {0x52, "R"},
    {0x53, "S"},   {0x54, "T"},   {0x55, "U"},   {0x56, "V"},   {0x57, "W"},   {0x58, "X"},
    {0x59, "Y"},   {0x5A, "Z"},   {0x30, "0"},   {0x31, "1"},   {0x32, "2"},   {0x33, "3"},
    {0x34, "4"},   {0x35, "5"},   {0x36, "6"},   {0x37, "7"},   {0x38, "8"},   {0x39, "9"},
    {0x70, "F1"},  {0x71, "F2"},  {0x72, "F3"},  {0x73, "F4"},  {0x74, "F5"},  {0x75, "F6"},
    {0x76, "F7"},  {0x77, "F8"},  {0x78, "F9"},  {0x79, "F10"}, {0x7A, "F11"}, {0x7B, "F12"},
};
constexpr const KeyDef* kFKeys = kKeys48 + 36;

constexpr KeyDef kEnter[] = {{0x0D, "Enter"}};
constexpr KeyDef kTab[] = {{0x09, "Tab"}};
constexpr KeyDef kBackSpaceInsert[] = {{0x08, "Backspace"}, {0x20, "Space"}, {0x2D, "Insert"}};
constexpr KeyDef kDelete[] = {{0x2E, "Delete"}};
constexpr KeyDef kHomeEnd[] = {{0x24, "Home"}, {0x23, "End"}};
constexpr KeyDef kPunct[] = {{0xBE, "."}, {0xBC, ","}, {0xBF, "/"}, {0xBA, ";"},
                             {0xDE, "'"}, {0xDC, "\\"}, {0xDB, "["}, {0xDD, "]"},
                             {0xBD, "-"}, {0xBB, "="}, {0xC0, "`"}};
constexpr KeyDef kKeypadOps[] = {
    {0x6F, "/", true}, {0x6A, "*", true}, {0x6D, "-", true}, {0x6B, "+", true}};
constexpr KeyDef kNav[] = {{0x2D, "Insert"},     {0x2E, "Delete"},     {0x24, "Home"},
                           {0x23, "End"},        {0x21, "Page Up"},    {0x22, "Page Down"},
                           {0x25, "Left Arrow"}, {0x27, "Right Arrow"}, {0x26, "Up Arrow"},
                           {0x28, "Down Arrow"}};
constexpr const KeyDef* kNavPaging = kNav + 4;  // Page Up .. Down Arrow
constexpr KeyDef kKeypadDigits[] = {{0x60, "0", true}, {0x61, "1", true}, {0x62, "2", true},
                                    {0x63, "3", true}, {0x64, "4", true}, {0x65, "5", true},
                                    {0x66, "6", true}, {0x67, "7", true}, {0x68, "8", true},
                                    {0x69, "9", true}};
constexpr KeyDef kEsc[] = {{0x1B, "ESC"}};

constexpr unsigned kOrderE[] = {C, A, S, C | S, A | S, C | A, C | A | S};
constexpr unsigned kTabMods[] = {C, S, C | S, C | A, C | A | S};
constexpr unsigned kDeleteMods[] = {C, A, S, C | S, A | S};
constexpr unsigned kPunctMods[] = {C, A, C | S, A | S, C | A, C | A | S};
constexpr unsigned kKeypadOpMods[] = {0, C, A, S, C | S, A | S, C | A, C | A | S};
constexpr unsigned kKeypadDigitMods[] = {0, C, A, C | A};
constexpr unsigned kMouseMods[] = {0, S, C, A, C | S, C | A, S | A};
constexpr unsigned kNone[] = {0};
constexpr unsigned kCtrl[] = {C};
constexpr unsigned kAlt[] = {A};
constexpr unsigned kShift[] = {S};
constexpr unsigned kCtrlShift[] = {C | S};
constexpr unsigned kCtrlAlt[] = {C | A};
constexpr unsigned kAltShift[] = {A | S};
constexpr unsigned kCtrlAltShift[] = {C | A | S};
constexpr unsigned kWin[] = {W};
constexpr unsigned kWinCtrl[] = {W | C};
constexpr unsigned kWinAlt[] = {W | A};

// A run of codes: every key in turn, each with every modifier set in turn.
struct Block {
  const KeyDef* keys;
  int keyCount;
  const unsigned* mods;
  int modCount;
};

template <size_t K, size_t M>
constexpr Block B(const KeyDef (&keys)[K], const unsigned (&mods)[M]) {
  return {keys, static_cast<int>(K), mods, static_cast<int>(M)};
}
template <size_t M>
constexpr Block B(const KeyDef* keys, int keyCount, const unsigned (&mods)[M]) {
  return {keys, keyCount, mods, static_cast<int>(M)};
}

constexpr Block kBlocks[] = {
    B(kKeys48, kCtrl),         B(kKeys48, kAlt),           B(kKeys48, kCtrlShift),
    B(kKeys48, kCtrlAlt),      B(kKeys48, kAltShift),      B(kKeys48, kCtrlAltShift),
    B(kFKeys, 12, kNone),      B(kFKeys, 12, kShift),      B(kEnter, kOrderE),
    B(kTab, kTabMods),         B(kBackSpaceInsert, kOrderE), B(kDelete, kDeleteMods),
    B(kHomeEnd, kOrderE),      B(kPunct, kPunctMods),      B(kKeypadOps, kKeypadOpMods),
    B(kNav, kNone),            B(kNavPaging, 6, kOrderE),  B(kKeypadDigits, kKeypadDigitMods),
    B(kKeys48, kWin),          B(kKeys48, kWinCtrl),       B(kKeys48, kWinAlt),
    B(kEsc, kNone),
};
constexpr int kFirstMouseCode = 699;
constexpr int kMouseButtons = 3;

struct Entry {
  HotKeyCombo combo;
  char name[kHotKeyNameMax + 1];
  uint8_t nameLength;
};

struct NameBuilder {
  Entry& e;
  constexpr void Add(const char* s) {
    for (; *s != '\0' && e.nameLength < kHotKeyNameMax; ++s) e.name[e.nameLength++] = *s;
  }
};

constexpr HotKeyCombo ComboOf(uint16_t vk, int button, unsigned mods) {
  HotKeyCombo c;
  c.virtualKey = vk;
  c.mouseButton = static_cast<uint8_t>(button);
  c.ctrl = (mods & C) != 0;
  c.alt = (mods & A) != 0;
  c.shift = (mods & S) != 0;
  c.win = (mods & W) != 0;
  return c;
}

// Keyboard names put the modifiers in the order Win, Ctrl, Alt, Shift.
constexpr void AddKeyboardPrefix(NameBuilder& nb, unsigned mods) {
  if (mods & W) nb.Add("Win+");
  if (mods & C) nb.Add("Ctrl+");
  if (mods & A) nb.Add("Alt+");
  if (mods & S) nb.Add("Shift+");
}

// Mouse names put Shift before Alt ("Shift+Alt+MMouse").
constexpr void AddMousePrefix(NameBuilder& nb, unsigned mods) {
  if (mods & C) nb.Add("Ctrl+");
  if (mods & S) nb.Add("Shift+");
  if (mods & A) nb.Add("Alt+");
}

constexpr std::array<Entry, kHotKeyCodes> BuildEntries() {
  std::array<Entry, kHotKeyCodes> out{};
  int code = 0;
  for (const Block& b : kBlocks) {
    for (int k = 0; k < b.keyCount; ++k) {
      for (int m = 0; m < b.modCount; ++m) {
        const KeyDef& key = b.keys[k];
        const unsigned mods = b.mods[m];
        Entry& e = out[code++];
        e.combo = ComboOf(key.vk, kMouseNone, mods);
        NameBuilder nb{e};
        AddKeyboardPrefix(nb, mods);
        if (key.keypad) nb.Add((mods & ~S) == 0 ? "KeyPad " : "Keypad ");
        nb.Add(key.label);
      }
    }
  }
  constexpr const char* kButtonNames[kMouseButtons] = {"LMouse", "RMouse", "MMouse"};
  for (int button = kMouseLeft; button <= kMouseMiddle; ++button) {
    for (unsigned mods : kMouseMods) {
      Entry& e = out[code++];
      e.combo = ComboOf(0, button, mods);
      NameBuilder nb{e};
      AddMousePrefix(nb, mods);
      nb.Add(kButtonNames[button - 1]);
    }
  }
  return out;
}

constexpr int CountCodes() {
  int n = 0;
  for (const Block& b : kBlocks) n += b.keyCount * b.modCount;
  static_assert(sizeof(kMouseMods) / sizeof(kMouseMods[0]) == 7);
  return n + kMouseButtons * 7;
}
static_assert(CountCodes() == kHotKeyCodes, "the blocks must cover codes 0..719 exactly");

constexpr auto kEntries = BuildEntries();
static_assert(kEntries[698].combo.virtualKey == 0x1B && kEntries[kFirstMouseCode].combo.mouseButton == 1);

constexpr int kModCombos = 16;
using KeyLookup = std::array<std::array<int16_t, kModCombos>, 256>;
using MouseLookup = std::array<std::array<int16_t, kModCombos>, kMouseButtons + 1>;

struct Lookups {
  KeyLookup keys;
  MouseLookup mouse;
  bool unique;
};

constexpr Lookups BuildLookups() {
  Lookups l{};
  for (auto& row : l.keys) row.fill(-1);
  for (auto& row : l.mouse) row.fill(-1);
  l.unique = true;
  for (int code = 0; code < kHotKeyCodes; ++code) {
    const HotKeyCombo& c = kEntries[code].combo;
    int16_t& slot = c.mouseButton != kMouseNone ? l.mouse[c.mouseButton][c.Modifiers()]
                                                 : l.keys[c.virtualKey][c.Modifiers()];
    if (slot != -1) l.unique = false;
    slot = static_cast<int16_t>(code);
  }
  return l;
}

constexpr Lookups kLookups = BuildLookups();
static_assert(kLookups.unique, "two codes share one combination");

}  // namespace

HotKeyCombo DecipherKey(int code) {
  if (code < 0 || code >= kHotKeyCodes) return {};
  return kEntries[code].combo;
}

std::string_view HotKeyName(int code) {
  if (code < 0 || code >= kHotKeyCodes) return {};
  const Entry& e = kEntries[code];
  return std::string_view(e.name, e.nameLength);
}

int HotKeyCodeForKey(unsigned virtualKey, unsigned modifiers) {
  if (virtualKey == 0 || virtualKey > 0xFF || modifiers >= kModCombos) return -1;
  return kLookups.keys[virtualKey][modifiers];
}

int HotKeyCodeForMouse(int button, unsigned modifiers) {
  if (button < kMouseLeft || button > kMouseMiddle || modifiers >= kModCombos) return -1;
  return kLookups.mouse[button][modifiers];
}

}  // namespace qlx
