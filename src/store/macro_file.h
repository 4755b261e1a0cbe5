#pragma once
// The macro file: macro records one after another, no header. Every
// operation opens the file, does its work and closes it before returning.
#include <array>
#include <cstdint>
#include <ios>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/ui.h"
#include "store/macro_record.h"
#include "store/macro_tables.h"

namespace qlx {

inline constexpr char kErrorCaption[] = "Error";
inline constexpr char kNewFileFailedText[] = "New file could not be created.";
inline constexpr char kSavingFailedText[] = "Saving of keystrokes failed.";
inline constexpr char kInvalidFileTypeText[] = "Invalid file type selected.";
inline constexpr char kFileDoesNotExistText[] = "File does not exist.";
inline constexpr char kMacroFileFilter[] = "Quillon (*.QLX)|*.QLX";
inline constexpr char kMacroFileExtension[] = "QLX";

// A read or write that failed after the file was opened. The application
// turns it into its general error message.
class StoreIoError : public std::ios_base::failure {
 public:
  StoreIoError(const std::string& what, std::string file)
      : std::ios_base::failure(what + ": " + file), file_(std::move(file)), message_(what + ": " + file_) {}
  const std::string& file() const { return file_; }
  // The text the user sees, without the library's own suffix.
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string file_;
  std::string message_;
};

struct LoadResult {
  bool opened = false;          // false: not opened nor created ("New file could not be created.")
  int count = 0;                // macros in the tables afterwards
  int64_t records_in_file = 0;  // whole records found on disk before system macros were added
  bool partial_tail = false;    // trailing bytes short of a record were ignored
  bool truncated = false;       // more than 500 records: those past 500 are not in the tables
  int system_macros_added = 0;
  bool system_macros_complete = true;  // false: a system macro is missing and could not be added
};

class MacroFile {
 public:
  // `files` is the disk unless a test or fuzzer puts the file in memory.
  MacroFile(std::string name, MacroTables tables, IMessageBoxes& boxes, const IClock& clock,
            IFileSystem& files = DiskFileSystem())
      : name_(std::move(name)), tables_(tables), boxes_(boxes), clock_(clock), files_(files) {}

  const std::string& name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  MacroTables& tables() { return tables_; }

  // Reads the whole file into the tables (at most 500 macros; records past
  // 500 stay on disk untouched) and appends missing system macros. A missing
  // file is created empty.
  LoadResult Load();

  // Appends the system macros whose digit no table entry carries, in digit
  // order, as long as the tables have room and the file holds no records
  // beyond them. Also shows the fixed nicknames in the tables.
  void EnsureSystemMacros(LoadResult& result);

  // n = -1 appends as macro number Count (already raised by the caller) at
  // the end of the file's whole records, dropping a trailing partial record;
  // n = 1..500 overwrites record n. The tables are filled after the write.
  // False (after "Saving of keystrokes failed.") when the file cannot be
  // opened or n does not fit the file.
  bool WriteRecord(int n, const MacroRecord& record);

  // False when the file cannot be opened (the buffer stays as it was);
  // StoreIoError when record n is not in the file.
  bool ReadRecord(int n, MacroRecord& record) const;

  // Removes record n; later records move up. The new file is written beside
  // the old one and replaces it in one step, so a failure leaves the old file
  // whole. False when the file cannot be opened or has no record n. The
  // caller reloads the tables.
  bool DeleteRecord(int n);

  // Rewrites the active byte of record n and its table entry. False when the
  // file cannot be opened or is empty.
  bool SetActive(int n, bool flag);

  // Every whole record of the file, those past 500 included. False when the
  // file cannot be opened.
  bool ReadAllRecords(std::vector<MacroRecord>& records) const;

  // Makes `records` the whole file in one step: they are written beside the
  // old file, which the new one then replaces, so the file on disk is always
  // either the old or the new one. False when the file cannot be opened; the
  // caller reloads the tables.
  bool ReplaceAllRecords(const std::vector<MacroRecord>& records);

  // Name of the file DeleteRecord writes before the replace.
  std::string TempName() const { return name_ + ".~qx"; }

 private:
  std::string name_;
  MacroTables tables_;
  IMessageBoxes& boxes_;
  const IClock& clock_;
  IFileSystem& files_;
};

// Companion files of macro file F, in F's directory.
// Sync file: the last three characters replaced by "MAS"; a name that
// already ends in "MAS" (any case) or is shorter gets ".MAS" appended so the
// two never coincide.
std::string SyncFileName(std::string_view macro_file);
// Key-remap file: ".QLX" (any case) replaced by ".QLS"; any other name gets
// ".QLS" appended.
std::string KeyRemapFileName(std::string_view macro_file);
// Caption name: without directory and without the last four characters.
std::string CaptionFileName(std::string_view macro_file);
// The check of Open and New: the last four characters, upper-cased, are ".QLX".
bool HasMacroFileExtension(std::string_view file_name);

// Recent-file list: slot 0 the most recent, an empty name an unused slot.
inline constexpr size_t kRecentFileSlots = 5;
using RecentFiles = std::array<std::string, kRecentFileSlots>;

// Removes `opened` from the list and puts `previous` on top, the rest moving
// down. `previous` is never listed twice, and an empty previous name adds
// nothing.
void DoLastFiles(RecentFiles& files, const std::string& previous, const std::string& opened);

struct RecentFileItem {
  bool visible = false;
  std::string caption;  // "&1   " + name
};
struct RecentFilesMenu {
  bool separator_visible = false;
  std::array<RecentFileItem, kRecentFileSlots> items;
};
// What SetMenuLastFiles shows: all hidden when every slot is empty, else the
// separator and one item per used slot.
RecentFilesMenu MenuForRecentFiles(const RecentFiles& files);

}  // namespace qlx
