// Import from own, Brindle and Snapwords files and export into a new file:
// the record readers, the rewrites, the checks of "&Ok" and the files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/import_export.h"
#include "app/macro_list_model.h"
#include "fakes/memory_files.h"
#include "store/macro_file.h"

namespace qlx {
namespace {

namespace fs = std::filesystem;

class ScriptedBoxes : public IMessageBoxes {
 public:
  void Show(const std::string& caption, const std::string& text) override { shown.emplace_back(caption, text); }
  bool AskYesNo(const std::string& caption, const std::string& text) override {
    asked.emplace_back(caption, text);
    return answer;
  }
  bool answer = true;
  std::vector<std::pair<std::string, std::string>> shown;
  std::vector<std::pair<std::string, std::string>> asked;
};

class FixedClock : public IClock {
 public:
  double Now() const override { return 45000.5; }
  uint32_t TickCount() const override { return 0; }
};

void PutString(std::vector<uint8_t>& b, size_t off, const std::string& s) {
  b[off] = static_cast<uint8_t>(s.size());
  std::copy(s.begin(), s.end(), b.begin() + static_cast<std::ptrdiff_t>(off + 1));
}
void PutText(std::vector<uint8_t>& b, size_t off, const std::string& s) {
  std::copy(s.begin(), s.end(), b.begin() + static_cast<std::ptrdiff_t>(off));
}

struct BrindleSample {
  std::string nickname = "Greeting";
  std::string scope_name;
  uint16_t code = 144;
  int16_t scope = 1;
  uint8_t active = 1;
  bool clip = false;
  std::string text = "Hello";
};

std::vector<uint8_t> Brindle(const BrindleSample& s) {
  std::vector<uint8_t> b(br::kSize, 0);
  PutString(b, br::kNickname, s.nickname);
  PutString(b, br::kScopeName, s.scope_name);
  PutU16(&b[br::kCode], s.code);
  PutI16(&b[br::kScope], s.scope);
  b[br::kActive] = s.active;
  b[br::kPasteAsClip] = s.clip ? 1 : 0;
  PutU16(&b[br::kReserved88], 0x0203);
  PutText(b, br::kText, s.text);
  PutU16(&b[br::kScheduleKind], 4);
  for (size_t i = 0; i < br::kScheduleBytesCount; ++i) b[br::kScheduleBytes + i] = static_cast<uint8_t>(i + 1);
  PutU16(&b[br::kInterval], 33);
  b[br::kWeekday] = 6;
  PutU16(&b[br::kYear], 1999);
  b[br::kPm] = 1;
  b[br::kTopMostOnly] = 1;
  for (size_t i = br::kTail; i < br::kSize; ++i) b[i] = 0xEE;  // bytes import never reads
  return b;
}

std::vector<uint8_t> Snapwords(const std::string& abbreviation, const std::string& text, bool clip = false,
                               uint8_t active = 1) {
  std::vector<uint8_t> b(sw::kSize, 0);
  b[0] = 0x11;
  PutString(b, sw::kAbbreviation, abbreviation);
  b[sw::kActive] = active;
  PutU16(&b[sw::kReserved15], 7);
  PutText(b, sw::kText, text);
  b[sw::kPasteAsClip] = clip ? 1 : 0;
  return b;
}

std::vector<uint8_t> Join(std::initializer_list<std::vector<uint8_t>> parts) {
  std::vector<uint8_t> out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

MacroRecord Own(const std::string& nick, uint16_t code, int16_t scope = kScopeGlobal) {
  MacroRecord r;
  r.SetNickname(nick);
  r.SetCode(code);
  r.SetScope(scope);
  r.SetActive(true);
  r.SetText("text of " + nick);
  r.SetIcon("MAIN");
  r.SetLastModified(123.25);
  if (scope == kScopeSystem) r.SetScopeText("2");
  return r;
}

std::vector<uint8_t> OwnBytes(const std::vector<MacroRecord>& records) {
  std::vector<uint8_t> out;
  for (const auto& r : records) out.insert(out.end(), r.bytes().begin(), r.bytes().end());
  return out;
}

TEST(ImportFormat, ByTheLastFourCharactersInAnyCase) {
  EXPECT_EQ(ImportFormatOf("C:\\a\\b.qlx"), ImportFormat::Own);
  EXPECT_EQ(ImportFormatOf("X.Br2"), ImportFormat::Brindle);
  EXPECT_EQ(ImportFormatOf("abbrev.SNW"), ImportFormat::Snapwords);
  EXPECT_EQ(ImportFormatOf("macros.txt"), std::nullopt);
  EXPECT_EQ(ImportFormatOf("SNW"), std::nullopt);
  EXPECT_EQ(ImportFormatOf("file.QLX.bak"), std::nullopt);
}

TEST(BrindleRewrite, LaunchAndParam) {
  struct Case {
    std::string in;
    std::optional<std::string> out;
  } cases[] = {
      {"Hello <ENTER>", std::nullopt},
      {"<LAUNCH> C:\\APPS\\EDIT.EXE", "<LAUNCH:C:\\APPS\\EDIT.EXE>"},
      {"<LAUNCH>|C:\\APPS\\EDIT.EXE<PARAM>C:\\DOCS", "<CHDIR:C:\\DOCS><LAUNCH:C:\\APPS\\EDIT.EXE>"},
      {"<LAUNCH>", "<LAUNCH:>"},
      {"<LAUNCH> <PARAM>", "<CHDIR:><LAUNCH:>"},
      // Only the first 255 characters take part.
      {"<LAUNCH> " + std::string(300, 'p'), "<LAUNCH:" + std::string(246, 'p') + ">"},
  };
  for (const Case& c : cases) EXPECT_EQ(RewriteLaunch(c.in), c.out) << c.in;
}

TEST(BrindleRecord, FieldsReachTheirOwnPlaces) {
  BrindleSample sample;
  sample.scope = kScopeWindow;
  sample.scope_name = "Untitled - Notepad";
  ImportList list = ReadImportBytes(ImportFormat::Brindle, Brindle(sample));
  ASSERT_EQ(list.items.size(), 1u);
  const MacroRecord& r = list.items[0].record;
  EXPECT_EQ(r.Nickname(), "Greeting");
  EXPECT_EQ(r.ScopeText(), "Untitled - Notepad");
  EXPECT_EQ(r.Snapword(), "");
  EXPECT_EQ(r.Code(), 144);
  EXPECT_EQ(r.Scope(), kScopeWindow);
  EXPECT_TRUE(r.Active());
  EXPECT_EQ(GetU16(r.data() + mr::kReserved98), 0x0203);
  EXPECT_EQ(r.Text(), "Hello");
  EXPECT_EQ(r.Icon(), "MAIN");
  EXPECT_EQ(r.ScheduleKind(), 4);
  for (size_t i = 0; i < 12; ++i) EXPECT_EQ(r.data()[mr::kDayFlags + i], i + 1) << i;
  EXPECT_EQ(r.Interval(), 33);
  EXPECT_EQ(r.Weekday(), 6);
  EXPECT_EQ(r.Year(), 1999);
  EXPECT_TRUE(r.Pm());
  EXPECT_TRUE(r.TopMostOnly());
}

TEST(BrindleRecord, ClipboardWrappingButNotForALaunch) {
  BrindleSample clip;
  clip.clip = true;
  clip.text = "Paste me";
  BrindleSample launch = clip;
  launch.text = "<LAUNCH> C:\\X.EXE";
  ImportList list = ReadImportBytes(ImportFormat::Brindle, Join({Brindle(clip), Brindle(launch)}));
  ASSERT_EQ(list.items.size(), 2u);
  EXPECT_EQ(list.items[0].record.Text(), "<BEGCLIP>Paste me<ENDCLIP><CLIPP>");
  EXPECT_EQ(list.items[1].record.Text(), "<LAUNCH:C:\\X.EXE>");
}

TEST(SnapwordsRecord, FixedValuesAndClipboard) {
  ImportList list = ReadImportBytes(ImportFormat::Snapwords,
                                    Join({Snapwords("addr", "1 Main Street"), Snapwords("sig", "Regards", true, 0)}));
  ASSERT_EQ(list.items.size(), 2u);
  const MacroRecord& r = list.items[0].record;
  EXPECT_EQ(r.Snapword(), "addr");
  EXPECT_EQ(r.Nickname(), "");
  EXPECT_EQ(r.ScopeText(), "");
  EXPECT_EQ(r.Code(), kSnapwordCode);
  EXPECT_EQ(r.Scope(), kScopeGlobal);
  EXPECT_TRUE(r.Active());
  EXPECT_EQ(GetU16(r.data() + mr::kReserved98), 7);
  EXPECT_EQ(r.Text(), "1 Main Street");
  EXPECT_EQ(r.Icon(), "MAIN");
  EXPECT_EQ(GetU16(r.data() + 5114), 1);
  for (size_t off = 5116; off <= 5124; ++off) EXPECT_EQ(r.data()[off], 0) << off;
  const std::pair<size_t, int> bytes[] = {{5125, 1}, {5126, 1}, {5127, 15}, {5130, 1}, {5133, 1}, {5134, 1}};
  for (auto [off, v] : bytes) EXPECT_EQ(r.data()[off], v) << off;
  EXPECT_EQ(GetU16(r.data() + 5128), 15);
  EXPECT_EQ(GetU16(r.data() + 5131), 1998);
  EXPECT_FALSE(list.items[1].record.Active());
  EXPECT_EQ(list.items[1].record.Text(), "<BEGCLIP>Regards<ENDCLIP><CLIPP>");
}

TEST(OwnRecords, SystemMacrosAreNotListedOthersUnchanged) {
  const auto bytes = OwnBytes({Own("One", 3), Own("Capture", 263, kScopeSystem), Own("Two", kTimedCode)});
  ImportList list = ReadImportBytes(ImportFormat::Own, bytes);
  ASSERT_EQ(list.items.size(), 2u);
  EXPECT_EQ(list.damaged, 0);
  EXPECT_EQ(list.items[0].source_number, 1);
  EXPECT_EQ(list.items[1].source_number, 3);
  EXPECT_TRUE(std::equal(list.items[1].record.bytes().begin(), list.items[1].record.bytes().end(),
                         bytes.begin() + 2 * mr::kSize));
}

TEST(MalformedImports, WrongSizesListNothing) {
  const struct {
    ImportFormat format;
    size_t size;
  } cases[] = {{ImportFormat::Brindle, br::kSize + 1}, {ImportFormat::Snapwords, sw::kSize - 39}};
  for (const auto& c : cases) {
    ImportList list = ReadImportBytes(c.format, std::vector<uint8_t>(c.size, 0));
    EXPECT_TRUE(list.wrong_size) << c.size;
    EXPECT_TRUE(list.items.empty());
  }
  EXPECT_FALSE(ReadImportBytes(ImportFormat::Own, {}).wrong_size);
}

TEST(MalformedImports, AnOwnFileGivesItsWholeRecordsAndNamesThePartialTail) {
  const std::vector<uint8_t> two = OwnBytes({Own("A", 1), Own("B", 2)});
  const struct {
    size_t tail;
    size_t listed;
  } cases[] = {{0, 2}, {100, 2}, {mr::kSize - 1, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tail);
    std::vector<uint8_t> bytes = two;
    bytes.resize(bytes.size() + c.tail, 7);
    const ImportList list = ReadImportBytes(ImportFormat::Own, bytes);
    EXPECT_FALSE(list.wrong_size);
    EXPECT_EQ(list.items.size(), c.listed);
    EXPECT_EQ(list.partial_tail, c.tail != 0);
  }
  EXPECT_TRUE(ReadImportBytes(ImportFormat::Own, std::vector<uint8_t>(mr::kSize - 1, 0)).items.empty());
  EXPECT_EQ(DamagedRecordsText(0, true), "The import file is damaged: its partial last record was left out.");
  EXPECT_EQ(DamagedRecordsText(2, true),
            "2 records of the import file are damaged or too long and are not listed.  The file is damaged too: its "
            "partial last record was left out.");
}

TEST(MalformedImports, DamagedRecordsAreCountedAndLeftOut) {
  // Brindle: length bytes past their fields, a text with no zero, nonsense codes.
  auto long_nick = Brindle({});
  long_nick[br::kNickname] = 51;
  auto long_scope = Brindle({});
  long_scope[br::kScopeName] = 31;
  auto no_zero = Brindle({});
  std::fill(no_zero.begin() + br::kText, no_zero.begin() + br::kText + br::kTextBytes, 'x');
  BrindleSample bad_code;
  bad_code.code = 720;
  BrindleSample bad_scope;
  bad_scope.scope = 9;
  BrindleSample too_long_when_wrapped;
  too_long_when_wrapped.clip = true;
  too_long_when_wrapped.text = std::string(4990, 'a');
  BrindleSample full_text;  // 5000 characters and its zero fit exactly
  full_text.text = std::string(5000, 'b');
  ImportList b = ReadImportBytes(ImportFormat::Brindle,
                                 Join({long_nick, long_scope, no_zero, Brindle(bad_code), Brindle(bad_scope),
                                       Brindle(too_long_when_wrapped), Brindle(full_text), Brindle({})}));
  EXPECT_EQ(b.damaged, 6);
  ASSERT_EQ(b.items.size(), 2u);
  EXPECT_EQ(b.items[0].record.Text().size(), 5000u);
  EXPECT_EQ(b.items[1].source_number, 8);

  auto long_abbrev = Snapwords("x", "t");
  long_abbrev[sw::kAbbreviation] = 200;
  auto unterminated = Snapwords("y", "");
  std::fill(unterminated.begin() + sw::kText, unterminated.begin() + sw::kText + sw::kTextBytes, 'z');
  ImportList s = ReadImportBytes(ImportFormat::Snapwords, Join({long_abbrev, unterminated, Snapwords("ok", "t")}));
  EXPECT_EQ(s.damaged, 2);
  ASSERT_EQ(s.items.size(), 1u);
  EXPECT_EQ(s.items[0].record.Snapword(), "ok");

  MacroRecord bad_len = Own("A", 1);
  bad_len.data()[mr::kIcon] = 13;
  MacroRecord unterminated_own = Own("B", 1);
  std::fill(unterminated_own.data() + mr::kText, unterminated_own.data() + mr::kText + mr::kTextBytes, 'q');
  ImportList o = ReadImportBytes(ImportFormat::Own, OwnBytes({bad_len, unterminated_own, Own("C", 2)}));
  EXPECT_EQ(o.damaged, 2);
  ASSERT_EQ(o.items.size(), 1u);
  EXPECT_EQ(o.items[0].record.Nickname(), "C");
}

TEST(ListedMacros, ColumnsOfTheLists) {
  EXPECT_EQ(ListedMacroOf(kTimedCode, "", "T", kScopeGlobal, "").activation, "Timed Macro");
  EXPECT_EQ(ListedMacroOf(kSnapwordCode, "sig", "S", kScopeGlobal, "").activation, "sig");
  EXPECT_EQ(ListedMacroOf(144, "", "H", kScopeGlobal, "").activation, "Ctrl+Alt+A");
  EXPECT_EQ(ListedMacroOf(1, "", "H", kScopeGlobal, "").scope, "GLOBAL");
  EXPECT_EQ(ListedMacroOf(1, "", "H", kScopePopupMenu, "").scope, "POPUP MENU");
  EXPECT_EQ(ListedMacroOf(1, "", "H", kScopeProgram, "EDIT.EXE").scope, "EDIT.EXE");
  ListRowColumns c = ListRowColumnsFor(700);
  EXPECT_EQ(c.activation_x, 2);
  EXPECT_EQ(c.nickname_x, 250);
  EXPECT_EQ(c.nickname_width, 300);
  EXPECT_EQ(c.scope_x, 550);
  auto width = [](std::string_view s) { return static_cast<int>(s.size()) * 7; };
  EXPECT_EQ(CutToWidth("abcdefghij", 35, width), "abcde");
  EXPECT_EQ(CutToWidth("abc", 35, width), "abc");
  EXPECT_EQ(CutToWidth("abc", 3, width), "");
}

// A macro file in a temporary folder with its tables.
class ImportFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("qlx_import_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
            std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    path_ = (dir_ / "MACROS.QLX").string();
    file_ = std::make_unique<MacroFile>(path_, MacroTables{block_, *names_}, boxes_, clock_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  // A file of `users` global macros with codes 0.. and the system macros.
  void MakeFile(int users) {
    std::vector<MacroRecord> records;
    for (int i = 0; i < users; ++i) records.push_back(Own("M" + std::to_string(i), static_cast<uint16_t>(i % 700)));
    WriteBytes(path_, OwnBytes(records));
    file_->Load();
  }

  fs::path dir_;
  std::string path_;
  std::vector<uint8_t> mem_ = std::vector<uint8_t>(ab::kSize, 0);
  ActivationBlock block_{mem_.data()};
  std::unique_ptr<MacroNameTables> names_ = std::make_unique<MacroNameTables>();
  ScriptedBoxes boxes_;
  FixedClock clock_;
  std::unique_ptr<MacroFile> file_;
};

ImportList Listed(std::vector<MacroRecord> records) {
  ImportList list;
  for (size_t i = 0; i < records.size(); ++i) list.items.push_back({records[i], static_cast<int>(i + 1)});
  return list;
}

TEST_F(ImportFile, HotKeyConflictIsDeselectedAndAsked) {
  MakeFile(2);  // codes 0 and 1, then the system macros 262..265
  ImportList list = Listed({Own("Clash", 1), Own("Window clash", 1, kScopeWindow), Own("Free", 50),
                            Own("Menu clash", 263, kScopePopupMenu)});
  std::vector<bool> selected{true, true, true, true};
  boxes_.answer = true;
  auto chosen = ConfirmImport(list, selected, block_, boxes_);
  ASSERT_TRUE(chosen);
  EXPECT_EQ(*chosen, (std::vector<size_t>{1, 2}));
  EXPECT_EQ(selected, (std::vector<bool>{false, true, true, false}));
  ASSERT_EQ(boxes_.shown.size(), 2u);
  EXPECT_EQ(boxes_.shown[0], (std::pair<std::string, std::string>{
                                 "Warning", "A Global Hot Key for Ctrl+B already exists.  This macro will not be imported."}));
  ASSERT_EQ(boxes_.asked.size(), 1u);
  EXPECT_EQ(boxes_.asked[0].second, kContinueImportText);

  // No: nothing is imported.
  selected = {true, false, true, false};
  boxes_.answer = false;
  EXPECT_EQ(ConfirmImport(list, selected, block_, boxes_), std::nullopt);
}

TEST_F(ImportFile, NothingSelectedIsRefusedWithoutAQuestion) {
  MakeFile(0);
  ImportList list = Listed({Own("A", 50)});
  std::vector<bool> selected{false};
  EXPECT_EQ(ConfirmImport(list, selected, block_, boxes_), std::nullopt);
  EXPECT_TRUE(boxes_.asked.empty());
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0], (std::pair<std::string, std::string>{"Error", kNothingToImportText}));
}

TEST_F(ImportFile, CapacityNamesTheExcessAndOnlyTheRoomIsImported) {
  MakeFile(494);  // 498 with the system macros
  ASSERT_EQ(block_.MacroCount(), 498);
  std::vector<MacroRecord> five;
  for (int i = 0; i < 5; ++i) five.push_back(Own("New" + std::to_string(i), kTimedCode));
  ImportList list = Listed(five);
  std::vector<bool> selected(5, true);
  auto chosen = ConfirmImport(list, selected, block_, boxes_);
  ASSERT_TRUE(chosen);
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0].second,
            "The maximum capacity of macros per file will be exceeded. The last 3 macros selected will not be "
            "imported.");
  EXPECT_EQ(AppendImported(*file_, DiskFileSystem(), list, *chosen, 45000.5, boxes_), 2);
  EXPECT_EQ(block_.MacroCount(), 500);
  EXPECT_EQ(fs::file_size(path_), 500u * mr::kSize);
  EXPECT_EQ(names_->Nickname(499), "New0");
  EXPECT_EQ(names_->Nickname(500), "New1");
}

