#pragma once
// TCopyOrMove without its window: the caption and label, the checks of Ok
// with their exact messages, and the new activation it gives the working
// record.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/field_text.h"
#include "store/shared_blocks.h"
#include "store/macro_record.h"

namespace qlx {

enum class CopyMoveMode { Copy, Move };
enum class CopyMoveChoice { HotKey, Snapword, Timed };

inline constexpr char kCopyCaption[] = "Copy Hot Key";
inline constexpr char kMoveCaption[] = "Move Hot Key";
inline constexpr char kPressTheHotKey[] = "(Press the Hot Key)";
inline constexpr size_t kSnapwordMaxChars = mr::kSnapwordCapacity;

std::string CopyMoveCaption(CopyMoveMode mode);
// "COPY Timed Macro TO", "COPY " + Snapword or hot-key name + " TO"; MOVE alike.
std::string CopyMoveLabel(CopyMoveMode mode, uint16_t code, std::string_view snapword);
// The choice the dialog opens with: the kind of the macro's activation.
CopyMoveChoice InitialChoice(uint16_t code);

// Whether a GLOBAL or Popup Menu macro other than `except` has this code:
// such a key takes no second GLOBAL or Popup Menu macro.
bool TakenByGlobalOrPopup(const ActivationBlock& block, int code, int except);

// The answer to Ok.
struct CopyMoveCheck {
  enum class Kind { Accept, Refuse, AskReserved } kind = Kind::Accept;
  std::string caption;  // of the refusal or the question
  std::string text;
  // Refusal: the field that gets the focus again.
  enum class Field { None, HotKeyList, Snapword } focus = Field::None;
};

// Checks Ok for the choice made. `code` is the selected hot-key line (none
// when no line is selected), `snapword_field` the Snapword field as typed,
// `working_scope` the scope of the macro copied or moved, `macro` its number
// (a moved macro does not stand in its own way; 0 for a copy). A macro of
// scope GLOBAL or Popup Menu cannot share its key with another such macro.
CopyMoveCheck CheckCopyOrMove(CopyMoveMode mode, CopyMoveChoice choice, std::optional<int> code,
                              std::string_view snapword_field, int16_t working_scope, const ActivationBlock& block,
                              int macro);

// Gives the working record its new activation once Ok is accepted. A macro
// that becomes timed gets the default schedule unless it was timed before.
void ApplyCopyOrMove(CopyMoveChoice choice, int code, std::string_view snapword_field, MacroRecord& working,
                     const CivilDate& today);

}  // namespace qlx
