#pragma once
// The Capture Complete dialog's decisions: the rows of its hot-key list,
// the checks of Ok and what Ok writes into the captured macro.
#include <cstdint>
#include <string>
#include <string_view>

#include "store/macro_record.h"
#include "store/shared_blocks.h"

namespace qlx {

// "  (Not in Use)", "  (1 macro in use)", "  (n macros in use)".
std::string HotKeyUsageSuffix(int count);
// The hot-key name followed by its usage.
std::string HotKeyUsageRow(int code, int count);
// Macros (any state) whose activation code is `code`.
int MacrosWithCode(const ActivationBlock& block, int code);
// A GLOBAL, popup-menu or system macro has this code.
bool GlobalScopeUses(const ActivationBlock& block, int code, int except_macro = 0);

// Codes Windows may keep for itself: Alt+F6, Ctrl+Alt+F6, Alt+Shift+F6,
// Win+F1, Win+D, Win+E, Win+F, Win+M, Win+R, Win+Ctrl+F.
bool IsReservedHotKey(int code);
std::string ReservedHotKeyQuestion(std::string_view name);

struct CaptureCompleteChoice {
  bool snapword = false;   // "&Snapwords" chosen
  int code = -1;           // the hot-key row, -1 none
  std::string snapword_name;
  std::string nickname;
  bool global = true;
};

enum class VerdictKind : uint8_t { Accept, Refuse, AskReserved };
struct CaptureCompleteVerdict {
  VerdictKind kind = VerdictKind::Accept;
  std::string text;  // the message or the question
  bool focus_snapword = false;
};
// `macro` is the captured macro itself, which never counts against its own code.
CaptureCompleteVerdict CheckCaptureComplete(const CaptureCompleteChoice& choice, const ActivationBlock& block,
                                            int macro);

// Ok accepted: activation, nickname (trimmed, at most 50 characters) and,
// for "&Program", the program in front at the end as scope.
void ApplyCaptureComplete(const CaptureCompleteChoice& choice, std::string_view top_program, MacroRecord& record);

std::string TrimSpaces(std::string_view s);

}  // namespace qlx
