#pragma once
// Export of chosen macros into a new macro file, and import from the
// program's own macro files and the two sibling formats (Brindle .BR2,
// Snapwords .SNW): reading the source into the import list, the checks of
// "&Ok" and the records that reach the macro file.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "platform/ui.h"
#include "store/import_records.h"
#include "store/macro_file.h"
#include "store/macro_record.h"

namespace qlx {

inline constexpr char kWarningCaptionText[] = "Warning";
inline constexpr char kOkCaptionText[] = "ok";
inline constexpr char kNothingToExportText[] = "No Hot Key Macros have been selected for exporting.";
inline constexpr char kCannotCreateExportText[] = "Unable to create export file.";
inline constexpr char kExportCompleteText[] = "Export Complete";
inline constexpr char kExportSaveTitle[] = "Save Macro File";
inline constexpr char kExportFilter[] = "Quillon File (*.QLX)|*.QLX";
inline constexpr char kImportOpenTitle[] = "Import Quillon Files";
inline constexpr char kImportFilter[] = "Quillon (*.QLX)|*.QLX|Brindle (*.BR2)|*.BR2|Snapwords (*.SNW)|*.SNW";
inline constexpr char kImproperFileTypeText[] = "Improper file type selected.  Please choose a different file.";
inline constexpr char kCannotOpenImportText[] = "Unable to open import file.";
inline constexpr char kImportWrongSizeText[] =
    "The import file is damaged: its size is not a whole number of records.  Nothing was read from it.";
inline constexpr char kContinueImportText[] =
    "One or macro were flagged to be excluded from the import.  Continue import anyway?";
inline constexpr char kNothingToImportText[] =
    "No macros are flagged for import.  Click on the macros you wish to import.";

// "N records of the import file are damaged or too long and are not listed.",
// saying too when a partial last record was left out; empty when neither.
std::string DamagedRecordsText(int count, bool partial_tail = false);
// "A Global Hot Key for " + name + " already exists.  This macro will not be imported."
std::string HotKeyExistsText(uint16_t code);
// "The maximum capacity of macros per file will be exceeded. The last " + n + " macros ..."
std::string CapacityExceededText(int excess);

enum class ImportFormat : uint8_t { Own, Brindle, Snapwords };

// By the last four characters of the name, upper-cased: ".QLX", ".BR2",
// ".SNW"; anything else is no import format.
std::optional<ImportFormat> ImportFormatOf(std::string_view file_name);

// The Brindle rewrite of a text that contains "<LAUNCH>": a program path
// from the 10th character (of the first 255), with "<PARAM>" splitting off
// a folder to change to first. Nothing when the text has no "<LAUNCH>".
std::optional<std::string> RewriteLaunch(std::string_view text);

// "<BEGCLIP>" + text + "<ENDCLIP><CLIPP>".
std::string WrapClipboard(std::string_view text);

// One listed record of the import source, already made into a record of
// this program (its modification date is set when it is imported).
struct ImportItem {
  MacroRecord record;
  int source_number = 0;  // record number in the source file, from 1
};

struct ImportList {
  ImportFormat format = ImportFormat::Own;
  std::vector<ImportItem> items;
  int damaged = 0;           // records left out: damaged, or too long once rewritten
  bool wrong_size = false;   // not a whole number of records: nothing listed
  bool partial_tail = false; // own format: a partial last record, left out
};

// The records of a source file's bytes. Own system macros are skipped;
// records whose length bytes pass their fields, whose text has no ending
// zero, whose scope or activation code means nothing, or whose text would
// not fit 5000 characters are counted as damaged and not listed.
ImportList ReadImportBytes(ImportFormat format, std::span<const uint8_t> bytes);

// The own record a Brindle or Snapwords record becomes; nothing when the
// record is damaged. Own records come back unchanged when sound.
std::optional<MacroRecord> ConvertBrindle(const BrindleRecordView& view);
std::optional<MacroRecord> ConvertSnapwords(const SnapwordsRecordView& view);
std::optional<MacroRecord> CheckOwnRecord(std::span<const uint8_t, mr::kSize> bytes);

// What the import and export lists show in their three columns.
struct ListedMacro {
  std::string activation;  // "Timed Macro", the Snapword or the hot key's name
  std::string nickname;
  std::string scope;  // "GLOBAL", "POPUP MENU", or the window title / program name
};
ListedMacro ListedMacroOf(uint16_t code, std::string_view snapword, std::string_view nickname, int16_t scope,
                          std::string_view scope_name);

// Columns of one owner-drawn row of the lists, `width` pixels wide.
struct ListRowColumns {
  int activation_x = 2;
  int nickname_x = 0;      // 2.5/7 of the width
  int nickname_width = 0;  // 3/7 of the width
  int scope_x = 0;         // 5.5/7 of the width
};
inline constexpr int kListRowHeight = 18;
ListRowColumns ListRowColumnsFor(int width);

// The checks of "&Ok", steps 1 to 4: hot-key conflicts are deselected with
// a warning, the capacity is told, the user is asked to go on when either
// fired, and an empty selection is refused. Returns the items to import in
// list order (at most the room left), or nothing when the import stops.
std::optional<std::vector<size_t>> ConfirmImport(const ImportList& list, std::vector<bool>& selected,
                                                 const ActivationBlock& block, IMessageBoxes& boxes);

// Appends the records to the macro file: a complete new file (the records
// already there, then the new ones with their modification date `now`)
// replaces the old one in one step, and the tables are loaded again. The
// file never goes past 500 records. Returns the number appended; false (no
// change) with "Saving of keystrokes failed." when the file cannot be read.
std::optional<int> AppendImported(MacroFile& file, IFileSystem& files, const ImportList& list,
                                  const std::vector<size_t>& chosen, double now, IMessageBoxes& boxes);

// The macros export lists: every macro of the tables except system macros,
// in table order.
std::vector<int> ExportableMacros(const ActivationBlock& block);

// Writes the chosen macros' records, in the order given, as a new macro
// file `target` (an existing one is replaced whole). False when the target
// cannot be created.
bool ExportMacros(const MacroFile& file, IFileSystem& files, const std::vector<int>& numbers,
                  const std::string& target);

// The whole of a file, or nothing when it cannot be opened.
std::optional<std::vector<uint8_t>> ReadWholeFile(IFileSystem& files, const std::string& path);

// Writes `bytes` beside `target`, on the disk, and puts it in the target's
// place in one step. False when the new file cannot be created; a failure
// after that is an I/O error that leaves the target as it was.
bool ReplaceWholeFile(IFileSystem& files, const std::string& target, const std::vector<uint8_t>& bytes);

}  // namespace qlx
