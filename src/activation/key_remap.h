#pragma once
// Key remapping: the four remap tables (upper case, lower case, numeric,
// punctuation), the 93-byte key-remap file kept beside each macro file,
// and the grids of the Keyboard Remapper and Select Character dialogs.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ui.h"

namespace qlx {

// Offsets of the tables inside the 93-byte record (file) and inside the
// remap block's tables at offset 8.
namespace kr {
inline constexpr size_t kUpper = 0;        // A..Z
inline constexpr size_t kUpperCount = 26;
inline constexpr size_t kLower = 26;       // a..z
inline constexpr size_t kLowerCount = 26;
inline constexpr size_t kNumeric = 52;     // 0..9
inline constexpr size_t kNumericCount = 10;
inline constexpr size_t kPunctuation = 62;
inline constexpr size_t kPunctuationCount = 31;
inline constexpr size_t kSize = 93;
static_assert(kUpper + kUpperCount == kLower);
static_assert(kLower + kLowerCount == kNumeric);
static_assert(kNumeric + kNumericCount == kPunctuation);
static_assert(kPunctuation + kPunctuationCount == kSize);
}  // namespace kr

// The punctuation sources in table order (no left brace, no vertical bar).
inline constexpr char kPunctuationSources[] = " !\"#$%&'()*+,-./:;<=>?@[\\]^_`}~";
static_assert(sizeof kPunctuationSources - 1 == kr::kPunctuationCount);

// Index 0..92 of the table entry for source character c, or -1 when c is
// no source of any table.
int RemapIndexOf(uint8_t c);
// The source character of entry i (0..92); 0 outside.
uint8_t RemapSourceAt(size_t i);

// Typed view over the 93 table bytes (the remap block's or a buffer).
class RemapTables {
 public:
  explicit RemapTables(uint8_t* base) : p_(base) {}
  uint8_t* data() const { return p_; }

  uint8_t Entry(size_t i) const { return i < kr::kSize ? p_[i] : 0; }
  void SetEntry(size_t i, uint8_t v) {
    if (i < kr::kSize) p_[i] = v;
  }
  // The character a typed `c` becomes: its table entry, or c itself when c
  // is no source or its entry is 0 (an entry no dialog writes: the key is
  // left alone rather than silenced).
  uint8_t Replacement(uint8_t c) const {
    const int i = RemapIndexOf(c);
    if (i < 0) return c;
    const uint8_t r = p_[static_cast<size_t>(i)];
    return r == 0 ? c : r;
  }
  // Every source maps to itself.
  void InitSwapKeys();
  bool IsIdentity() const;

 private:
  uint8_t* p_;
};

inline constexpr char kRemapFileDamagedText[] =
    "The key-remap file is damaged: it is shorter than one record.  Keys are not remapped.";

enum class SwapLoad { Loaded, NotOpened, Damaged };
// Reads the first 93 bytes of the key-remap file into the tables. A file
// that cannot be opened leaves them as they were; one shorter than 93
// bytes gives identity tables, not the previous file's.
SwapLoad LoadSwapKeys(const std::string& file, RemapTables tables);
// Writes the tables as the file's one record; false (nothing reported) when
// the file cannot be created.
bool SaveSwapKeys(const std::string& file, const RemapTables& tables);

// The key-remap file of the current macro file: loaded when it exists, else
// made with identity tables; a damaged one is reported (caption "Error").
// Returns the file name.
std::string GetSwapFile(std::string_view macro_file, RemapTables tables, IMessageBoxes& boxes);

// ---- The Keyboard Remapper's grids.

struct RemapGrid {
  const char* title;
  size_t offset;  // first entry in the tables
  size_t count;   // rows
};
// In the dialog's order: "Upper Case", "Lower Case", "Punctuation", "Numeric".
inline constexpr std::array<RemapGrid, 4> kRemapGrids = {{
    {"Upper Case", kr::kUpper, kr::kUpperCount},
    {"Lower Case", kr::kLower, kr::kLowerCount},
    {"Punctuation", kr::kPunctuation, kr::kPunctuationCount},
    {"Numeric", kr::kNumeric, kr::kNumericCount},
}};

// Text of a replacement cell: the character, or "none" for 0.
std::string ReplacementCellText(uint8_t value);
// Text of a source cell: the character ("Space" would hide what is typed,
// so the blank shows as itself).
std::string SourceCellText(uint8_t source);

// The Select Character grid: 28 columns by 8 rows of the characters 32..255.
inline constexpr int kSelectColumns = 28;
inline constexpr int kSelectRows = 8;
inline constexpr int kSelectFirst = 32;
static_assert(kSelectFirst + kSelectColumns * kSelectRows == 256);
// The character of a cell; 0 for a cell outside the grid.
uint8_t SelectCellValue(int row, int column);
struct GridCell {
  int row = 0;
  int column = 0;
};
// The cell showing a value; 32..255 only, others select the first cell.
GridCell SelectCellOf(uint8_t value);

}  // namespace qlx
