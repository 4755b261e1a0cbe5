#pragma once
// Where the records of the current macro file come from: the macro file
// in the program, a table of records in tests.
#include "store/macro_file.h"
#include "store/macro_record.h"

namespace qlx {

class IRecordSource {
 public:
  virtual ~IRecordSource() = default;
  // False when the file cannot be read; the record is then not used.
  virtual bool ReadRecord(int n, MacroRecord& record) = 0;
};

// The current macro file as a record source. A number the file does not
// hold (a menu entry of a damaged file) reads as unreadable.
class MacroFileRecords : public IRecordSource {
 public:
  explicit MacroFileRecords(const MacroFile& file) : file_(file) {}
  bool ReadRecord(int n, MacroRecord& record) override {
    if (n < 1) return false;
    try {
      return file_.ReadRecord(n, record);
    } catch (const StoreIoError&) {
      return false;
    }
  }

 private:
  const MacroFile& file_;
};

}  // namespace qlx
