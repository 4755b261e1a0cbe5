#pragma once
// "Recapture Macro" and the quick capture's new record without a window:
// the refusals, what the Capture Macro dialog is opened with, and the
// append of a captured macro to the macro file.
#include <optional>
#include <string>

#include "store/macro_file.h"

namespace qlx {

// The message box text that refuses "Recapture Macro", or nothing.
// `selected` is the macro on the selected row (0 for none); a capture that
// is still recording refuses a second one.
std::optional<std::string> RecaptureRefusal(int macro_count, int selected, bool recording);

// True when "&Global" must not be offered for `macro`: it is not GLOBAL and
// a GLOBAL macro (active or not) with the same trigger exists. Snapword macros share
// one code, so for them the trigger is the Snapword (any case).
bool GlobalTriggerTaken(const ActivationBlock& block, const MacroNameTables& names, int macro);

// Appends `record` as macro count + 1. The new number, or 0 with the count
// as it was when the record could not be written or 500 macros exist.
int AppendMacroRecord(MacroFile& file, const MacroRecord& record);

}  // namespace qlx