TEST_F(ImportFile, AppendWritesANewFileAndReloadsTheTables) {
  MakeFile(1);
  // A partial record at the end is dropped by the rewrite.
  {
    std::ofstream f(path_, std::ios::binary | std::ios::app);
    f << "tail";
  }
  ImportList sibling = ReadImportBytes(ImportFormat::Snapwords, Join({Snapwords("one", "1"), Snapwords("two", "2")}));
  sibling.format = ImportFormat::Snapwords;
  EXPECT_EQ(AppendImported(*file_, DiskFileSystem(), sibling, {1, 0}, 45000.5, boxes_), 2);
  EXPECT_EQ(fs::file_size(path_), 7u * mr::kSize);
  EXPECT_EQ(block_.MacroCount(), 7);
  EXPECT_EQ(names_->Snapword(6), "two");
  EXPECT_EQ(names_->Snapword(7), "one");
  MacroRecord r;
  ASSERT_TRUE(file_->ReadRecord(6, r));
  EXPECT_EQ(r.LastModified(), 45000.5);
  EXPECT_FALSE(fs::exists(path_ + ".~qx"));
}

TEST_F(ImportFile, UnreadableCurrentFileIsLeftAlone) {
  MakeFile(1);
  fs::remove(path_);  // gone, e.g. removed on another machine
  ImportList list = Listed({Own("A", 50)});
  EXPECT_EQ(AppendImported(*file_, DiskFileSystem(), list, {0}, 1.0, boxes_), std::nullopt);
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0].second, kSavingFailedText);
  EXPECT_FALSE(fs::exists(path_));
  EXPECT_FALSE(fs::exists(path_ + ".~qx"));
}

