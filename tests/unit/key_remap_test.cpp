// The remap tables, the key-remap file beside each macro file and the
// grids of the Keyboard Remapper.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "activation/key_remap.h"
#include "store/macro_file.h"

namespace qlx {
namespace {

namespace fs = std::filesystem;

class Boxes : public IMessageBoxes {
 public:
  void Show(const std::string& caption, const std::string& text) override { shown.push_back(caption + "|" + text); }
  bool AskYesNo(const std::string&, const std::string&) override { return true; }
  std::vector<std::string> shown;
};

class KeyRemapFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("qlx-remap-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::vector<uint8_t> Bytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  fs::path dir_;
  std::vector<uint8_t> block_ = std::vector<uint8_t>(kr::kSize, 0);
  RemapTables tables_{block_.data()};
  Boxes boxes_;
};

TEST(RemapTablesLayout, SourcesInTableOrder) {
  struct Case {
    char source;
    int index;
  };
  const Case cases[] = {{'A', 0}, {'Z', 25}, {'a', 26}, {'z', 51}, {'0', 52}, {'9', 61},
                        {' ', 62}, {'!', 63}, {'/', 77}, {':', 78}, {'@', 84}, {'[', 85},
                        {'`', 90}, {'}', 91}, {'~', 92}, {'{', -1}, {'|', -1}, {'\t', -1}};
  for (const Case& c : cases) EXPECT_EQ(RemapIndexOf(static_cast<uint8_t>(c.source)), c.index) << c.source;
  for (size_t i = 0; i < kr::kSize; ++i) EXPECT_EQ(RemapIndexOf(RemapSourceAt(i)), static_cast<int>(i));
}

TEST(RemapTablesLayout, ReplacementFollowsTheEntryAndZeroLeavesTheKey) {
  std::vector<uint8_t> mem(kr::kSize, 0);
  RemapTables t(mem.data());
  EXPECT_EQ(t.Replacement('a'), 'a') << "all zero: nothing remapped";
  t.InitSwapKeys();
  EXPECT_TRUE(t.IsIdentity());
  t.SetEntry(kr::kLower, 'b');
  t.SetEntry(kr::kPunctuation, '_');
  EXPECT_EQ(t.Replacement('a'), 'b');
  EXPECT_EQ(t.Replacement(' '), '_');
  EXPECT_EQ(t.Replacement('{'), '{');
  EXPECT_EQ(t.Replacement(200), 200);
  t.SetEntry(kr::kNumeric, 0);
  EXPECT_EQ(t.Replacement('0'), '0');
  EXPECT_FALSE(t.IsIdentity());
  t.SetEntry(kr::kSize, 'x');  // outside: ignored
  EXPECT_EQ(t.Entry(kr::kSize), 0);
}

TEST_F(KeyRemapFile, AMacroFileWithoutOneGetsIdentityTables) {
  const std::string macro_file = (dir_ / "WORK.QLX").string();
  const std::string name = GetSwapFile(macro_file, tables_, boxes_);
  EXPECT_EQ(name, (dir_ / "WORK.QLS").string());
  const std::vector<uint8_t> bytes = Bytes(name);
  ASSERT_EQ(bytes.size(), kr::kSize);
  EXPECT_EQ(bytes[0], 'A');
  EXPECT_EQ(bytes[26], 'a');
  EXPECT_EQ(bytes[52], '0');
  EXPECT_EQ(bytes[62], ' ');
  EXPECT_EQ(bytes[92], '~');
  EXPECT_TRUE(tables_.IsIdentity());
}

TEST_F(KeyRemapFile, MappingAToBWritesBAtOffset26AndLoadsBack) {
  tables_.InitSwapKeys();
  tables_.SetEntry(static_cast<size_t>(RemapIndexOf('a')), 'b');
  const std::string name = (dir_ / "WORK.QLS").string();
  ASSERT_TRUE(SaveSwapKeys(name, tables_));
  EXPECT_EQ(Bytes(name)[26], 'b');
  std::vector<uint8_t> other(kr::kSize, 0);
  RemapTables loaded(other.data());
  const std::string macro_file = (dir_ / "WORK.QLX").string();
  GetSwapFile(macro_file, loaded, boxes_);
  EXPECT_EQ(other, block_);
}

TEST_F(KeyRemapFile, AShortFileGivesIdentityTablesAndIsReported) {
  for (size_t size : {size_t{0}, size_t{3}, kr::kSize - 1}) {
    SCOPED_TRACE(size);
    tables_.InitSwapKeys();
    tables_.SetEntry(0, 'Q');  // the previous macro file's remapping
    boxes_.shown.clear();
    std::ofstream(dir_ / "SHORT.QLS", std::ios::binary) << std::string(size, 'x');
    GetSwapFile((dir_ / "SHORT.QLX").string(), tables_, boxes_);
    EXPECT_TRUE(tables_.IsIdentity());
    EXPECT_EQ(boxes_.shown, std::vector<std::string>{std::string("Error|") + kRemapFileDamagedText});
  }
}

TEST_F(KeyRemapFile, AMissingFileLeavesTheTablesAsTheyWere) {
  tables_.InitSwapKeys();
  tables_.SetEntry(0, 'Q');
  EXPECT_EQ(LoadSwapKeys((dir_ / "NONE.QLS").string(), tables_), SwapLoad::NotOpened);
  EXPECT_EQ(tables_.Entry(0), 'Q');
  EXPECT_EQ(tables_.Entry(1), 'B');
  // A longer file gives its first 93 bytes.
  const fs::path long_file = dir_ / "LONG.QLS";
  std::ofstream(long_file, std::ios::binary) << std::string(100, 'x');
  EXPECT_EQ(LoadSwapKeys(long_file.string(), tables_), SwapLoad::Loaded);
  EXPECT_EQ(tables_.Entry(92), 'x');
  EXPECT_FALSE(SaveSwapKeys((dir_ / "no-such-dir" / "X.QLS").string(), tables_));
}

TEST(RemapperGrids, FourGridsCoverEveryEntryOnce) {
  std::vector<int> seen(kr::kSize, 0);
  for (const RemapGrid& g : kRemapGrids)
    for (size_t i = 0; i < g.count; ++i) ++seen[g.offset + i];
  EXPECT_EQ(seen, std::vector<int>(kr::kSize, 1));
  EXPECT_STREQ(kRemapGrids[2].title, "Punctuation");
  EXPECT_EQ(ReplacementCellText(0), "none");
  EXPECT_EQ(ReplacementCellText('b'), "b");
}

TEST(RemapperGrids, SelectCharacterCellsHoldRowTimes28PlusColumnPlus32) {
  EXPECT_EQ(SelectCellValue(0, 0), 32);
  EXPECT_EQ(SelectCellValue(1, 0), 60);
  EXPECT_EQ(SelectCellValue(7, 27), 255);
  EXPECT_EQ(SelectCellValue(8, 0), 0);
  EXPECT_EQ(SelectCellValue(0, 28), 0);
  EXPECT_EQ(SelectCellValue(-1, 3), 0);
  for (int v = 32; v < 256; ++v) {
    const GridCell c = SelectCellOf(static_cast<uint8_t>(v));
    EXPECT_EQ(SelectCellValue(c.row, c.column), v);
  }
  const GridCell none = SelectCellOf(0);
  EXPECT_EQ(none.row, 0);
  EXPECT_EQ(none.column, 0);
}

}  // namespace
}  // namespace qlx
