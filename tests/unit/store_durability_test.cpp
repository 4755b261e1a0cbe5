// The macro file through the in-memory file system: what reaches the disk
// in which order when the file is rewritten, and what survives a write,
// flush or replace that fails half way.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fakes/memory_files.h"
#include "store/macro_file.h"

namespace qlx {
namespace {

class NoBoxes : public IMessageBoxes {
 public:
  void Show(const std::string& caption, const std::string&) override { shown.push_back(caption); }
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
  std::vector<std::string> shown;
};

class StillClock : public IClock {
 public:
  double Now() const override { return 45000.25; }
  uint32_t TickCount() const override { return 0; }
};

constexpr char kName[] = "C:\\Q\\MACROS.QLX";

MacroRecord Named(const std::string& nick) {
  MacroRecord r;
  r.SetNickname(nick);
  r.SetScope(kScopeGlobal);
  r.SetCode(7);
  r.SetActive(true);
  r.SetText("text of " + nick);
  return r;
}

fake::MemoryFiles::Bytes FileOf(const std::vector<std::string>& nicks) {
  fake::MemoryFiles::Bytes out;
  for (const std::string& n : nicks) {
    const MacroRecord r = Named(n);
    out.insert(out.end(), r.bytes().begin(), r.bytes().end());
  }
  return out;
}

class StoreDurability : public ::testing::Test {
 protected:
  std::vector<uint8_t> mem_ = std::vector<uint8_t>(ab::kSize, 0);
  std::unique_ptr<MacroNameTables> names_ = std::make_unique<MacroNameTables>();
  NoBoxes boxes_;
  StillClock clock_;
  fake::MemoryFiles files_;
  MacroFile file_{kName, MacroTables{ActivationBlock(mem_.data()), *names_}, boxes_, clock_, files_};
};

TEST_F(StoreDurability, ARewrittenFileIsOnTheDiskBeforeItReplacesTheOldOne) {
  files_.files[kName] = FileOf({"A", "B", "C"});
  ASSERT_TRUE(file_.DeleteRecord(2));
  const std::string temp = file_.TempName();
  // The old file is only read; the new one is flushed to the disk, closed,
  // and only then takes the old one's name.
  std::vector<std::string> expected = {"commit " + temp, "close " + temp, "close " + std::string(kName),
                                       "replace " + temp + " > " + kName};
  EXPECT_EQ(files_.log, expected);
  EXPECT_EQ(files_.files[kName], FileOf({"A", "C"}));
  EXPECT_EQ(files_.files.count(temp), 0u);
}

TEST_F(StoreDurability, AFailureAnywhereInARewriteLeavesTheOldFileWholeAndNoTemporaryFile) {
  const auto original = FileOf({"A", "B", "C", "D"});
  // Writes of three records, the flush, then the replace: fail each in turn.
  for (int64_t n = 0; n <= 4; ++n) {
    SCOPED_TRACE("operation " + std::to_string(n) + " fails");
    files_.files.clear();
    files_.files[kName] = original;
    files_.fail_after = n;
    EXPECT_THROW(file_.DeleteRecord(1), StoreIoError);
    EXPECT_EQ(files_.files[kName], original);
    EXPECT_EQ(files_.files.count(file_.TempName()), 0u);
  }
  files_.fail_after = 5;  // one more than a rewrite needs
  EXPECT_TRUE(file_.DeleteRecord(1));
  EXPECT_EQ(files_.files[kName], FileOf({"B", "C", "D"}));
}

TEST_F(StoreDurability, AFailedInPlaceWriteIsAnErrorNotASilentLoss) {
  files_.files[kName] = FileOf({"A"});
  ActivationBlock(mem_.data()).SetMacroCount(1);
  files_.fail_after = 0;
  try {
    file_.WriteRecord(1, Named("Z"));
    ADD_FAILURE() << "no error";
  } catch (const StoreIoError& e) {
    // What the user reads: what failed and on which file, nothing more.
    EXPECT_STREQ(e.what(), "Write error: C:\\Q\\MACROS.QLX");
  }
  files_.fail_after = 0;
  EXPECT_THROW(file_.SetActive(1, false), StoreIoError);
}

TEST_F(StoreDurability, AFileThatCannotBeOpenedIsReportedByWriteAndLoadAsBefore) {
  files_.unopenable = {kName};
  EXPECT_FALSE(file_.WriteRecord(1, Named("A")));
  EXPECT_EQ(boxes_.shown, std::vector<std::string>{"Error"});
  const LoadResult r = file_.Load();
  EXPECT_FALSE(r.opened);
  EXPECT_EQ(r.count, 0);
  EXPECT_EQ(boxes_.shown.size(), 2u);
}

}  // namespace
}  // namespace qlx