TEST_F(ImportFile, ExportThenImportRoundTrip) {
  MakeFile(3);
  std::vector<int> exportable = ExportableMacros(block_);
  EXPECT_EQ(exportable, (std::vector<int>{1, 2, 3}));  // the system macros are not offered
  const std::string target = (dir_ / "OUT.QLX").string();
  WriteBytes(target, std::vector<uint8_t>(10 * mr::kSize, 0xAB));  // replaced whole
  ASSERT_TRUE(ExportMacros(*file_, DiskFileSystem(), {3, 1}, target));
  EXPECT_EQ(fs::file_size(target), 2u * mr::kSize);
  EXPECT_FALSE(ExportMacros(*file_, DiskFileSystem(), {1}, (dir_ / "no" / "X.QLX").string()));

  // Into another file that already holds a macro with code 2.
  const std::string other = (dir_ / "OTHER.QLX").string();
  WriteBytes(other, OwnBytes({Own("Mine", 2)}));
  MacroFile second(other, MacroTables{block_, *names_}, boxes_, clock_);
  second.Load();
  auto bytes = ReadWholeFile(DiskFileSystem(), target);
  ASSERT_TRUE(bytes);
  ImportList list = ReadImportBytes(ImportFormat::Own, *bytes);
  ASSERT_EQ(list.items.size(), 2u);
  std::vector<bool> selected{true, true};
  auto chosen = ConfirmImport(list, selected, block_, boxes_);
  ASSERT_TRUE(chosen);
  EXPECT_EQ(*chosen, (std::vector<size_t>{1}));  // M2 clashes with Mine's Ctrl+C
  EXPECT_EQ(AppendImported(second, DiskFileSystem(), list, *chosen, 45000.5, boxes_), 1);
  MacroRecord r;
  ASSERT_TRUE(second.ReadRecord(6, r));
  EXPECT_EQ(r.Nickname(), "M0");
  EXPECT_EQ(r.LastModified(), 123.25);  // own records come unchanged
}

