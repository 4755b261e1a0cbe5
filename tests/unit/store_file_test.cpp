#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "store/macro_file.h"

namespace qlx {
namespace {

namespace fs = std::filesystem;

class RecordingBoxes : public IMessageBoxes {
 public:
  void Show(const std::string& caption, const std::string& text) override {
    shown.emplace_back(caption, text);
  }
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
  std::vector<std::pair<std::string, std::string>> shown;
};

class FixedClock : public IClock {
 public:
  double Now() const override { return 45351.625; }
  uint32_t TickCount() const override { return 0; }
};

MacroRecord UserMacro(const std::string& nick, uint16_t code = 10, const std::string& text = "") {
  MacroRecord r;
  r.SetNickname(nick);
  r.SetScope(kScopeGlobal);
  r.SetCode(code);
  r.SetActive(true);
  r.SetText(text.empty() ? "text of " + nick : text);
  return r;
}

MacroRecord SystemRecord(int digit, const std::string& nick) {
  MacroRecord r;
  r.SetNickname(nick);
  r.SetScope(kScopeSystem);
  r.SetScopeText(std::string(1, static_cast<char>('0' + digit)));
  r.SetCode(static_cast<uint16_t>(261 + digit));
  r.SetActive(true);
  return r;
}

std::vector<uint8_t> Bytes(const std::vector<MacroRecord>& records, size_t tail = 0) {
  std::vector<uint8_t> out;
  for (const MacroRecord& r : records) out.insert(out.end(), r.bytes().begin(), r.bytes().end());
  out.insert(out.end(), tail, 0xCC);
  return out;
}

void WriteFile(const fs::path& p, const std::vector<uint8_t>& bytes) {
  std::ofstream f(p, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> ReadFile(const fs::path& p) {
  std::vector<uint8_t> out(fs::file_size(p));
  std::ifstream f(p, std::ios::binary);
  f.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(out.size()));
  return out;
}

std::vector<uint8_t> RecordAt(const std::vector<uint8_t>& file, size_t n) {
  auto begin = file.begin() + static_cast<std::ptrdiff_t>((n - 1) * MacroRecord::kSize);
  return std::vector<uint8_t>(begin, begin + MacroRecord::kSize);
}

std::vector<uint8_t> RecordBytes(const MacroRecord& r) {
  return std::vector<uint8_t>(r.bytes().begin(), r.bytes().end());
}

class StoreFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("qlx_store_file_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
            "_" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    path_ = dir_ / "MACROS.QLX";
    file_ = std::make_unique<MacroFile>(path_.string(), MacroTables{block_, *names_}, boxes_, clock_,
                                        DiskFileSystem());
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path dir_;
  fs::path path_;
  std::vector<uint8_t> mem_ = std::vector<uint8_t>(ab::kSize, 0);
  ActivationBlock block_{mem_.data()};
  std::unique_ptr<MacroNameTables> names_ = std::make_unique<MacroNameTables>();
  RecordingBoxes boxes_;
  FixedClock clock_;
  std::unique_ptr<MacroFile> file_;
};

TEST_F(StoreFile, EmptyOrMissingFileGetsTheFourSystemMacrosInDigitOrder) {
  for (bool exists : {true, false}) {
    SCOPED_TRACE(exists ? "0-byte file" : "missing file");
    fs::remove(path_);
    if (exists) WriteFile(path_, {});
    LoadResult res = file_->Load();
    EXPECT_TRUE(res.opened);
    EXPECT_EQ(res.count, 4);
    EXPECT_EQ(res.records_in_file, 0);
    EXPECT_EQ(res.system_macros_added, 4);
    EXPECT_TRUE(res.system_macros_complete);
    EXPECT_EQ(block_.MacroCount(), 4);
    EXPECT_EQ(fs::file_size(path_), 4u * 5165u);
    const char* const nicks[] = {"Activate Quillon", "Start / Stop Capture", "Resume Pause",
                                 "Menu of Macros for Top Most Window"};
    for (int n = 1; n <= 4; ++n) {
      EXPECT_EQ(block_.Scope(n), 5);
      EXPECT_EQ(block_.ScopeText(n), std::string(1, static_cast<char>('0' + n)));
      EXPECT_EQ(block_.Code(n), 261 + n);
      EXPECT_TRUE(block_.Active(n));
      EXPECT_EQ(names_->Nickname(n), nicks[n - 1]);

      MacroRecord r;
      ASSERT_TRUE(file_->ReadRecord(n, r));
      EXPECT_EQ(r.Nickname(), nicks[n - 1]);
      EXPECT_EQ(r.ScopeText(), std::string(1, static_cast<char>('0' + n)));
      EXPECT_EQ(r.Code(), 261 + n);
      EXPECT_EQ(r.Scope(), 5);
      EXPECT_TRUE(r.Active());
      EXPECT_EQ(r.Text(), "");
      EXPECT_EQ(r.Snapword(), "");
      EXPECT_DOUBLE_EQ(r.LastModified(), 45351.625);
      // Everything else is zero: compare with a record built from scratch.
      MacroRecord expect;
      expect.SetNickname(nicks[n - 1]);
      expect.SetScopeText(std::string(1, static_cast<char>('0' + n)));
      expect.SetCode(static_cast<uint16_t>(261 + n));
      expect.SetScope(5);
      expect.SetActive(true);
      expect.SetLastModified(45351.625);
      EXPECT_EQ(r.bytes(), expect.bytes());
    }
  }
  EXPECT_TRUE(boxes_.shown.empty());
}

TEST_F(StoreFile, ThreeUserMacrosAreFollowedBySystemMacrosFourToSeven) {
  WriteFile(path_, Bytes({UserMacro("one", 1), UserMacro("two", 2), UserMacro("three", 3)}));
  LoadResult res = file_->Load();
  EXPECT_EQ(res.count, 7);
  EXPECT_EQ(res.records_in_file, 3);
  EXPECT_EQ(res.system_macros_added, 4);
  EXPECT_EQ(names_->Nickname(1), "one");
  EXPECT_EQ(names_->Nickname(3), "three");
  EXPECT_EQ(block_.Code(2), 2);
  for (int n = 4; n <= 7; ++n) {
    EXPECT_EQ(block_.Scope(n), 5);
    EXPECT_EQ(block_.ScopeText(n), std::string(1, static_cast<char>('0' + n - 3)));
    EXPECT_EQ(block_.Code(n), 262 + n - 4);
  }
  // A second load finds them all and appends nothing.
  res = file_->Load();
  EXPECT_EQ(res.count, 7);
  EXPECT_EQ(res.system_macros_added, 0);
  EXPECT_EQ(fs::file_size(path_), 7u * 5165u);
}

TEST_F(StoreFile, ChangedSystemNicknameIsListedFixedWhileTheDiskKeepsIt) {
  MacroRecord renamed = SystemRecord(2, "My capture key");
  renamed.SetCode(400);  // its hot key was changed too
  const std::vector<uint8_t> original =
      Bytes({SystemRecord(1, "Activate Quillon"), UserMacro("user"), renamed, SystemRecord(3, "x"),
             SystemRecord(4, "y")});
  WriteFile(path_, original);

  LoadResult res = file_->Load();
  EXPECT_EQ(res.count, 5);
  EXPECT_EQ(res.system_macros_added, 0);
  EXPECT_EQ(names_->Nickname(3), "Start / Stop Capture");
  EXPECT_EQ(names_->Nickname(4), "Resume Pause");
  EXPECT_EQ(block_.Code(3), 400);
  EXPECT_EQ(ReadFile(path_), original);  // loading never writes the names back

  MacroRecord r;
  ASSERT_TRUE(file_->ReadRecord(3, r));
  EXPECT_EQ(r.Nickname(), "My capture key");
  // Rewriting the record (a new hot key) keeps the fixed name in the list.
  r.SetCode(401);
  ASSERT_TRUE(file_->WriteRecord(3, r));
  EXPECT_EQ(names_->Nickname(3), "Start / Stop Capture");
  EXPECT_EQ(block_.Code(3), 401);
}

TEST_F(StoreFile, DeleteMovesLaterRecordsUpAndKeepsEveryByte) {
  std::vector<MacroRecord> recs;
  for (const char* n : {"A", "B", "C", "D", "E"}) recs.push_back(UserMacro(n));
  recs[2].bytes()[mr::kReserved5143 + 3] = 0x77;  // even foreign bytes travel unchanged
  WriteFile(path_, Bytes(recs));

  ASSERT_TRUE(file_->DeleteRecord(1));  // first
  auto after = ReadFile(path_);
  ASSERT_EQ(after.size(), 4u * 5165u);
  EXPECT_EQ(RecordAt(after, 1), RecordBytes(recs[1]));
  EXPECT_EQ(RecordAt(after, 2), RecordBytes(recs[2]));
  EXPECT_EQ(RecordAt(after, 4), RecordBytes(recs[4]));

  ASSERT_TRUE(file_->DeleteRecord(4));  // last: only shortens
  after = ReadFile(path_);
  ASSERT_EQ(after.size(), 3u * 5165u);
  EXPECT_EQ(after, Bytes({recs[1], recs[2], recs[3]}));

  ASSERT_TRUE(file_->DeleteRecord(2));  // middle
  EXPECT_EQ(ReadFile(path_), Bytes({recs[1], recs[3]}));
  EXPECT_FALSE(fs::exists(file_->TempName()));

  // Numbers that name no record delete nothing (not the last record).
  EXPECT_FALSE(file_->DeleteRecord(3));
  EXPECT_FALSE(file_->DeleteRecord(0));
  EXPECT_FALSE(file_->DeleteRecord(-1));
  EXPECT_EQ(ReadFile(path_), Bytes({recs[1], recs[3]}));

  fs::remove(path_);
  EXPECT_FALSE(file_->DeleteRecord(1));
  EXPECT_FALSE(fs::exists(path_));
}

TEST_F(StoreFile, FailedDeleteLeavesTheOldFileWhole) {
  const auto original = Bytes({UserMacro("A"), UserMacro("B"), UserMacro("C")});
  WriteFile(path_, original);
  // Something that is not ours blocks the temporary name.
  fs::create_directory(file_->TempName());
  EXPECT_THROW(file_->DeleteRecord(2), StoreIoError);
  EXPECT_EQ(ReadFile(path_), original);
  EXPECT_TRUE(fs::is_directory(file_->TempName()));
}

TEST_F(StoreFile, TrailingPartialRecordIsIgnoredAndOverwrittenByTheNextAppend) {
  std::vector<MacroRecord> recs = {UserMacro("one"), UserMacro("two"), UserMacro("three")};
  WriteFile(path_, Bytes(recs, 100));
  LoadResult res = file_->Load();
  EXPECT_EQ(res.records_in_file, 3);
  EXPECT_TRUE(res.partial_tail);
  EXPECT_EQ(names_->Nickname(3), "three");
  // The first system macro landed at 3 × 5165, over the partial record.
  auto after = ReadFile(path_);
  ASSERT_EQ(after.size(), 7u * 5165u);
  MacroRecord fourth;
  std::copy_n(after.begin() + 3 * 5165, 5165, fourth.bytes().begin());
  EXPECT_EQ(fourth.Nickname(), "Activate Quillon");
  EXPECT_EQ(RecordAt(after, 3), RecordBytes(recs[2]));

  // A file that needs no system macros: the caller's own append drops the tail.
  std::vector<MacroRecord> full = {SystemRecord(1, "a"), SystemRecord(2, "b"), SystemRecord(3, "c"),
                                   SystemRecord(4, "d"), UserMacro("user")};
  WriteFile(path_, Bytes(full, 100));
  res = file_->Load();
  EXPECT_EQ(res.count, 5);
  EXPECT_EQ(res.system_macros_added, 0);
  EXPECT_EQ(fs::file_size(path_), 5u * 5165u + 100u);
  block_.SetMacroCount(6);
  MacroRecord added = UserMacro("added", 77);
  ASSERT_TRUE(file_->WriteRecord(-1, added));
  after = ReadFile(path_);
  ASSERT_EQ(after.size(), 6u * 5165u);
  EXPECT_EQ(RecordAt(after, 6), RecordBytes(added));
  EXPECT_EQ(names_->Nickname(6), "added");
  EXPECT_EQ(block_.Code(6), 77);
  res = file_->Load();
  EXPECT_EQ(res.count, 6);
  EXPECT_FALSE(res.partial_tail);
}

TEST_F(StoreFile, RecordsBeyondFiveHundredStayOnDiskUntouched) {
  std::vector<MacroRecord> recs;
  for (int i = 1; i <= 503; ++i) recs.push_back(UserMacro("M" + std::to_string(i), static_cast<uint16_t>(i)));
  const auto original = Bytes(recs);
  WriteFile(path_, original);
  // Stale data behind the table must not be touched either.
  LoadResult res = file_->Load();
  EXPECT_TRUE(res.truncated);
  EXPECT_EQ(res.records_in_file, 503);
  EXPECT_EQ(res.count, 500);
  EXPECT_EQ(res.system_macros_added, 0);
  EXPECT_FALSE(res.system_macros_complete);
  EXPECT_EQ(names_->Nickname(500), "M500");
  EXPECT_EQ(block_.Code(500), 500);
  EXPECT_EQ(ReadFile(path_), original);

  // No append is possible, neither past 500 nor over record 501.
  block_.SetMacroCount(501);
  EXPECT_FALSE(file_->WriteRecord(-1, UserMacro("new")));
  block_.SetMacroCount(500);
  EXPECT_FALSE(file_->WriteRecord(-1, UserMacro("new")));
  EXPECT_FALSE(file_->WriteRecord(501, UserMacro("new")));
  EXPECT_EQ(ReadFile(path_), original);
  ASSERT_EQ(boxes_.shown.size(), 3u);
  EXPECT_EQ(boxes_.shown[0].first, "Error");
  EXPECT_EQ(boxes_.shown[0].second, "Saving of keystrokes failed.");

  // Overwriting 500 touches only 500; records 501..503 can still be read.
  ASSERT_TRUE(file_->WriteRecord(500, UserMacro("changed")));
  auto after = ReadFile(path_);
  ASSERT_EQ(after.size(), original.size());
  EXPECT_EQ(RecordAt(after, 500), RecordBytes(UserMacro("changed")));
  EXPECT_EQ(RecordAt(after, 503), RecordBytes(recs[502]));
  MacroRecord r;
  ASSERT_TRUE(file_->ReadRecord(503, r));
  EXPECT_EQ(r.Nickname(), "M503");

  // Deleting moves them up, none lost.
  ASSERT_TRUE(file_->DeleteRecord(1));
  after = ReadFile(path_);
  ASSERT_EQ(after.size(), 502u * 5165u);
  EXPECT_EQ(RecordAt(after, 502), RecordBytes(recs[502]));
  EXPECT_EQ(RecordAt(after, 499), RecordBytes(UserMacro("changed")));
}

TEST_F(StoreFile, SystemMacrosAreAppendedOnlyUpToFiveHundred) {
  std::vector<MacroRecord> recs;
  for (int i = 1; i <= 498; ++i) recs.push_back(UserMacro("M" + std::to_string(i)));
  recs.push_back(SystemRecord(2, "capture"));
  WriteFile(path_, Bytes(recs));
  LoadResult res = file_->Load();
  EXPECT_EQ(res.count, 500);
  EXPECT_EQ(res.system_macros_added, 1);
  EXPECT_FALSE(res.system_macros_complete);
  EXPECT_EQ(block_.ScopeText(500), "1");
  EXPECT_EQ(fs::file_size(path_), 500u * 5165u);

  // Exactly 500 without system macros: nothing appended, nothing lost.
  recs.back() = UserMacro("M499");
  recs.push_back(UserMacro("M500"));
  WriteFile(path_, Bytes(recs));
  res = file_->Load();
  EXPECT_EQ(res.count, 500);
  EXPECT_FALSE(res.truncated);
  EXPECT_EQ(res.system_macros_added, 0);
  EXPECT_FALSE(res.system_macros_complete);
  EXPECT_EQ(fs::file_size(path_), 500u * 5165u);
  EXPECT_TRUE(boxes_.shown.empty());
}

TEST_F(StoreFile, DamagedLengthBytesReadAsCapacity) {
  MacroRecord damaged = UserMacro("x");
  damaged.bytes().fill('q');
  damaged.bytes()[mr::kNickname] = 255;
  damaged.bytes()[mr::kScopeText] = 255;
  damaged.bytes()[mr::kSnapword] = 255;
  damaged.SetScope(kScopeWindow);
  damaged.SetCode(20000);
  WriteFile(path_, Bytes({damaged}));
  LoadResult res = file_->Load();
  EXPECT_EQ(res.count, 5);
  EXPECT_EQ(names_->Nickname(1), std::string(50, 'q'));
  EXPECT_EQ(names_->Snapword(1), std::string(10, 'q'));
  EXPECT_EQ(block_.ScopeText(1), std::string(20, 'q'));
  EXPECT_EQ(names_->Nickname(2), "Activate Quillon");  // the next entry is intact
}

TEST_F(StoreFile, ThirtyCharacterScopeTextIsCutToTwentyOnlyInTheBlock) {
  const std::string title = "Untitled - Notepad and more ab";
  ASSERT_EQ(title.size(), 30u);
  MacroRecord r = UserMacro("win");
  r.SetScope(kScopeWindow);
  r.SetScopeText(title);
  WriteFile(path_, {});
  file_->Load();
  block_.SetMacroCount(5);
  ASSERT_TRUE(file_->WriteRecord(-1, r));
  EXPECT_EQ(block_.ScopeText(5), title.substr(0, 20));
  MacroRecord back;
  ASSERT_TRUE(file_->ReadRecord(5, back));
  EXPECT_EQ(back.ScopeText(), title);
}

TEST_F(StoreFile, WriteRecordZeroesReservedBytesAndRefusesGapsAndUnopenableFiles) {
  WriteFile(path_, Bytes({UserMacro("one")}));
  MacroRecord r = UserMacro("two");
  r.bytes()[98] = 9;
  r.bytes()[5150] = 9;
  ASSERT_TRUE(file_->WriteRecord(2, r));  // directly behind the last record
  auto after = ReadFile(path_);
  ASSERT_EQ(after.size(), 2u * 5165u);
  EXPECT_EQ(after[5165 + 98], 0);
  EXPECT_EQ(after[5165 + 5150], 0);
  EXPECT_EQ(after[5165 + 1], 't');

  // A gap of zero bytes would become a macro; the tables may not move.
  std::vector<uint8_t> before_block = mem_;
  EXPECT_FALSE(file_->WriteRecord(4, r));
  EXPECT_FALSE(file_->WriteRecord(0, r));
  EXPECT_FALSE(file_->WriteRecord(-2, r));
  block_.SetMacroCount(0);  // -1 needs the raised count
  EXPECT_FALSE(file_->WriteRecord(-1, r));
  // The file gained a record the tables do not know: no overwrite.
  block_.SetMacroCount(2);
  EXPECT_FALSE(file_->WriteRecord(-1, r));
  block_.SetMacroCount(0);
  EXPECT_EQ(mem_, before_block);
  EXPECT_EQ(ReadFile(path_), after);
  EXPECT_EQ(boxes_.shown.size(), 5u);

  // The file cannot be opened: the message, and neither file nor tables change.
  boxes_.shown.clear();
  MacroFile missing((dir_ / "no" / "such.QLX").string(), MacroTables{block_, *names_}, boxes_, clock_,
                    DiskFileSystem());
  block_.SetMacroCount(1);
  before_block = mem_;
  EXPECT_FALSE(missing.WriteRecord(-1, r));
  EXPECT_FALSE(missing.WriteRecord(1, r));
  EXPECT_EQ(mem_, before_block);
  ASSERT_EQ(boxes_.shown.size(), 2u);
  EXPECT_EQ(boxes_.shown[1], std::make_pair(std::string("Error"), std::string("Saving of keystrokes failed.")));
}

TEST_F(StoreFile, LoadThatCannotCreateTheFileReportsAndLeavesTablesEmpty) {
  block_.SetMacroCount(12);
  MacroFile bad((dir_ / "no" / "such" / "dir.QLX").string(), MacroTables{block_, *names_}, boxes_, clock_,
                DiskFileSystem());
  LoadResult res = bad.Load();
  EXPECT_FALSE(res.opened);
  EXPECT_EQ(res.count, 0);
  EXPECT_EQ(block_.MacroCount(), 0);
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0], std::make_pair(std::string("Error"), std::string("New file could not be created.")));
}

TEST_F(StoreFile, ReadRecordLeavesTheBufferAloneOnFailure) {
  MacroRecord buffer = UserMacro("caller's own");
  const auto kept = buffer.bytes();
  EXPECT_FALSE(file_->ReadRecord(1, buffer));  // no file
  EXPECT_EQ(buffer.bytes(), kept);

  // Whatever the record holds comes back byte for byte, inactive flag and all.
  MacroRecord patterned;
  for (size_t i = 0; i < MacroRecord::kSize; ++i) patterned.bytes()[i] = static_cast<uint8_t>(i * 7 + 1);
  patterned.SetActive(false);
  WriteFile(path_, Bytes({patterned}, 300));
  EXPECT_THROW(file_->ReadRecord(2, buffer), StoreIoError);  // only a partial record there
  EXPECT_THROW(file_->ReadRecord(0, buffer), StoreIoError);
  EXPECT_EQ(buffer.bytes(), kept);
  ASSERT_TRUE(file_->ReadRecord(1, buffer));
  EXPECT_EQ(buffer.bytes(), patterned.bytes());

  // The application catches it as an input/output failure.
  try {
    file_->ReadRecord(9, buffer);
    ADD_FAILURE() << "no error";
  } catch (const std::ios_base::failure& e) {
    EXPECT_NE(std::string(e.what()).find("MACROS.QLX"), std::string::npos);
  }
}

TEST_F(StoreFile, SetActiveRewritesOnlyTheActiveByte) {
  std::vector<MacroRecord> recs = {UserMacro("one"), UserMacro("two"), UserMacro("three")};
  const auto original = Bytes(recs);
  WriteFile(path_, original);
  file_->Load();
  ASSERT_TRUE(block_.Active(2));
  ASSERT_TRUE(file_->SetActive(2, false));
  auto after = ReadFile(path_);
  for (size_t i = 0; i < 3 * 5165; ++i) {
    if (i == 5165 + 97) {
      EXPECT_EQ(after[i], 0);
    } else {
      ASSERT_EQ(after[i], original[i]) << i;
    }
  }
  EXPECT_FALSE(block_.Active(2));
  EXPECT_TRUE(block_.Active(1));
  ASSERT_TRUE(file_->SetActive(2, true));
  EXPECT_EQ(ReadFile(path_)[5165 + 97], 1);
  EXPECT_TRUE(block_.Active(2));
  EXPECT_THROW(file_->SetActive(99, true), StoreIoError);

  WriteFile(path_, {});
  EXPECT_FALSE(file_->SetActive(1, true));
  EXPECT_EQ(fs::file_size(path_), 0u);
  fs::remove(path_);
  EXPECT_FALSE(file_->SetActive(1, true));
  EXPECT_FALSE(fs::exists(path_));
}

TEST(StoreFileNames, CompanionAndCaptionNames) {
  EXPECT_EQ(SyncFileName("C:\\Shared\\OFFICE.QLX"), "C:\\Shared\\OFFICE.MAS");
  EXPECT_EQ(SyncFileName("c:\\a\\b.qlx"), "c:\\a\\b.MAS");
  // Never the macro file itself.
  EXPECT_EQ(SyncFileName("C:\\X.MAS"), "C:\\X.MAS.MAS");
  EXPECT_EQ(SyncFileName("x.mas"), "x.mas.MAS");
  EXPECT_EQ(SyncFileName("ab"), "ab.MAS");

  EXPECT_EQ(KeyRemapFileName("C:\\Q\\QUILX.QLX"), "C:\\Q\\QUILX.QLS");
  EXPECT_EQ(KeyRemapFileName("C:\\Q\\mine.qLx"), "C:\\Q\\mine.QLS");
  for (const char* other : {"C:\\Q\\macros.dat", "C:\\Q\\x.QLS", "QLX", ""}) {
    EXPECT_NE(KeyRemapFileName(other), other);
    EXPECT_EQ(KeyRemapFileName(other), std::string(other) + ".QLS");
  }

  EXPECT_EQ(CaptionFileName("C:\\Program Files\\Quillon\\QUILX.QLX"), "QUILX");
  EXPECT_EQ(CaptionFileName("Z:/tmp/work.qlx"), "work");
  EXPECT_EQ(CaptionFileName("D:A.QLX"), "A");
  EXPECT_EQ(CaptionFileName("C:\\.QLX"), "");

  EXPECT_TRUE(HasMacroFileExtension("C:\\a.qlx"));
  EXPECT_TRUE(HasMacroFileExtension("B.QLX"));
  EXPECT_FALSE(HasMacroFileExtension("B.QLS"));
  EXPECT_FALSE(HasMacroFileExtension("QLX"));
}

TEST(StoreFileNames, RecentFileListAndItsMenu) {
  // Opening slot 3 while A is current: A on top, the opened file gone.
  RecentFiles files = {"X", "Y", "Z", "W", ""};
  DoLastFiles(files, "A", "Z");
  EXPECT_EQ(files, (RecentFiles{"A", "X", "Y", "W", ""}));

  // A full list drops its oldest entry.
  files = {"1", "2", "3", "4", "5"};
  DoLastFiles(files, "P", "N");
  EXPECT_EQ(files, (RecentFiles{"P", "1", "2", "3", "4"}));

  // The previous file already listed moves to the top instead of doubling.
  files = {"1", "P", "3", "", ""};
  DoLastFiles(files, "P", "N");
  EXPECT_EQ(files, (RecentFiles{"P", "1", "3", "", ""}));

  // Comparison is exact.
  files = {"c:\\a.qlx", "", "", "", ""};
  DoLastFiles(files, "B", "C:\\A.QLX");
  EXPECT_EQ(files, (RecentFiles{"B", "c:\\a.qlx", "", "", ""}));

  // No previous file: nothing added.
  files = {"1", "2", "", "", ""};
  DoLastFiles(files, "", "2");
  EXPECT_EQ(files, (RecentFiles{"1", "", "", "", ""}));

  RecentFilesMenu menu = MenuForRecentFiles(RecentFiles{});
  EXPECT_FALSE(menu.separator_visible);
  for (const auto& item : menu.items) EXPECT_FALSE(item.visible);

  menu = MenuForRecentFiles(RecentFiles{"C:\\A.QLX", "", "C:\\B.QLX", "", "E"});
  EXPECT_TRUE(menu.separator_visible);
  EXPECT_TRUE(menu.items[0].visible);
  EXPECT_EQ(menu.items[0].caption, "&1   C:\\A.QLX");
  EXPECT_FALSE(menu.items[1].visible);
  EXPECT_EQ(menu.items[2].caption, "&3   C:\\B.QLX");
  EXPECT_FALSE(menu.items[3].visible);
  EXPECT_EQ(menu.items[4].caption, "&5   E");
}

}  // namespace
}  // namespace qlx
