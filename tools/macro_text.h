#pragma once
// Macro files as plain ASCII text, and back.
//
// The text names every field of every record, one "key: value" line each,
// in blocks that begin with a line "macro" (the number after it is only for
// the reader). Whatever the named fields cannot say (reserved bytes that are
// not zero, bytes behind a string's length, a length byte past its field)
// follows as "raw OFFSET: HEX" lines, and bytes after the last whole record
// as a "tail" section, so that building the text of any file of at most 500
// records gives the file again, byte for byte.
//
// Values: surrounding blanks are dropped; `\\`, `\r`, `\n`, `\t` and `\xHH`
// stand for the byte they name; a blank at either end of a value is written
// `\x20`; every other byte outside printable ASCII is written `\xHH`, so a
// dump is plain ASCII and no value can run into the next line.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qlx {

struct TextError {
  int line = 0;  // 1-based line of the text the message is about
  std::string message;
};

struct BuildResult {
  std::vector<uint8_t> bytes;  // the macro file; empty when refused
  std::vector<TextError> errors;
  int macros = 0;
  bool ok() const { return errors.empty(); }
};

// The text of a macro file (any bytes: a partial record at the end and
// records past 500 are dumped too).
std::string DumpMacroFile(std::span<const uint8_t> file);

// The macro file a text describes, or every error found in it, each naming
// its line; nothing is built when there is one.
BuildResult BuildMacroFile(std::string_view text);

// ---- the pieces, for the tests -------------------------------------------

// A value as the text writes it (see above).
std::string EscapeValue(std::string_view bytes);
// The bytes a value stands for, or the reason it cannot be read.
struct Unescaped {
  std::string bytes;
  std::string error;  // empty when the value was read
};
Unescaped UnescapeValue(std::string_view value);

// "YYYY-MM-DD HH:MM:SS" with ".mmm" when the milliseconds are not zero, for
// a stored date value from 30 December 1899 to 31 December 9999; nullopt
// outside that range or for a value that is not a number.
std::optional<std::string> FormatDateValue(double days);
// The date value such a text stands for, reckoned as the program's clock
// reckons it, so that a time the program took reads back to the same bits.
// The time, its seconds and milliseconds may be left out.
std::optional<double> ParseDateValue(std::string_view text);

// Hot-key code of a name from the hot-key table, without regard to case;
// nullopt for any other text.
std::optional<uint16_t> HotKeyCodeByName(std::string_view name);

}  // namespace qlx
