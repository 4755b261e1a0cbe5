#pragma once
// What the two reports of the macro list say: the printed list (activation,
// nickname, scope) and the macro information text file. Both walk the list
// rows in list order and read each macro's record from the macro file.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "store/macro_record.h"

namespace qlx {

inline constexpr char kNothingCheckedText[] = "Nothing has been checked for printing.  Please Correct.";
inline constexpr char kCannotCreateTextFileText[] = "Unable to create text file.";
inline constexpr char kPrintJobBusyText[] = "Other print job currently in progress.";
inline constexpr char kPrintJobTitle[] = "Quillon 98";
inline constexpr char kInfoSaveTitle[] = "Write Hot Key Definitions to File";
inline constexpr char kInfoSaveFilter[] = "Text File (*.TXT)|*.TXT";

// One row of the macro list as the reports need it: the nickname the list
// shows (system macros show their fixed one) and the record on disk.
struct ReportRow {
  std::string nickname;
  MacroRecord record;
};

// "Timed Macro", "Snapword: " + Snapword, or the hot key's display name.
std::string ReportActivationText(const MacroRecord& record);

// Third column of the printed list: "GLOBAL", "Window: " or "Program: " with
// the title or name and " (Top Most Only)" / " (If Running)", "Popup Menu",
// "SYSTEM".
std::string PrintScopeText(const MacroRecord& record);

// The six check boxes of "Output Macros To File", in dialog order.
enum class InfoPart : uint8_t { HotKey, Name, Window, Text, Schedule, Icon };
inline constexpr size_t kInfoPartCount = 6;
using InfoParts = std::array<bool, kInfoPartCount>;
inline constexpr InfoParts kAllInfoParts = {true, true, true, true, true, true};

inline bool Has(const InfoParts& parts, InfoPart p) { return parts[static_cast<size_t>(p)]; }

// The refusal of "&Ok": none of Hot Key, Name, Window and Text checked.
std::optional<std::string> CheckInfoParts(const InfoParts& parts);

// The block of one macro: the chosen lines in the fixed order (icon, hot
// key, name, scope, schedule, text), each ended by CR LF, then an empty line.
std::string InformationBlock(const ReportRow& row, const InfoParts& parts);

// The whole information file.
std::string InformationFile(const std::vector<ReportRow>& rows, const InfoParts& parts);

// Writes `contents` as the file `path`, replacing it; false when the file
// cannot be created. A write that fails after that is an I/O error.
bool WriteTextFile(IFileSystem& files, const std::string& path, std::string_view contents);

}  // namespace qlx
