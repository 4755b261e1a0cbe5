// What a check of a macro file reports: one finding per kind of damage, the
// notes of what loading mends, and whether the file counts as damaged.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "store/macro_record.h"
#include "store/macro_tables.h"
#include "store/shared_blocks.h"
#include "tools/macro_file_check.h"

namespace qlx {
namespace {

MacroRecord User(const std::string& nick) {
  MacroRecord r;
  r.SetNickname(nick);
  r.SetScope(kScopeGlobal);
  r.SetCode(144);
  r.SetActive(true);
  return r;
}

std::vector<uint8_t> FileOf(const std::vector<MacroRecord>& records) {
  std::vector<uint8_t> out;
  for (const MacroRecord& r : records) out.insert(out.end(), r.bytes().begin(), r.bytes().end());
  return out;
}

std::vector<MacroRecord> WithSystem(std::vector<MacroRecord> records) {
  for (const SystemMacro& sm : kSystemMacros) records.push_back(SystemMacroRecord(sm));
  return records;
}

struct Expected {
  bool damage;
  int record;
  std::string says;
};

struct CheckCase {
  const char* name;
  std::function<std::vector<uint8_t>()> file;
  std::vector<Expected> findings;  // all of them, in order
  bool damaged;
};

TEST(MacroFileCheck, ReportsEachKindOfDamageWithItsRecord) {
  const auto damaged_user = [](std::function<void(MacroRecord&)> harm) {
    return [harm] {
      MacroRecord r = User("hurt");
      harm(r);
      return FileOf(WithSystem({User("fine"), r}));
    };
  };
  const CheckCase cases[] = {
      {"sound file", [] { return FileOf(WithSystem({User("a"), User("b")})); }, {}, false},
      {"empty file", [] { return std::vector<uint8_t>(); },
       {{false, 0,
         "missing system macros (Activate Quillon, Start / Stop Capture, Resume Pause, Menu of Macros for Top "
         "Most Window): the program appends them when it loads the file"}},
       false},
      {"nickname length", damaged_user([](MacroRecord& r) { r.data()[mr::kNickname] = 51; }),
       {{true, 2, "nickname length byte 51 is past its field of 50 characters; the program reads 50"}}, true},
      {"window length", damaged_user([](MacroRecord& r) { r.data()[mr::kScopeText] = 200; }),
       {{true, 2, "window or program length byte 200 is past its field of 30"}}, true},
      {"snapword length", damaged_user([](MacroRecord& r) { r.data()[mr::kSnapword] = 11; }),
       {{true, 2, "snapword length byte 11 is past its field of 10"}}, true},
      {"icon length", damaged_user([](MacroRecord& r) { r.data()[mr::kIcon] = 13; }),
       {{true, 2, "icon length byte 13 is past its field of 12"}}, true},
      {"text without its end", damaged_user([](MacroRecord& r) {
         std::fill(r.data() + mr::kText, r.data() + mr::kText + mr::kTextBytes, 'x');
       }),
       {{true, 2, "the macro text has no end inside its field"}}, true},
      {"text of exactly 5000", damaged_user([](MacroRecord& r) { r.SetText(std::string(5000, 'x')); }), {}, false},
      {"unknown code", damaged_user([](MacroRecord& r) { r.SetCode(720); }),
       {{true, 2, "activation code 720 is neither a hot key"}}, true},
      {"timed and snapword codes are known", [] {
         MacroRecord t = User("t"), s = User("s");
         t.SetCode(kTimedCode);
         s.SetCode(kSnapwordCode);
         return FileOf(WithSystem({t, s}));
       },
       {}, false},
      {"unknown scope", damaged_user([](MacroRecord& r) { r.SetScope(6); }),
       {{true, 2, "scope 6 is not one of 1 to 5"}}, true},
      {"partial record at the end", [] {
         std::vector<uint8_t> f = FileOf(WithSystem({User("a")}));
         f.resize(f.size() + 100, 0xCC);
         return f;
       },
       {{true, 0, "100 bytes after the last whole record; the program does not read them"}}, true},
      {"some system macros missing", [] { return FileOf({User("a"), SystemMacroRecord(kSystemMacros[2])}); },
       {{false, 0,
         "missing system macros (Activate Quillon, Start / Stop Capture, Menu of Macros for Top Most Window): "
         "the program appends them"}},
       false},
      {"no room for missing system macros", [] {
         std::vector<MacroRecord> records(498, User("u"));
         return FileOf(records);
       },
       {{false, 0, "missing system macros (Activate Quillon, Start / Stop Capture): the program appends them"},
        {true, 0, "missing system macros (Resume Pause, Menu of Macros for Top Most Window): the file has no room"}},
       true},
      {"more than 500 records", [] {
         std::vector<MacroRecord> records = WithSystem({});
         records.resize(501, User("u"));
         return FileOf(records);
       },
       {{true, 0, "501 records: the program uses the first 500 and leaves the others in the file"}}, true},
      {"system macro past 500 does not count", [] {
         std::vector<MacroRecord> records(500, User("u"));
         records.push_back(SystemMacroRecord(kSystemMacros[0]));
         return FileOf(records);
       },
       {{true, 0, "501 records"}}, true},
  };
  for (const CheckCase& c : cases) {
    SCOPED_TRACE(c.name);
    const FileCheck check = CheckMacroFile(c.file());
    ASSERT_EQ(check.findings.size(), c.findings.size());
    for (size_t i = 0; i < c.findings.size(); ++i) {
      EXPECT_EQ(check.findings[i].damage, c.findings[i].damage) << i;
      EXPECT_EQ(check.findings[i].record, c.findings[i].record) << i;
      EXPECT_NE(check.findings[i].message.find(c.findings[i].says), std::string::npos)
          << check.findings[i].message;
    }
    EXPECT_EQ(check.damaged(), c.damaged);
  }
}

TEST(MacroFileCheck, CountsWholeRecordsOnly) {
  std::vector<uint8_t> f = FileOf(WithSystem({User("a"), User("b")}));
  EXPECT_EQ(CheckMacroFile(f).records, 6);
  f.resize(f.size() + mr::kSize - 1);
  EXPECT_EQ(CheckMacroFile(f).records, 6);
  f.push_back(0);
  EXPECT_EQ(CheckMacroFile(f).records, 7);
}

}  // namespace
}  // namespace qlx
