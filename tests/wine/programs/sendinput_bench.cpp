// Baseline typist for the playback benchmark: types a text file with ONE
// SendInput call holding the key events the player would send for it
// (VkKeyScanA with Shift/Ctrl/Alt around the key, Alt + keypad digits above
// 127, Enter for CR LF), tagged like the program's own input.
//
//   sendinput_bench.exe --text FILE     prints "sent <done> of <events>"
//   sendinput_bench.exe --vkscan N...   prints "N 0xXXXX" (VkKeyScanA of N)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "activation/hook_contract.h"

namespace qlx {
namespace {

void Key(std::vector<INPUT>& out, WORD vk, bool up) {
  INPUT i{};
  i.type = INPUT_KEYBOARD;
  i.ki.wVk = vk;
  i.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, 0));
  i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  i.ki.dwExtraInfo = kInjectedMarker;
  out.push_back(i);
}

void Tap(std::vector<INPUT>& out, WORD vk) {
  Key(out, vk, false);
  Key(out, vk, true);
}

void AltCode(std::vector<INPUT>& out, unsigned char c) {
  char digits[5];
  std::snprintf(digits, sizeof digits, "0%03u", static_cast<unsigned>(c));
  Key(out, VK_MENU, false);
  for (const char* d = digits; *d; ++d) Tap(out, static_cast<WORD>(VK_NUMPAD0 + (*d - '0')));
  Key(out, VK_MENU, true);
}

void Char(std::vector<INPUT>& out, unsigned char c) {
  if (c >= 128) {
    AltCode(out, c);
    return;
  }
  const SHORT scan = VkKeyScanA(static_cast<char>(c));
  if (scan == -1) return;
  const WORD vk = scan & 0xFF;
  const int shift = (scan >> 8) & 0xFF;
  std::vector<WORD> mods;
  if (shift == 1) mods = {VK_SHIFT};
  else if (shift == 2) mods = {VK_CONTROL};
  else if (shift == 6) mods = {VK_CONTROL, VK_MENU};
  else if (shift == 7) mods = {VK_SHIFT, VK_CONTROL, VK_MENU};
  for (WORD m : mods) Key(out, m, false);
  Tap(out, vk);
  for (WORD m : mods) Key(out, m, true);
}

std::vector<INPUT> Events(const std::string& text) {
  std::vector<INPUT> out;
  out.reserve(text.size() * 4);
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '\r') {
      Tap(out, VK_RETURN);
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      Char(out, c);
    }
  }
  return out;
}

bool ReadFile(const char* path, std::string& text) {
  FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
  std::fclose(f);
  return true;
}

}  // namespace
}  // namespace qlx

int main(int argc, char** argv) {
  using namespace qlx;
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "--vkscan") {
    for (int i = 2; i < argc; ++i) {
      const int c = std::atoi(argv[i]);
      const SHORT s = VkKeyScanA(static_cast<char>(c));
      std::printf("%d 0x%04x\n", c, static_cast<unsigned>(static_cast<unsigned short>(s)));
    }
    return 0;
  }
  std::string text;
  if (mode != "--text" || argc != 3 || !ReadFile(argv[2], text)) {
    std::fprintf(stderr, "usage: sendinput_bench --text FILE | --vkscan N...\n");
    return 2;
  }
  std::vector<INPUT> events = Events(text);
  const UINT sent = events.empty()
                        ? 0
                        : SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT));
  std::printf("sent %u of %zu\n", sent, events.size());
  return sent == events.size() ? 0 : 1;
}