// The macro file in memory, where writes, commits and replaces can fail.
class ImportInMemory : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<uint8_t> bytes;
    for (const MacroRecord& r : {Own("Kept", 7)}) bytes.insert(bytes.end(), r.bytes().begin(), r.bytes().end());
    files_.files["M.QLX"] = bytes;
    file_.Load();
    before_ = files_.files["M.QLX"];
  }

  fake::MemoryFiles files_;
  std::vector<uint8_t> mem_ = std::vector<uint8_t>(ab::kSize, 0);
  ActivationBlock block_{mem_.data()};
  std::unique_ptr<MacroNameTables> names_ = std::make_unique<MacroNameTables>();
  ScriptedBoxes boxes_;
  FixedClock clock_;
  MacroFile file_{"M.QLX", MacroTables{block_, *names_}, boxes_, clock_, files_};
  std::vector<uint8_t> before_;
  ImportList list_ = Listed({Own("New", 50)});
};

TEST_F(ImportInMemory, NewFileIsOnTheDiskBeforeItReplacesTheOld) {
  files_.log.clear();
  ASSERT_EQ(AppendImported(file_, files_, list_, {0}, 1.0, boxes_), 1);
  // The old file is read and closed (Windows replaces no open file), the new
  // one committed and closed, then put in place, then loaded.
  EXPECT_EQ(files_.log, (std::vector<std::string>{"close M.QLX", "commit M.QLX.~qx", "close M.QLX.~qx",
                                                  "replace M.QLX.~qx > M.QLX", "close M.QLX"}));
  EXPECT_EQ(files_.files["M.QLX"].size(), 6u * mr::kSize);
}

TEST_F(ImportInMemory, AFailureAnywhereLeavesTheOldFileWhole) {
  // The write of the new file, its commit, the replace.
  for (int64_t failing : {0, 1, 2}) {
    SCOPED_TRACE(failing);
    files_.fail_after = failing;
    EXPECT_THROW(AppendImported(file_, files_, list_, {0}, 1.0, boxes_), StoreIoError);
    EXPECT_EQ(files_.files["M.QLX"], before_);
    EXPECT_FALSE(files_.Exists("M.QLX.~qx"));
    EXPECT_EQ(block_.MacroCount(), 5);
  }
}

TEST_F(ImportInMemory, NoRoomForTheNewFileIsTheSavingMessage) {
  files_.unopenable.push_back("M.QLX.~qx");
  EXPECT_EQ(AppendImported(file_, files_, list_, {0}, 1.0, boxes_), std::nullopt);
  ASSERT_EQ(boxes_.shown.size(), 1u);
  EXPECT_EQ(boxes_.shown[0].second, kSavingFailedText);
  EXPECT_EQ(files_.files["M.QLX"], before_);
}

}  // namespace
}  // namespace qlx
