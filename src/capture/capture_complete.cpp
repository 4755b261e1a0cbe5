#include "capture/capture_complete.h"

#include "store/hotkey_table.h"
#include "activation/snapwords.h"
#include "capture/capture_options.h"

namespace qlx {
namespace {

constexpr int kReservedCodes[] = {89, 185, 233, 590, 557, 558, 559, 566, 571, 607};

}  // namespace

std::string HotKeyUsageSuffix(int count) {
  if (count <= 0) return "  (Not in Use)";
  if (count == 1) return "  (1 macro in use)";
  return "  (" + std::to_string(count) + " macros in use)";
}

std::string HotKeyUsageRow(int code, int count) { return std::string(HotKeyName(code)) + HotKeyUsageSuffix(count); }

int MacrosWithCode(const ActivationBlock& block, int code) {
  if (code < 0 || code >= kHotKeyCodes) return 0;
  int n = 0;
  const int count = block.ClampedCount();
  for (int m = 1; m <= count; ++m)
    if (block.Code(m) == code) ++n;
  return n;
}

bool GlobalScopeUses(const ActivationBlock& block, int code, int except_macro) {
  const int count = block.ClampedCount();
  for (int m = 1; m <= count; ++m) {
    if (m == except_macro || block.Code(m) != code) continue;
    const int16_t scope = block.Scope(m);
    if (scope == kScopeGlobal || scope == kScopePopupMenu || scope == kScopeSystem) return true;
  }
  return false;
}

bool IsReservedHotKey(int code) {
  for (int r : kReservedCodes)
    if (r == code) return true;
  return false;
}

std::string ReservedHotKeyQuestion(std::string_view name) {
  const std::string n(name);
  return n + " may be used internally by Windows 95, 98 or NT. " + " This may cause the hot key not to function correctly." +
         " Would you still like to use " + n + "?";
}

CaptureCompleteVerdict CheckCaptureComplete(const CaptureCompleteChoice& choice, const ActivationBlock& block,
                                            int macro) {
  CaptureCompleteVerdict v;
  if (choice.snapword) {
    if (auto error = SnapwordNameError(TrimSpaces(choice.snapword_name), true)) {
      v.kind = VerdictKind::Refuse;
      v.text = *error;
      v.focus_snapword = true;
    }
    return v;
  }
  if (choice.code < 0 || choice.code >= kHotKeyCodes) {
    v.kind = VerdictKind::Refuse;
    v.text = kNoHotKeySelectedText;
  } else if (choice.global && GlobalScopeUses(block, choice.code, macro)) {
    v.kind = VerdictKind::Refuse;
    v.text = kGlobalHotKeyInUseText;
  } else if (IsReservedHotKey(choice.code)) {
    v.kind = VerdictKind::AskReserved;
    v.text = ReservedHotKeyQuestion(HotKeyName(choice.code));
  }
  return v;
}

void ApplyCaptureComplete(const CaptureCompleteChoice& choice, std::string_view top_program, MacroRecord& record) {
  if (choice.snapword) {
    record.SetCode(kSnapwordCode);
    record.SetSnapword(TrimSpaces(choice.snapword_name).substr(0, mr::kSnapwordCapacity));
  } else {
    record.SetCode(static_cast<uint16_t>(choice.code));
  }
  record.SetNickname(TrimSpaces(choice.nickname).substr(0, mr::kNicknameCapacity));
  if (!choice.global) {
    record.SetScope(kScopeProgram);
    record.SetScopeText(top_program.substr(0, mr::kScopeTextCapacity));
    record.SetTopMostOnly(true);
  }
}

std::string TrimSpaces(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && s[b] == ' ') ++b;
  while (e > b && s[e - 1] == ' ') --e;
  return std::string(s.substr(b, e - b));
}

}  // namespace qlx
