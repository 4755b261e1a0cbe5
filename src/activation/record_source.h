#pragma once
// Where the records of the current macro file come from: the macro file
// in the program, a table of records in tests.
#include "store/macro_record.h"

namespace qlx {

class IRecordSource {
 public:
  virtual ~IRecordSource() = default;
  // False when the file cannot be read; the record is then not used.
  virtual bool ReadRecord(int n, MacroRecord& record) = 0;
};

}  // namespace qlx
