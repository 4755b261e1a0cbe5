#include "app/copy_or_move.h"

#include "store/hotkey_table.h"
#include "activation/snapwords.h"
#include "capture/capture_complete.h"
#include "capture/capture_options.h"

namespace qlx {
namespace {

std::string_view ModeWord(CopyMoveMode mode) { return mode == CopyMoveMode::Copy ? "COPY" : "MOVE"; }

}  // namespace

std::string CopyMoveCaption(CopyMoveMode mode) {
  return mode == CopyMoveMode::Copy ? kCopyCaption : kMoveCaption;
}

std::string CopyMoveLabel(CopyMoveMode mode, uint16_t code, std::string_view snapword) {
  std::string what;
  if (code == kTimedCode) what = "Timed Macro";
  else if (code == kSnapwordCode) what = std::string(snapword);
  else what = std::string(HotKeyName(code));
  return std::string(ModeWord(mode)) + " " + what + " TO";
}

CopyMoveChoice InitialChoice(uint16_t code) {
  if (code == kTimedCode) return CopyMoveChoice::Timed;
  if (code == kSnapwordCode) return CopyMoveChoice::Snapword;
  return CopyMoveChoice::HotKey;
}

bool TakenByGlobalOrPopup(const ActivationBlock& block, int code, int except) {
  const int count = block.ClampedCount();
  for (int n = 1; n <= count; ++n) {
    if (n == except || block.Code(n) != code) continue;
    const int16_t scope = block.Scope(n);
    if (scope == kScopeGlobal || scope == kScopePopupMenu) return true;
  }
  return false;
}

CopyMoveCheck CheckCopyOrMove(CopyMoveMode mode, CopyMoveChoice choice, std::optional<int> code,
                              std::string_view snapword_field, int16_t working_scope, const ActivationBlock& block,
                              int macro) {
  using Kind = CopyMoveCheck::Kind;
  using Field = CopyMoveCheck::Field;
  CopyMoveCheck c;
  switch (choice) {
    case CopyMoveChoice::Timed:
      return c;
    case CopyMoveChoice::Snapword: {
      if (const auto refusal = SnapwordNameError(TrimField(snapword_field), false))
        return {Kind::Refuse, "Error", *refusal, Field::Snapword};
      return c;
    }
    case CopyMoveChoice::HotKey: {
      if (!code || *code < 0 || *code >= kHotKeyCodes)
        return {Kind::Refuse, "Error", kNoHotKeySelectedText, Field::HotKeyList};
      const bool exclusive_scope = working_scope == kScopeGlobal || working_scope == kScopePopupMenu;
      if (exclusive_scope && TakenByGlobalOrPopup(block, *code, macro))
        return {Kind::Refuse, "Error",
                "A \"GLOBAL\" or \"POPUP MENU\" hot key already exists for this selection. The \"" +
                    std::string(ModeWord(mode)) + "\" did not take place.",
                Field::HotKeyList};
      if (IsReservedHotKey(*code))
        return {Kind::AskReserved, "Warning", ReservedHotKeyQuestion(HotKeyName(*code)), Field::HotKeyList};
      return c;
    }
  }
  return c;
}

void ApplyCopyOrMove(CopyMoveChoice choice, int code, std::string_view snapword_field, MacroRecord& working,
                     const CivilDate& today) {
  switch (choice) {
    case CopyMoveChoice::Timed:
      if (working.Code() != kTimedCode) SetNewTimedMacroSchedule(working, today);
      working.SetCode(kTimedCode);
      break;
    case CopyMoveChoice::Snapword:
      working.SetCode(kSnapwordCode);
      working.SetSnapword(TrimField(snapword_field));
      break;
    case CopyMoveChoice::HotKey:
      working.SetCode(static_cast<uint16_t>(code));
      break;
  }
}

}  // namespace qlx
