#pragma once
// What the removal of a macro does to the file: the macro leaves and every
// popup menu forgets it and renumbers the macros after it, all in one new
// set of records that replaces the file in one step.
#include <vector>

#include "store/macro_record.h"

namespace qlx {

// Whether the record is a popup-menu macro whose menu lists macro n.
bool MenuListsMacro(const MacroRecord& record, int n);

// Macro n leaves the file: a popup-menu record loses every entry of n and
// the entries above n move down by one. True when the record changed.
bool RenumberMenuForRemoval(MacroRecord& record, int n);

// The records of a file after macro n (1-based) is removed, with every
// popup menu renumbered. A number outside the records changes nothing.
std::vector<MacroRecord> RecordsWithoutMacro(std::vector<MacroRecord> records, int n);

}  // namespace qlx
