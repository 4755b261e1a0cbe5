#pragma once
// The seven parallel macro tables, indexed by macro number 1..500: scope,
// scope text, active, activation code and top-most only live in the shared
// activation block (the hook library reads them); nickname and Snapword live
// in the settings record.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "store/byte_view.h"
#include "store/macro_record.h"
#include "store/shared_blocks.h"

namespace qlx {

// Nickname (500 × string[50]) and Snapword (500 × string[10]) tables. Numbers
// outside 1..500 read as empty and write nothing.
class MacroNameTables {
 public:
  static constexpr size_t kNicknameSlot = mr::kNicknameCapacity + 1;
  static constexpr size_t kSnapwordSlot = mr::kSnapwordCapacity + 1;

  MacroNameTables() { Clear(); }
  void Clear() {
    std::memset(nicknames_.data(), 0, nicknames_.size());
    std::memset(snapwords_.data(), 0, snapwords_.size());
  }

  std::string Nickname(int n) const { return std::string(NicknameView(n)); }
  std::string_view NicknameView(int n) const {
    return Valid(n) ? PStringView(&nicknames_[Slot(n, kNicknameSlot)], mr::kNicknameCapacity)
                    : std::string_view();
  }
  void SetNickname(int n, std::string_view s) {
    if (Valid(n)) PutPString(&nicknames_[Slot(n, kNicknameSlot)], mr::kNicknameCapacity, s);
  }
  std::string Snapword(int n) const { return std::string(SnapwordView(n)); }
  std::string_view SnapwordView(int n) const {
    return Valid(n) ? PStringView(&snapwords_[Slot(n, kSnapwordSlot)], mr::kSnapwordCapacity)
                    : std::string_view();
  }
  void SetSnapword(int n, std::string_view s) {
    if (Valid(n)) PutPString(&snapwords_[Slot(n, kSnapwordSlot)], mr::kSnapwordCapacity, s);
  }

 private:
  static bool Valid(int n) { return n >= 1 && n <= kMaxMacros; }
  static size_t Slot(int n, size_t slot) { return slot * static_cast<size_t>(n - 1); }

  std::array<uint8_t, kNicknameSlot * kMaxMacros> nicknames_;
  std::array<uint8_t, kSnapwordSlot * kMaxMacros> snapwords_;
};

// The tables a load or a write fills: the activation block and the name
// tables of the settings record. Both are owned elsewhere.
struct MacroTables {
  ActivationBlock block;
  MacroNameTables& names;
};

// The four system macros every macro file carries.
struct SystemMacro {
  char digit;            // the record's scope text
  const char* nickname;  // always shown in the tables, whatever the record holds
  uint16_t code;         // default hot key
};
inline constexpr std::array<SystemMacro, 4> kSystemMacros = {{
    {'1', "Activate Quillon", 262},
    {'2', "Start / Stop Capture", 263},
    {'3', "Resume Pause", 264},
    {'4', "Menu of Macros for Top Most Window", 265},
}};

// 1..4 when scope 5 and a scope text beginning with that digit, else 0.
int SystemMacroDigit(int16_t scope, std::string_view scope_text);
// The fixed nickname of system macro digit 1..4; nullptr for other digits.
const char* SystemMacroNickname(int digit);
// The record of a system macro as a new file gets it: fixed nickname, digit,
// default hot key, scope 5, active; the time and all else zero.
MacroRecord SystemMacroRecord(const SystemMacro& sm);

// Copies the seven table fields of `record` into entry n (system macros show
// their fixed nickname). Numbers outside 1..500 change nothing.
void FillFromRecord(int n, const MacroRecord& record, MacroTables& tables);

// Rebuilds the hot-key table: bytes 17..736 cleared, then byte 17 + code set
// for every active macro whose code is a hot key. Codes outside 0..719 (damage)
// and a count outside 0..500 never reach beyond the table.
void SetHotKeys(ActivationBlock& block);

}  // namespace qlx
