#include "activation/key_remap.h"

#include <cstdio>

#include "platform/files.h"
#include "store/macro_file.h"

namespace qlx {
namespace {

struct SourceTable {
  std::array<int16_t, 256> index{};
  std::array<uint8_t, kr::kSize> source{};
  constexpr SourceTable() {
    for (auto& i : index) i = -1;
    size_t n = 0;
    for (char c = 'A'; c <= 'Z'; ++c) Put(n++, static_cast<uint8_t>(c));
    for (char c = 'a'; c <= 'z'; ++c) Put(n++, static_cast<uint8_t>(c));
    for (char c = '0'; c <= '9'; ++c) Put(n++, static_cast<uint8_t>(c));
    for (size_t k = 0; k < kr::kPunctuationCount; ++k) Put(n++, static_cast<uint8_t>(kPunctuationSources[k]));
  }
  constexpr void Put(size_t i, uint8_t c) {
    index[c] = static_cast<int16_t>(i);
    source[i] = c;
  }
};
constexpr SourceTable kSources;
static_assert(kSources.index['a'] == static_cast<int16_t>(kr::kLower));
static_assert(kSources.index['0'] == static_cast<int16_t>(kr::kNumeric));
static_assert(kSources.index[' '] == static_cast<int16_t>(kr::kPunctuation));
static_assert(kSources.index['~'] == static_cast<int16_t>(kr::kSize - 1));
static_assert(kSources.index['{'] == -1 && kSources.index['|'] == -1);

// Owns a stdio stream.
struct FileCloser {
  FILE* f;
  ~FileCloser() {
    if (f) std::fclose(f);
  }
};

}  // namespace

int RemapIndexOf(uint8_t c) { return kSources.index[c]; }

uint8_t RemapSourceAt(size_t i) { return i < kr::kSize ? kSources.source[i] : 0; }

void RemapTables::InitSwapKeys() {
  for (size_t i = 0; i < kr::kSize; ++i) p_[i] = kSources.source[i];
}

bool RemapTables::IsIdentity() const {
  for (size_t i = 0; i < kr::kSize; ++i)
    if (p_[i] != kSources.source[i]) return false;
  return true;
}

SwapLoad LoadSwapKeys(const std::string& file, RemapTables tables) {
  FileCloser in{std::fopen(file.c_str(), "rb")};
  if (!in.f) return SwapLoad::NotOpened;
  std::array<uint8_t, kr::kSize> record{};
  if (std::fread(record.data(), 1, record.size(), in.f) != record.size()) {
    // The previous file's tables must not stay, nor be saved over this one.
    tables.InitSwapKeys();
    return SwapLoad::Damaged;
  }
  for (size_t i = 0; i < kr::kSize; ++i) tables.SetEntry(i, record[i]);
  return SwapLoad::Loaded;
}

bool SaveSwapKeys(const std::string& file, const RemapTables& tables) {
  FileCloser out{std::fopen(file.c_str(), "wb")};
  if (!out.f) return false;
  const bool written = std::fwrite(tables.data(), 1, kr::kSize, out.f) == kr::kSize;
  const bool flushed = std::fflush(out.f) == 0;
  return written && flushed;
}

std::string GetSwapFile(std::string_view macro_file, RemapTables tables, IMessageBoxes& boxes) {
  std::string name = KeyRemapFileName(macro_file);
  if (FileExists(name)) {
    if (LoadSwapKeys(name, tables) == SwapLoad::Damaged) boxes.Show(kErrorCaption, kRemapFileDamagedText);
  } else {
    tables.InitSwapKeys();
    SaveSwapKeys(name, tables);
  }
  return name;
}

std::string ReplacementCellText(uint8_t value) {
  return value == 0 ? std::string("none") : std::string(1, static_cast<char>(value));
}

std::string SourceCellText(uint8_t source) { return std::string(1, static_cast<char>(source)); }

uint8_t SelectCellValue(int row, int column) {
  if (row < 0 || row >= kSelectRows || column < 0 || column >= kSelectColumns) return 0;
  return static_cast<uint8_t>(row * kSelectColumns + column + kSelectFirst);
}

GridCell SelectCellOf(uint8_t value) {
  if (value < kSelectFirst) return {};
  const int v = value - kSelectFirst;
  return {v / kSelectColumns, v % kSelectColumns};
}

}  // namespace qlx
