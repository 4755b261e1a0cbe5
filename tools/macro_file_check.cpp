#include "tools/macro_file_check.h"

#include <array>
#include <cstring>

#include "store/hotkey_table.h"
#include "store/macro_record.h"
#include "store/macro_tables.h"
#include "store/shared_blocks.h"

namespace qlx {
namespace {

void LengthByte(FileCheck& check, int n, const char* field, uint8_t length, size_t capacity) {
  if (length <= capacity) return;
  check.findings.push_back({true, n,
                            std::string(field) + " length byte " + std::to_string(length) +
                                " is past its field of " + std::to_string(capacity) +
                                " characters; the program reads " + std::to_string(capacity)});
}

bool KnownCode(uint16_t code) { return code < kHotKeyCodes || code == kTimedCode || code == kSnapwordCode; }

}  // namespace

bool FileCheck::damaged() const {
  for (const FileFinding& f : findings)
    if (f.damage) return true;
  return false;
}

FileCheck CheckMacroFile(std::span<const uint8_t> file) {
  FileCheck check;
  check.records = static_cast<int64_t>(file.size() / mr::kSize);
  const size_t tail = file.size() % mr::kSize;
  std::array<bool, kSystemMacros.size() + 1> system{};

  MacroRecord r;
  for (int64_t i = 0; i < check.records; ++i) {
    const int n = static_cast<int>(i + 1);
    std::memcpy(r.data(), file.data() + static_cast<size_t>(i) * mr::kSize, mr::kSize);
    LengthByte(check, n, "nickname", r.NicknameLength(), mr::kNicknameCapacity);
    LengthByte(check, n, "window or program", r.ScopeTextLength(), mr::kScopeTextCapacity);
    LengthByte(check, n, "snapword", r.SnapwordLength(), mr::kSnapwordCapacity);
    LengthByte(check, n, "icon", r.IconLength(), mr::kIconCapacity);
    if (!r.TextTerminated())
      check.findings.push_back({true, n,
                                "the macro text has no end inside its field; the program reads the first " +
                                    std::to_string(mr::kTextMax) + " characters"});
    if (!KnownCode(r.Code()))
      check.findings.push_back({true, n,
                                "activation code " + std::to_string(r.Code()) +
                                    " is neither a hot key (0 to 719), timed (10000) nor snapword (20000); "
                                    "nothing starts this macro"});
    if (r.Scope() < kScopeGlobal || r.Scope() > kScopeSystem)
      check.findings.push_back({true, n, "scope " + std::to_string(r.Scope()) + " is not one of 1 to 5"});
    if (n <= kMaxMacros) system[static_cast<size_t>(SystemMacroDigit(r.Scope(), r.ScopeText()))] = true;
  }

  if (tail)
    check.findings.push_back({true, 0,
                              std::to_string(tail) + " bytes after the last whole record; the program "
                                                     "does not read them"});
  if (check.records > kMaxMacros) {
    check.findings.push_back({true, 0,
                              std::to_string(check.records) + " records: the program uses the first " +
                                  std::to_string(kMaxMacros) + " and leaves the others in the file"});
    return check;
  }
  // Load appends the missing ones in digit order while there is room.
  int64_t room = kMaxMacros - check.records;
  std::string appended, no_room;
  for (const SystemMacro& sm : kSystemMacros) {
    if (system[static_cast<size_t>(sm.digit - '0')]) continue;
    std::string& list = room-- > 0 ? appended : no_room;
    list += (list.empty() ? "" : ", ") + std::string(sm.nickname);
  }
  if (!appended.empty())
    check.findings.push_back(
        {false, 0, "missing system macros (" + appended + "): the program appends them when it loads the file"});
  if (!no_room.empty())
    check.findings.push_back(
        {true, 0, "missing system macros (" + no_room + "): the file has no room left for them"});
  return check;
}

}  // namespace qlx
