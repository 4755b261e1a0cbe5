#pragma once
// The System Hot Keys dialog without its window: the four system functions
// and their keys, the checks of a picked key and of the whole choice, and
// the rewrite of the system macros whose key changed.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "store/macro_file.h"

namespace qlx {

inline constexpr char kSystemHotKeysCaption[] = "System Hot Keys";
// Field labels, by system digit 1..4.
inline constexpr std::array<std::string_view, 4> kSystemKeyLabels = {
    "Activate Program", "Start/Stop Capture", "Resume Pause",
    "Display Menu of all Hot Keys associated with top most Window"};
inline constexpr char kSystemMenuGroupCaption[] = "What To Show On Popup Menu";
// The top-window menu setting 1..3.
inline constexpr std::array<std::string_view, 3> kSystemMenuChoices = {"First Part of Macro", "Icons",
                                                                       "Nickname and Scope"};
inline constexpr char kSameSystemKeyText[] = "The same hot key has been assigned to more than one system command.";

// The system macro of each digit (first one in table order; 0 when the
// tables have none) and its code.
struct SystemKeys {
  std::array<int, 4> macro{};
  std::array<uint16_t, 4> code{};
};
SystemKeys FindSystemKeys(const ActivationBlock& block);

// The refusal of a picked code for the field of `digit` (1..4): a code that
// a GLOBAL, Popup Menu or system macro already uses, other than the
// field's own system macro. Empty when the code may be taken.
std::optional<std::string> SystemKeyPickRefusal(const ActivationBlock& block, int digit, int code);

// The refusal of Ok: two functions on one key.
std::optional<std::string> SystemKeysRefusal(const std::array<uint16_t, 4>& codes);

// Gives each system macro whose key changed its new code, in one
// replacement of the whole file. `keys` is what FindSystemKeys gave when
// the dialog opened. False when nothing changed or the file could not be
// opened; the caller reloads the tables after a true.
bool RewriteSystemHotKeys(MacroFile& file, const SystemKeys& keys, const std::array<uint16_t, 4>& codes);

}  // namespace qlx
